// Filling the container: the control takes its container's client area less four
// margins, whenever the container changes size.
#include <algorithm>

#include "Scrollbay.h"
#include "forms/units.h"

using forms::Axis;

void Scrollbay::put_AutoFillContainer(bool bAutoFill) {
  if (bAutoFill == m_AutoFillContainer) return;
  m_AutoFillContainer = bAutoFill;
  // Turning it off leaves the control as large as it is.
  if (bAutoFill) FillContainer();
  userControl().PropertyChanged("AutoFillContainer");
}

int32_t& Scrollbay::FillMargin(Edge edge) {
  switch (edge) {
    case Edge::Left: return m_LeftFillMargin;
    case Edge::Top: return m_TopFillMargin;
    case Edge::Right: return m_RightFillMargin;
    case Edge::Bottom: return m_BottomFillMargin;
  }
  return m_LeftFillMargin;
}

int32_t Scrollbay::GetFillMargin(Edge edge) const {
  return FromTwips(EdgeAxis(edge), const_cast<Scrollbay*>(this)->FillMargin(edge));
}

void Scrollbay::SetFillMargin(Edge edge, int32_t nMargin) {
  // Any value is taken, negative ones included: a negative margin reaches outside.
  const int32_t twips = ToTwips(EdgeAxis(edge), nMargin);
  int32_t& stored = FillMargin(edge);
  if (twips == stored) return;
  stored = twips;
  if (m_AutoFillContainer) FillContainer();
  static const char* const names[] = {"LeftFillMargin", "TopFillMargin", "RightFillMargin", "BottomFillMargin"};
  userControl().PropertyChanged(names[static_cast<int>(edge)]);
}

void Scrollbay::FillContainer() {
  win32::RECT rect;  // all 0 when there is no container window, as at design time
  win32::GetClientRect(m_hContainerWnd, &rect);
  auto pixels = [&](Edge edge) {
    return Scale(EdgeAxis(edge), static_cast<float>(FillMargin(edge)), forms::ScaleTwips, forms::ScalePixels);
  };
  const int32_t left = forms::toInt32(rect.left + pixels(Edge::Left));
  const int32_t top = forms::toInt32(rect.top + pixels(Edge::Top));
  const int32_t right = forms::toInt32(rect.right - pixels(Edge::Right));
  const int32_t bottom = forms::toInt32(rect.bottom - pixels(Edge::Bottom));
  // Margins beyond the container give no size; beyond what a window can be, the window
  // stops at that limit, in place and in size.
  constexpr int32_t kMax = forms::kMaxWindowPixels;
  win32::SetWindowPos(m_hThisWnd, 0, std::clamp(left, -kMax, kMax), std::clamp(top, -kMax, kMax),
                      std::clamp(forms::checkedSub(right, left), 0, kMax), std::clamp(forms::checkedSub(bottom, top), 0, kMax),
                      win32::SWP_NOZORDER | win32::SWP_NOACTIVATE);
  ResizeSequence();
}
