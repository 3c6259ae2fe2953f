#pragma once
// Hosting of custom controls: the class a control library implements (ControlClass),
// the hosting object it is given (UserControl), and the control on the form that
// stands for it (UserControlHost, which is also its extender).
#include <optional>
#include <string>

#include "forms/control.h"
#include "forms/propertybag.h"

namespace forms {

class UserControl;
class UserControlHost;

// The custom control. Notifications come in this order: Initialize, InitProperties or
// ReadProperties, Show, then Resize, Paint, AmbientChanged, input, WriteProperties,
// and Terminate once its windows are gone.
class ControlClass : public Object {
 public:
  ~ControlClass() override;
  // The hosting object; error 91 once the control's host is gone (its form unloaded),
  // which code still running in the control after an unload must be ready for.
  UserControl& userControl() const {
    if (!m_userControl) throw Error(err::ObjectNotSet, "The control is no longer hosted on a form");
    return *m_userControl;
  }
  bool hosted() const { return m_userControl != nullptr; }

  virtual void Initialize() {}
  virtual void InitProperties() {}
  virtual void ReadProperties(PropertyBag& bag) { (void)bag; }
  virtual void WriteProperties(PropertyBag& bag) { (void)bag; }
  virtual void Show() {}
  virtual void Hide() {}
  virtual void Resize() {}
  virtual void Paint() {}
  virtual void AmbientChanged(const std::string& propertyName) { (void)propertyName; }
  virtual void Click() {}
  virtual void DblClick() {}
  virtual void KeyDown(int16_t& keyCode, int16_t& shift) { (void)keyCode, (void)shift; }
  virtual void KeyPress(int16_t& keyAscii) { (void)keyAscii; }
  virtual void KeyUp(int16_t& keyCode, int16_t& shift) { (void)keyCode, (void)shift; }
  virtual void MouseDown(int16_t& button, int16_t& shift, float& x, float& y) { (void)button, (void)shift, (void)x, (void)y; }
  virtual void MouseMove(int16_t& button, int16_t& shift, float& x, float& y) { (void)button, (void)shift, (void)x, (void)y; }
  virtual void MouseUp(int16_t& button, int16_t& shift, float& x, float& y) { (void)button, (void)shift, (void)x, (void)y; }
  virtual void Terminate() {}

  // Whether controls can be placed inside (the designer's container flag).
  virtual bool isContainerClass() const { return false; }

 private:
  friend class UserControlHost;
  UserControl* m_userControl = nullptr;
};

// Ambient and UserControl may outlive their host (a control library can keep them):
// the host clears their pointer to it when it goes, and they answer with error 91.
class Ambient : public Object {
 public:
  explicit Ambient(UserControlHost* host) : m_host(host) {}
  const ClassInfo& classInfo() const override;
  bool get_UserMode() const;
  int32_t get_BackColor() const;
  std::string get_ScaleUnits() const;

 private:
  friend class UserControlHost;
  UserControlHost& host() const;
  UserControlHost* m_host;
};

class UserControl : public Object {
 public:
  explicit UserControl(UserControlHost* host);
  const ClassInfo& classInfo() const override;

  int32_t get_hWnd() const;
  int32_t get_ContainerHwnd() const;
  int16_t get_ScaleMode() const;
  void put_ScaleMode(int16_t mode);
  float get_ScaleWidth() const;
  float get_ScaleHeight() const;
  float ScaleX(float value, int16_t fromMode, int16_t toMode) const;
  float ScaleY(float value, int16_t fromMode, int16_t toMode) const;
  void PaintPicture(const ObjectPtr& picture, float x, float y, std::optional<float> width = {},
                    std::optional<float> height = {});
  void Refresh();
  // Keeps contained controls out of strips along the right and bottom edges (in
  // pixels), where the control's own pieces go.
  void ClipContents(int rightPixels, int bottomPixels);
  int32_t get_BackColor() const { return static_cast<int32_t>(m_backColor); }
  void put_BackColor(int32_t color);
  int16_t get_Appearance() const { return m_appearance; }
  void put_Appearance(int16_t v);
  int16_t get_BorderStyle() const { return m_borderStyle; }
  void put_BorderStyle(int16_t v);
  bool get_Enabled() const;
  void put_Enabled(bool enabled);
  std::string get_Tag() const { return m_tag; }
  void put_Tag(std::string tag) { m_tag = std::move(tag); }
  int16_t get_MousePointer() const;
  void put_MousePointer(int16_t pointer);
  ObjectPtr get_MouseIcon() const;
  void put_MouseIcon(ObjectPtr icon);
  // Marks the form as changed.
  void PropertyChanged(const std::string& name);

  // Controls the host placed in this control (its container is the control).
  std::vector<ControlPtr> ContainedControls() const;
  // Every control of the form.
  std::vector<ControlPtr> ParentControls() const;
  // The same list in place, for a scan that runs no host code while it reads: adding
  // or removing a control during the scan would invalidate it.
  const std::vector<ControlPtr>& parentControlsInPlace() const;
  ObjectPtr get_Parent() const;     // the form
  ObjectPtr get_Extender() const;   // the control as the form knows it
  ObjectPtr get_Ambient() const;

  // Raises an event of the control's event interface to the host's handlers.
  void RaiseEvent(std::string_view event, Args& args);

  // A control that the class itself creates on its own surface (a constituent
  // control): not among the form's controls nor the contained controls.
  ControlPtr addConstituent(const std::string& classId, const std::string& name);

  // Error 91 once the host is gone.
  UserControlHost& host() const;

 private:
  friend class UserControlHost;
  UserControlHost* m_host;
  uint32_t m_backColor = 0x8000000F;
  int16_t m_appearance = 1;
  int16_t m_borderStyle = 0;
  std::string m_tag;
  std::shared_ptr<Ambient> m_ambient;
};

class UserControlHost : public Control {
 public:
  UserControlHost(const Init& init, std::shared_ptr<ControlClass> instance, const ClassInfo& typeInfo);
  ~UserControlHost() override;

  // The extender answers Name, Index, Container, Left, Top, Width, Height, Visible,
  // Enabled, TabIndex, Parent and the common control members; every other name goes
  // to the control itself.
  const ClassInfo& classInfo() const override;
  Variant invoke(std::string_view member, CallKind kind, Args& args) override;
  void raiseEvent(std::string_view event, Args& args) override;
  // Whether a call by this name reaches the extender rather than the control's class.
  bool extenderAnswers(std::string_view member) const;

  bool isContainer() const override { return m_instance && m_instance->isContainerClass(); }
  Scale* ownScale() override { return &m_scale; }
  QWidget* clientWidget() const override;
  QWidget* contentWidget() const override;
  bool takesFocus() const override { return true; }

  ControlClass& instance() const { return *m_instance; }
  std::shared_ptr<ControlClass> instancePtr() const { return m_instance; }
  UserControl& userControl() const { return *m_userControl; }
  const ClassInfo& typeInfo() const { return m_typeInfo; }
  std::vector<ControlPtr>& constituents() { return m_constituents; }

  // Lifecycle driven by the form.
  void initialize();
  void initProperties();
  void readProperties(PropertyBag& bag);
  void writeProperties(PropertyBag& bag);
  // Show and Hide reach the class once per change of the form's visibility.
  void show();
  void hide();
  void terminate();
  void ambientChanged(const std::string& name);
  bool terminated() const { return m_terminated; }

  // Input notifications go to the control class.
  void keyDown(int16_t& keyCode, int16_t& shift) override;
  void keyPress(int16_t& keyAscii) override;
  void keyUp(int16_t& keyCode, int16_t& shift) override;
  void mouseEvent(std::string_view event, int16_t& button, int16_t& shift, float& x, float& y) override;
  void click() override;
  void dblClick() override;
  void paint(QPainter& painter);
  QPainter* activePainter() const { return m_painter; }

  // PropertyChanged marks the control as changed until its properties are next written.
  bool changed() const { return m_changed; }
  void propertyChanged(const std::string& name);
  const std::vector<std::string>& propertyChanges() const { return m_propertyChanges; }

 protected:
  win32::LRESULT classProcedure(win32::UINT msg, win32::WPARAM wParam, win32::LPARAM lParam) override;

 private:
  std::shared_ptr<ControlClass> m_instance;
  const ClassInfo& m_typeInfo;
  std::shared_ptr<UserControl> m_userControl;
  std::vector<ControlPtr> m_constituents;
  Scale m_scale;
  QPainter* m_painter = nullptr;
  bool m_propertiesRead = false;  // Resize goes to the class only from then on
  bool m_shown = false;
  bool m_terminated = false;
  bool m_changed = false;
  std::vector<std::string> m_propertyChanges;
};

}  // namespace forms
