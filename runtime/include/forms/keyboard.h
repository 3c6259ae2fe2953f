#pragma once
// Keystrokes sent to the focused window, as if typed: "{TAB}", "{ENTER}", plain text.
#include <string>

namespace forms {

// Posts the keystrokes; with wait, delivers them before returning. Error 5 for a
// malformed key string.
void SendKeys(const std::string& keys, bool wait = false);

// Key codes as the key events report them.
namespace keycode {
inline constexpr int16_t Tab = 9;
inline constexpr int16_t Return = 13;
inline constexpr int16_t PageUp = 33;
inline constexpr int16_t PageDown = 34;
inline constexpr int16_t End = 35;
inline constexpr int16_t Home = 36;
inline constexpr int16_t Left = 37;
inline constexpr int16_t Up = 38;
inline constexpr int16_t Right = 39;
inline constexpr int16_t Down = 40;
}  // namespace keycode

// Bits of the shift mask the key and mouse events report.
namespace shiftmask {
inline constexpr int16_t Shift = 1;
inline constexpr int16_t Ctrl = 2;
inline constexpr int16_t Alt = 4;
}  // namespace shiftmask

}  // namespace forms
