// A control library that cannot load: it exports the entry point but needs a function
// nothing provides, so loading it fails with the loader's own message.
#include "forms/library.h"

extern "C" const forms::ControlLibraryEntry* forms_missing_dependency();

extern "C" __attribute__((visibility("default"))) const forms::ControlLibraryEntry* forms_control_library() {
  return forms_missing_dependency();
}
