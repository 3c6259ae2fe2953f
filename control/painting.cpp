// The background picture tiled over the scrolling surface, the background colour the
// layer shares, and the scrollbars' colour with its brush.
#include "Scrollbay.h"
#include "forms/picture.h"

using forms::Axis;

int32_t Scrollbay::get_BackColor() const { return userControl().get_BackColor(); }

void Scrollbay::put_BackColor(int32_t aColor) {
  if (aColor == userControl().get_BackColor()) return;
  userControl().put_BackColor(aColor);
  if (m_bgLayer) m_bgLayer->put_BackColor(aColor);  // passed on as given, untranslated
  userControl().PropertyChanged("BackColor");
}

void Scrollbay::put_ScrollbarBackColor(int32_t aColor) {
  const auto color = static_cast<uint32_t>(aColor);
  if (color == m_ScrollbarBackColor) return;
  m_ScrollbarBackColor = color;
  // The old brush goes before the new one is made.
  if (m_ScrollbarBrush != 0) {
    win32::DeleteObject(m_ScrollbarBrush);
    m_ScrollbarBrush = 0;
  }
  m_ScrollbarBrush = win32::CreateSolidBrush(static_cast<win32::COLORREF>(TranslatedSysColor(aColor)));
  userControl().PropertyChanged("ScrollbarBackColor");
}

int32_t Scrollbay::TranslatedSysColor(int32_t aColor) const {
  const auto color = static_cast<uint32_t>(aColor);
  if (color & 0x80000000u) return static_cast<int32_t>(win32::GetSysColor(static_cast<int>(color & 0x7FFFFFFFu)));
  return aColor;
}

void Scrollbay::putref_Picture(forms::ObjectPtr aPicture) {
  if (aPicture == m_Picture) return;  // by identity
  if (aPicture && !dynamic_cast<forms::Picture*>(aPicture.get())) throw forms::Error(forms::err::TypeMismatch);
  m_Picture = std::move(aPicture);
  Refresh();
  userControl().PropertyChanged("Picture");
}

void Scrollbay::Refresh() {
  if (m_bgLayer) m_bgLayer->Refresh();
  userControl().Refresh();
}

namespace {

// What tiling needs of a surface, for the control's own and for the layer.
float scaleOf(const forms::UserControl& s, Axis axis, float v, int from, int to) {
  return axis == Axis::X ? s.ScaleX(v, static_cast<int16_t>(from), static_cast<int16_t>(to))
                         : s.ScaleY(v, static_cast<int16_t>(from), static_cast<int16_t>(to));
}
float scaleOf(const forms::PictureBox& s, Axis axis, float v, int from, int to) { return s.scaleConvert(axis, v, from, to); }

// Tiles at whole units of the surface's scale mode, from the top-left corner; the last
// of each row and column may overhang. A step that rounds to 0 paints nothing.
template <class Surface>
void tile(Surface& surface, const forms::Picture& picture, const forms::ObjectPtr& pictureObject) {
  const int mode = surface.get_ScaleMode();
  const int32_t stepX = forms::toInt32(scaleOf(surface, Axis::X, static_cast<float>(picture.get_Width()), forms::ScaleHimetric, mode));
  const int32_t stepY = forms::toInt32(scaleOf(surface, Axis::Y, static_cast<float>(picture.get_Height()), forms::ScaleHimetric, mode));
  const int32_t width = forms::toInt32(surface.get_ScaleWidth());
  const int32_t height = forms::toInt32(surface.get_ScaleHeight());
  if (stepX <= 0 || stepY <= 0) return;
  int32_t y = 0;
  do {
    int32_t x = 0;
    do {
      surface.PaintPicture(pictureObject, static_cast<float>(x), static_cast<float>(y));
      x = forms::checkedAdd(x, stepX);
    } while (x < width);
    y = forms::checkedAdd(y, stepY);
  } while (y < height);
}

}  // namespace

void Scrollbay::Paint() {
  // At design time the control's own surface shows the picture; at run time the layer.
  auto* picture = dynamic_cast<forms::Picture*>(m_Picture.get());
  if (!UserMode() && picture) tile(userControl(), *picture, m_Picture);
}

void Scrollbay::PaintLayer() {
  auto* picture = dynamic_cast<forms::Picture*>(m_Picture.get());
  if (UserMode() && picture && m_bgLayer) tile(*m_bgLayer, *picture, m_Picture);
}
