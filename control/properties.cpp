// The settings of the control that the extent, layout and scrolling follow.
#include "Scrollbay.h"

using forms::Axis;

void Scrollbay::put_Scrollbars(int32_t eValue) {
  if (eValue == m_Scrollbars) return;
  // Any value is kept; the ones outside vpBoth..vpNone behave as vpAuto.
  bool changed = false;
  ApplyScrollbarVisibility(eValue, changed);
  if (changed) LayoutScrollbars();
  m_Scrollbars = eValue;
  userControl().PropertyChanged("Scrollbars");
}

void Scrollbay::put_AutoAdjustExtent(bool bValue) {
  if (bValue == m_AutoAdjustExtent) return;
  m_AutoAdjustExtent = bValue;
  if (bValue) AdjustExtent();
  userControl().PropertyChanged("AutoAdjustExtent");
}

void Scrollbay::SetVirtualSize(Axis axis, int32_t value) {
  if (value < 1) return;  // ignored, without an error
  int32_t& stored = axis == Axis::X ? m_VirtualWidth : m_VirtualHeight;
  const int32_t twips = ToTwips(axis, value);
  if (twips == stored) return;
  stored = twips;
  // With the extent following the children this value lasts until the next computation.
  if (!m_AutoAdjustExtent && m_bgLayer) SizeLayer(m_VirtualWidth, m_VirtualHeight);
  userControl().PropertyChanged(axis == Axis::X ? "VirtualWidth" : "VirtualHeight");
}

void Scrollbay::SetMargin(Axis axis, int32_t value) {
  int32_t& stored = axis == Axis::X ? m_RightMargin : m_BottomMargin;
  const int32_t twips = ToTwips(axis, value);
  if (twips < 0 || twips == stored) return;  // a negative margin is ignored
  stored = twips;  // counts from the next extent computation
  userControl().PropertyChanged(axis == Axis::X ? "RightMargin" : "BottomMargin");
}

void Scrollbay::put_AutoScroll(bool bAutoScroll) {
  if (bAutoScroll == m_AutoScroll) return;
  m_AutoScroll = bAutoScroll;
  userControl().PropertyChanged("AutoScroll");
}
