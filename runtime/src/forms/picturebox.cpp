#include "forms/picturebox.h"

#include "forms/msgbox.h"
#include "forms/units.h"
#include "surface_widget.h"
#include "win32/win32.h"

namespace forms {

uint32_t resolveColor(uint32_t oleColor) {
  if (oleColor & 0x80000000u) return win32::GetSysColor(static_cast<int>(oleColor & 0x7FFFFFFFu));
  return oleColor & 0x00FFFFFFu;
}

QColor toQColor(uint32_t oleColor) {
  const uint32_t rgb = resolveColor(oleColor);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

void paintPictureAt(QPainter* painter, const Window& surface, const ObjectPtr& picture, float x, float y,
                    std::optional<float> width, std::optional<float> height) {
  auto* pic = dynamic_cast<Picture*>(picture.get());
  if (!pic) throw Error(err::InvalidPicture);
  if (!painter) return;  // nothing is kept outside a paint
  const Scale& s = surface.contentScale();
  auto toPx = [&](Axis axis, float v) {
    return twipsToPixels(axis, s.toTwips(axis, v));
  };
  const QImage& img = pic->image();
  QRect target(toPx(Axis::X, x), toPx(Axis::Y, y), img.width(), img.height());
  if (width) target.setWidth(toPx(Axis::X, *width));
  if (height) target.setHeight(toPx(Axis::Y, *height));
  painter->drawImage(target, img);
}

PictureBox::PictureBox(const Init& init) : Control(init) {
  auto* w = new SurfaceWidget(nullptr);
  w->resize(100, 100);
  w->setFocusPolicy(Qt::ClickFocus);
  w->paintContents = [this](QPainter& p) { paint(p); };
  w->setBackground(toQColor(m_backColor));
  attachControlWidget(w, win32::runtime::WheelRole::EndWalk);
  setSurfaceBorder(*this, 2);
}

QWidget* PictureBox::clientWidget() const {
  auto* w = static_cast<SurfaceWidget*>(widget());
  return w ? w->client() : nullptr;
}

const ClassInfo& PictureBox::classInfo() const {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "PictureBox";
    c.isControl = true;
    ClassBuilder<PictureBox> b(c);
    b.property("ScaleMode", &PictureBox::get_ScaleMode, &PictureBox::put_ScaleMode);
    b.property("ScaleWidth", &PictureBox::get_ScaleWidth, &PictureBox::put_ScaleWidth);
    b.property("ScaleHeight", &PictureBox::get_ScaleHeight, &PictureBox::put_ScaleHeight);
    b.property("AutoSize", &PictureBox::get_AutoSize, &PictureBox::put_AutoSize);
    b.property("BackColor", &PictureBox::get_BackColor, &PictureBox::put_BackColor).type.kind = TypeKind::Color;
    b.property("BorderStyle", &PictureBox::get_BorderStyle, &PictureBox::put_BorderStyle);
    b.objectProperty("Picture", &PictureBox::get_Picture, &PictureBox::putref_Picture).type.kind = TypeKind::Picture;
    b.method("PaintPicture", [](PictureBox& p, Args& a) {
      if (a.size() < 3) throw Error(err::InvalidCall);
      auto opt = [&](std::size_t i) { return i < a.size() && !a[i].isEmpty() ? std::optional<float>(a[i].toSingle()) : std::nullopt; };
      p.PaintPicture(a[0].toObject(), a[1].toSingle(), a[2].toSingle(), opt(3), opt(4));
      return Variant();
    });
    addScaleMethods(b, [](PictureBox& p) -> const Window& { return p; });
    c.inherit(Control::commonClassInfo());
    return c;
  }();
  return info;
}

void PictureBox::put_AutoSize(bool autoSize) {
  m_autoSize = autoSize;
  auto* pic = dynamic_cast<Picture*>(m_picture.get());
  if (m_autoSize && pic && widget()) {
    const int b = static_cast<SurfaceWidget*>(widget())->border();
    widget()->resize(pic->image().width() + 2 * b, pic->image().height() + 2 * b);
    syncTwipsToWidget();
    win32::runtime::notifySize(hWnd());
  }
}

void PictureBox::put_BackColor(int32_t color) {
  m_backColor = static_cast<uint32_t>(color);
  if (widget()) static_cast<SurfaceWidget*>(widget())->setBackground(toQColor(m_backColor));
}

void PictureBox::put_BorderStyle(int16_t style) {
  if (style != 0 && style != 1) throw Error(err::InvalidPropertyValue);
  m_borderStyle = style;
  setSurfaceBorder(*this, style ? 2 : 0);
}

void PictureBox::putref_Picture(ObjectPtr picture) {
  if (picture && !dynamic_cast<Picture*>(picture.get())) throw Error(err::TypeMismatch);
  m_picture = std::move(picture);
  put_AutoSize(m_autoSize);
  Refresh();
}

void PictureBox::PaintPicture(const ObjectPtr& picture, float x, float y, std::optional<float> width,
                              std::optional<float> height) {
  paintPictureAt(m_painter, *this, picture, x, y, width, height);
}

void PictureBox::Refresh() {
  if (QWidget* c = clientWidget()) c->update();
}

void PictureBox::paint(QPainter& painter) {
  ++m_paintCount;
  if (auto* pic = dynamic_cast<Picture*>(m_picture.get())) painter.drawImage(0, 0, pic->image());
  m_painter = &painter;
  Args args;
  guarded([&] { raiseEvent("Paint", args); });
  m_painter = nullptr;
}

}  // namespace forms
