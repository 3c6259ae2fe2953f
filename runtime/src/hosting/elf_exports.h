#pragma once
// Whether a shared object exports a symbol, read from its dynamic symbol table without
// loading it: looking through a folder for control libraries runs no other library's code.
#include <string>

namespace forms {

bool exportsSymbol(const std::string& path, const std::string& symbol);

}  // namespace forms
