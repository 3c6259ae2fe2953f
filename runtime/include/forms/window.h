#pragma once
// Anything with a window handle: forms and controls. Holds the widget, the handle
// and, for forms, picture boxes and user controls, a scale of its own.
#include <QPointer>
#include <QWidget>
#include <memory>

#include "forms/object.h"
#include "forms/scale.h"
#include "win32/runtime.h"

namespace forms {

class Form;
class Control;

class Window : public Object {
 public:
  ~Window() override;

  win32::HWND hWnd() const { return m_hwnd; }
  QWidget* widget() const { return m_widget; }
  // Whether the widget still exists, answered from this object alone: scans of every
  // control read it without reaching into thousands of widgets.
  bool hasWidget() const { return m_widgetAlive; }
  // The widget that paints the contents and reports the mouse over them.
  virtual QWidget* clientWidget() const { return m_widget; }
  // Where the widgets of contained controls go: the client widget, or an area inside it.
  virtual QWidget* contentWidget() const { return clientWidget(); }
  virtual bool isContainer() const { return false; }
  virtual Form* form() const = 0;
  // The window this one sits in (nullptr for a form).
  virtual Window* containerWindow() const { return nullptr; }

  // Only forms, picture boxes and user controls own a scale.
  virtual Scale* ownScale() { return nullptr; }
  // The scale in which this window's contents are measured: its own or that of the
  // nearest window up the containers that has one.
  Scale& contentScale();
  const Scale& contentScale() const { return const_cast<Window*>(this)->contentScale(); }

  // Inner size in twips and in the content scale.
  double clientTwips(Axis axis) const;
  float scaleExtent(Axis axis) const;  // ScaleWidth / ScaleHeight
  void setScaleExtent(Axis axis, float units);
  // Sets the mode of this window's own scale; the user controls measured in it hear of
  // a change as AmbientChanged "ScaleUnits".
  void setScaleMode(int16_t mode);
  void notifyScaleUnitsChanged();
  float scaleConvert(Axis axis, float value, int fromMode, int toMode) const {
    return contentScale().convert(axis, value, fromMode, toMode);
  }

  // The controls placed directly in this window (not a user control's own pieces), in
  // the order they were made. Found through the windows' parent links, so the cost
  // is in this window's children, not in every control of the form.
  std::vector<std::shared_ptr<Control>> childControls() const;

  // The object behind a window handle, or nullptr.
  static Window* fromHwnd(win32::HWND hWnd);
  static Window* fromWidget(const QWidget* widget);  // nearest window up the Qt parents

  // Keyboard and mouse notifications, called by the application's input routing.
  // The defaults raise the events of the same names.
  virtual void keyDown(int16_t& keyCode, int16_t& shift);
  virtual void keyPress(int16_t& keyAscii);
  virtual void keyUp(int16_t& keyCode, int16_t& shift);
  virtual void mouseEvent(std::string_view event, int16_t& button, int16_t& shift, float& x, float& y);
  virtual void click();
  virtual void dblClick();
  virtual void gotFocus();
  virtual void lostFocus();

 protected:
  // Gives this object its widget and window. The class procedure gets the messages
  // that reach the end of the window's chain.
  void attachWidget(QWidget* widget, win32::HWND parent, win32::runtime::WheelRole wheel);
  virtual win32::LRESULT classProcedure(win32::UINT msg, win32::WPARAM wParam, win32::LPARAM lParam);
  // The window was moved or sized from outside the object (SetWindowPos), before
  // WM_SIZE goes out.
  virtual void windowPlaced() {}
  // Ends the window. The widget is hidden and deleted once Qt is done delivering to
  // it, unless `withParent` says a widget up its Qt parents is already going and
  // takes this one with it.
  void releaseWidget(bool withParent = false);

 private:
  win32::HWND m_hwnd = 0;
  bool m_widgetAlive = false;
  QPointer<QWidget> m_widget;
  QMetaObject::Connection m_widgetGone;
};

// ScaleX and ScaleY(value, fromMode, toMode) as methods of a class whose objects measure
// with the window that `surface` gives for them.
template <class T, class Surface>
void addScaleMethods(ClassBuilder<T>& builder, Surface surface) {
  for (Axis axis : {Axis::X, Axis::Y}) {
    builder.method(axis == Axis::X ? "ScaleX" : "ScaleY", [axis, surface](T& object, Args& a) {
      if (a.size() != 3) throw Error(err::InvalidCall);
      const Window& window = surface(object);
      return Variant(window.scaleConvert(axis, a[0].toSingle(), a[1].toInt16(), a[2].toInt16()));
    });
  }
}

}  // namespace forms
