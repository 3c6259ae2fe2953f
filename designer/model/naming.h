#pragma once
// Names for controls the designer makes or pastes: unique on the form, and elements of
// a control array keep to valid, unused indexes.
#include <QJsonObject>
#include <map>
#include <set>
#include <string>

#include "control_ref.h"

namespace designer {

// The base of a new control's name for its class: "Text" for a text box, the class's
// own name for a control library's ("Scrollbay").
std::string baseNameFor(const std::string& classId);

class Naming {
 public:
  explicit Naming(const forms::Form& form);
  // The first of base1, base2, ... that no control has.
  std::string freshName(const std::string& base);
  // Gives a pasted entry, and every entry inside it, a name and index nothing has:
  // an element of an array that exists goes on as its next free index; a name taken
  // otherwise becomes base and a fresh number.
  void makeUnique(QJsonObject& entry);

 private:
  bool taken(const std::string& name) const;            // by any control, array or not
  bool takenAt(const std::string& name, int16_t index) const;
  bool isArray(const std::string& name) const;
  void claim(const std::string& name, int16_t index);

  std::set<std::string> m_names;                   // folded
  std::set<std::pair<std::string, int16_t>> m_at;  // folded name, index
  std::set<std::string> m_arrays;                  // folded
  std::map<std::string, std::string> m_renamed;    // folded name as pasted -> its new name
};

}  // namespace designer
