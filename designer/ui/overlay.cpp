#include "overlay.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "forms/units.h"
#include "tab_order.h"

namespace designer {

namespace {

constexpr int kHandle = 6;      // a handle's side, in pixels
constexpr int kMargin = kHandle;  // how far decorations reach out of a control
constexpr int kDropWidth = 2;
constexpr int kGrip = 6;        // a container's edge, where a press takes the container itself
constexpr int kGuideReach = 4;  // pixels: how near an edge or a centre comes to a guide
constexpr int kBurstMs = 1500;  // nudges closer than this are one step

bool isWithin(const forms::Window* w, const forms::Window* container) {
  for (; w; w = w->containerWindow())
    if (w == container) return true;
  return false;
}

QRectF moved(const QRectF& r, const QPointF& by) { return r.translated(by); }

}  // namespace

Overlay::Overlay(Document& document, QWidget* host) : QWidget(host), m_document(document), m_host(host) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  setAttribute(Qt::WA_NoSystemBackground);
  resize(host->size());
  host->installEventFilter(this);
  // The grid lies on the form, under its controls: drawn as the form paints.
  if (QWidget* form = m_document.form().widget()) form->installEventFilter(this);
  setGrid(m_gridTwips);
  connect(&m_document, &Document::selectionChanged, this, &Overlay::refresh);
  connect(&m_document, &Document::structureChanged, this, &Overlay::repaintAll);
  connect(&m_document, &Document::valuesChanged, this, [this] {
    if (m_tabMode) repaintAll();
  });
  connect(&m_document, &Document::geometryChanged, this, [this] {
    if (m_gesture == Gesture::None) repaintAll();
  });
}

bool Overlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_host && event->type() == QEvent::Resize) resize(m_host->size());
  if (event->type() == QEvent::Paint && watched == m_document.form().widget() && !m_gridTile.isNull()) {
    // After the background, before anything the form itself would draw.
    auto* form = static_cast<QWidget*>(watched);
    QPainter p(form);
    p.fillRect(static_cast<QPaintEvent*>(event)->rect(), QBrush(m_gridTile));
  }
  return QWidget::eventFilter(watched, event);
}

void Overlay::setPlacing(const QString& classId) {
  m_placing = classId;
  setCursor(classId.isEmpty() ? Qt::ArrowCursor : Qt::CrossCursor);
}

void Overlay::setGrid(double twips) {
  m_gridTwips = twips;
  const int step = twips > 0 ? std::max(2, forms::twipsToPixels(forms::Axis::X, twips)) : 0;
  if (step == 0) {
    m_gridTile = {};
  } else {
    m_gridTile = QPixmap(step, step);
    m_gridTile.fill(Qt::transparent);
    QPainter p(&m_gridTile);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawPoint(0, 0);
  }
  if (QWidget* form = m_document.form().widget()) form->update();
  repaintAll();
}

void Overlay::setTabOrderMode(bool on) {
  if (on == m_tabMode) return;
  m_tabMode = on;
  m_tabPlaced.clear();
  ++m_tabEdit;
  setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
  repaintAll();
  emit tabOrderModeChanged(on);
}

std::vector<forms::Control*> Overlay::badges() const {
  std::vector<forms::Control*> out;
  for (const TabStop& s : tabStopsOf(m_document.form())) out.push_back(s.stop);
  return out;
}

void Overlay::tabClick(const QPoint& at, Qt::KeyboardModifiers modifiers) {
  forms::Control* hit = controlAt(at);
  if (!hit) return;
  std::vector<TabStop> order = tabStopsOf(m_document.form());
  const int index = stopIndexOf(order, hit);
  if (index < 0) return;  // not a stop: a label, a frame, something hidden or disabled
  forms::Control* stop = order[static_cast<std::size_t>(index)].stop;
  const ControlRef ref = ControlRef::of(*stop);
  std::erase(m_tabPlaced, ref);
  if (!(modifiers & Qt::ControlModifier)) {
    // After the one put in order last, or first of all.
    forms::Control* after = m_tabPlaced.empty() ? nullptr : m_tabPlaced.back().control(m_document.form());
    m_document.setTabIndexes(numbered(movedAfter(std::move(order), stop, after)), QStringLiteral("Tab order"),
                             QStringLiteral("tab order %1").arg(m_tabEdit));
  }
  // Ctrl+click: the order goes on from this one, which stays where it is.
  m_tabPlaced.push_back(ref);
  repaintAll();
}

// Geometry.

QRect Overlay::pixelRect(const forms::Control& c) const {
  const QWidget* w = c.widget();
  if (!w) return {};
  return QRect(w->mapTo(m_host, QPoint(0, 0)), w->size());
}

QPoint Overlay::contentOrigin(const forms::Window& container) const {
  const QWidget* w = container.contentWidget();
  return w ? w->mapTo(m_host, QPoint(0, 0)) : QPoint();
}

QPointF Overlay::unitsPerPixel(const forms::Window& container) const {
  const forms::Scale& s = container.contentScale();
  return {s.fromTwips(forms::Axis::X, forms::twipsPerPixel(forms::Axis::X)), s.fromTwips(forms::Axis::Y, forms::twipsPerPixel(forms::Axis::Y))};
}

SnapResult Overlay::snapInDrag(const QRectF& rect, int edges, const Dragged& lead, const forms::Window& container,
                               Qt::KeyboardModifiers modifiers) const {
  // Alt moves freely: no grid and no guides.
  const double reach = (modifiers & Qt::AltModifier) ? 0.0 : kGuideReach * lead.unitsPerPixel.x();
  return snap({rect, edges, gridIn(container, modifiers), m_guideArea, m_guideSiblings, reach});
}

double Overlay::gridIn(const forms::Window& container, Qt::KeyboardModifiers modifiers) const {
  if (modifiers & Qt::AltModifier || m_gridTwips <= 0) return 0;
  return container.contentScale().fromTwips(forms::Axis::X, m_gridTwips);
}

forms::Window& Overlay::containerAt(const QPoint& at, const std::vector<forms::Control*>& excluded) const {
  forms::Form& form = m_document.form();
  std::vector<forms::Control*> all = m_containers;
  if (all.empty())
    for (const forms::ControlPtr& c : form.controls())
      if (c->isContainer()) all.push_back(c.get());
  auto shows = [&](forms::Control* c) {
    // Visible, not one dragged or inside one, and the point within it and every container up.
    for (forms::Window* w = c; w && w != &form; w = w->containerWindow()) {
      auto* up = static_cast<forms::Control*>(w);
      if (std::find(excluded.begin(), excluded.end(), up) != excluded.end()) return false;
      if (!up->widget() || !up->widget()->isVisible() || !pixelRect(*up).contains(at)) return false;
    }
    return true;
  };
  forms::Window* deepest = &form;
  int depth = 0;
  for (forms::Control* c : all) {
    if (!shows(c)) continue;
    int d = 0;
    for (forms::Window* w = c; w && w != &form; w = w->containerWindow()) ++d;
    // The deepest; among equals the last made, which lies on top.
    if (d >= depth) {
      deepest = c;
      depth = d;
    }
  }
  return *deepest;
}

forms::Control* Overlay::controlAt(const QPoint& at) const {
  // A selected control answers first, also where its container hides it.
  const auto chosen = selected();
  for (auto it = chosen.rbegin(); it != chosen.rend(); ++it)
    if (pixelRect(**it).contains(at)) return *it;
  QWidget* formWidget = m_document.form().widget();
  QWidget* under = formWidget->childAt(formWidget->mapFrom(m_host, at));
  return under ? forms::Control::ofWidget(under) : nullptr;
}

std::vector<forms::Control*> Overlay::selected() const {
  std::vector<forms::Control*> out;
  for (const ControlRef& r : m_document.selection())
    if (forms::Control* c = r.control(m_document.form())) out.push_back(c);
  return out;
}

std::vector<QRect> Overlay::handles(const QRect& r) const {
  const int h = kHandle;
  const int l = r.left() - h / 2, t = r.top() - h / 2, mx = r.center().x() - h / 2, my = r.center().y() - h / 2;
  const int rt = r.right() + 1 - h / 2, b = r.bottom() + 1 - h / 2;
  return {QRect(l, t, h, h),  QRect(mx, t, h, h), QRect(rt, t, h, h), QRect(rt, my, h, h),
          QRect(rt, b, h, h), QRect(mx, b, h, h), QRect(l, b, h, h),  QRect(l, my, h, h)};
}

int Overlay::handleAt(const QPoint& at, forms::Control** control) const {
  static const int edges[8] = {EdgeLeft | EdgeTop,    EdgeTop,    EdgeRight | EdgeTop, EdgeRight,
                               EdgeRight | EdgeBottom, EdgeBottom, EdgeLeft | EdgeBottom, EdgeLeft};
  for (forms::Control* c : selected()) {
    const auto hs = handles(pixelRect(*c));
    for (std::size_t i = 0; i < hs.size(); ++i)
      if (hs[i].adjusted(-1, -1, 1, 1).contains(at)) {
        *control = c;
        return edges[i];
      }
  }
  return 0;
}

// Painting.

QRect Overlay::shownRect(const forms::Control& c) const {
  for (const Dragged& d : m_dragged) {
    if (d.ref.control(m_document.form()) != &c || !frozen()) continue;
    if (m_gesture == Gesture::Drag) return d.startPixels.translated(qRound(m_shift.x()), qRound(m_shift.y()));
    if (m_gesture == Gesture::Resize) {
      const QPointF origin = d.startPixels.topLeft() - QPointF(d.start.x() / d.unitsPerPixel.x(), d.start.y() / d.unitsPerPixel.y());
      return QRectF(origin + QPointF(d.now.x() / d.unitsPerPixel.x(), d.now.y() / d.unitsPerPixel.y()),
                    QSizeF(d.now.width() / d.unitsPerPixel.x(), d.now.height() / d.unitsPerPixel.y()))
          .toRect();
    }
  }
  return pixelRect(c);
}

QRect Overlay::decorations() const {
  QRect r;
  for (forms::Control* c : selected()) r |= shownRect(*c).adjusted(-kMargin, -kMargin, kMargin, kMargin);
  if (m_dropTarget) r |= QRect(contentOrigin(*m_dropTarget), m_dropTarget->contentWidget()->size()).adjusted(-kMargin, -kMargin, kMargin, kMargin);
  if (!m_band.isNull()) r |= m_band.normalized().adjusted(-2, -2, 2, 2);
  for (const QLineF& g : guidePixels()) r |= QRectF(g.p1(), g.p2()).normalized().toAlignedRect().adjusted(-2, -2, 2, 2);
  return r;
}

std::vector<QLineF> Overlay::guidePixels() const {
  std::vector<QLineF> out;
  const forms::Window* container = m_guides.empty() ? nullptr : m_guideContainer.resolve(m_document.form());
  if (!container) return out;
  const QPointF origin = contentOrigin(*container);
  const QPointF upp = unitsPerPixel(*container);
  for (const QLineF& g : m_guides)
    out.emplace_back(origin + QPointF(g.x1() / upp.x(), g.y1() / upp.y()), origin + QPointF(g.x2() / upp.x(), g.y2() / upp.y()));
  return out;
}

void Overlay::refresh() {
  const QRect now = decorations();
  update(m_painted | now);
  m_painted = now;
}

void Overlay::repaintAll() {
  // What is painted next is all of it: the decorations as they are now.
  m_painted = decorations();
  update();
}

void Overlay::freeze() {
  if (frozen()) return;
  QRect visible = m_host->visibleRegion().boundingRect();
  if (visible.isEmpty()) visible = rect();
  m_grabbing = true;
  m_still = m_host->grab(visible);
  m_grabbing = false;
  m_stillAt = visible.topLeft();
  if (m_gesture == Gesture::Drag)
    for (Dragged& d : m_dragged)
      if (forms::Control* c = d.ref.control(m_document.form()); c && c->widget()) d.image = c->widget()->grab();
  for (const forms::ControlPtr& c : m_document.form().controls())
    if (c->isContainer()) m_containers.push_back(c.get());
  if (!m_dragged.empty()) {
    // What the lead may line up with: its container's sides and the controls beside it.
    const Dragged& lead = m_dragged.front();
    if (forms::Window* container = lead.container.resolve(m_document.form())) {
      m_guideContainer = lead.container;
      m_guideArea = QRectF(0, 0, container->scaleExtent(forms::Axis::X), container->scaleExtent(forms::Axis::Y));
      for (const forms::ControlPtr& c : container->childControls())
        if (std::none_of(m_dragged.begin(), m_dragged.end(), [&](const Dragged& d) { return d.ref == ControlRef::of(*c); }))
          m_guideSiblings.push_back(Document::rectOf(*c));
    }
  }
  // Painting all of its rectangle, the glass spares Qt the form's widgets below it.
  setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void Overlay::thaw() {
  m_still = {};
  m_containers.clear();
  m_guideSiblings.clear();
  m_guides.clear();
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  repaintAll();
}

void Overlay::paintEvent(QPaintEvent* event) {
  if (m_grabbing) return;  // the still picture is of the form alone
  QPainter p(this);
  p.setClipRegion(event->region());
  if (frozen()) {
    p.fillRect(event->rect(), QColor(150, 150, 150));
    p.drawPixmap(m_stillAt, m_still);
    if (m_gesture == Gesture::Drag) {
      p.setOpacity(0.8);
      for (const Dragged& d : m_dragged) p.drawPixmap(d.startPixels.topLeft() + m_shift.toPoint(), d.image);
      p.setOpacity(1);
    }
  }
  const QColor ink(0, 84, 166);
  bool first = true;
  for (forms::Control* c : selected()) {
    const QRect r = shownRect(*c);
    p.setPen(QPen(ink, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QPen(ink, 1));
    p.setBrush(first ? QBrush(ink) : QBrush(Qt::white));
    for (const QRect& h : handles(r)) p.drawRect(h.adjusted(0, 0, -1, -1));
    first = false;
  }
  if (m_dropTarget) {
    p.setPen(QPen(QColor(0, 150, 60), kDropWidth));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(contentOrigin(*m_dropTarget), m_dropTarget->contentWidget()->size()).adjusted(1, 1, -1, -1));
  }
  if (!m_band.isNull()) {
    p.setPen(QPen(ink, 1, Qt::DotLine));
    p.setBrush(QColor(0, 84, 166, 30));
    p.drawRect(m_band.normalized());
  }
  if (!m_dragged.empty()) {
    p.setPen(QPen(QColor(200, 30, 120), 1, Qt::DashLine));
    for (const QLineF& g : guidePixels()) p.drawLine(g);
  }
  if (m_tabMode) {
    QFont small = font();
    small.setPixelSize(10);
    small.setBold(true);
    p.setFont(small);
    int n = 0;
    for (forms::Control* c : badges()) {
      const QString number = QString::number(++n);
      const QRect r = shownRect(*c);
      const QRect badge(r.topLeft() + QPoint(1, 1), QSize(p.fontMetrics().horizontalAdvance(number) + 6, 13));
      p.setPen(Qt::NoPen);
      const bool placed = std::find(m_tabPlaced.begin(), m_tabPlaced.end(), ControlRef::of(*c)) != m_tabPlaced.end();
      p.setBrush(placed ? QColor(0, 84, 166) : QColor(90, 90, 90));
      p.drawRoundedRect(badge, 3, 3);
      p.setPen(Qt::white);
      p.drawText(badge, Qt::AlignCenter, number);
    }
  }
}

// Gestures.

void Overlay::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  press(e->position().toPoint(), e->modifiers());
}

void Overlay::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) moveTo(e->position().toPoint(), e->modifiers());
}

void Overlay::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) release(e->position().toPoint(), e->modifiers());
}

void Overlay::press(const QPoint& at, Qt::KeyboardModifiers modifiers) {
  m_pressAt = m_at = at;
  m_pressModifiers = modifiers;
  m_dragged.clear();
  if (m_tabMode) {
    tabClick(at, modifiers);
    return;
  }
  if (!m_placing.isEmpty()) {
    m_gesture = Gesture::Place;
    m_band = QRect(at, at);
    refresh();
    return;
  }
  forms::Control* sized = nullptr;
  if (const int edges = handleAt(at, &sized)) {
    m_gesture = Gesture::Resize;
    m_edges = edges;
    const forms::Window& container = *sized->containerWindow();
    m_dragged.push_back({ControlRef::of(*sized), ControlRef::of(container), Document::rectOf(*sized), unitsPerPixel(container),
                         pixelRect(*sized), {}, Document::rectOf(*sized)});
    return;
  }
  const bool adding = modifiers & (Qt::ShiftModifier | Qt::ControlModifier);
  forms::Control* hit = controlAt(at);
  const ControlRef ref = hit ? ControlRef::of(*hit) : ControlRef{};
  std::vector<ControlRef> chosen = m_document.selection();
  const bool wasChosen = hit && std::find(chosen.begin(), chosen.end(), ref) != chosen.end();
  // Inside a container not chosen, away from its edges, a press starts a band there: a
  // container filling the form (a Scrollbay, say) does not move at every press.
  const bool intoContainer = hit && hit->isContainer() && !wasChosen && pixelRect(*hit).adjusted(kGrip, kGrip, -kGrip, -kGrip).contains(at);
  if (!hit || intoContainer) {
    if (!adding) m_document.select({});
    m_gesture = Gesture::Band;
    m_band = QRect(at, at);
    return;
  }
  if (adding) {
    if (wasChosen) std::erase(chosen, ref);
    else chosen.push_back(ref);
    m_document.select(chosen);
    m_gesture = Gesture::None;
    return;
  }
  if (!wasChosen) m_document.select({ref});
  // The control pressed leads the drag; the rest of the selection follows it.
  m_gesture = Gesture::Pending;
  auto draggedOf = [this](forms::Control& c) {
    const forms::Window& container = *c.containerWindow();
    return Dragged{ControlRef::of(c), ControlRef::of(container), Document::rectOf(c), unitsPerPixel(container), pixelRect(c), {},
                   Document::rectOf(c)};
  };
  m_dragged.push_back(draggedOf(*hit));
  for (const ControlRef& r : m_document.outermost(m_document.selection())) {
    if (r == ref) continue;
    forms::Control* c = r.control(m_document.form());
    if (isWithin(hit, c)) {
      // The pressed control lies inside another chosen one, which moves it along.
      m_dragged.front() = draggedOf(*c);
      continue;
    }
    m_dragged.push_back(draggedOf(*c));
  }
}

void Overlay::moveTo(const QPoint& at, Qt::KeyboardModifiers modifiers) {
  m_at = at;
  const QPoint delta = at - m_pressAt;
  forms::Form& form = m_document.form();
  switch (m_gesture) {
    case Gesture::Pending:
      if (delta.manhattanLength() < QApplication::startDragDistance()) return;
      m_gesture = Gesture::Drag;
      freeze();
      [[fallthrough]];
    case Gesture::Drag: {
      Dragged& lead = m_dragged.front();
      forms::Window* leadContainer = lead.container.resolve(form);
      if (!leadContainer) return;
      const QRectF asked = moved(lead.start, QPointF(delta.x() * lead.unitsPerPixel.x(), delta.y() * lead.unitsPerPixel.y()));
      const SnapResult snapped = snapInDrag(asked, EdgesAll, lead, *leadContainer, modifiers);
      const QRectF given = snapped.rect;
      m_guides = snapped.guides;
      // The lead's snapped move, in pixels, moves the others as far.
      m_shift = QPointF((given.x() - lead.start.x()) / lead.unitsPerPixel.x(), (given.y() - lead.start.y()) / lead.unitsPerPixel.y());
      std::vector<forms::Control*> excluded;
      for (Dragged& d : m_dragged) {
        d.now = moved(d.start, QPointF(m_shift.x() * d.unitsPerPixel.x(), m_shift.y() * d.unitsPerPixel.y()));
        if (forms::Control* c = d.ref.control(form)) excluded.push_back(c);
      }
      forms::Window& target = containerAt(at, excluded);
      m_dropTarget = &target == leadContainer ? nullptr : &target;
      m_dropRef = ControlRef::of(target);
      refresh();
      return;
    }
    case Gesture::Resize: {
      Dragged& d = m_dragged.front();
      forms::Window* container = d.container.resolve(form);
      if (!container) return;
      freeze();
      const QPointF by(delta.x() * d.unitsPerPixel.x(), delta.y() * d.unitsPerPixel.y());
      double l = d.start.left(), t = d.start.top(), r = d.start.right(), b = d.start.bottom();
      if (m_edges & EdgeLeft) l += by.x();
      if (m_edges & EdgeRight) r += by.x();
      if (m_edges & EdgeTop) t += by.y();
      if (m_edges & EdgeBottom) b += by.y();
      const SnapResult snapped = snapInDrag(QRectF(QPointF(l, t), QPointF(r, b)), m_edges, d, *container, modifiers);
      d.now = snapped.rect;
      m_guides = snapped.guides;
      refresh();
      return;
    }
    case Gesture::Band:
    case Gesture::Place:
      freeze();
      m_band = QRect(m_pressAt, at);
      refresh();
      return;
    case Gesture::None: return;
  }
}

void Overlay::release(const QPoint& at, Qt::KeyboardModifiers modifiers) {
  moveTo(at, modifiers);
  forms::Form& form = m_document.form();
  const Gesture gesture = m_gesture;
  m_gesture = Gesture::None;
  switch (gesture) {
    case Gesture::Drag: finishDrag(modifiers); break;
    case Gesture::Resize: {
      const Dragged& d = m_dragged.front();
      if (d.ref.control(form) && d.now != d.start)
        m_document.setGeometry({Placement{d.ref, d.start, d.now}}, QStringLiteral("Resize %1").arg(QString::fromStdString(d.ref.text())));
      break;
    }
    case Gesture::Band: {
      const QRect band = m_band.normalized();
      forms::Window& container = containerAt(m_pressAt);
      std::vector<ControlRef> chosen;
      if (m_pressModifiers & (Qt::ShiftModifier | Qt::ControlModifier)) chosen = m_document.selection();
      if (band.width() > 2 || band.height() > 2) {
        for (const forms::ControlPtr& c : container.childControls())
          if (pixelRect(*c).intersects(band) && std::find(chosen.begin(), chosen.end(), ControlRef::of(*c)) == chosen.end())
            chosen.push_back(ControlRef::of(*c));
      } else if (forms::Control* c = dynamic_cast<forms::Control*>(&container)) {
        // A click inside a container chooses it.
        chosen = {ControlRef::of(*c)};
      }
      m_band = {};
      m_document.select(chosen);
      refresh();
      break;
    }
    case Gesture::Place: {
      const QRect band = m_band.normalized();
      m_band = {};
      forms::Window& container = containerAt(m_pressAt);
      const QPoint origin = contentOrigin(container);
      const QPointF upp = unitsPerPixel(container);
      const double grid = gridIn(container, modifiers);
      QRectF rect((band.left() - origin.x()) * upp.x(), (band.top() - origin.y()) * upp.y(), band.width() * upp.x(), band.height() * upp.y());
      // A click places the class at its own size; a rectangle gives it that one.
      if (band.width() < QApplication::startDragDistance() && band.height() < QApplication::startDragDistance())
        rect = snap(onGridOnly(QRectF(rect.topLeft(), QSizeF(0, 0)), grid)).rect;
      else
        rect = snap(onGridOnly(snap(onGridOnly(rect, grid)).rect, grid, EdgeRight | EdgeBottom)).rect;
      const QString classId = m_placing;
      setPlacing({});
      try {
        m_document.insert(classId.toStdString(), ControlRef::of(container), rect);
      } catch (const forms::Error& e) {
        emit m_document.problem(QString::fromStdString(e.description()));
      }
      refresh();
      emit placed();
      break;
    }
    case Gesture::Pending:
      // A click on one control of several chosen chooses it alone.
      if (!m_dragged.empty() && !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier))) {
        forms::Control* hit = controlAt(m_pressAt);
        if (hit) m_document.select({ControlRef::of(*hit)});
      }
      break;
    case Gesture::None: break;
  }
  m_dragged.clear();
  if (frozen()) thaw();
}

void Overlay::finishDrag(Qt::KeyboardModifiers modifiers) {
  forms::Window* target = m_dropTarget;
  m_dropTarget = nullptr;
  const bool intoAnother = target && std::any_of(m_dragged.begin(), m_dragged.end(), [&](const Dragged& d) { return !(d.container == m_dropRef); });
  try {
    if (!intoAnother) {
      // Where each control came to rest: one step, from where it started.
      std::vector<Placement> placements;
      for (const Dragged& d : m_dragged)
        if (d.now != d.start) placements.push_back({d.ref, d.start, d.now});
      m_document.setGeometry(placements, placements.size() == 1 ? QStringLiteral("Move %1").arg(QString::fromStdString(placements[0].ref.text()))
                                                                  : QStringLiteral("Move %1 controls").arg(placements.size()));
    } else {
      // Into the container under the pointer, in its scale, the lead on its grid.
      const QPoint origin = contentOrigin(*target);
      const QPointF upp = unitsPerPixel(*target);
      const double grid = gridIn(*target, modifiers);
      std::vector<ControlRef> refs;
      std::vector<QPointF> positions;
      QPointF correction;
      for (std::size_t i = 0; i < m_dragged.size(); ++i) {
        const QPointF rested = QPointF(m_dragged[i].startPixels.topLeft()) + m_shift;
        const QPointF p((rested.x() - origin.x()) * upp.x(), (rested.y() - origin.y()) * upp.y());
        if (i == 0) correction = snap(onGridOnly(QRectF(p, QSizeF()), grid)).rect.topLeft() - p;
        refs.push_back(m_dragged[i].ref);
        positions.push_back(p + correction);
      }
      m_document.reparent(refs, m_dropRef, positions);
    }
  } catch (const forms::Error& e) {
    emit m_document.problem(QString::fromStdString(e.description()));
  }
  refresh();
}

void Overlay::cancelGesture() {
  m_dragged.clear();
  m_gesture = Gesture::None;
  m_dropTarget = nullptr;
  m_band = {};
  if (frozen()) thaw();
  refresh();
}

// Keys.

QString Overlay::nudgeKey() {
  const std::vector<ControlRef> now = m_document.selection();
  const bool burst = m_lastNudge.isValid() && m_lastNudge.elapsed() < kBurstMs && now == m_nudged &&
                     m_document.history().index() == m_nudgeIndex;
  if (!burst) ++m_nudgeBurst;
  m_nudged = now;
  m_lastNudge.start();
  return QStringLiteral("nudge %1").arg(m_nudgeBurst);
}

void Overlay::nudge(int dx, int dy, Qt::KeyboardModifiers modifiers) {
  forms::Form& form = m_document.form();
  const bool size = modifiers & Qt::ShiftModifier;
  std::vector<Placement> placements;
  for (const ControlRef& r : m_document.outermost(m_document.selection())) {
    forms::Control* c = r.control(form);
    const forms::Window& container = *c->containerWindow();
    const QPointF upp = unitsPerPixel(container);
    const double grid = gridIn(container, {});
    const QPointF step = (modifiers & Qt::ControlModifier) || grid <= 0 ? upp : QPointF(grid, container.contentScale().fromTwips(forms::Axis::Y, m_gridTwips));
    const QRectF now = Document::rectOf(*c);
    QRectF next = now;
    if (size) next.setSize(QSizeF(std::max(0.0, now.width() + dx * step.x()), std::max(0.0, now.height() + dy * step.y())));
    else next.translate(dx * step.x(), dy * step.y());
    placements.push_back({r, now, next});
  }
  if (placements.empty()) return;
  m_document.setGeometry(placements, size ? QStringLiteral("Size by keys") : QStringLiteral("Move by keys"), nudgeKey());
  m_nudgeIndex = m_document.history().index();
  refresh();
}

void Overlay::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Left: nudge(-1, 0, e->modifiers()); return;
    case Qt::Key_Right: nudge(1, 0, e->modifiers()); return;
    case Qt::Key_Up: nudge(0, -1, e->modifiers()); return;
    case Qt::Key_Down: nudge(0, 1, e->modifiers()); return;
    case Qt::Key_Escape:
      if (m_tabMode) {
        setTabOrderMode(false);
      } else if (!m_placing.isEmpty()) {
        setPlacing({});
        emit placed();
      } else if (m_gesture != Gesture::None) {
        cancelGesture();
      } else {
        m_document.select({});
      }
      return;
    default: QWidget::keyPressEvent(e);
  }
}

}  // namespace designer
