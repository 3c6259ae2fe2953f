#include <cstdio>
#include <string>
#include <vector>

#include "typeinfo.h"

namespace forms::typeinfo {

std::string typeKindName(TypeKind kind) {
  switch (kind) {  // no default: a new kind should warn here
    case TypeKind::Void: return "Void";
    case TypeKind::Boolean: return "Boolean";
    case TypeKind::Integer: return "Integer";
    case TypeKind::Long: return "Long";
    case TypeKind::Single: return "Single";
    case TypeKind::Double: return "Double";
    case TypeKind::String: return "String";
    case TypeKind::Variant: return "Variant";
    case TypeKind::Object: return "Object";
    case TypeKind::Color: return "Color";
    case TypeKind::Picture: return "Picture";
    case TypeKind::Enum: return "Enum";
  }
  return "TypeKind(" + std::to_string(static_cast<int>(kind)) + ")";
}

std::vector<std::string> callKindNames(int kinds) {
  static const std::pair<CallKind, const char*> named[] = {
      {CallKind::Get, "get"}, {CallKind::Let, "let"}, {CallKind::Set, "set"}, {CallKind::Method, "method"}};
  std::vector<std::string> names;
  auto rest = static_cast<unsigned>(kinds);
  for (const auto& [kind, name] : named) {
    const auto bit = static_cast<unsigned>(kind);
    if (rest & bit) names.emplace_back(name);
    rest &= ~bit;
  }
  for (unsigned bit = 1; rest != 0; bit <<= 1) {
    if (rest & bit) names.push_back(std::to_string(bit));
    rest &= ~bit;
  }
  return names;
}

std::string quoted(std::string_view s) {
  std::string out = "\"";
  for (const char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;  // UTF-8 passes through as it is
        }
    }
  }
  return out + '"';
}

}  // namespace forms::typeinfo
