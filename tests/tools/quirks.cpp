// A control library for forms-typeinfo with what the probe lacks: two classes, text that
// needs escaping, set and unknown call kinds, named types, negative numbers, an empty
// enumeration. Only its type information is read; it makes no objects.
#include <climits>
#include <string>

#include "forms/library.h"

namespace {

using namespace forms;

MemberInfo member(std::string name, int dispid, int kinds, TypeRef type = {}) {
  MemberInfo m;
  m.name = std::move(name);
  m.dispid = dispid;
  m.kinds = kinds;
  m.type = std::move(type);
  return m;
}

const ClassInfo& firstInfo() {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "First";
    c.defaultInterface = "_First";
    const TypeRef picture{TypeKind::Picture, "QuirkPicture"};
    MemberInfo& p = c.add(member("Picture", 0, CallKind::Get | CallKind::Set, picture));
    p.params = {{"aPicture", picture, false}};
    p.description = "Returns/sets the picture";
    MemberInfo& items = c.add(member("Items", -4, static_cast<int>(CallKind::Method), {TypeKind::Object, {}}));
    items.params = {{"nIndex", {TypeKind::Long, {}}, true}, {"eMode", {TypeKind::Enum, "QuirkMode"}, false}};
    items.hidden = true;
    items.nonBrowsable = true;
    c.add(member("Odd", 0, CallKind::Get | CallKind::Method | 16));
    c.add(member("Blank", 0, 0));
    c.events = {{"Moved", -600, {{"X", {TypeKind::Single, {}}, true}, {"Y", {TypeKind::Single, {}}, false}}}, {"Gone", 2, {}}};
    return c;
  }();
  return info;
}

const ClassInfo& secondInfo() {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "Second";
    c.defaultInterface = "_Second";
    c.eventInterface = "__Second";
    c.isControl = true;
    c.add(member("Mode", 0, CallKind::Get | CallKind::Let, {TypeKind::Enum, "QuirkMode"})).description = "Mode";
    return c;
  }();
  return info;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const forms::ControlLibraryEntry* forms_control_library() {
  static const forms::LibraryInfo library = [] {
    forms::LibraryInfo l;
    l.name = "Quirks";
    l.description = "Quote \" backslash \\ tab \t lines \r\n bell \x07 accent \xc3\xa9";
    l.major = 2;
    l.minor = 10;
    l.revision = 0;
    l.lcid = -1;
    l.classes = {&firstInfo(), &secondInfo()};
    l.enums = {{"QuirkMode", {{"qmLowest", INT32_MIN, "Lowest"}, {"qmHighest", INT32_MAX, ""}}}, {"Empty", {}}};
    return l;
  }();
  static const forms::ControlLibraryEntry entry{&library, {{&firstInfo(), {}}, {&secondInfo(), {}}}};
  return &entry;
}
