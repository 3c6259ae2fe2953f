#pragma once
// The coordinate system of a form, picture box or user control: a scale mode and,
// for the user-defined mode 0, the size of one unit.
#include <cstdint>

#include "forms/units.h"

namespace forms {

class Scale {
 public:
  int16_t mode() const { return m_mode; }
  // Error 380 for a mode outside 0..7; mode 0 keeps the last user unit.
  void setMode(int16_t mode);
  // Makes the scale user-defined so that clientTwips spans `units`.
  void setUserExtent(Axis axis, double clientTwips, double units);

  double twipsPerUnit(Axis axis) const;
  double toTwips(Axis axis, double value) const { return value * twipsPerUnit(axis); }
  double fromTwips(Axis axis, double twips) const { return twips / twipsPerUnit(axis); }
  // ScaleX / ScaleY of this object: modes 1..8 as usual, 0 meaning this object's user scale.
  float convert(Axis axis, float value, int fromMode, int toMode) const;

 private:
  int16_t m_mode = ScaleTwips;
  double m_userUnitTwips[2] = {1.0, 1.0};  // twips per user unit, X and Y
};

}  // namespace forms
