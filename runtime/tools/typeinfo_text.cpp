// One line per item, indented by nesting, in the words a reader of an object viewer
// expects: "property get/let Name As Type  [id 3, hidden]  "description"".
#include <ostream>
#include <string>
#include <vector>

#include "typeinfo.h"

namespace forms::typeinfo {

namespace {

std::string joined(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : separator) + p;
  return out;
}

// The enumeration's or interface's name where there is one: it says more than the kind.
std::string typeText(const TypeRef& type) { return type.name.empty() ? typeKindName(type.kind) : type.name; }

std::string asType(const TypeRef& type) { return type.kind == TypeKind::Void && type.name.empty() ? "" : " As " + typeText(type); }

std::string paramText(const ParamInfo& p) { return (p.byRef ? "ref " : "") + p.name + " As " + typeText(p.type); }

std::string paramList(const std::vector<ParamInfo>& params) {
  std::vector<std::string> parts;
  for (const ParamInfo& p : params) parts.push_back(paramText(p));
  std::string out = "(";
  out += joined(parts, ", ");
  out += ')';
  return out;
}

std::string memberLine(const MemberInfo& m) {
  const std::string kinds = joined(callKindNames(m.kinds), "/");
  std::string line;
  if (m.kinds == static_cast<int>(CallKind::Method))
    line = "method ";
  else if (m.kinds != 0 && !m.has(CallKind::Method))
    line = "property " + kinds + " ";
  else
    line = kinds.empty() ? "member " : "member " + kinds + " ";
  // A method's parameters are its call's; a property's are what let or set take, listed below it.
  line += m.name + (m.has(CallKind::Method) ? paramList(m.params) : "") + asType(m.type);
  line += "  [id " + std::to_string(m.dispid) + (m.hidden ? ", hidden" : "") + (m.nonBrowsable ? ", not browsable" : "") + "]";
  if (!m.description.empty()) line += "  " + quoted(m.description);
  return line;
}

void writeClass(std::ostream& out, const ClassInfo& c) {
  out << "  class " << c.name << (c.isControl ? "  [control]" : "") << '\n';
  if (!c.description.empty()) out << "    " << quoted(c.description) << '\n';
  if (!c.defaultInterface.empty()) out << "    default interface " << c.defaultInterface << '\n';
  if (!c.eventInterface.empty()) out << "    event interface " << c.eventInterface << '\n';
  for (const MemberInfo& m : c.members) {
    out << "    " << memberLine(m) << '\n';
    if (!m.has(CallKind::Method))
      for (const ParamInfo& p : m.params) out << "      param " << paramText(p) << '\n';
  }
  for (const EventInfo& e : c.events)
    out << "    event " << e.name << paramList(e.params) << "  [id " << e.dispid << "]\n";
}

}  // namespace

void writeText(std::ostream& out, const Listing& listing) {
  const LibraryInfo& lib = *listing.library;
  out << "library " << lib.name << ' ' << lib.major << '.' << lib.minor << "  [revision " << lib.revision << ", locale "
      << lib.lcid << "]";
  if (!lib.description.empty()) out << "  " << quoted(lib.description);
  out << '\n';
  for (const ClassInfo* c : listing.classes)
    if (c) writeClass(out, *c);
  for (const EnumInfo& e : lib.enums) {
    out << "  enum " << e.name << '\n';
    for (const EnumMember& m : e.members) {
      out << "    " << m.name << " = " << m.value;
      if (!m.description.empty()) out << "  " << quoted(m.description);
      out << '\n';
    }
  }
}

}  // namespace forms::typeinfo
