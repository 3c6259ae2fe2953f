// Settings saved with the form: lengths in twips, defaults in pixels converted to
// twips, and nothing written that equals its default.
#include "Scrollbay.h"

using forms::Axis;
using forms::Variant;

void Scrollbay::ReadProperties(forms::PropertyBag& bag) {
  SetupWindows();
  // Defaults are pixels in twips at this screen's resolution.
  auto pixelsInTwips = [&](Axis axis, int32_t pixels) { return PixelsInTwips(axis, pixels); };
  put_BackColor(bag.ReadProperty("BackColor", forms::get(userControl().get_Ambient(), "BackColor")).toInt32());
  put_ScrollbarBackColor(bag.ReadProperty("ScrollbarBackColor", Variant(static_cast<int32_t>(kDefaultScrollbarColor))).toInt32());
  m_LeftFillMargin = bag.ReadProperty("LeftFillMargin", pixelsInTwips(Axis::X, 0)).toInt32();
  m_TopFillMargin = bag.ReadProperty("TopFillMargin", pixelsInTwips(Axis::Y, 0)).toInt32();
  m_RightFillMargin = bag.ReadProperty("RightFillMargin", pixelsInTwips(Axis::X, 0)).toInt32();
  m_BottomFillMargin = bag.ReadProperty("BottomFillMargin", pixelsInTwips(Axis::Y, 0)).toInt32();
  put_AutoFillContainer(bag.ReadProperty("AutoFillContainer", Variant(false)).toBool());
  m_RightMargin = bag.ReadProperty("RightMargin", pixelsInTwips(Axis::X, kDefaultMarginPixels)).toInt32();
  m_BottomMargin = bag.ReadProperty("BottomMargin", pixelsInTwips(Axis::Y, kDefaultMarginPixels)).toInt32();
  m_VirtualWidth = bag.ReadProperty("VirtualWidth", pixelsInTwips(Axis::X, kDefaultVirtualWidthPixels)).toInt32();
  m_VirtualHeight = bag.ReadProperty("VirtualHeight", pixelsInTwips(Axis::Y, kDefaultVirtualHeightPixels)).toInt32();
  put_Scrollbars(bag.ReadProperty("Scrollbars", Variant(int32_t{vpAuto})).toInt32());
  m_AutoScroll = bag.ReadProperty("AutoScroll", Variant(true)).toBool();
  put_AutoAdjustExtent(bag.ReadProperty("AutoAdjustExtent", Variant(true)).toBool());
  putref_Picture(bag.ReadProperty("Picture", Variant()).toObject());
}

void Scrollbay::WriteProperties(forms::PropertyBag& bag) {
  auto pixelsInTwips = [&](Axis axis, int32_t pixels) { return PixelsInTwips(axis, pixels); };
  bag.WriteProperty("BackColor", Variant(get_BackColor()), forms::get(userControl().get_Ambient(), "BackColor"));
  bag.WriteProperty("Scrollbars", Variant(m_Scrollbars), Variant(int32_t{vpAuto}));
  bag.WriteProperty("LeftFillMargin", Variant(m_LeftFillMargin), pixelsInTwips(Axis::X, 0));
  bag.WriteProperty("TopFillMargin", Variant(m_TopFillMargin), pixelsInTwips(Axis::Y, 0));
  bag.WriteProperty("RightFillMargin", Variant(m_RightFillMargin), pixelsInTwips(Axis::X, 0));
  bag.WriteProperty("BottomFillMargin", Variant(m_BottomFillMargin), pixelsInTwips(Axis::Y, 0));
  bag.WriteProperty("AutoFillContainer", Variant(m_AutoFillContainer), Variant(false));
  bag.WriteProperty("RightMargin", Variant(m_RightMargin), pixelsInTwips(Axis::X, kDefaultMarginPixels));
  bag.WriteProperty("BottomMargin", Variant(m_BottomMargin), pixelsInTwips(Axis::Y, kDefaultMarginPixels));
  bag.WriteProperty("VirtualWidth", Variant(m_VirtualWidth), pixelsInTwips(Axis::X, kDefaultVirtualWidthPixels));
  bag.WriteProperty("VirtualHeight", Variant(m_VirtualHeight), pixelsInTwips(Axis::Y, kDefaultVirtualHeightPixels));
  bag.WriteProperty("AutoAdjustExtent", Variant(m_AutoAdjustExtent), Variant(true));
  bag.WriteProperty("ScrollbarBackColor", Variant(static_cast<int32_t>(m_ScrollbarBackColor)),
                    Variant(static_cast<int32_t>(kDefaultScrollbarColor)));
  bag.WriteProperty("AutoScroll", Variant(m_AutoScroll), Variant(true));
  bag.WriteProperty("Picture", Variant(m_Picture), Variant());
}
