#pragma once
// The runtime's own control classes by class id.
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

// The library part of their ids: no control library has this name.
inline constexpr const char* kStandardLibrary = "Forms";
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
bool isStandardLibrary(const std::string& libraryName);
std::vector<std::string> standardClassIds();
// nullptr when the id is not one of the runtime's own classes.
ControlPtr createStandardControl(const std::string& classId, const Control::Init& init, bool multiLine);

// Their type information, listed as a control library lists its classes; HScrollBar and
// VScrollBar are one class. A class tells its members only once a control of it exists,
// so the first call makes one of each on a scratch form: it needs the application.
const LibraryInfo& standardLibraryInfo();
// nullptr when the id is not one of the runtime's own classes.
const ClassInfo* standardClassInfo(const std::string& classId);

}  // namespace forms
