#include "forms/standard_classes.h"

#include <algorithm>

#include "forms/collection.h"
#include "forms/form.h"
#include "forms/picturebox.h"
#include "forms/scrollbar.h"
#include "forms/simple_controls.h"

namespace forms {

namespace {

using Make = ControlPtr (*)(const Control::Init&, bool multiLine);

const std::pair<const char*, Make> kClasses[] = {
    {kPictureBoxClass, [](const Control::Init& i, bool) -> ControlPtr { return std::make_shared<PictureBox>(i); }},
    {kHScrollBarClass, [](const Control::Init& i, bool) -> ControlPtr { return std::make_shared<ScrollBar>(i, Qt::Horizontal); }},
    {kVScrollBarClass, [](const Control::Init& i, bool) -> ControlPtr { return std::make_shared<ScrollBar>(i, Qt::Vertical); }},
    {kTextBoxClass, [](const Control::Init& i, bool m) -> ControlPtr { return std::make_shared<TextBox>(i, m); }},
    {kLabelClass, [](const Control::Init& i, bool) -> ControlPtr { return std::make_shared<Label>(i); }},
    {kFrameClass, [](const Control::Init& i, bool) -> ControlPtr { return std::make_shared<Frame>(i); }},
    {kOptionButtonClass,
     [](const Control::Init& i, bool) -> ControlPtr { return std::make_shared<ButtonControl>(i, ButtonControl::Kind::Option); }},
    {kCheckBoxClass,
     [](const Control::Init& i, bool) -> ControlPtr { return std::make_shared<ButtonControl>(i, ButtonControl::Kind::Check); }},
    {kCommandButtonClass,
     [](const Control::Init& i, bool) -> ControlPtr { return std::make_shared<ButtonControl>(i, ButtonControl::Kind::Command); }},
};

const std::pair<const char*, Make>* find(const std::string& classId) {
  for (const auto& entry : kClasses)
    if (equalsNoCase(classId, entry.first)) return &entry;
  return nullptr;
}

// Type information by class id, in the table's order.
const std::vector<std::pair<const char*, const ClassInfo*>>& classInfos() {
  static const std::vector<std::pair<const char*, const ClassInfo*>> infos = [] {
    std::vector<std::pair<const char*, const ClassInfo*>> out;
    FormPtr scratch = Form::create("scratch", true);
    for (const auto& entry : kClasses) {
      std::string name = "c";
      name += std::to_string(out.size());
      out.emplace_back(entry.first, &scratch->addControl(entry.first, name)->classInfo());
    }
    scratch->Unload();
    return out;
  }();
  return infos;
}

}  // namespace

bool isStandardClass(const std::string& classId) { return find(classId) != nullptr; }
bool isStandardLibrary(const std::string& libraryName) { return equalsNoCase(libraryName, kStandardLibrary); }

std::vector<std::string> standardClassIds() {
  std::vector<std::string> ids;
  for (const auto& entry : kClasses) ids.emplace_back(entry.first);
  return ids;
}

const LibraryInfo& standardLibraryInfo() {
  static const LibraryInfo info = [] {
    LibraryInfo lib;
    lib.name = kStandardLibrary;
    lib.description = "The form runtime's own controls";
    for (const auto& [id, c] : classInfos())
      if (std::find(lib.classes.begin(), lib.classes.end(), c) == lib.classes.end()) lib.classes.push_back(c);
    return lib;
  }();
  return info;
}

const ClassInfo* standardClassInfo(const std::string& classId) {
  for (const auto& [id, c] : classInfos())
    if (equalsNoCase(classId, id)) return c;
  return nullptr;
}

ControlPtr createStandardControl(const std::string& classId, const Control::Init& given, bool multiLine) {
  const auto* entry = find(classId);
  if (!entry) return nullptr;
  Control::Init init = given;
  init.classId = entry->first;  // the canonical spelling
  return entry->second(init, multiLine);
}

}  // namespace forms
