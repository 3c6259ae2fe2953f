#pragma once
// Control libraries: shared objects that export their classes' factories and type
// information. A class id "Library.Class" is looked up in libLibrary.so next to the
// executable, on FORMS_LIBRARY_PATH, or in the install directory.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/object.h"

namespace forms {

class ControlClass;

struct ControlFactory {
  const ClassInfo* typeInfo = nullptr;
  std::function<std::shared_ptr<ControlClass>()> create;
};

struct ControlLibraryEntry {
  const LibraryInfo* library = nullptr;
  std::vector<ControlFactory> classes;
};

// The name of the function a control library exports, returning its entry.
#define FORMS_LIBRARY_ENTRY_NAME "forms_control_library"
using ControlLibraryEntryFn = const ControlLibraryEntry* (*)();

// Finds a class by id. Errors name the library and the class: a missing library, a
// library without the entry point, or a class the library does not have.
const ControlFactory& findControlClass(const std::string& classId);
// The loaded library's information, loading it if needed; "Forms" is the runtime's own
// (standardLibraryInfo, which needs the application).
const LibraryInfo& controlLibraryInfo(const std::string& libraryName);
// Folders searched, in order.
std::vector<std::string> controlLibrarySearchPath();

// A control library found on the search path: its classes, or why it did not load.
struct ControlLibraryListing {
  std::string name;  // the library part of its class ids: libName.so gives Name
  std::string path;
  const LibraryInfo* info = nullptr;  // nullptr when it failed to load
  std::vector<const ClassInfo*> classes;
  std::string error;  // the loader's message when it failed
};
// Every shared object on the search path that exports the entry point, in search
// order, the first of each name only (as class ids find them). Other shared objects are
// not loaded to find out. A library that failed before is tried again, and one added
// since the last call is found: a designer's "Reload" is another call.
std::vector<ControlLibraryListing> listControlLibraries();

}  // namespace forms
