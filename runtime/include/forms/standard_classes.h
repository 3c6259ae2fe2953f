#pragma once
// The runtime's own control classes by class id.
#include <string>

#include "forms/control.h"

namespace forms {

inline constexpr const char* kPictureBoxClass = "Forms.PictureBox";
inline constexpr const char* kHScrollBarClass = "Forms.HScrollBar";
inline constexpr const char* kVScrollBarClass = "Forms.VScrollBar";
inline constexpr const char* kTextBoxClass = "Forms.TextBox";
inline constexpr const char* kLabelClass = "Forms.Label";
inline constexpr const char* kFrameClass = "Forms.Frame";
inline constexpr const char* kOptionButtonClass = "Forms.OptionButton";
inline constexpr const char* kCheckBoxClass = "Forms.CheckBox";
inline constexpr const char* kCommandButtonClass = "Forms.CommandButton";

bool isStandardClass(const std::string& classId);
// nullptr when the id is not one of the runtime's own classes.
ControlPtr createStandardControl(const std::string& classId, const Control::Init& init, bool multiLine);

}  // namespace forms
