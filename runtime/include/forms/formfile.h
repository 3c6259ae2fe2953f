#pragma once
// Form files: JSON with the form's properties and a tree of controls. A custom
// control's settings are its property bag ("bag"); pictures are paths relative to the file.
#include <string>

#include "forms/form.h"

namespace forms {

// Loads and shows nothing yet: the caller calls Show. Errors (forms::Error with
// err::BadFormFile or the underlying number) name the file, the control and the
// property; a form that fails to load is unloaded again, leaving nothing behind.
FormPtr loadForm(const std::string& path, bool designMode = false);
FormPtr loadFormFromJson(const std::string& json, const std::string& path, bool designMode = false);

// Writes what each control gives, so a form survives a save and a load unchanged.
void saveForm(const Form& form, const std::string& path);
std::string saveFormToJson(const Form& form, const std::string& path);

}  // namespace forms
