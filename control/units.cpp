// Units: the control keeps lengths in twips and positions in pixels, and speaks its
// scale mode at its interface. Every conversion goes through the host's ScaleX/ScaleY.
#include "Scrollbay.h"

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
  return ScaleRounded(axis, static_cast<float>(twips), forms::ScaleTwips, userControl().get_ScaleMode());
}

int32_t Scrollbay::ToTwips(Axis axis, int32_t value) const {
  return ScaleRounded(axis, static_cast<float>(value), userControl().get_ScaleMode(), forms::ScaleTwips);
}

forms::Variant Scrollbay::PixelsInTwips(Axis axis, int32_t pixels) const {
  return forms::Variant(Scale(axis, static_cast<float>(pixels), forms::ScalePixels, forms::ScaleTwips));
}
