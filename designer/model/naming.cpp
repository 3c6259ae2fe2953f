#include "naming.h"

#include <QJsonArray>
#include <cctype>

#include "forms/collection.h"
#include "forms/standard_classes.h"

namespace designer {

std::string baseNameFor(const std::string& classId) {
  static const std::pair<const char*, const char*> bases[] = {
      {forms::kTextBoxClass, "Text"},        {forms::kLabelClass, "Label"},       {forms::kFrameClass, "Frame"},
      {forms::kOptionButtonClass, "Option"}, {forms::kCheckBoxClass, "Check"},    {forms::kCommandButtonClass, "Command"},
      {forms::kPictureBoxClass, "Picture"},  {forms::kHScrollBarClass, "HScroll"}, {forms::kVScrollBarClass, "VScroll"},
  };
  for (const auto& [id, base] : bases)
    if (forms::equalsNoCase(classId, id)) return base;
  const auto dot = classId.find('.');
  return dot == std::string::npos ? classId : classId.substr(dot + 1);
}

Naming::Naming(const forms::Form& form) {
  for (const forms::ControlPtr& c : form.controls()) claim(c->name(), c->index());
}

void Naming::claim(const std::string& name, int16_t index) {
  const std::string folded = forms::lowerCase(name);
  m_names.insert(folded);
  m_at.insert({folded, index});
  if (index >= 0) m_arrays.insert(folded);
}

bool Naming::taken(const std::string& name) const { return m_names.contains(forms::lowerCase(name)); }
bool Naming::takenAt(const std::string& name, int16_t index) const { return m_at.contains({forms::lowerCase(name), index}); }
bool Naming::isArray(const std::string& name) const { return m_arrays.contains(forms::lowerCase(name)); }

std::string Naming::freshName(const std::string& base) {
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!taken(name)) {
      claim(name, -1);
      return name;
    }
  }
}

void Naming::makeUnique(QJsonObject& entry) {
  std::string name = entry.value("name").toString().toStdString();
  const int16_t index = entry.contains("index") ? static_cast<int16_t>(entry.value("index").toInt()) : int16_t{-1};
  // The elements of one pasted array keep together under the array's new name.
  if (auto it = m_renamed.find(forms::lowerCase(name)); index >= 0 && it != m_renamed.end()) {
    name = it->second;
    entry["name"] = QString::fromStdString(name);
  }
  if (index >= 0 && isArray(name)) {
    if (takenAt(name, index)) {
      int16_t next = 0;
      while (next < 32767 && takenAt(name, next)) ++next;
      entry["index"] = next;
      claim(name, next);
    } else {
      claim(name, index);
    }
  } else if (taken(name)) {
    std::string base = name;
    while (!base.empty() && std::isdigit(static_cast<unsigned char>(base.back()))) base.pop_back();
    if (base.empty()) base = baseNameFor(entry.value("class").toString().toStdString());
    const std::string old = name;
    name = freshName(base);
    entry["name"] = QString::fromStdString(name);
    if (index >= 0) {
      m_renamed[forms::lowerCase(old)] = name;
      // Fresh names are claimed as single controls; an element starts its own array.
      m_at.insert({forms::lowerCase(name), index});
      m_arrays.insert(forms::lowerCase(name));
    }
  } else {
    claim(name, index);
  }
  if (!entry.contains("controls")) return;
  QJsonArray children = entry.value("controls").toArray();
  for (qsizetype i = 0; i < children.size(); ++i) {
    QJsonObject child = children[i].toObject();
    makeUnique(child);
    children[i] = child;
  }
  entry["controls"] = children;
}

}  // namespace designer
