#include "forms/scale.h"

#include "forms/error.h"

namespace forms {

void Scale::setMode(int16_t mode) {
  if (mode < ScaleUser || mode > ScaleCentimeters) throw Error(err::InvalidPropertyValue);
  m_mode = mode;
}

void Scale::setUserExtent(Axis axis, double clientTwips, double units) {
  if (units == 0) throw Error(err::InvalidPropertyValue);
  m_userUnitTwips[axis == Axis::X ? 0 : 1] = clientTwips / units;
  m_mode = ScaleUser;
}

double Scale::twipsPerUnit(Axis axis) const {
  if (m_mode == ScaleUser) return m_userUnitTwips[axis == Axis::X ? 0 : 1];
  return forms::twipsPerUnit(m_mode, axis);
}

float Scale::convert(Axis axis, float value, int fromMode, int toMode) const {
  if (fromMode == toMode) return value;
  auto unit = [&](int mode) { return mode == ScaleUser ? twipsPerUnit(axis) : forms::twipsPerUnit(mode, axis); };
  return static_cast<float>(static_cast<double>(value) * unit(fromMode) / unit(toMode));
}

}  // namespace forms
