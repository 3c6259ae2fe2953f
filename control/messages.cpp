// Messages of the three watched windows (the control's, its container's and the
// layer's), the wheel settings and the wheel itself.
#include <algorithm>
#include <cmath>

#include "../subclass/APIDeclare.h"
#include "../subclass/SubclassWnd.h"
#include "Scrollbay.h"
#include "report.h"

namespace {
constexpr const char* kWheelMessageName = "MSWHEEL_ROLLMSG";
constexpr const char* kListenerTag = "ERR_WNDLISTENER : ";
}  // namespace

void Scrollbay::SetUpWheel() {
  // Both probes are always asked.
  const bool nt3 = APIDeclare::IsWindowsNT3();
  const bool first95 = APIDeclare::IsWindows95();
  if (nt3 || first95) {
    // Systems that deliver the wheel as a registered message, three lines a notch.
    m_WheelMessage = win32::RegisterWindowMessageA(kWheelMessageName);
    m_WheelScrollLines = 3;
    return;
  }
  ReadWheelScrollLines();
}

void Scrollbay::ReadWheelScrollLines() {
  win32::SystemParametersInfoA(win32::SPI_GETWHEELSCROLLLINES, 0, &m_WheelScrollLines, 0);
}

win32::LRESULT Scrollbay::WindowMsgListener(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM lParam,
                                            bool& bRouteToOriginal) {
  win32::LRESULT result = 0;
  reportAndGoOn(kListenerTag, [&] {
    // The first of the watched windows to go ends the ticks.
    if (Msg == win32::WM_DESTROY) StopTimer();
  });
  reportAndGoOn(kListenerTag, [&] {
    if (hwnd == m_hThisWnd) {
      result = HandleControlMsg(hwnd, Msg, wParam, lParam, bRouteToOriginal);
    } else if (hwnd == m_hContainerWnd) {
      result = HandleContainerMsg(hwnd, Msg, wParam, lParam, bRouteToOriginal);
    } else if (m_bgLayer && hwnd == m_hLayerWnd) {
      // The registered wheel message comes back as an ordinary wheel message.
      if (m_WheelMessage != 0 && Msg == m_WheelMessage) result = win32::PostMessageA(hwnd, win32::WM_MOUSEWHEEL, wParam, lParam);
      else result = HandleLayerMsg(hwnd, Msg, wParam, lParam, bRouteToOriginal);
    }
  });
  return result;
}

win32::LRESULT Scrollbay::HandleControlMsg(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM, win32::LPARAM,
                                           bool& bRouteToOriginal) {
  switch (Msg) {
    case win32::WM_DESTROY: DetachWindow(hwnd); break;
    case win32::WM_CTLCOLORSCROLLBAR:
      // The scrollbars paint their track with the brush; without one, the defaults.
      if (m_ScrollbarBrush != 0) {
        bRouteToOriginal = false;
        return m_ScrollbarBrush;
      }
      break;
    default: break;
  }
  return 0;
}

win32::LRESULT Scrollbay::HandleContainerMsg(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM, bool&) {
  switch (Msg) {
    case win32::WM_DESTROY: DetachWindow(hwnd); break;
    case win32::WM_SIZE:
      // A minimised container would shrink the control to nothing; the restore fills again.
      if (wParam != win32::SIZE_MINIMIZED && m_AutoFillContainer) FillContainer();
      break;
    case win32::WM_SETTINGCHANGE: ReadWheelScrollLines(); break;
    default: break;
  }
  return 0;
}

win32::LRESULT Scrollbay::HandleLayerMsg(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM, bool&) {
  switch (Msg) {
    case win32::WM_DESTROY:
      DetachWindow(hwnd);
      ReleaseLayer();
      break;
    case win32::WM_MOUSEWHEEL: ScrollByWheel(SubclassWnd::HiWord(static_cast<int32_t>(wParam))); break;
    default: break;
  }
  return 0;
}

void Scrollbay::ScrollByWheel(int32_t delta) {
  // Always vertical, and only the range counts, not whether the scrollbar is shown.
  forms::ScrollBar& bar = *m_VScroll;
  const int min = bar.get_Min(), max = bar.get_Max(), value = bar.get_Value();
  if (min >= max) return;  // nothing to scroll: a partial notch stays as it was
  m_WheelRemainder += delta;
  // The whole amount counts, not only whole notches; away from the user scrolls up.
  // Worked out in double precision, so that any lines-per-notch setting (a huge one
  // means a page) gives a step that the clamp below brings back within the range.
  double lines = forms::roundHalfEven(m_WheelRemainder / double{win32::WHEEL_DELTA} * -static_cast<double>(m_WheelScrollLines));
  if (lines < 0 && value + lines < min) lines = min - value;
  if (lines >= 0 && value + lines > max) lines = max - value;
  bar.put_Value(static_cast<int16_t>(value + static_cast<int>(lines)));
  // What is below one notch is counted again with the next message.
  m_WheelRemainder %= win32::WHEEL_DELTA;
}
