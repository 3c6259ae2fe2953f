#include "canvas.h"

#include <QEvent>
#include <QPainter>

#include "overlay.h"

namespace designer {

namespace {

// Paints itself rather than taking a palette: the form inside must show its own
// colours, which a palette here would hand down to it.
class Surface : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(150, 150, 150)); }
};

}  // namespace

Canvas::Canvas(std::unique_ptr<Document> document, QWidget* parent)
    : QScrollArea(parent), m_document(std::move(document)), m_surface(new Surface) {
  setWidgetResizable(false);
  QWidget* form = m_document->form().widget();
  m_document->form().embedIn(m_surface);
  form->move(kMargin, kMargin);
  m_document->form().Show();
  m_overlay = new Overlay(*m_document, m_surface);
  setWidget(m_surface);
  form->installEventFilter(this);
  // A chosen control lying outside what its containers show (below a Scrollbay's
  // visible size, say) gets room on the surface, where it can be seen and dragged back.
  connect(m_document.get(), &Document::selectionChanged, this, &Canvas::fitSurface);
  connect(m_document.get(), &Document::geometryChanged, this, &Canvas::fitSurface);
  fitSurface();
  m_overlay->raise();
  setFocusProxy(m_overlay);
}

Canvas::~Canvas() {
  // The form's widget goes with the form, not with the surface.
  if (QWidget* form = m_document->form().widget()) form->removeEventFilter(this);
}

bool Canvas::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == m_document->form().widget()) fitSurface();
  return QScrollArea::eventFilter(watched, event);
}

void Canvas::fitSurface() {
  const QWidget* form = m_document->form().widget();
  QRect needed(QPoint(0, 0), form->size() + QSize(2 * kMargin, 2 * kMargin));
  for (const ControlRef& r : m_document->selection())
    if (const forms::Control* c = r.control(m_document->form()))
      needed |= m_overlay->pixelRect(*c).adjusted(0, 0, kMargin, kMargin);
  if (needed.size() != m_surface->size()) m_surface->resize(needed.size());
}

}  // namespace designer
