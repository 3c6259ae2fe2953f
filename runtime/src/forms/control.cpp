#include "forms/control.h"

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <algorithm>
#include <iterator>
#include <vector>

#include "forms/collection.h"
#include "forms/form.h"
#include "forms/units.h"
#include "forms/usercontrol.h"

namespace forms {

namespace {

constexpr int kLeft = 0, kTop = 1, kWidth = 2, kHeight = 3;

int slot(Axis axis, bool size) { return (size ? 2 : 0) + (axis == Axis::X ? 0 : 1); }

Qt::CursorShape cursorFor(int16_t pointer) {
  switch (pointer) {
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 5: return Qt::SizeAllCursor;
    case 6: return Qt::SizeBDiagCursor;
    case 7: return Qt::SizeVerCursor;
    case 8: return Qt::SizeFDiagCursor;
    case 9: return Qt::SizeHorCursor;
    case 10: return Qt::UpArrowCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 15: return Qt::SizeAllCursor;
    case 16: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
  }
}

// Keeps the focus where it is while a widget moves to another parent, which hides it
// for the move and so sends the focus elsewhere. The focus events in between are
// swallowed: no control hears of a focus that only passed through.
class FocusKeeper : public QObject {
 public:
  FocusKeeper(QWidget* moving, bool canKeep) {
    QWidget* focus = QApplication::focusWidget();
    if (!canKeep || !focus || !(focus == moving || moving->isAncestorOf(focus))) return;
    m_focus = focus;
    qApp->installEventFilter(this);
  }
  ~FocusKeeper() override {
    if (!m_focus) return;
    m_focus->setFocus(Qt::OtherFocusReason);
    qApp->removeEventFilter(this);
  }
  FocusKeeper(const FocusKeeper&) = delete;
  FocusKeeper& operator=(const FocusKeeper&) = delete;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type t = event->type();
    return t == QEvent::FocusIn || t == QEvent::FocusOut || t == QEvent::FocusAboutToChange;
  }

 private:
  QPointer<QWidget> m_focus;
};

}  // namespace

Control::Control(const Init& init)
    : m_form(init.form),
      m_container(init.container ? init.container : init.form),
      m_classId(init.classId),
      m_name(init.name),
      m_index(init.index),
      m_font(std::make_shared<Font>()) {
  m_font->changed = [this] { applyFont(); };
  if (m_form) m_form->m_attached.push_back(this);
}

Control::~Control() {
  m_font->changed = nullptr;
  if (m_form) std::erase(m_form->m_attached, this);
}

Form& Control::owner() const { return Form::live(m_form); }

Control* Control::ofWidget(const QWidget* widget) {
  for (Window* w = Window::fromWidget(widget); w; w = w->containerWindow()) {
    auto* c = dynamic_cast<Control*>(w);
    if (!c) return nullptr;
    if (!c->isConstituent()) return c;
  }
  return nullptr;
}

void Control::detach() {
  m_form = nullptr;
  m_container = nullptr;
}

Variant Control::invoke(std::string_view member, CallKind kind, Args& args) {
  owner();
  return Window::invoke(member, kind, args);
}

QWidget& Control::liveWidget() const {
  owner();
  // A loaded form's controls have their widgets, unless a window was destroyed by hand.
  if (!widget()) throw Error(err::ObjectNotSet);
  return *widget();
}

const ClassInfo& Control::commonClassInfo() {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "Control";
    c.isControl = true;
    ClassBuilder<Control> b(c);
    b.getter("Name", &Control::get_Name);
    b.getter("Index", &Control::get_Index);
    b.objectProperty("Container", &Control::get_Container, &Control::putref_Container);
    b.property("Left", &Control::get_Left, &Control::put_Left);
    b.property("Top", &Control::get_Top, &Control::put_Top);
    b.property("Width", &Control::get_Width, &Control::put_Width);
    b.property("Height", &Control::get_Height, &Control::put_Height);
    b.property("Visible", &Control::get_Visible, &Control::put_Visible);
    b.property("Enabled", &Control::get_Enabled, &Control::put_Enabled);
    b.property("TabIndex", &Control::get_TabIndex, &Control::put_TabIndex);
    b.property("TabStop", &Control::get_TabStop, &Control::put_TabStop);
    b.property("ToolTipText", &Control::get_ToolTipText, &Control::put_ToolTipText);
    b.objectProperty("Font", &Control::get_Font, &Control::putref_Font).type.name = "Font";
    b.property("MousePointer", &Control::get_MousePointer, &Control::put_MousePointer);
    auto& icon = b.objectProperty("MouseIcon", &Control::get_MouseIcon, &Control::put_MouseIcon);
    icon.type.kind = TypeKind::Picture;
    icon.kinds |= static_cast<int>(CallKind::Let);
    icon.let = icon.set;
    b.getter("hWnd", &Control::get_hWnd);
    b.getter("Parent", &Control::get_Parent);
    b.method("Move", [](Control& c, Args& a) {
      if (a.empty() || a.size() > 4) throw Error(err::InvalidCall);
      auto opt = [&](std::size_t i) { return i < a.size() && !a[i].isEmpty() ? std::optional<float>(a[i].toSingle()) : std::nullopt; };
      c.Move(a[0].toSingle(), opt(1), opt(2), opt(3));
      return Variant();
    });
    b.method("ZOrder", [](Control& c, Args& a) {
      c.ZOrder(a.empty() || a[0].isEmpty() ? int16_t{0} : a[0].toInt16());
      return Variant();
    });
    b.method("SetFocus", [](Control& c, Args&) {
      c.SetFocus();
      return Variant();
    });
    b.method("Refresh", [](Control& c, Args&) {
      c.Refresh();
      return Variant();
    });
    return c;
  }();
  return info;
}

const ClassInfo& Control::classInfo() const { return commonClassInfo(); }

int16_t Control::get_Index() const {
  if (m_index < 0) throw Error(err::InvalidCall, "Object not an array");
  return m_index;
}

ObjectPtr Control::get_Container() const {
  owner();
  return m_container->shared_from_this();
}

ObjectPtr Control::get_Parent() const { return owner().shared_from_this(); }

void Control::putref_Container(ObjectPtr container) {
  auto* window = dynamic_cast<Window*>(container.get());
  if (!window) throw Error(err::InvalidCall, "Invalid container");
  setContainer(window);
}

void Control::setContainer(Window* container) {
  if (!container || !container->isContainer() || container->form() != &owner()) throw Error(err::InvalidCall, "Invalid container");
  for (Window* w = container; w; w = w->containerWindow())
    if (w == this) throw Error(err::InvalidCall, "A control cannot contain itself");
  if (container == m_container) return;
  // The same numbers in the new container's scale; the size stays physical.
  const Scale& scale = container->contentScale();
  const double t[4] = {scale.toTwips(Axis::X, get_Left()), scale.toTwips(Axis::Y, get_Top()), twips(Axis::X, true),
                       twips(Axis::Y, true)};
  pixelsOf(t);  // a position the new container cannot show fails before anything moves
  QWidget& w = liveWidget();
  QWidget* client = holderIn(*container);
  const bool shown = !w.isHidden();
  {
    FocusKeeper focus(&w, shown && client->isVisible() && client->isEnabled());
    m_container = container;
    keepOwnFontIn(w, client);
    w.setParent(client);
    // Placed while the move hides it: showing it once where it belongs repaints one
    // place, not the old one and then the new.
    std::copy(std::begin(t), std::end(t), m_twips);
    placeWidget();
    w.setVisible(shown);
  }
  win32::runtime::setWindowParent(hWnd(), container->hWnd());
  win32::runtime::notifySize(hWnd());
}

const Scale& Control::parentScale() const {
  owner();
  return m_container->contentScale();
}

double Control::twips(Axis axis, bool size) const { return m_twips[slot(axis, size)]; }

void Control::syncTwipsToWidget() {
  const QWidget* w = widget();
  if (!w) return;
  const QRect g = w->geometry();
  const int px[4] = {g.x(), g.y(), g.width(), g.height()};
  // Where the widget's pixels differ, they are the truth from now on; where they agree,
  // the fractions of a pixel survive.
  for (int i = 0; i < 4; ++i) {
    const Axis axis = i == kLeft || i == kWidth ? Axis::X : Axis::Y;
    if (twipsInPixels(axis, m_twips[i]) != px[i]) m_twips[i] = px[i] * twipsPerPixel(axis);
  }
}

void Control::setGeometryTwips(double left, double top, double width, double height) {
  if (width < 0 || height < 0) throw Error(err::InvalidPropertyValue);
  const double t[4] = {left, top, width, height};
  pixelsOf(t);  // nothing changes when the pixels are out of reach
  std::copy(std::begin(t), std::end(t), m_twips);
  applyGeometry();
}

QRect Control::pixelsOf(const double t[4]) {
  return QRect(twipsToPixels(Axis::X, t[kLeft]), twipsToPixels(Axis::Y, t[kTop]), std::max(0, twipsToPixels(Axis::X, t[kWidth])),
               std::max(0, twipsToPixels(Axis::Y, t[kHeight])));
}

float Control::position(Axis axis) const { return static_cast<float>(parentScale().fromTwips(axis, twips(axis, false))); }

float Control::extent(Axis axis) const { return static_cast<float>(parentScale().fromTwips(axis, twips(axis, true))); }

void Control::setPosition(Axis axis, float value) {
  double t[4] = {twips(Axis::X, false), twips(Axis::Y, false), twips(Axis::X, true), twips(Axis::Y, true)};
  t[slot(axis, false)] = parentScale().toTwips(axis, value);
  setGeometryTwips(t[0], t[1], t[2], t[3]);
}

void Control::setExtent(Axis axis, float value) {
  double t[4] = {twips(Axis::X, false), twips(Axis::Y, false), twips(Axis::X, true), twips(Axis::Y, true)};
  t[slot(axis, true)] = parentScale().toTwips(axis, value);
  setGeometryTwips(t[0], t[1], t[2], t[3]);
}

void Control::Move(float left, std::optional<float> top, std::optional<float> width, std::optional<float> height) {
  const Scale& s = parentScale();
  setGeometryTwips(s.toTwips(Axis::X, left), top ? s.toTwips(Axis::Y, *top) : twips(Axis::Y, false),
                   width ? s.toTwips(Axis::X, *width) : twips(Axis::X, true),
                   height ? s.toTwips(Axis::Y, *height) : twips(Axis::Y, true));
}

QWidget* Control::holderIn(const Window& container) const {
  return m_constituent ? container.clientWidget() : container.contentWidget();
}

void Control::markConstituent() {
  m_constituent = true;
  QWidget* w = widget();
  if (!w || !m_container || w->parentWidget() == holderIn(*m_container)) return;
  const bool shown = !w->isHidden();
  w->setParent(holderIn(*m_container));
  placeWidget();
  w->setVisible(shown);
  win32::runtime::notifySize(hWnd());
}

void Control::applyGeometry() {
  if (!widget()) return;
  placeWidget();
  win32::runtime::notifySize(hWnd());
}

void Control::placeWidget() {
  QWidget* w = widget();
  const QRect asked = pixelsOf(m_twips);
  w->setGeometry(asked);
  // A widget with a fixed or least size keeps it: the record follows the widget.
  if (w->geometry() != asked) syncTwipsToWidget();
}

void Control::attachControlWidget(QWidget* w, win32::runtime::WheelRole wheel) {
  QWidget* holder = m_container ? holderIn(*m_container) : nullptr;
  keepOwnFontIn(*w, holder);
  w->setParent(holder);
  attachWidget(w, m_container ? m_container->hWnd() : 0, wheel);
  w->setMouseTracking(true);
  // A control's mouse events are its own: Qt would hand those its widget ignores
  // (labels, frames, disabled controls) on to the container, which would report them.
  w->setAttribute(Qt::WA_NoMousePropagation);
  m_twips[kWidth] = w->width() * twipsPerPixel(Axis::X);
  m_twips[kHeight] = w->height() * twipsPerPixel(Axis::Y);
  // In a container not yet shown the widget shows with it; asking costs as much again.
  if (w->isHidden()) w->show();
  m_shown = true;
}

void Control::applyFont() {
  QWidget* w = widget();
  if (!w) return;
  keepOwnFontsWithin(w);
  w->setFont(m_font->toQFont());
}

// A control whose Font is the standard one, in a holder showing the standard font,
// shows it by inheriting it: a font set on each of thousands of widgets costs each its
// own font data and a second layout of its text. Any other gets its own font, before
// its parent (after, it would lay out its text twice). Whatever would later give an
// inheriting widget another font sets its own first (here, on a move, applyFont and
// the form's widget).
void Control::keepOwnFontIn(QWidget& w, const QWidget* holder) const {
  if (w.testAttribute(Qt::WA_SetFont)) return;
  if (m_font->isStandard() && holder && holder->font() == QApplication::font()) return;
  w.setFont(m_font->toQFont());
}

void Control::keepOwnFontsWithin(QWidget* root) {
  for (QWidget* inner : root->findChildren<QWidget*>()) {
    if (inner->testAttribute(Qt::WA_SetFont)) continue;
    auto* control = dynamic_cast<Control*>(fromHwnd(win32::runtime::hwndOf(inner)));
    if (control && control->widget() == inner) inner->setFont(control->m_font->toQFont());
  }
}

// Kept beside the widget's own flag: scans of every control (the viewport's tick) read
// it, and reaching into thousands of widgets costs a cache miss or three each.
bool Control::get_Visible() const { return m_shown && hasWidget(); }

void Control::put_Visible(bool visible) {
  if (!widget()) return;
  widget()->setVisible(visible);
  m_shown = visible;
}

bool Control::get_Enabled() const { return m_enabled; }

void Control::put_Enabled(bool enabled) {
  m_enabled = enabled;
  if (widget()) widget()->setEnabled(enabled);
}

std::string Control::get_ToolTipText() const { return widget() ? widget()->toolTip().toStdString() : std::string(); }

void Control::put_ToolTipText(std::string text) {
  if (widget()) widget()->setToolTip(QString::fromStdString(text));
}

void Control::putref_Font(ObjectPtr font) {
  auto* f = dynamic_cast<Font*>(font.get());
  if (!f) throw Error(err::TypeMismatch);
  if (f != m_font.get()) m_font->copyFrom(*f);
}

void Control::put_MousePointer(int16_t pointer) {
  if (pointer < 0 || (pointer > 16 && pointer != 99)) throw Error(err::InvalidPropertyValue);
  m_mousePointer = pointer;
  if (!widget()) return;
  auto* icon = dynamic_cast<Picture*>(m_mouseIcon.get());
  if (pointer == 99 && icon) widget()->setCursor(QCursor(QPixmap::fromImage(icon->image())));
  else if (pointer == 0) widget()->unsetCursor();
  else widget()->setCursor(cursorFor(pointer));
}

void Control::put_MouseIcon(ObjectPtr icon) {
  if (icon && !dynamic_cast<Picture*>(icon.get())) throw Error(err::TypeMismatch);
  m_mouseIcon = std::move(icon);
  put_MousePointer(m_mousePointer);
}

void Control::ZOrder(int16_t position) {
  if (!widget()) return;
  if (position == 0) widget()->raise();
  else widget()->lower();
}

void Control::SetFocus() {
  if (!canHaveFocus()) throw Error(err::InvalidCall);
  takeFocus(Qt::OtherFocusReason);
}

void Control::takeFocus(Qt::FocusReason reason) {
  Control* target = this;
  if (auto* host = dynamic_cast<UserControlHost*>(this)) {
    // The first piece in the control's own tab order (TabIndex, ties as made).
    std::vector<Control*> pieces;
    for (const ControlPtr& c : host->constituents()) pieces.push_back(c.get());
    std::stable_sort(pieces.begin(), pieces.end(), [](const Control* a, const Control* b) { return a->m_tabIndex < b->m_tabIndex; });
    auto first = std::find_if(pieces.begin(), pieces.end(), [](const Control* c) { return c->canTakeFocus(); });
    if (first != pieces.end()) target = *first;
  }
  if (QWidget* w = target->widget()) w->setFocus(reason);
}

void Control::Refresh() {
  if (widget()) widget()->update();
}

bool Control::canTakeFocus() const { return m_tabStop && canHaveFocus(); }

bool Control::canHaveFocus() const {
  if (!takesFocus()) return false;
  for (const Window* w = this; w && w != m_form; w = w->containerWindow()) {
    auto* c = dynamic_cast<const Control*>(w);
    if (!c || !c->get_Visible() || !c->m_enabled) return false;
  }
  return true;
}

void Control::raiseEvent(std::string_view event, Args& args) {
  // A handler may unload the form, which releases this control: it lasts until the event is over.
  const std::shared_ptr<Object> keep = weak_from_this().lock();
  raiseToHandlers(event, args);
  if (!m_constituent && m_form) m_form->dispatchEvent(m_name, m_index, event, args);
}

}  // namespace forms
