// The settings of the control that the extent, layout and scrolling follow, and the
// library's type information.
#include "Scrollbay.h"
#include "forms/library.h"

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

const forms::ClassInfo& Scrollbay::typeInfo() {
  static const forms::ClassInfo info = [] {
    using forms::TypeKind;
    forms::ClassInfo c;
    c.name = "Scrollbay";
    c.defaultInterface = "_Scrollbay";
    c.eventInterface = "__Scrollbay";
    c.isControl = true;
    forms::ClassBuilder<Scrollbay> b(c);
    auto describe = [](forms::MemberInfo& m, forms::TypeRef type, const char* param, const char* text) {
      m.type = std::move(type);
      if (param) m.params = {{param, m.type, false}};
      m.description = text;
      return &m;
    };
    const forms::TypeRef boolean{TypeKind::Boolean, {}}, number{TypeKind::Long, {}}, color{TypeKind::Color, "OLE_COLOR"};
    describe(b.property("ScrollbarBackColor", &Scrollbay::get_ScrollbarBackColor, &Scrollbay::put_ScrollbarBackColor), color,
             "aColor", "Returns/sets scrollbar background color");
    describe(b.property("AutoAdjustExtent", &Scrollbay::get_AutoAdjustExtent, &Scrollbay::put_AutoAdjustExtent), boolean,
             "bValue", "Enables/disables automatic adjustment of viewport extent");
    describe(b.property("RightMargin", &Scrollbay::get_RightMargin, &Scrollbay::put_RightMargin), number, "nValue",
             "Returns or sets the margin between right edge of control and the right most contained control");
    describe(b.property("BottomMargin", &Scrollbay::get_BottomMargin, &Scrollbay::put_BottomMargin), number, "nValue",
             "Returns or sets the margin between bottom edge of control and the bottom most contained control");
    describe(b.property("VirtualHeight", &Scrollbay::get_VirtualHeight, &Scrollbay::put_VirtualHeight), number, "nHeight",
             "Returns/sets virtual height of the viewport");
    describe(b.property("VirtualWidth", &Scrollbay::get_VirtualWidth, &Scrollbay::put_VirtualWidth), number, "nWidth",
             "Returns/sets virtual width of the viewport");
    describe(b.property("Scrollbars", &Scrollbay::get_Scrollbars, &Scrollbay::put_Scrollbars), {TypeKind::Enum, "ScrollbarShow"},
             "eValue", "Returns/sets scrollbars to be displayed in the viewport");
    const char* thumb = "Returns or sets the thumb position of the horizontal scrollbar of the control control";
    describe(b.property("HScrollValue", &Scrollbay::get_HScrollValue, &Scrollbay::put_HScrollValue), number, "nValue", thumb)
        ->nonBrowsable = true;
    auto* v = describe(b.property("VScrollValue", &Scrollbay::get_VScrollValue, &Scrollbay::put_VScrollValue), number, "nValue", thumb);
    v->nonBrowsable = true;
    v->hidden = true;
    b.method("AdjustExtent", [](Scrollbay& s, forms::Args&) {
       s.AdjustExtent();
       return forms::Variant();
     }).description = "Calculates and adjusts the virtual extent of the viewport";
    b.method("TranslatedSysColor", [](Scrollbay& s, forms::Args& a) {
       if (a.size() != 1) throw forms::Error(forms::err::InvalidCall);
       return forms::Variant(s.TranslatedSysColor(a[0].toInt32()));
     }).params = {{"aColor", color, false}};
    describe(b.property("AutoScroll", &Scrollbay::get_AutoScroll, &Scrollbay::put_AutoScroll), boolean, "bAutoScroll",
             "Enables/disables automatic scrolling of viewport");
    b.method("Refresh", [](Scrollbay& s, forms::Args&) {
      s.Refresh();
      return forms::Variant();
    });
    describe(b.property("BackColor", &Scrollbay::get_BackColor, &Scrollbay::put_BackColor), color, "aColor",
             "Returns or sets the color used for painting the background");
    describe(b.property("AutoFillContainer", &Scrollbay::get_AutoFillContainer, &Scrollbay::put_AutoFillContainer), boolean,
             "bAutoFill", "Enables/disables automatic resizing when container resizes");
    describe(b.property("LeftFillMargin", &Scrollbay::get_LeftFillMargin, &Scrollbay::put_LeftFillMargin), number, "nMargin",
             "Returns or sets the margin between container and control's left edge");
    describe(b.property("TopFillMargin", &Scrollbay::get_TopFillMargin, &Scrollbay::put_TopFillMargin), number, "nMargin",
             "Returns or sets the margin between container and control's right edge");
    describe(b.property("RightFillMargin", &Scrollbay::get_RightFillMargin, &Scrollbay::put_RightFillMargin), number, "nMargin",
             "Returns or sets the margin between container and control's right edge");
    describe(b.property("BottomFillMargin", &Scrollbay::get_BottomFillMargin, &Scrollbay::put_BottomFillMargin), number,
             "nMargin", "Returns or sets the margin between container and control's bottom edge");
    describe(b.objectProperty("Picture", &Scrollbay::get_Picture, &Scrollbay::putref_Picture), {TypeKind::Picture, "IPictureDisp"},
             "aPicture", "Returns/sets a graphic to be displayed in viewport");

    const forms::ParamInfo keyCode{"KeyCode", {TypeKind::Integer, {}}, true}, shift{"Shift", {TypeKind::Integer, {}}, true};
    c.events = {{"Resize", 1, {}},
                {"KeyDown", 4, {keyCode, shift}},
                {"HScrollChange", 10, {{"nPos", number, true}}},
                {"VScrollChange", 11, {{"nPos", number, true}}}};
    return c;
  }();
  return info;
}

extern "C" __attribute__((visibility("default"))) const forms::ControlLibraryEntry* forms_control_library() {
  static const forms::LibraryInfo library = [] {
    forms::LibraryInfo l;
    l.name = "ScrollbayCtl";
    l.description = "Scrollbay Scrollable Viewport Control";
    l.major = 1;
    l.minor = 0;
    l.revision = 38;
    l.lcid = 1033;
    l.classes = {&Scrollbay::typeInfo()};
    l.enums = {{"ScrollbarShow",
                {{"vpAuto", vpAuto, "vpAuto"},
                 {"vpBoth", vpBoth, "vpBoth"},
                 {"vpHorizontal", vpHorizontal, "vpHorizontal"},
                 {"vpVertical", vpVertical, "vpVertical"},
                 {"vpNone", vpNone, "vpNone"}}}};
    return l;
  }();
  static const forms::ControlLibraryEntry entry{&library, {{&Scrollbay::typeInfo(), [] { return std::make_shared<Scrollbay>(); }}}};
  return &entry;
}
