#include "forms/window.h"

#include <map>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/units.h"
#include "forms/usercontrol.h"

namespace forms {

namespace {
std::map<win32::HWND, Window*>& objects() {
  static std::map<win32::HWND, Window*> m;
  return m;
}
}  // namespace

Window::~Window() { releaseWidget(); }

void Window::attachWidget(QWidget* widget, win32::HWND parent, win32::runtime::WheelRole wheel) {
  // Windows placed by SetWindowPos tell their objects before WM_SIZE goes out.
  static const bool placedHooked = (win32::runtime::setPlacedHook([](win32::HWND h) {
                                      if (Window* w = fromHwnd(h)) w->windowPlaced();
                                    }),
                                    true);
  (void)placedHooked;
  m_widget = widget;
  m_widgetAlive = widget != nullptr;
  // Disconnected in releaseWidget, which the destructor calls, or here for a widget
  // given before.
  QObject::disconnect(m_widgetGone);
  if (widget) m_widgetGone = QObject::connect(widget, &QObject::destroyed, [this] { m_widgetAlive = false; });
  m_hwnd = win32::runtime::createWindow(widget, parent, wheel,
                                        [this](win32::HWND, win32::UINT msg, win32::WPARAM wParam, win32::LPARAM lParam) {
                                          return classProcedure(msg, wParam, lParam);
                                        });
  objects()[m_hwnd] = this;
}

void Window::releaseWidget(bool withParent) {
  if (m_hwnd) {
    // This object is going: its class procedure must not run any more.
    win32::runtime::setClassHandler(m_hwnd, {});
    win32::runtime::destroyWindow(m_hwnd);
    objects().erase(m_hwnd);
    m_hwnd = 0;
  }
  QObject::disconnect(m_widgetGone);
  m_widgetAlive = false;
  QWidget* w = m_widget.data();
  if (!w) return;
  if (withParent) {
    m_widget = nullptr;
    return;
  }
  // A form may go from inside an event Qt is still delivering to this widget or one in
  // it (its close event, a key, a click, a focus change): the widget is hidden now and
  // deleted once that delivery is over.
  w->hide();
  w->deleteLater();
  m_widget = nullptr;
}

win32::LRESULT Window::classProcedure(win32::UINT, win32::WPARAM, win32::LPARAM) { return 0; }

Window* Window::fromHwnd(win32::HWND hWnd) {
  auto it = objects().find(hWnd);
  return it != objects().end() && win32::IsWindow(hWnd) ? it->second : nullptr;
}

std::vector<std::shared_ptr<Control>> Window::childControls() const {
  std::vector<std::shared_ptr<Control>> out;
  for (win32::HWND h : win32::runtime::childrenOf(m_hwnd)) {
    auto* c = dynamic_cast<Control*>(fromHwnd(h));
    if (c && !c->isConstituent() && c->containerWindow() == this) out.push_back(std::static_pointer_cast<Control>(c->shared_from_this()));
  }
  return out;
}

Window* Window::fromWidget(const QWidget* widget) { return fromHwnd(win32::runtime::windowContaining(widget)); }

Scale& Window::contentScale() {
  for (Window* w = this; w; w = w->containerWindow())
    if (Scale* s = w->ownScale()) return *s;
  static Scale twips;
  return twips;
}

double Window::clientTwips(Axis axis) const {
  int width = 0, height = 0;
  win32::runtime::clientSize(m_hwnd, &width, &height);
  return (axis == Axis::X ? width : height) * twipsPerPixel(axis);
}

float Window::scaleExtent(Axis axis) const {
  return static_cast<float>(contentScale().fromTwips(axis, clientTwips(axis)));
}

void Window::setScaleExtent(Axis axis, float units) {
  Scale& scale = contentScale();
  const int16_t before = scale.mode();
  scale.setUserExtent(axis, clientTwips(axis), units);
  if (scale.mode() != before && &scale == ownScale()) notifyScaleUnitsChanged();
}

void Window::setScaleMode(int16_t mode) {
  Scale* scale = ownScale();
  if (!scale || scale->mode() == mode) return;
  scale->setMode(mode);
  notifyScaleUnitsChanged();
}

void Window::notifyScaleUnitsChanged() {
  Form* owner = form();
  const Scale* scale = ownScale();
  if (!owner || !scale) return;
  // A copy: a notification may add or remove controls.
  const std::vector<ControlPtr> controls = owner->controls();
  for (const ControlPtr& c : controls) {
    auto* host = dynamic_cast<UserControlHost*>(c.get());
    Window* container = host ? host->containerWindow() : nullptr;
    // Through frames and the like, which have no scale of their own.
    if (container && &container->contentScale() == scale) host->ambientChanged("ScaleUnits");
  }
}

void Window::keyDown(int16_t& keyCode, int16_t& shift) {
  Args args{Variant(keyCode), Variant(shift)};
  raiseEvent("KeyDown", args);
  keyCode = args[0].toInt16();
  shift = args[1].toInt16();
}

void Window::keyPress(int16_t& keyAscii) {
  Args args{Variant(keyAscii)};
  raiseEvent("KeyPress", args);
  keyAscii = args[0].toInt16();
}

void Window::keyUp(int16_t& keyCode, int16_t& shift) {
  Args args{Variant(keyCode), Variant(shift)};
  raiseEvent("KeyUp", args);
  keyCode = args[0].toInt16();
  shift = args[1].toInt16();
}

void Window::mouseEvent(std::string_view event, int16_t& button, int16_t& shift, float& x, float& y) {
  Args args{Variant(button), Variant(shift), Variant(x), Variant(y)};
  raiseEvent(event, args);
  button = args[0].toInt16();
  shift = args[1].toInt16();
  x = args[2].toSingle();
  y = args[3].toSingle();
}

void Window::click() {
  Args args;
  raiseEvent("Click", args);
}

void Window::dblClick() {
  Args args;
  raiseEvent("DblClick", args);
}

void Window::gotFocus() {
  Args args;
  raiseEvent("GotFocus", args);
}

void Window::lostFocus() {
  Args args;
  raiseEvent("LostFocus", args);
}

}  // namespace forms
