#include "forms/propertybag.h"

#include <algorithm>

#include "forms/collection.h"

namespace forms {

Variant PropertyBag::ReadProperty(const std::string& name, const Variant& defaultValue) const {
  m_lastRead = name;
  m_read.insert(lowerCase(name));
  for (const auto& [key, value] : m_entries)
    if (equalsNoCase(key, name)) return value;
  return defaultValue;
}

void PropertyBag::WriteProperty(const std::string& name, const Variant& value, const std::optional<Variant>& defaultValue) {
  std::erase_if(m_entries, [&](const auto& e) { return equalsNoCase(e.first, name); });
  if (defaultValue && value.equals(*defaultValue)) return;
  m_entries.emplace_back(name, value);
}

std::vector<std::string> PropertyBag::unread() const {
  std::vector<std::string> names;
  for (const auto& entry : m_entries)
    if (!m_read.contains(lowerCase(entry.first))) names.push_back(entry.first);
  return names;
}

void PropertyBag::noteReadsOf(const PropertyBag& copy) const { m_read.insert(copy.m_read.begin(), copy.m_read.end()); }

bool PropertyBag::contains(const std::string& name) const {
  return std::any_of(m_entries.begin(), m_entries.end(), [&](const auto& e) { return equalsNoCase(e.first, name); });
}

}  // namespace forms
