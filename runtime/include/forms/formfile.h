#pragma once
// Form files: JSON with the form's properties and a tree of controls. A custom
// control's settings are its property bag ("bag"); pictures are paths relative to the file.
#include <QJsonObject>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/form.h"

namespace forms {

// What a load let pass but should not go unnoticed: an entry of a user control's bag
// that its class never read (a misspelt setting, say), which the next save leaves out.
struct LoadWarning {
  std::string control;  // as errors name it: "Scrollbay1", or "txtItem(2)" in an array
  std::string key;      // as the file spells it
  std::string message;  // one line naming the file, the control and the key
};

// Loads and shows nothing yet: the caller calls Show. Errors (forms::Error with
// err::BadFormFile or the underlying number) name the file, the control and the
// property; a form that fails to load is unloaded again, leaving nothing behind.
// A form that loads writes each warning to stderr, and to `warnings` when given.
FormPtr loadForm(const std::string& path, bool designMode = false, std::vector<LoadWarning>* warnings = nullptr);
FormPtr loadFormFromJson(const std::string& json, const std::string& path, bool designMode = false,
                         std::vector<LoadWarning>* warnings = nullptr);

// One control's entry, with what it holds, as a form file saved at `formPath` has it:
// the saver's own writing, for copies, fragments and snapshots in the file's schema.
QJsonObject saveControlEntry(const Control& control, const std::string& formPath);
// Makes a control, and what it holds, from such an entry in `container` (the form when
// null), as the loader does: errors name the file, the control and the property, and
// leave nothing of the entry behind. What is made takes `position` in the form's order
// of controls (the end when it is beyond it), which is the order a save writes.
ControlPtr loadControlEntry(Form& form, const QJsonObject& entry, Window* container, const std::string& formPath,
                            std::size_t position = SIZE_MAX, std::vector<LoadWarning>* warnings = nullptr);

// Writes what each control gives, so a form survives a save and a load unchanged.
void saveForm(const Form& form, const std::string& path);
std::string saveFormToJson(const Form& form, const std::string& path);

}  // namespace forms
