#include "surface_widget.h"

#include <QPaintEvent>

#include "forms/window.h"

namespace forms {

class SurfaceWidget::Client : public QWidget {
 public:
  Client(SurfaceWidget* owner) : QWidget(owner), m_owner(owner) {
    setAutoFillBackground(true);
  }

 protected:
  // Qt fills the background first (which keeps the client opaque to Qt); the colour
  // goes over it.
  void paintEvent(QPaintEvent* event) override {
    const bool colored = m_owner->m_background.isValid();
    if (!colored && !m_owner->paintContents) return;
    QPainter painter(this);
    if (colored) painter.fillRect(event->rect(), m_owner->m_background);
    if (m_owner->paintContents) m_owner->paintContents(painter);
  }

 private:
  SurfaceWidget* m_owner;
};

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent), m_client(new Client(this)) {
  // Opaque, so that moving it (a scrolled layer) copies pixels instead of repainting
  // what lies under it; the border and the client cover the fill.
  setAutoFillBackground(true);
  m_client->setGeometry(rect());
}

void SurfaceWidget::addContentArea() {
  if (m_content) return;
  // Mouse events on its empty part go on to the client, which reports them.
  m_content = new QWidget(m_client);
  m_content->setMouseTracking(true);
  m_content->lower();
  placeContent();
  m_content->show();
}

void SurfaceWidget::setContentInsets(int right, int bottom) {
  if (right == m_insetRight && bottom == m_insetBottom) return;
  m_insetRight = right;
  m_insetBottom = bottom;
  placeContent();
}

void SurfaceWidget::placeContent() {
  m_client->setGeometry(rect().adjusted(m_border, m_border, -m_border, -m_border));
  if (m_content) m_content->setGeometry(m_client->rect().adjusted(0, 0, -m_insetRight, -m_insetBottom));
}

void SurfaceWidget::setBorder(int width) {
  if (width == m_border) return;
  m_border = width;
  placeContent();
  update();
}

void SurfaceWidget::setBackground(const QColor& color) {
  m_background = color;
  m_client->update();
}

void SurfaceWidget::resizeEvent(QResizeEvent* event) {
  placeContent();
  QWidget::resizeEvent(event);
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  if (m_border == 0) return;
  QPainter p(this);
  const QRect r = rect();
  if (m_border == 1) {
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    return;
  }
  // Sunken: dark outer top-left, light outer bottom-right, then the inner pair.
  auto edge = [&](const QRect& rc, const QColor& tl, const QColor& br) {
    p.setPen(tl);
    p.drawLine(rc.topLeft(), rc.topRight());
    p.drawLine(rc.topLeft(), rc.bottomLeft());
    p.setPen(br);
    p.drawLine(rc.bottomLeft(), rc.bottomRight());
    p.drawLine(rc.topRight(), rc.bottomRight());
  };
  edge(r.adjusted(0, 0, -1, -1), QColor(128, 128, 128), QColor(255, 255, 255));
  edge(r.adjusted(1, 1, -2, -2), QColor(64, 64, 64), QColor(212, 208, 200));
}

void setSurfaceBorder(Window& window, int width) {
  auto* surface = static_cast<SurfaceWidget*>(window.widget());
  if (!surface) return;
  surface->setBorder(width);
  win32::runtime::setClientInset(window.hWnd(), width);
  win32::runtime::notifySize(window.hWnd());
}

}  // namespace forms
