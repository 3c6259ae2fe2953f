// The control's life: its pieces, the windows it watches, its timer registration, the
// background layer, and letting go of all of it.
#include <array>
#include <string>

#include "../subclass/SubclassWnd.h"
#include "../timer/Timer.h"
#include "Scrollbay.h"
#include "report.h"
#include "forms/form.h"
#include "forms/standard_classes.h"

using forms::Axis;

namespace {

// The messages every attached window is hooked for, in this order.
constexpr std::array<int32_t, 5> kWatchedMessages = {win32::WM_DESTROY, win32::WM_CTLCOLORSCROLLBAR, win32::WM_SIZE,
                                                     win32::WM_MOUSEWHEEL, win32::WM_SETTINGCHANGE};

}  // namespace

std::string Scrollbay::ControlKey() const { return "x_y_z" + std::to_string(m_hThisWnd); }

bool Scrollbay::UserMode() const { return forms::get(userControl().get_Ambient(), "UserMode").toBool(); }

std::shared_ptr<cSubclassListener> Scrollbay::ListenerRef() {
  return std::shared_ptr<cSubclassListener>(shared_from_this(), static_cast<cSubclassListener*>(this));
}

void Scrollbay::CreatePieces() {
  forms::UserControl& uc = userControl();
  m_HScroll = std::static_pointer_cast<forms::ScrollBar>(uc.addConstituent(forms::kHScrollBarClass, "m_HScroll"));
  m_VScroll = std::static_pointer_cast<forms::ScrollBar>(uc.addConstituent(forms::kVScrollBarClass, "m_VScroll"));
  m_plug = std::static_pointer_cast<forms::PictureBox>(uc.addConstituent(forms::kPictureBoxClass, "m_plug"));
  m_HScroll->put_Max(0);
  m_VScroll->put_Max(0);
  m_plug->put_BorderStyle(0);
  m_plug->put_TabStop(false);
  // Tab onto the control lands on the vertical bar when it shows, where Down and Page
  // Down scroll down; the horizontal bar only when it is the one shown.
  m_VScroll->put_TabIndex(0);
  m_HScroll->put_TabIndex(1);
  m_HScroll->connect("Change", [this](forms::Args&) { OnScrollChange(Axis::X); });
  m_VScroll->connect("Change", [this](forms::Args&) { OnScrollChange(Axis::Y); });
  for (auto* bar : {m_HScroll.get(), m_VScroll.get()})
    bar->connect("GotFocus", [bar](forms::Args&) { win32::HideCaret(bar->hWnd()); });
}

void Scrollbay::Initialize() {
  CreatePieces();
  SetUpWheel();
}

void Scrollbay::SetupWindows() {
  if (!UserMode()) {
    // In the designer the contained controls are edited in place: no pieces on top.
    m_HScroll->put_Visible(false);
    m_VScroll->put_Visible(false);
    m_plug->put_Visible(false);
    return;
  }
  KeepPiecesOnTop();
  // Until the first tick lays the pieces out they would show at their designed size in
  // the top left corner: they start as the current settings have them (with nothing to
  // scroll yet, hidden).
  bool changed = false;
  ApplyScrollbarVisibility(m_Scrollbars, changed);
  LayoutScrollbars();
  m_hThisWnd = userControl().get_hWnd();
  m_hContainerWnd = userControl().get_ContainerHwnd();
  AttachWindow(m_hThisWnd);
  AttachWindow(m_hContainerWnd);
}

void Scrollbay::KeepPiecesOnTop() {
  // Without moving, sizing or activating anything.
  constexpr win32::UINT flags = win32::SWP_NOSIZE | win32::SWP_NOMOVE | win32::SWP_NOACTIVATE;
  for (const forms::Control* piece : {static_cast<forms::Control*>(m_HScroll.get()), static_cast<forms::Control*>(m_VScroll.get()),
                                      static_cast<forms::Control*>(m_plug.get())})
    win32::SetWindowPos(piece->hWnd(), win32::HWND_TOPMOST, 0, 0, 0, 0, flags);
}

void Scrollbay::AttachWindow(win32::HWND hWnd) {
  SubclassWnd::SubclassWindow(hWnd, this);
  for (int32_t msg : kWatchedMessages) SubclassWnd::HookMessage(hWnd, msg);
}

void Scrollbay::DetachWindow(win32::HWND hWnd) {
  for (int32_t msg : kWatchedMessages) SubclassWnd::UnhookMessage(hWnd, msg);
  if (m_WheelMessage != 0) SubclassWnd::UnhookMessage(hWnd, static_cast<int32_t>(m_WheelMessage));
  SubclassWnd::UnsubclassWindow(hWnd);
}

void Scrollbay::Show() {
  if (!m_TimerKey.empty() || !UserMode()) return;
  // Without its own window there is nothing to tick for: the tick's Controls.Add would
  // make the form forget the control half-way and leave the new layer on the form.
  if (!win32::IsWindow(m_hThisWnd)) return;
  m_TimerKey = ControlKey();
  Timer::RegisterTimerListener(std::shared_ptr<CTimerListener>(shared_from_this(), static_cast<CTimerListener*>(this)),
                               m_TimerKey);
}

void Scrollbay::CreateBackgroundLayer() {
  // Stops quietly at the first failure; a layer that was never made is tried again
  // at the next tick.
  try {
    forms::UserControl& uc = userControl();
    forms::ObjectPtr extender = uc.get_Extender();
    int16_t index = -1;
    forms::resumeNext([&] { index = forms::get(extender, "Index").toInt16(); });

    forms::ObjectPtr controls = forms::get(uc.get_Parent(), "Controls").toObject();
    forms::ObjectPtr added = forms::call(controls, "Add", {forms::Variant(forms::kPictureBoxClass), forms::Variant(ControlKey())}).toObject();
    m_bgLayer = std::dynamic_pointer_cast<forms::PictureBox>(added);
    if (!m_bgLayer) return;

    // The control as its form knows it: by name, and by index in a control array.
    forms::ObjectPtr self = forms::get(controls, "Item", {forms::get(extender, "Name")}).toObject();
    if (index != -1) self = forms::get(self, "Item", {forms::Variant(index)}).toObject();
    forms::set(m_bgLayer, "Container", self);

    m_bgLayer->put_AutoSize(false);
    m_bgLayer->put_ScaleMode(uc.get_ScaleMode());
    m_bgLayer->Move(0, 0.0f, uc.get_ScaleWidth(), uc.get_ScaleHeight());
    m_bgLayer->put_BackColor(uc.get_BackColor());
    m_bgLayer->put_BorderStyle(0);
    m_bgLayer->put_TabStop(false);
    m_bgLayer->put_Visible(true);
    m_bgLayer->put_Enabled(uc.get_Enabled());
    m_bgLayer->put_MousePointer(uc.get_MousePointer());
    m_bgLayer->put_MouseIcon(uc.get_MouseIcon());
    m_bgLayer->ZOrder(1);
    ConnectLayer();

    m_hLayerWnd = m_bgLayer->hWnd();
    AttachWindow(m_hLayerWnd);
    // Where the wheel arrives as a registered message, the layer hears that one too.
    if (m_WheelMessage != 0) SubclassWnd::HookMessage(m_hLayerWnd, static_cast<int32_t>(m_WheelMessage));
    ResizeSequence();
    if (m_AutoFillContainer) FillContainer();
  } catch (const forms::Error&) {
  }
}

void Scrollbay::StopTimer() {
  if (m_TimerKey.empty()) return;
  Timer::UnregisterTimerListener(m_TimerKey);
  m_TimerKey.clear();
}

void Scrollbay::ReleaseLayer() {
  DisconnectLayer();
  m_bgLayer.reset();
}

forms::Variant Scrollbay::invoke(std::string_view member, forms::CallKind kind, forms::Args& args) {
  // A program may keep the class itself: once it ended, no member may make a brush or
  // a layer that nothing would release again.
  if (!hosted() || userControl().host().terminated()) forms::Form::raiseUnloaded();
  return ControlClass::invoke(member, kind, args);
}

void Scrollbay::Terminate() {
  m_LastActiveControl.reset();
  StopTimer();
  for (win32::HWND hWnd : {m_hThisWnd, m_hContainerWnd, m_hLayerWnd})
    reportAndGoOn("ERR_TERMINATE : ", [&] {
      if (win32::IsWindow(hWnd)) DetachWindow(hWnd);
    });
  reportAndGoOn("ERR_TERMINATE : ", [&] { ReleaseLayer(); });
  reportAndGoOn("ERR_TERMINATE : ", [&] {
    const win32::HBRUSH brush = m_ScrollbarBrush;
    m_ScrollbarBrush = 0;  // gone even when deleting it fails
    if (brush != 0) win32::DeleteObject(brush);
  });
}
