// Units: the control keeps lengths in twips and positions in pixels, and speaks its
// scale mode at its interface. Every conversion goes through the host's ScaleX/ScaleY.
#include "Scrollbay.h"
#include "forms/collection.h"

using forms::Axis;

float Scrollbay::Scale(Axis axis, float value, int fromMode, int toMode) const {
  const forms::UserControl& uc = userControl();
  return axis == Axis::X ? uc.ScaleX(value, static_cast<int16_t>(fromMode), static_cast<int16_t>(toMode))
                         : uc.ScaleY(value, static_cast<int16_t>(fromMode), static_cast<int16_t>(toMode));
}

int32_t Scrollbay::ScaleRounded(Axis axis, float value, int fromMode, int toMode) const {
  return forms::toInt32(Scale(axis, value, fromMode, toMode));
}

int32_t Scrollbay::FromTwips(Axis axis, int32_t twips) const {
  // Twips stay as they are: a Single would round lengths beyond 2^24 and overflow near 2^31.
  const int16_t mode = userControl().get_ScaleMode();
  if (mode == forms::ScaleTwips) return twips;
  return ScaleRounded(axis, static_cast<float>(twips), forms::ScaleTwips, mode);
}

int32_t Scrollbay::ToTwips(Axis axis, int32_t value) const {
  const int16_t mode = userControl().get_ScaleMode();
  if (mode == forms::ScaleTwips) return value;
  return ScaleRounded(axis, static_cast<float>(value), mode, forms::ScaleTwips);
}

forms::Variant Scrollbay::PixelsInTwips(Axis axis, int32_t pixels) const {
  return forms::Variant(Scale(axis, static_cast<float>(pixels), forms::ScalePixels, forms::ScaleTwips));
}

void Scrollbay::AmbientChanged(const std::string& propertyName) {
  if (propertyName == "ScaleUnits") ApplyScaleUnits(forms::get(userControl().get_Ambient(), "ScaleUnits").toString());
}

void Scrollbay::ApplyScaleUnits(const std::string& units) {
  // Nothing is recomputed: stored lengths stay in twips and simply read in the new unit.
  static constexpr std::pair<const char*, int16_t> kUnits[] = {
      {"TWIP", forms::ScaleTwips},     {"PIXEL", forms::ScalePixels},           {"POINT", forms::ScalePoints},
      {"INCH", forms::ScaleInches},    {"CENTIMETER", forms::ScaleCentimeters}, {"MILLIMETER", forms::ScaleMillimeters},
      {"CHARACTER", forms::ScaleCharacters}};
  int16_t mode = forms::ScalePixels;  // a unit of the program's own, among others
  for (const auto& [name, number] : kUnits)
    if (forms::equalsNoCase(units, name)) {
      mode = number;
      break;
    }
  userControl().put_ScaleMode(mode);
  if (m_bgLayer) m_bgLayer->put_ScaleMode(mode);
}
