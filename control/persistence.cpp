// Settings saved with the form: lengths in twips whatever the form's scale mode,
// defaults given as pixels in twips at this screen's resolution, and nothing written
// that equals its default.
#include "Scrollbay.h"

using forms::Axis;
using forms::Variant;

namespace {
// Numbers saved as 32-bit integers, whatever width the property has.
Variant longValue(int32_t value) { return Variant(value); }
}  // namespace

void Scrollbay::InitProperties() {
  SetupWindows();
  put_ScrollbarBackColor(static_cast<int32_t>(kDefaultScrollbarColor));
  // Plain stores: no layout and no change to report.
  m_RightMargin = PixelsInTwips(Axis::X, kDefaultMarginPixels).toInt32();
  m_BottomMargin = PixelsInTwips(Axis::Y, kDefaultMarginPixels).toInt32();
  m_VirtualWidth = PixelsInTwips(Axis::X, kDefaultVirtualWidthPixels).toInt32();
  m_VirtualHeight = PixelsInTwips(Axis::Y, kDefaultVirtualHeightPixels).toInt32();
  m_LeftFillMargin = PixelsInTwips(Axis::X, 0).toInt32();
  m_TopFillMargin = PixelsInTwips(Axis::Y, 0).toInt32();
  m_RightFillMargin = PixelsInTwips(Axis::X, 0).toInt32();
  m_BottomFillMargin = PixelsInTwips(Axis::Y, 0).toInt32();
  m_AutoAdjustExtent = true;
  m_AutoFillContainer = false;
  m_AutoScroll = true;
}

void Scrollbay::ReadProperties(forms::PropertyBag& bag) {
  // The first failure ends the load; what was read by then stays.
  SetupWindows();
  put_Enabled(bag.ReadProperty("Enabled", Variant(true)).toBool());
  put_Tag(bag.ReadProperty("Tag", Variant("")));
  put_Appearance(bag.ReadProperty("Appearance", longValue(vpAppearance3D)).toInt32());
  put_BorderStyle(bag.ReadProperty("BorderStyle", Variant(int16_t{vpBorderNone})).toInt32());
  put_BackColor(bag.ReadProperty("BackColor", forms::get(userControl().get_Ambient(), "BackColor")).toInt32());
  const int32_t scrollbarColor = bag.ReadProperty("ScrollbarBackColor", longValue(static_cast<int32_t>(kDefaultScrollbarColor))).toInt32();
  put_ScrollbarBackColor(scrollbarColor);
  // A loaded colour equal to the member's starting value still needs its brush.
  if (m_ScrollbarBrush == 0) m_ScrollbarBrush = win32::CreateSolidBrush(static_cast<win32::COLORREF>(TranslatedSysColor(scrollbarColor)));
  m_LeftFillMargin = bag.ReadProperty("LeftFillMargin", PixelsInTwips(Axis::X, 0)).toInt32();
  m_TopFillMargin = bag.ReadProperty("TopFillMargin", PixelsInTwips(Axis::Y, 0)).toInt32();
  m_RightFillMargin = bag.ReadProperty("RightFillMargin", PixelsInTwips(Axis::X, 0)).toInt32();
  m_BottomFillMargin = bag.ReadProperty("BottomFillMargin", PixelsInTwips(Axis::Y, 0)).toInt32();
  put_AutoFillContainer(bag.ReadProperty("AutoFillContainer", Variant(false)).toBool());
  m_RightMargin = bag.ReadProperty("RightMargin", PixelsInTwips(Axis::X, kDefaultMarginPixels)).toInt32();
  m_BottomMargin = bag.ReadProperty("BottomMargin", PixelsInTwips(Axis::Y, kDefaultMarginPixels)).toInt32();
  m_VirtualWidth = bag.ReadProperty("VirtualWidth", PixelsInTwips(Axis::X, kDefaultVirtualWidthPixels)).toInt32();
  m_VirtualHeight = bag.ReadProperty("VirtualHeight", PixelsInTwips(Axis::Y, kDefaultVirtualHeightPixels)).toInt32();
  put_Scrollbars(bag.ReadProperty("Scrollbars", longValue(vpAuto)).toInt32());
  put_ToolTipText(bag.ReadProperty("ToolTipText", Variant("")).toString());
  m_AutoScroll = bag.ReadProperty("AutoScroll", Variant(true)).toBool();
  put_AutoAdjustExtent(bag.ReadProperty("AutoAdjustExtent", Variant(true)).toBool());
  put_MousePointer(bag.ReadProperty("MousePointer", longValue(1)).toInt32());
  put_MouseIcon(bag.ReadProperty("MouseIcon", Variant()).toObject());
  putref_Picture(bag.ReadProperty("Picture", Variant()).toObject());
}

void Scrollbay::WriteProperties(forms::PropertyBag& bag) {
  const forms::UserControl& uc = userControl();
  bag.WriteProperty("Appearance", longValue(uc.get_Appearance()), longValue(vpAppearance3D));
  bag.WriteProperty("BackColor", longValue(uc.get_BackColor()), forms::get(uc.get_Ambient(), "BackColor"));
  bag.WriteProperty("Enabled", Variant(uc.get_Enabled()), Variant(true));
  bag.WriteProperty("BorderStyle", longValue(uc.get_BorderStyle()), Variant(int16_t{vpBorderNone}));
  bag.WriteProperty("Scrollbars", longValue(m_Scrollbars), longValue(vpAuto));
  bag.WriteProperty("LeftFillMargin", longValue(m_LeftFillMargin), PixelsInTwips(Axis::X, 0));
  bag.WriteProperty("TopFillMargin", longValue(m_TopFillMargin), PixelsInTwips(Axis::Y, 0));
  bag.WriteProperty("RightFillMargin", longValue(m_RightFillMargin), PixelsInTwips(Axis::X, 0));
  bag.WriteProperty("BottomFillMargin", longValue(m_BottomFillMargin), PixelsInTwips(Axis::Y, 0));
  bag.WriteProperty("AutoFillContainer", Variant(m_AutoFillContainer), Variant(false));
  bag.WriteProperty("RightMargin", longValue(m_RightMargin), PixelsInTwips(Axis::X, kDefaultMarginPixels));
  bag.WriteProperty("BottomMargin", longValue(m_BottomMargin), PixelsInTwips(Axis::Y, kDefaultMarginPixels));
  bag.WriteProperty("VirtualWidth", longValue(m_VirtualWidth), PixelsInTwips(Axis::X, kDefaultVirtualWidthPixels));
  bag.WriteProperty("VirtualHeight", longValue(m_VirtualHeight), PixelsInTwips(Axis::Y, kDefaultVirtualHeightPixels));
  bag.WriteProperty("AutoAdjustExtent", Variant(m_AutoAdjustExtent), Variant(true));
  bag.WriteProperty("ScrollbarBackColor", longValue(static_cast<int32_t>(m_ScrollbarBackColor)),
                    longValue(static_cast<int32_t>(kDefaultScrollbarColor)));
  bag.WriteProperty("ToolTipText", Variant(m_ToolTipText), Variant(""));
  bag.WriteProperty("AutoScroll", Variant(m_AutoScroll), Variant(true));
  bag.WriteProperty("Picture", Variant(m_Picture), Variant());
  bag.WriteProperty("Tag", Variant(uc.get_Tag()), Variant(""));
  bag.WriteProperty("MousePointer", Variant(uc.get_MousePointer()), longValue(1));
  bag.WriteProperty("MouseIcon", Variant(uc.get_MouseIcon()), Variant());
}
