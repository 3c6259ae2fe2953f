#pragma once
// A control of the document named as the form knows it: its name and, in a control
// array, its index. Commands hold these rather than pointers, since undo makes a
// removed control again as a new object.
#include <string>

#include "forms/form.h"

namespace designer {

struct ControlRef {
  std::string name;  // empty: the form itself
  int16_t index = -1;

  static ControlRef of(const forms::Window& window);
  bool isForm() const { return name.empty(); }
  // nullptr when no such control exists; the form for an empty name.
  forms::Window* resolve(forms::Form& form) const;
  forms::Control* control(forms::Form& form) const;
  // "txtName", "optPick(2)"; the form's own name for the form.
  std::string text() const;
  static ControlRef fromText(const std::string& text);

  bool operator==(const ControlRef&) const = default;
  bool operator<(const ControlRef& o) const { return name != o.name ? name < o.name : index < o.index; }
};

}  // namespace designer
