#include "forms/collection.h"


namespace forms {

namespace {
// Names are compared in ASCII, whatever the program's locale: late binding looks names
// up all the time, and the locale's tolower is a library call per character.
char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string lowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = fold(c);
  return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

}  // namespace forms
