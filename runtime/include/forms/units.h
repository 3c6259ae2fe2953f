#pragma once
// Rounding and the scale-mode conversions every length goes through.
#include <cstdint>

namespace forms {

// Scale modes: 0 user-defined (per object), then the fixed units.
enum ScaleUnit : int16_t {
  ScaleUser = 0,
  ScaleTwips = 1,
  ScalePoints = 2,
  ScalePixels = 3,
  ScaleCharacters = 4,
  ScaleInches = 5,
  ScaleMillimeters = 6,
  ScaleCentimeters = 7,
  ScaleHimetric = 8,
};

// The one rounding rule: to the nearest integer, halves to the even neighbour.
double roundHalfEven(double value);

// Rounds and range-checks; error 6 (overflow) when the result does not fit.
int16_t toInt16(double value);
int32_t toInt32(double value);
// Rounds, then takes the nearest value that fits in 16 bits (-32768 or 32767 beyond).
int16_t saturateToInt16(double value);

// Adds without wrapping: error 6 when the sum leaves the 32-bit range.
int32_t checkedAdd(int32_t a, int32_t b);
int32_t checkedSub(int32_t a, int32_t b);

// Sets the twips per pixel on each axis; 15 at 96 dots per inch. Tests may change it.
void setTwipsPerPixel(float x, float y);

enum class Axis { X, Y };

// The largest size a window can have, and the furthest a window can sit from its
// parent's origin, in pixels: WM_SIZE reports sizes in 16 unsigned bits, as X11 takes
// them (Qt allows more), and a position beyond lies outside any parent. A scrolled
// area may be a little over the 16-bit scrollbar range, so the bound is not 32767.
inline constexpr int kMaxWindowPixels = 65535;

// The screen's twips per pixel on one axis; a length in twips as whole pixels (halves
// to even), unlimited; and the same as an int: the one rule for putting twips on screen,
// error 380 when the pixels lie beyond kMaxWindowPixels either way.
double twipsPerPixel(Axis axis);
double twipsInPixels(Axis axis, double twips);
int twipsToPixels(Axis axis, double twips);

// Twips in one unit of a fixed scale mode (1..8) on one axis; error 5 for mode 0
// or anything out of range, since a user scale belongs to an object.
double twipsPerUnit(int scaleMode, Axis axis);

// ScaleX / ScaleY between fixed scale modes, in single precision.
float scaleX(float value, int fromMode, int toMode);
float scaleY(float value, int fromMode, int toMode);
float scaleAxis(Axis axis, float value, int fromMode, int toMode);

// The unit's name as containers report it to user controls ("Twip", "Pixel", "User", ...).
const char* scaleUnitsName(int scaleMode);

}  // namespace forms
