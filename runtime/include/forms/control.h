#pragma once
// What every control on a form has: name and index, container, position and size in
// the container's scale, visibility, focus and tab order, tooltip, font, pointer.
#include <optional>
#include <string>

#include "forms/font.h"
#include "forms/picture.h"
#include "forms/window.h"

namespace forms {

class Control : public Window {
 public:
  ~Control() override;
  const ClassInfo& classInfo() const override;
  static const ClassInfo& commonClassInfo();
  // Every control widget under `root` that shows its font by inheriting it gets it set
  // as its own: done before anything above them takes another font.
  static void keepOwnFontsWithin(QWidget* root);

  // The control a widget shows, found up its parents: a user control's own pieces give
  // the user control. nullptr for the form's own widget or one of no form.
  static Control* ofWidget(const QWidget* widget);

  // The class id the control was created from ("Forms.TextBox", "Lib.Class").
  const std::string& classId() const { return m_classId; }

  // Null once the form unloaded: the form detaches its controls then.
  Form* form() const override { return m_form; }
  Window* containerWindow() const override { return m_container; }
  // Asks the memory for what a scan of every control of a form reads of this one
  // (container, visibility, position and size), some time before it is read.
  void prefetchForScan() const {
    __builtin_prefetch(this);
    __builtin_prefetch(&m_container);
    __builtin_prefetch(&m_twips[3]);
  }
  // The form, for anything that needs it; error 91 once it unloaded.
  Form& owner() const;
  // Late-bound use of a control whose form unloaded is error 91 too.
  Variant invoke(std::string_view member, CallKind kind, Args& args) override;

  const std::string& name() const { return m_name; }
  std::string get_Name() const { return m_name; }
  // Error 343-style failure for a control outside a control array: error 5 here.
  int16_t get_Index() const;
  int16_t index() const { return m_index; }
  bool inArray() const { return m_index >= 0; }

  ObjectPtr get_Container() const;
  // Keeps the Left and Top numbers: the control moves to the same coordinates in the
  // new container's scale. Error 5 for an object that cannot contain controls.
  void putref_Container(ObjectPtr container);
  void setContainer(Window* container);

  float get_Left() const { return position(Axis::X); }
  void put_Left(float v) { setPosition(Axis::X, v); }
  float get_Top() const { return position(Axis::Y); }
  void put_Top(float v) { setPosition(Axis::Y, v); }
  float get_Width() const { return extent(Axis::X); }
  void put_Width(float v) { setExtent(Axis::X, v); }
  float get_Height() const { return extent(Axis::Y); }
  void put_Height(float v) { setExtent(Axis::Y, v); }
  void Move(float left, std::optional<float> top = {}, std::optional<float> width = {},
            std::optional<float> height = {});

  bool get_Visible() const;
  void put_Visible(bool visible);
  bool get_Enabled() const;
  void put_Enabled(bool enabled);
  int16_t get_TabIndex() const { return m_tabIndex; }
  void put_TabIndex(int16_t index) { m_tabIndex = index; }
  bool get_TabStop() const { return m_tabStop; }
  void put_TabStop(bool tabStop) { m_tabStop = tabStop; }
  std::string get_ToolTipText() const;
  void put_ToolTipText(std::string text);
  ObjectPtr get_Font() const { return m_font; }
  void putref_Font(ObjectPtr font);
  int16_t get_MousePointer() const { return m_mousePointer; }
  void put_MousePointer(int16_t pointer);
  ObjectPtr get_MouseIcon() const { return m_mouseIcon; }
  void put_MouseIcon(ObjectPtr icon);
  int32_t get_hWnd() const { return hWnd(); }
  ObjectPtr get_Parent() const;

  // 0 or no argument: to the front; 1: to the back.
  void ZOrder(int16_t position = 0);
  void SetFocus();
  virtual void Refresh();
  // Focuses the control; Tab passes its reason so that Qt shows the focus cue. A user
  // control passes the focus on to its first constituent that can take it.
  void takeFocus(Qt::FocusReason reason);

  // Whether the control can have the focus: a kind of control that takes it, visible
  // and enabled up the containers.
  bool canHaveFocus() const;
  // Whether Tab can stop here: it can have the focus and is a tab stop.
  virtual bool canTakeFocus() const;
  virtual bool takesFocus() const { return true; }

  // Position and size in twips, as last set or as the widget was last placed from
  // outside (SetWindowPos).
  double twips(Axis axis, bool size) const;
  // Takes the widget's pixels where they differ from the record: after the widget was
  // placed by something other than this object.
  void syncTwipsToWidget();
  void setGeometryTwips(double left, double top, double width, double height);

  // Events go to the control's own handlers, then to the form's handlers by name
  // (constituent controls of a user control have only their own handlers).
  void raiseEvent(std::string_view event, Args& args) override;
  bool isConstituent() const { return m_constituent; }
  // A user control's own piece sits on its surface, outside the area of the controls
  // placed in it.
  void markConstituent();
  // Added by a program through Controls.Add: not part of the form's design, so a saved
  // form holds what such a control contains in its place, but not the control itself.
  bool addedAtRunTime() const { return m_addedAtRunTime; }
  void markAddedAtRunTime() { m_addedAtRunTime = true; }

 public:
  struct Init {
    Form* form = nullptr;
    std::string classId;
    std::string name;
    int16_t index = -1;
    Window* container = nullptr;
  };

 protected:
  explicit Control(const Init& init);
  // Derived classes create their widget in their constructor, then call this.
  void attachControlWidget(QWidget* widget, win32::runtime::WheelRole wheel);
  virtual void applyFont();
  // The control's widget for members that need it; error 91 once the form unloaded.
  QWidget& liveWidget() const;

 private:
  friend class Form;
  void detach();
  // Position and size in pixels; error 380 for any beyond what a window can have.
  static QRect pixelsOf(const double twips[4]);
  float position(Axis axis) const;
  void setPosition(Axis axis, float value);
  float extent(Axis axis) const;
  void setExtent(Axis axis, float value);
  void applyGeometry();
  void placeWidget();  // the widget where the twips say, without telling its procedure
  // Before the widget goes into `holder`: its own font, unless it may show it there by
  // inheriting.
  void keepOwnFontIn(QWidget& w, const QWidget* holder) const;
  void windowPlaced() override { syncTwipsToWidget(); }
  const Scale& parentScale() const;
  // The widget this control's widget goes in, inside a container.
  QWidget* holderIn(const Window& container) const;

  // First, side by side: what a scan of every control of a form reads of each.
  Form* m_form = nullptr;
  Window* m_container = nullptr;
  bool m_shown = false;  // Visible, as last set
  // Position and size in twips; fractions survive as long as the widget's pixels agree.
  double m_twips[4] = {0, 0, 0, 0};
  std::string m_classId;
  std::string m_name;
  int16_t m_index = -1;
  int16_t m_tabIndex = 0;
  bool m_tabStop = true;
  bool m_constituent = false;
  bool m_addedAtRunTime = false;
  bool m_enabled = true;
  int16_t m_mousePointer = 0;
  ObjectPtr m_mouseIcon;
  std::shared_ptr<Font> m_font;
};

using ControlPtr = std::shared_ptr<Control>;

}  // namespace forms
