#pragma once
// forms-typeinfo: a control library's type information, written as JSON or as text.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "forms/object.h"

namespace forms::typeinfo {

// What to print: the library with all its classes, or with the one a class id names.
struct Listing {
  const LibraryInfo* library = nullptr;
  std::vector<const ClassInfo*> classes;
};

std::string typeKindName(TypeKind kind);
// Always in the order get, let, set, method; bits without a name come last, as numbers.
std::vector<std::string> callKindNames(int kinds);
// A double-quoted string with JSON escapes, so a description stays on one line.
std::string quoted(std::string_view s);

void writeJson(std::ostream& out, const Listing& listing);
void writeText(std::ostream& out, const Listing& listing);

}  // namespace forms::typeinfo
