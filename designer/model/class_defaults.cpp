#include "class_defaults.h"

#include <QDir>

#include "forms/control.h"
#include "forms/error.h"
#include "forms/formfile.h"

namespace designer {

ClassDefaults::~ClassDefaults() {
  for (auto& [id, form] : m_forms)
    if (form && form->loaded()) form->Unload();
}

forms::Window* ClassDefaults::prototype(const std::string& classId) {
  auto it = m_forms.find(classId);
  if (it == m_forms.end()) {
    forms::FormPtr form;
    try {
      const std::string where = QDir::current().filePath(QStringLiteral("Defaults.json")).toStdString();
      // Named as its control is: a caption that is the name starts as the name.
      form = forms::loadFormFromJson(R"({"class": "Form", "name": "Default1", "Caption": "Default1"})", where, /*designMode=*/true);
      if (!classId.empty()) form->addControl(classId, "Default1", form.get());
    } catch (const forms::Error&) {
      if (form && form->loaded()) form->Unload();
      form.reset();
    }
    it = m_forms.emplace(classId, std::move(form)).first;
  }
  if (!it->second) return nullptr;
  if (classId.empty()) return it->second.get();
  const auto& controls = it->second->controls();
  return controls.empty() ? nullptr : controls.front().get();
}

}  // namespace designer
