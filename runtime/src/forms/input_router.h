#pragma once
// Routes Qt input to the forms: wheel messages through window procedures, key events
// with key preview and tab order, mouse and focus notifications, WM_SIZE on resizes.
#include <QApplication>
#include <QObject>
#include <cstdint>

class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace forms {

// The runtime's QApplication. It notes which widget each key event was sent to: Qt
// offers a key the widget ignores to its parents too, and a parent must not report as
// its own a key that was typed into a control inside it.
class RoutingApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;

 protected:
  // Which posted events are merged into one already waiting (posted_events.cpp).
  bool compressEvent(QEvent* event, QObject* receiver, QPostEventList* posted) override;

 public:
  // The widget the key event now being delivered was sent to.
  static const QObject* keyReceiver();
};

class InputRouter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool routeKey(QWidget* target, QKeyEvent* event);
  bool routeMouse(QWidget* target, QMouseEvent* event);
  bool m_deliveringWheel = false;
  bool m_resending = false;
  // The release that ends a double click is a MouseUp without a second Click.
  const QWidget* m_doubleClicked = nullptr;
};

// Key code and shift mask of a Qt key event as the key events report them.
int16_t keyCodeOf(int qtKey);
int16_t shiftMaskOf(Qt::KeyboardModifiers modifiers);

}  // namespace forms
