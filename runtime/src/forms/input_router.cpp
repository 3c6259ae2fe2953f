#include "input_router.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QWheelEvent>

#include "forms/form.h"
#include "forms/keyboard.h"
#include "forms/msgbox.h"
#include "forms/simple_controls.h"
#include "forms/units.h"
#include "forms/usercontrol.h"
#include "win32/runtime.h"

namespace forms {

int16_t keyCodeOf(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<int16_t>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<int16_t>('0' + (key - Qt::Key_0));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F16) return static_cast<int16_t>(112 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return keycode::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return keycode::Return;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return keycode::PageUp;
    case Qt::Key_PageDown: return keycode::PageDown;
    case Qt::Key_End: return keycode::End;
    case Qt::Key_Home: return keycode::Home;
    case Qt::Key_Left: return keycode::Left;
    case Qt::Key_Up: return keycode::Up;
    case Qt::Key_Right: return keycode::Right;
    case Qt::Key_Down: return keycode::Down;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
  }
}

int16_t shiftMaskOf(Qt::KeyboardModifiers m) {
  return static_cast<int16_t>((m & Qt::ShiftModifier ? shiftmask::Shift : 0) | (m & Qt::ControlModifier ? shiftmask::Ctrl : 0) |
                              (m & Qt::AltModifier ? shiftmask::Alt : 0));
}

namespace {

int16_t buttonMaskOf(Qt::MouseButtons b) {
  return static_cast<int16_t>((b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0));
}

int16_t buttonOf(Qt::MouseButton b) { return buttonMaskOf(Qt::MouseButtons(b)); }

// The character code a key press reports, 0 for keys that type nothing.
int16_t asciiOf(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return 9;
    default: break;
  }
  const QString t = e->text();
  if (t.size() != 1) return 0;
  const char16_t c = t.at(0).unicode();
  return c < 0x8000 ? static_cast<int16_t>(c) : 0;
}

// The control (or form) a widget belongs to for input, and only when the widget is the
// control's own widget or inside it.
Window* windowFor(QWidget* w) { return Window::fromWidget(w); }

// Windows whose mouse events the runtime reports from their client widget: those with
// no input handling of their own. Buttons report Click through `clicked`; text boxes
// and scroll bars have no mouse events.
bool reportsMouse(const Window& w) {
  return w.isContainer() || dynamic_cast<const UserControlHost*>(&w) || dynamic_cast<const Label*>(&w);
}

bool isArrow(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

}  // namespace

namespace {
const QObject* g_keyReceiver = nullptr;
}  // namespace

bool RoutingApplication::notify(QObject* receiver, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return QApplication::notify(receiver, event);
  const QScopedValueRollback<const QObject*> delivering(g_keyReceiver, receiver);
  return QApplication::notify(receiver, event);
}

const QObject* RoutingApplication::keyReceiver() { return g_keyReceiver; }

bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::Wheel: {
      auto* e = static_cast<QWheelEvent*>(event);
      // The widget's own handling, run below: Qt may offer the event to the parents
      // too, which the procedures have already had their say on.
      if (m_deliveringWheel) return false;
      if (!win32::runtime::windowContaining(widget)) return false;
      // Vertical movement is WM_MOUSEWHEEL; only an event with none is sideways input,
      // whose message counts to the right where Qt counts to the left.
      const QPoint angle = e->angleDelta();
      const bool sideways = angle.y() == 0;
      const win32::UINT msg = sideways ? win32::WM_MOUSEHWHEEL : win32::WM_MOUSEWHEEL;
      const int delta = sideways ? -angle.x() : angle.y();
      const QPoint global = e->globalPosition().toPoint();
      uint16_t keys = 0;
      if (e->buttons() & Qt::LeftButton) keys |= 0x1;
      if (e->buttons() & Qt::RightButton) keys |= 0x2;
      if (e->modifiers() & Qt::ShiftModifier) keys |= 0x4;
      if (e->modifiers() & Qt::ControlModifier) keys |= 0x8;
      if (e->buttons() & Qt::MiddleButton) keys |= 0x10;
      bool native = true;
      guarded([&] { native = win32::runtime::dispatchWheel(widget, msg, delta, global.x(), global.y(), keys); });
      if (native) {
        m_deliveringWheel = true;
        QCoreApplication::sendEvent(widget, e);
        m_deliveringWheel = false;
      }
      e->accept();
      return true;
    }
    case QEvent::Resize:
    case QEvent::WindowStateChange:
      if (win32::HWND h = win32::runtime::hwndOf(widget)) guarded([h] { win32::runtime::notifySize(h); });
      return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (m_resending) return false;
      return routeKey(widget, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return routeMouse(widget, static_cast<QMouseEvent*>(event));
    case QEvent::FocusIn:
      if (Window* w = windowFor(widget); w && win32::runtime::hwndOf(widget) == w->hWnd()) guarded([&] { w->gotFocus(); });
      return false;
    case QEvent::FocusOut:
      if (Window* w = windowFor(widget); w && win32::runtime::hwndOf(widget) == w->hWnd()) guarded([&] { w->lostFocus(); });
      return false;
    default: return false;
  }
}

bool InputRouter::routeKey(QWidget* target, QKeyEvent* event) {
  // Only the widget the key was typed into reports it; its containers hear nothing.
  if (target != RoutingApplication::keyReceiver()) return false;
  Window* window = windowFor(target);
  if (!window) return false;
  Form* form = window->form();
  if (!form || !form->loaded()) return false;
  const bool press = event->type() == QEvent::KeyPress;
  bool consumed = false;
  // A handler may unload the form: the form and the window last until the key is dealt
  // with, and the key goes no further.
  const std::shared_ptr<Object> keepForm = form->weak_from_this().lock();
  const std::shared_ptr<Object> keepWindow = window->weak_from_this().lock();
  guarded([&] {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool tab = (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && !(mods & (Qt::ControlModifier | Qt::AltModifier));
    if (tab) {
      if (press) form->tabToNext(event->key() == Qt::Key_Backtab || (mods & Qt::ShiftModifier));
      consumed = true;
      return;
    }
    int16_t code = keyCodeOf(event->key());
    int16_t shift = shiftMaskOf(mods);
    const bool preview = form->get_KeyPreview() && window != form;
    if (!press) {
      if (code == 0) return;
      if (preview) form->keyUp(code, shift);
      if (code != 0 && form->loaded()) window->keyUp(code, shift);
      consumed = code == 0 || !form->loaded();
      return;
    }
    if (code != 0) {
      if (preview) form->keyDown(code, shift);
      if (code != 0 && form->loaded()) window->keyDown(code, shift);
      if (code == 0 || !form->loaded()) {
        consumed = true;
        return;
      }
      // Arrows on an option button move round its group, and go no further.
      const int key = event->key();
      if (isArrow(key) && form->arrowInGroup(*window, key == Qt::Key_Left || key == Qt::Key_Up)) {
        consumed = true;
        return;
      }
    }
    const int16_t original = asciiOf(event);
    int16_t ascii = original;
    if (ascii == 0) return;
    if (preview) form->keyPress(ascii);
    if (ascii != 0 && form->loaded()) window->keyPress(ascii);
    if (ascii == 0 || !form->loaded()) {
      consumed = true;  // a KeyPress code set to 0 is discarded
    } else if (ascii != original) {
      // The handler changed the character: the widget gets the new one instead.
      const QString text(QChar(static_cast<char16_t>(ascii)));
      QKeyEvent replacement(QEvent::KeyPress, ascii == 13 ? Qt::Key_Return : 0, event->modifiers(), text);
      m_resending = true;
      QCoreApplication::sendEvent(target, &replacement);
      m_resending = false;
      consumed = true;
    }
  });
  return consumed;
}

bool InputRouter::routeMouse(QWidget* target, QMouseEvent* event) {
  // Qt hands what a widget ignores on to its parent, but never past a control's widget
  // (see attachControlWidget): what a disabled control gets goes nowhere.
  Window* window = windowFor(target);
  if (!window || !target->isEnabled() || target != window->clientWidget() || !reportsMouse(*window)) return false;
  const QPoint p = event->position().toPoint();
  const Scale& s = window->contentScale();
  float x = static_cast<float>(s.fromTwips(Axis::X, p.x() * twipsPerPixel(Axis::X)));
  float y = static_cast<float>(s.fromTwips(Axis::Y, p.y() * twipsPerPixel(Axis::Y)));
  int16_t shift = shiftMaskOf(event->modifiers());
  // As with keys: a handler may unload the form and so release the window.
  const std::shared_ptr<Object> keepWindow = window->weak_from_this().lock();
  guarded([&] {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        m_doubleClicked = nullptr;
        int16_t b = buttonOf(event->button());
        window->mouseEvent("MouseDown", b, shift, x, y);
        break;
      }
      case QEvent::MouseButtonRelease: {
        int16_t b = buttonOf(event->button());
        const bool endsDoubleClick = m_doubleClicked == target;
        m_doubleClicked = nullptr;
        window->mouseEvent("MouseUp", b, shift, x, y);
        if (!endsDoubleClick && window->form() && window->form()->loaded() && target->rect().contains(p)) window->click();
        break;
      }
      case QEvent::MouseButtonDblClick:
        m_doubleClicked = target;
        window->dblClick();
        break;
      default: {
        int16_t b = buttonMaskOf(event->buttons());
        window->mouseEvent("MouseMove", b, shift, x, y);
        break;
      }
    }
  });
  return false;
}

}  // namespace forms
