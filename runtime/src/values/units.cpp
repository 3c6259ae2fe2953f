#include "forms/units.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "forms/error.h"

namespace forms {

namespace {
float g_twipsPerPixel[2] = {15.0f, 15.0f};

template <class T>
T toIntegral(double value) {
  if (!std::isfinite(value)) throw Error(err::Overflow);
  const double r = roundHalfEven(value);
  if (r < static_cast<double>(std::numeric_limits<T>::min()) || r > static_cast<double>(std::numeric_limits<T>::max()))
    throw Error(err::Overflow);
  return static_cast<T>(r);
}
}  // namespace

double roundHalfEven(double value) {
  // nearbyint follows the current rounding mode, which is to-nearest-even by default.
  return std::nearbyint(value);
}

int16_t toInt16(double value) { return toIntegral<int16_t>(value); }
int32_t toInt32(double value) { return toIntegral<int32_t>(value); }

int16_t saturateToInt16(double value) {
  if (std::isnan(value)) throw Error(err::Overflow);
  return static_cast<int16_t>(std::clamp(roundHalfEven(value), double{INT16_MIN}, double{INT16_MAX}));
}

int32_t checkedAdd(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw Error(err::Overflow);
  return r;
}

int32_t checkedSub(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw Error(err::Overflow);
  return r;
}

double twipsPerPixel(Axis axis) { return g_twipsPerPixel[axis == Axis::X ? 0 : 1]; }

double twipsInPixels(Axis axis, double twips) { return roundHalfEven(twips / twipsPerPixel(axis)); }

int twipsToPixels(Axis axis, double twips) {
  const double pixels = twipsInPixels(axis, twips);
  // Also false for NaN, so nothing that is not a length reaches the cast.
  if (!(std::fabs(pixels) <= kMaxWindowPixels))
    throw Error(err::InvalidPropertyValue, "Invalid property value: the length lies beyond the " + std::to_string(kMaxWindowPixels) +
                                               " pixels a window can have");
  return static_cast<int>(pixels);
}

void setTwipsPerPixel(float x, float y) {
  if (!(x > 0) || !(y > 0)) throw Error(err::InvalidCall);
  g_twipsPerPixel[0] = x;
  g_twipsPerPixel[1] = y;
}

double twipsPerUnit(int scaleMode, Axis axis) {
  const bool x = axis == Axis::X;
  switch (scaleMode) {
    case ScaleTwips: return 1.0;
    case ScalePoints: return 20.0;
    case ScalePixels: return twipsPerPixel(axis);
    case ScaleCharacters: return x ? 120.0 : 240.0;
    case ScaleInches: return 1440.0;
    case ScaleMillimeters: return 1440.0 / 25.4;
    case ScaleCentimeters: return 1440.0 / 2.54;
    case ScaleHimetric: return 1440.0 / 2540.0;
    default: throw Error(err::InvalidCall);
  }
}

float scaleAxis(Axis axis, float value, int fromMode, int toMode) {
  if (fromMode == toMode) return value;
  const double twips = static_cast<double>(value) * twipsPerUnit(fromMode, axis);
  return static_cast<float>(twips / twipsPerUnit(toMode, axis));
}

const char* scaleUnitsName(int scaleMode) {
  switch (scaleMode) {
    case ScaleUser: return "User";
    case ScaleTwips: return "Twip";
    case ScalePoints: return "Point";
    case ScalePixels: return "Pixel";
    case ScaleCharacters: return "Character";
    case ScaleInches: return "Inch";
    case ScaleMillimeters: return "Millimeter";
    case ScaleCentimeters: return "Centimeter";
    case ScaleHimetric: return "Himetric";
    default: return "User";
  }
}

float scaleX(float value, int fromMode, int toMode) { return scaleAxis(Axis::X, value, fromMode, toMode); }
float scaleY(float value, int fromMode, int toMode) { return scaleAxis(Axis::Y, value, fromMode, toMode); }

}  // namespace forms
