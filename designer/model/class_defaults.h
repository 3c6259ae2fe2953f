#pragma once
// The values a class starts with: a control of each class made on a form of its own,
// in design mode and initialised as a new placement, as the designer places one; and a
// new form's. The property sheet compares with them and resets to them.
#include <map>
#include <string>

#include "forms/form.h"

namespace designer {

class ClassDefaults {
 public:
  ClassDefaults() = default;
  ~ClassDefaults();
  ClassDefaults(const ClassDefaults&) = delete;
  ClassDefaults& operator=(const ClassDefaults&) = delete;

  // The new control of the class, or the new form for an empty id; nullptr when the
  // class cannot be made (its library went).
  forms::Window* prototype(const std::string& classId);

 private:
  std::map<std::string, forms::FormPtr> m_forms;  // by class id, "" the form's
};

}  // namespace designer
