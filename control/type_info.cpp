// What the library publishes about the control: its members in slot order with their
// descriptions, its events, its enumerations, and the library's own name and version.
#include "Scrollbay.h"
#include "forms/library.h"

#ifndef SCROLLBAY_VERSION_MAJOR
#error "the build gives the library's version numbers"
#endif

namespace {

using forms::ParamInfo;
using forms::TypeKind;
using forms::TypeRef;

const TypeRef kBoolean{TypeKind::Boolean, {}};
const TypeRef kInteger{TypeKind::Integer, {}};
const TypeRef kLong{TypeKind::Long, {}};
const TypeRef kSingle{TypeKind::Single, {}};
const TypeRef kString{TypeKind::String, {}};
const TypeRef kVariant{TypeKind::Variant, {}};
const TypeRef kColor{TypeKind::Color, "OLE_COLOR"};
const TypeRef kPicture{TypeKind::Picture, "IPictureDisp"};
// The hosting platform's own enumeration of mouse pointer shapes.
const TypeRef kPointer{TypeKind::Enum, "PointerShape"};

// Gives a property its type, the name of its assigned value and its description.
forms::MemberInfo& describe(forms::MemberInfo& m, const TypeRef& type, const char* param, std::string description) {
  m.type = type;
  m.params = {{param, type, false}};
  m.description = std::move(description);
  return m;
}

forms::ClassInfo buildClassInfo() {
  forms::ClassInfo c;
  c.name = "Scrollbay";
  c.description = "A scrollable viewport: the controls placed in it scroll under a window with scrollbars";
  c.defaultInterface = "_Scrollbay";
  c.eventInterface = "__Scrollbay";
  c.isControl = true;
  forms::ClassBuilder<Scrollbay> b(c);
  auto noResult = [](auto&& f) {
    return [f](Scrollbay& s, forms::Args& a) {
      if (!a.empty()) throw forms::Error(forms::err::InvalidCall);
      f(s);
      return forms::Variant();
    };
  };

  b.method("Refresh", noResult([](Scrollbay& s) { s.Refresh(); }));
  describe(b.property("Appearance", &Scrollbay::get_Appearance, &Scrollbay::put_Appearance),
           {TypeKind::Enum, "vpApearanceStyle"}, "eAppearance", "Returns or sets appearance of the control");
  describe(b.property("BackColor", &Scrollbay::get_BackColor, &Scrollbay::put_BackColor), kColor, "aColor",
           "Returns or sets the color used for painting the background");
  describe(b.property("ScrollbarBackColor", &Scrollbay::get_ScrollbarBackColor, &Scrollbay::put_ScrollbarBackColor),
           kColor, "aColor", "Returns/sets scrollbar background color");
  describe(b.property("Enabled", &Scrollbay::get_Enabled, &Scrollbay::put_Enabled), kBoolean, "bEnabled",
           "Enables/disabled Scrollbay for user inputs");
  describe(b.property("BorderStyle", &Scrollbay::get_BorderStyle, &Scrollbay::put_BorderStyle),
           {TypeKind::Enum, "vpBorderStyle"}, "eBorderStyle", "Returns or sets the border style for Scrollbay");
  describe(b.property("AutoAdjustExtent", &Scrollbay::get_AutoAdjustExtent, &Scrollbay::put_AutoAdjustExtent), kBoolean,
           "bValue", "Enables/disables automatic adjustment of viewport extent");
  describe(b.property("RightMargin", &Scrollbay::get_RightMargin, &Scrollbay::put_RightMargin), kLong, "nValue",
           "Returns or sets the margin between right edge of control and the right most contained control");
  describe(b.property("BottomMargin", &Scrollbay::get_BottomMargin, &Scrollbay::put_BottomMargin), kLong, "nValue",
           "Returns or sets the margin between bottom edge of control and the bottom most contained control");
  describe(b.property("VirtualHeight", &Scrollbay::get_VirtualHeight, &Scrollbay::put_VirtualHeight), kLong, "nHeight",
           "Returns/sets virtual height of the viewport");
  describe(b.property("VirtualWidth", &Scrollbay::get_VirtualWidth, &Scrollbay::put_VirtualWidth), kLong, "nWidth",
           "Returns/sets virtual width of the viewport");
  describe(b.property("Scrollbars", &Scrollbay::get_Scrollbars, &Scrollbay::put_Scrollbars), {TypeKind::Enum, "ScrollbarShow"},
           "eValue", "Returns/sets scrollbars to be displayed in the viewport");
  const std::string thumb = "Returns or sets the thumb position of the horizontal scrollbar of the control control";
  describe(b.property("HScrollValue", &Scrollbay::get_HScrollValue, &Scrollbay::put_HScrollValue), kLong, "nValue", thumb)
      .nonBrowsable = true;
  forms::MemberInfo& vertical =
      describe(b.property("VScrollValue", &Scrollbay::get_VScrollValue, &Scrollbay::put_VScrollValue), kLong, "nValue", thumb);
  vertical.nonBrowsable = true;
  vertical.hidden = true;
  forms::MemberInfo& version = b.getter("Version", &Scrollbay::get_Version);
  version.type = kString;
  version.description = "Returns the version number of the control";
  b.method("AdjustExtent", noResult([](Scrollbay& s) { s.AdjustExtent(); })).description =
      "Calculates and adjusts the virtual extent of the viewport";
  forms::MemberInfo& translate = b.method("TranslatedSysColor", [](Scrollbay& s, forms::Args& a) {
    if (a.size() != 1) throw forms::Error(forms::err::InvalidCall);
    return forms::Variant(s.TranslatedSysColor(a[0].toInt32()));
  });
  translate.type = kColor;
  translate.params = {{"aColor", kColor, false}};
  describe(b.property("ToolTipText", &Scrollbay::get_ToolTipText, &Scrollbay::put_ToolTipText), kString, "sTip",
           "Returns/sets tooltip text to be displayed");
  describe(b.property("AutoFillContainer", &Scrollbay::get_AutoFillContainer, &Scrollbay::put_AutoFillContainer), kBoolean,
           "bAutoFill", "Enables/disables automatic resizing when container resizes");
  describe(b.property("LeftFillMargin", &Scrollbay::get_LeftFillMargin, &Scrollbay::put_LeftFillMargin), kLong, "nMargin",
           "Returns or sets the margin between container and control's left edge");
  // The top margin's text says "right edge", as the library has always published it.
  describe(b.property("TopFillMargin", &Scrollbay::get_TopFillMargin, &Scrollbay::put_TopFillMargin), kLong, "nMargin",
           "Returns or sets the margin between container and control's right edge");
  describe(b.property("RightFillMargin", &Scrollbay::get_RightFillMargin, &Scrollbay::put_RightFillMargin), kLong, "nMargin",
           "Returns or sets the margin between container and control's right edge");
  describe(b.property("BottomFillMargin", &Scrollbay::get_BottomFillMargin, &Scrollbay::put_BottomFillMargin), kLong,
           "nMargin", "Returns or sets the margin between container and control's bottom edge");
  describe(b.property("AutoScroll", &Scrollbay::get_AutoScroll, &Scrollbay::put_AutoScroll), kBoolean, "bAutoScroll",
           "Enables/disables automatic scrolling of viewport");
  // The picture is assigned by reference; the mouse icon, below, as a value.
  describe(b.objectProperty("Picture", &Scrollbay::get_Picture, &Scrollbay::putref_Picture), kPicture, "aPicture",
           "Returns/sets a graphic to be displayed in viewport");
  describe(b.property("Tag", &Scrollbay::get_Tag, &Scrollbay::put_Tag), kVariant, "aTag", "Stores any extra data for your program");
  describe(b.property("MousePointer", &Scrollbay::get_MousePointer, &Scrollbay::put_MousePointer), kPointer, "aPointer",
           "Returns or sets a type of mouse pointer displayed when over viewport\r\n\r\n");
  describe(b.property("MouseIcon", &Scrollbay::get_MouseIcon, &Scrollbay::put_MouseIcon), kPicture, "aPicture",
           "Returns or sets a custom mouse icon for the viewport");

  // Every argument goes by reference.
  const ParamInfo keyCode{"KeyCode", kInteger, true}, shift{"Shift", kInteger, true};
  const std::vector<ParamInfo> mouse{{"Button", kInteger, true}, shift, {"x", kSingle, true}, {"y", kSingle, true}};
  c.events = {{"Resize", 1, {}},
              {"Click", 2, {}},
              {"DblClick", 3, {}},
              {"KeyDown", 4, {keyCode, shift}},
              {"KeyPress", 5, {{"KeyAscii", kInteger, true}}},
              {"KeyUp", 6, {keyCode, shift}},
              {"MouseDown", 7, mouse},
              {"MouseMove", 8, mouse},
              {"MouseUp", 9, mouse},
              {"HScrollChange", 10, {{"nPos", kLong, true}}},
              {"VScrollChange", 11, {{"nPos", kLong, true}}}};
  return c;
}

// Each member of an enumeration is described by its own name.
forms::EnumInfo enumeration(std::string name, std::vector<std::pair<const char*, int32_t>> members) {
  forms::EnumInfo e{std::move(name), {}};
  for (const auto& [member, value] : members) e.members.push_back({member, value, member});
  return e;
}

}  // namespace

const forms::ClassInfo& Scrollbay::typeInfo() {
  static const forms::ClassInfo info = buildClassInfo();
  return info;
}

const forms::LibraryInfo& Scrollbay::libraryInfo() {
  static const forms::LibraryInfo library = [] {
    forms::LibraryInfo l;
    l.name = "ScrollbayCtl";
    l.description = "Scrollbay Scrollable Viewport Control";
    l.major = SCROLLBAY_VERSION_MAJOR;
    l.minor = SCROLLBAY_VERSION_MINOR;
    l.revision = SCROLLBAY_VERSION_REVISION;
    l.lcid = 1033;
    l.classes = {&typeInfo()};
    l.enums = {enumeration("ScrollbarShow", {{"vpAuto", vpAuto},
                                             {"vpBoth", vpBoth},
                                             {"vpHorizontal", vpHorizontal},
                                             {"vpVertical", vpVertical},
                                             {"vpNone", vpNone}}),
               enumeration("vpBorderStyle", {{"None", vpBorderNone}, {"Fixed Single", vpBorderFixedSingle}}),
               enumeration("vpApearanceStyle", {{"Flat", vpAppearanceFlat}, {"3D", vpAppearance3D}})};
    return l;
  }();
  return library;
}

extern "C" __attribute__((visibility("default"))) const forms::ControlLibraryEntry* forms_control_library() {
  static const forms::ControlLibraryEntry entry{&Scrollbay::libraryInfo(),
                                                {{&Scrollbay::typeInfo(), [] { return std::make_shared<Scrollbay>(); }}}};
  return &entry;
}
