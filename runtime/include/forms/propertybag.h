#pragma once
// Named values a user control reads and writes when its form is loaded and saved.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "forms/variant.h"

namespace forms {

class PropertyBag {
 public:
  // A missing name yields the default; names match without regard to case.
  Variant ReadProperty(const std::string& name, const Variant& defaultValue = {}) const;
  // Nothing is stored when the value equals the default (an earlier entry is dropped);
  // without a default the value is always stored.
  void WriteProperty(const std::string& name, const Variant& value, const std::optional<Variant>& defaultValue = std::nullopt);

  bool contains(const std::string& name) const;
  // The name last asked for, so that a failure while applying it can name it.
  const std::string& lastRead() const { return m_lastRead; }
  // Entries in the order they were written.
  const std::vector<std::pair<std::string, Variant>>& entries() const { return m_entries; }
  // Names of the entries no ReadProperty has asked for, in the order they were written:
  // settings the reader does not know, which its next WriteProperties will not give back.
  std::vector<std::string> unread() const;
  // A control reads a copy of its host's bag; what it asked of the copy counts here too.
  void noteReadsOf(const PropertyBag& copy) const;
  void clear() {
    m_entries.clear();
    m_read.clear();
  }

 private:
  std::vector<std::pair<std::string, Variant>> m_entries;
  mutable std::string m_lastRead;
  mutable std::set<std::string> m_read;  // names asked for, folded to lower case
};

}  // namespace forms
