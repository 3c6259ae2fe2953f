#include "forms/standard_classes.h"

#include "forms/collection.h"
#include "forms/picturebox.h"
#include "forms/scrollbar.h"
#include "forms/simple_controls.h"

namespace forms {

bool isStandardClass(const std::string& classId) {
  for (const char* id : {kPictureBoxClass, kHScrollBarClass, kVScrollBarClass, kTextBoxClass, kLabelClass, kFrameClass,
                         kOptionButtonClass, kCheckBoxClass, kCommandButtonClass})
    if (equalsNoCase(classId, id)) return true;
  return false;
}

ControlPtr createStandardControl(const std::string& classId, const Control::Init& given, bool multiLine) {
  auto is = [&](const char* id) { return equalsNoCase(classId, id); };
  Control::Init init = given;
  if (is(kPictureBoxClass)) return init.classId = kPictureBoxClass, std::make_shared<PictureBox>(init);
  if (is(kHScrollBarClass)) return init.classId = kHScrollBarClass, std::make_shared<ScrollBar>(init, Qt::Horizontal);
  if (is(kVScrollBarClass)) return init.classId = kVScrollBarClass, std::make_shared<ScrollBar>(init, Qt::Vertical);
  if (is(kTextBoxClass)) return init.classId = kTextBoxClass, std::make_shared<TextBox>(init, multiLine);
  if (is(kLabelClass)) return init.classId = kLabelClass, std::make_shared<Label>(init);
  if (is(kFrameClass)) return init.classId = kFrameClass, std::make_shared<Frame>(init);
  if (is(kOptionButtonClass))
    return init.classId = kOptionButtonClass, std::make_shared<ButtonControl>(init, ButtonControl::Kind::Option);
  if (is(kCheckBoxClass)) return init.classId = kCheckBoxClass, std::make_shared<ButtonControl>(init, ButtonControl::Kind::Check);
  if (is(kCommandButtonClass))
    return init.classId = kCommandButtonClass, std::make_shared<ButtonControl>(init, ButtonControl::Kind::Command);
  return nullptr;
}

}  // namespace forms
