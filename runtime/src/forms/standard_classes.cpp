#include "forms/standard_classes.h"

#include "forms/collection.h"
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

}  // namespace

bool isStandardClass(const std::string& classId) { return find(classId) != nullptr; }

ControlPtr createStandardControl(const std::string& classId, const Control::Init& given, bool multiLine) {
  const auto* entry = find(classId);
  if (!entry) return nullptr;
  Control::Init init = given;
  init.classId = entry->first;  // the canonical spelling
  return entry->second(init, multiLine);
}

}  // namespace forms
