#pragma once
// Routes Qt input to the forms: wheel messages through window procedures, key events
// with key preview and tab order, mouse and focus notifications, WM_SIZE on resizes.
#include <QObject>

namespace forms {

class InputRouter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool routeKey(QWidget* target, class QKeyEvent* event);
  bool routeMouse(QWidget* target, class QMouseEvent* event);
  bool m_deliveringWheel = false;
  bool m_resending = false;
  // The release that ends a double click is a MouseUp without a second Click.
  const QWidget* m_doubleClicked = nullptr;
};

// Key code and shift mask of a Qt key event as the key events report them.
int16_t keyCodeOf(int qtKey);
int16_t shiftMaskOf(Qt::KeyboardModifiers modifiers);

}  // namespace forms
