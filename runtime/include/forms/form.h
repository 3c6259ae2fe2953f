#pragma once
// A form: a top-level window holding controls, measured in its own scale.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "forms/control.h"
#include "forms/propertybag.h"
#include "forms/window.h"

namespace forms {

class ControlsCollection;

// Arguments of an event as a form's handler sees them: the element's index for a
// control array (-1 otherwise) and the event's own arguments by reference.
struct EventArgs {
  int16_t index = -1;
  Args& args;
};
using FormEventHandler = std::function<void(EventArgs&)>;

class Form : public Window {
 public:
  // designMode: the form is being edited, so Ambient.UserMode is false for its controls.
  static std::shared_ptr<Form> create(std::string name, bool designMode = false);
  ~Form() override;

  const ClassInfo& classInfo() const override;
  // Late-bound use of an unloaded form is error 91.
  Variant invoke(std::string_view member, CallKind kind, Args& args) override;
  Form* form() const override { return const_cast<Form*>(this); }
  bool isContainer() const override { return true; }
  Scale* ownScale() override { return &m_scale; }

  const std::string& name() const { return m_name; }
  std::string get_Name() const { return m_name; }
  bool designMode() const { return m_designMode; }
  bool loaded() const { return !m_unloaded; }
  // The one check for using a form or anything of it: the form while it is loaded, error
  // 91 once it unloaded. Its controls are detached then and pass null.
  static Form& live(const Form* form);
  [[noreturn]] static void raiseUnloaded();

  std::string get_Caption() const;
  void put_Caption(std::string caption);
  float get_ClientWidth() const;   // twips
  void put_ClientWidth(float twips);
  float get_ClientHeight() const;  // twips
  void put_ClientHeight(float twips);
  int16_t get_ScaleMode() const { return m_scale.mode(); }
  void put_ScaleMode(int16_t mode);
  float get_ScaleWidth() const { return scaleExtent(Axis::X); }
  void put_ScaleWidth(float units) { setScaleExtent(Axis::X, units); }
  float get_ScaleHeight() const { return scaleExtent(Axis::Y); }
  void put_ScaleHeight(float units) { setScaleExtent(Axis::Y, units); }
  bool get_KeyPreview() const { return m_keyPreview; }
  void put_KeyPreview(bool preview) { m_keyPreview = preview; }
  ObjectPtr get_ActiveControl() const;  // nullptr when no control of the form has the focus
  ObjectPtr get_Controls() const;
  int32_t get_hWnd() const { return hWnd(); }

  // Controls in creation order; the form owns them.
  const std::vector<ControlPtr>& controls() const { return m_controls; }
  ControlPtr findControl(std::string_view name, int16_t index = -1) const;
  bool isControlArray(std::string_view name) const;

  // Creates a control by class id ("Forms.PictureBox" or "Library.Class"). Error 5 for an
  // empty name or a container that cannot hold controls, 457 for a name already taken.
  // A user control gets Initialize and InitProperties (or ReadProperties from the
  // bag), and Show when the form is already shown.
  struct AddOptions {
    int16_t index = -1;
    bool multiLine = false;              // text boxes
    const PropertyBag* bag = nullptr;    // user controls: ReadProperties from it instead of InitProperties,
                                         // and what was read is noted in it (PropertyBag::unread)
    // User controls: runs after Initialize and before the properties are read, so the
    // control is sited (position, size, tab index) when its class reads them.
    std::function<void(Control&)> site;
  };
  ControlPtr addControl(const std::string& classId, const std::string& name, Window* container = nullptr);
  ControlPtr addControl(const std::string& classId, const std::string& name, Window* container,
                        const AddOptions& options);

  // Removes a control and everything it holds: their windows go, user controls end, and
  // whatever still holds one of them gets error 91 from it.
  void removeControl(Control& control);
  // Where a control stands in controls(), the order a save writes each container's
  // controls in.
  std::size_t orderOf(const Control& control) const;
  // Moves the controls from `first` to the end of controls() to `position` (clamped),
  // keeping their own order: a block just made takes the place of one removed.
  void placeInOrder(std::size_t first, std::size_t position);

  // The form's widget goes inside `host` as a plain child widget, without a window frame,
  // where a designer shows the form it edits.
  void embedIn(QWidget* host);
  // In design mode, told of each PropertyChanged a user control of the form calls.
  using PropertyChangedHook = std::function<void(Control&, const std::string&)>;
  void setPropertyChangedHook(PropertyChangedHook hook) { m_propertyChangedHook = std::move(hook); }
  void propertyChanged(Control& control, const std::string& name);

  void Show();
  void Hide();
  // Raises Unload(Cancel); a handler that sets Cancel to non-zero keeps the form loaded,
  // and an error in one reaches the caller with the form still loaded. Otherwise destroys
  // the windows (see win32::runtime::destroyWindow), ends the user controls, and detaches
  // and releases the controls.
  void Unload();

  // Handlers by control name and event name, as a program's event procedures; the
  // form's own events use the form's name.
  void on(std::string controlName, std::string eventName, FormEventHandler handler);
  void dispatchEvent(const std::string& sourceName, int16_t index, std::string_view event, Args& args);
  void raiseEvent(std::string_view event, Args& args) override;


  // Keyboard routing helpers.
  Control* activeControl() const;
  // Moves the focus to the next (or previous) control in tab order, wrapping round. A
  // group of option buttons is one stop: its checked button, else its first.
  void tabToNext(bool backwards);
  // An arrow key on an option button of this form: the focus and the check move round
  // its group in tab order. False for any other window.
  bool arrowInGroup(Window& from, bool backwards);
  // The controls in tab order: by TabIndex, ties in creation order.
  std::vector<Control*> tabOrder() const;
  // Where Tab stops, in the order it goes: the controls that can take the focus, an
  // option group once (its checked button, else its first).
  std::vector<Control*> tabStops() const;

 protected:
  win32::LRESULT classProcedure(win32::UINT msg, win32::WPARAM wParam, win32::LPARAM lParam) override;

 private:
  Form(std::string name, bool designMode);
  friend class Control;
  // Raises Unload; true when no handler set Cancel.
  bool raiseUnload();
  void release();
  void forgetControl(Control* control);
  void keepControl(const ControlPtr& control);
  const std::vector<Control*>& named(std::string_view name) const;
  // A control whose window was destroyed is gone from the form, and its name is free.
  void dropDestroyedControls();

  std::string m_name;
  bool m_designMode = false;
  bool m_keyPreview = false;
  bool m_unloaded = false;
  bool m_unloading = false;  // the Unload event is running
  Scale m_scale;
  std::vector<ControlPtr> m_controls;
  // The same controls by folded name, for lookups and the name clash check.
  std::unordered_map<std::string, std::vector<Control*>> m_byName;
  uint64_t m_destroyedSeen = 0;  // windows gone when the controls were last checked
  // Every control made for this form, constituents included, to detach at unload.
  std::vector<Control*> m_attached;
  struct Subscription {
    std::string control;  // folded
    std::string event;    // folded
    FormEventHandler handler;
  };
  std::vector<Subscription> m_subscriptions;
  mutable std::shared_ptr<ControlsCollection> m_controlsObject;
  PropertyChangedHook m_propertyChangedHook;
};

using FormPtr = std::shared_ptr<Form>;

// The Controls object of a form: Count, Item(name or position), Add(classId, name[, container]).
// Item of a control array's name gives the array, whose Item(index) gives an element.
// Both may outlive their form, which they do not keep: then they answer with error 91.
class ControlsCollection : public Object {
 public:
  explicit ControlsCollection(std::weak_ptr<Object> form) : m_form(std::move(form)) {}
  const ClassInfo& classInfo() const override;
  Variant invoke(std::string_view member, CallKind kind, Args& args) override;

 private:
  std::weak_ptr<Object> m_form;
};

class ControlArray : public Object {
 public:
  ControlArray(std::weak_ptr<Object> form, std::string name) : m_form(std::move(form)), m_name(std::move(name)) {}
  const ClassInfo& classInfo() const override;
  Variant invoke(std::string_view member, CallKind kind, Args& args) override;

 private:
  std::weak_ptr<Object> m_form;
  std::string m_name;
};

}  // namespace forms
