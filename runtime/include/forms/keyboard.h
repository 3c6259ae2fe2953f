#pragma once
// Keystrokes sent to the focused window, as if typed: "{TAB}", "{ENTER}", plain text.
#include <string>

namespace forms {

// Posts the keystrokes; with wait, delivers them before returning. Error 5 for a
// malformed key string.
void SendKeys(const std::string& keys, bool wait = false);

// Key codes as the key events report them.
inline constexpr int16_t vbKeyTab = 9;
inline constexpr int16_t vbKeyReturn = 13;
inline constexpr int16_t vbKeyPageUp = 33;
inline constexpr int16_t vbKeyPageDown = 34;
inline constexpr int16_t vbKeyEnd = 35;
inline constexpr int16_t vbKeyHome = 36;
inline constexpr int16_t vbKeyLeft = 37;
inline constexpr int16_t vbKeyUp = 38;
inline constexpr int16_t vbKeyRight = 39;
inline constexpr int16_t vbKeyDown = 40;
// Shift mask bits.
inline constexpr int16_t vbShiftMask = 1;
inline constexpr int16_t vbCtrlMask = 2;
inline constexpr int16_t vbAltMask = 4;

}  // namespace forms
