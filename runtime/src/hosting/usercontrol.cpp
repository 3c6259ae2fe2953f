#include "forms/usercontrol.h"

#include <algorithm>

#include "forms/collection.h"
#include "forms/form.h"
#include "forms/msgbox.h"
#include "forms/picturebox.h"
#include "forms/standard_classes.h"
#include "forms/units.h"
#include "../forms/surface_widget.h"

namespace forms {

namespace {

SurfaceWidget* surfaceOf(const UserControlHost& host) { return static_cast<SurfaceWidget*>(host.widget()); }

// Names the extender always answers itself; other extender names go to the control
// when its class has a member of that name.
bool extenderOnly(std::string_view member) {
  for (const char* n : {"Name", "Index", "Container", "Left", "Top", "Width", "Height", "Visible", "TabIndex", "TabStop",
                        "Parent", "Move", "ZOrder", "SetFocus", "hWnd"})
    if (equalsNoCase(member, n)) return true;
  return false;
}

int borderWidth(int16_t appearance, int16_t borderStyle) { return borderStyle == 0 ? 0 : appearance == 0 ? 1 : 2; }

}  // namespace

ControlClass::~ControlClass() = default;

// Ambient properties.

const ClassInfo& Ambient::classInfo() const {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "AmbientProperties";
    ClassBuilder<Ambient> b(c);
    b.getter("UserMode", &Ambient::get_UserMode);
    b.getter("BackColor", &Ambient::get_BackColor);
    b.getter("ScaleUnits", &Ambient::get_ScaleUnits);
    return c;
  }();
  return info;
}

UserControlHost& Ambient::host() const {
  if (!m_host) Form::raiseUnloaded();
  m_host->owner();  // what a container tells its controls goes with the form
  return *m_host;
}

bool Ambient::get_UserMode() const { return !host().owner().designMode(); }

int32_t Ambient::get_BackColor() const {
  Window* container = host().containerWindow();
  if (auto* pb = dynamic_cast<PictureBox*>(container)) return pb->get_BackColor();
  return static_cast<int32_t>(0x8000000Fu);
}

std::string Ambient::get_ScaleUnits() const {
  Window* container = host().containerWindow();
  return scaleUnitsName(container ? container->contentScale().mode() : int{ScaleTwips});
}

// The hosting object.

UserControl::UserControl(UserControlHost* host) : m_host(host), m_ambient(std::make_shared<Ambient>(host)) {}

UserControlHost& UserControl::host() const {
  if (!m_host) Form::raiseUnloaded();
  return *m_host;
}

const ClassInfo& UserControl::classInfo() const {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "UserControl";
    ClassBuilder<UserControl> b(c);
    b.getter("hWnd", &UserControl::get_hWnd);
    b.getter("ContainerHwnd", &UserControl::get_ContainerHwnd);
    b.property("ScaleMode", &UserControl::get_ScaleMode, &UserControl::put_ScaleMode);
    b.getter("ScaleWidth", &UserControl::get_ScaleWidth);
    b.getter("ScaleHeight", &UserControl::get_ScaleHeight);
    addScaleMethods(b, [](UserControl& u) -> const Window& { return u.host(); });
    b.method("Refresh", [](UserControl& u, Args&) {
      u.Refresh();
      return Variant();
    });
    b.method("PropertyChanged", [](UserControl& u, Args& a) {
      u.PropertyChanged(a.empty() ? std::string() : a[0].toString());
      return Variant();
    });
    b.property("BackColor", &UserControl::get_BackColor, &UserControl::put_BackColor);
    b.property("Appearance", &UserControl::get_Appearance, &UserControl::put_Appearance);
    b.property("BorderStyle", &UserControl::get_BorderStyle, &UserControl::put_BorderStyle);
    b.property("Enabled", &UserControl::get_Enabled, &UserControl::put_Enabled);
    b.property("Tag", &UserControl::get_Tag, &UserControl::put_Tag);
    b.property("MousePointer", &UserControl::get_MousePointer, &UserControl::put_MousePointer);
    b.objectProperty("MouseIcon", &UserControl::get_MouseIcon, &UserControl::put_MouseIcon);
    b.getter("Parent", &UserControl::get_Parent);
    b.getter("Extender", &UserControl::get_Extender);
    b.getter("Ambient", &UserControl::get_Ambient);
    return c;
  }();
  return info;
}

int32_t UserControl::get_hWnd() const { return host().hWnd(); }

int32_t UserControl::get_ContainerHwnd() const {
  Window* c = host().containerWindow();
  return c ? c->hWnd() : 0;
}

int16_t UserControl::get_ScaleMode() const { return host().ownScale()->mode(); }

void UserControl::put_ScaleMode(int16_t mode) { host().setScaleMode(mode); }

float UserControl::get_ScaleWidth() const { return host().scaleExtent(Axis::X); }
float UserControl::get_ScaleHeight() const { return host().scaleExtent(Axis::Y); }

float UserControl::ScaleX(float value, int16_t fromMode, int16_t toMode) const {
  return host().scaleConvert(Axis::X, value, fromMode, toMode);
}
float UserControl::ScaleY(float value, int16_t fromMode, int16_t toMode) const {
  return host().scaleConvert(Axis::Y, value, fromMode, toMode);
}

void UserControl::PaintPicture(const ObjectPtr& picture, float x, float y, std::optional<float> width,
                               std::optional<float> height) {
  paintPictureAt(host().activePainter(), host(), picture, x, y, width, height);
}

void UserControl::Refresh() {
  if (QWidget* c = host().clientWidget()) c->update();
}

void UserControl::put_BackColor(int32_t color) {
  m_backColor = static_cast<uint32_t>(color);
  if (SurfaceWidget* surface = surfaceOf(host())) surface->setBackground(toQColor(m_backColor));
}

void UserControl::put_Appearance(int16_t v) {
  if (v != 0 && v != 1) throw Error(err::InvalidPropertyValue);
  m_appearance = v;
  setSurfaceBorder(host(), borderWidth(m_appearance, m_borderStyle));
}

void UserControl::put_BorderStyle(int16_t v) {
  if (v != 0 && v != 1) throw Error(err::InvalidPropertyValue);
  m_borderStyle = v;
  setSurfaceBorder(host(), borderWidth(m_appearance, m_borderStyle));
}

bool UserControl::get_Enabled() const { return host().Control::get_Enabled(); }
void UserControl::put_Enabled(bool enabled) { host().Control::put_Enabled(enabled); }
int16_t UserControl::get_MousePointer() const { return host().Control::get_MousePointer(); }
void UserControl::put_MousePointer(int16_t pointer) { host().Control::put_MousePointer(pointer); }
ObjectPtr UserControl::get_MouseIcon() const { return host().Control::get_MouseIcon(); }
void UserControl::put_MouseIcon(ObjectPtr icon) { host().Control::put_MouseIcon(std::move(icon)); }

void UserControl::ClipContents(int rightPixels, int bottomPixels) {
  if (auto* w = static_cast<SurfaceWidget*>(host().widget())) w->setContentInsets(std::max(0, rightPixels), std::max(0, bottomPixels));
}

void UserControl::PropertyChanged(const std::string& name) { host().propertyChanged(name); }

std::vector<ControlPtr> UserControl::ContainedControls() const {
  host().owner();  // only while the form is there
  return host().childControls();
}

std::vector<ControlPtr> UserControl::ParentControls() const { return parentControlsInPlace(); }

const std::vector<ControlPtr>& UserControl::parentControlsInPlace() const { return host().owner().controls(); }

ObjectPtr UserControl::get_Parent() const { return host().owner().shared_from_this(); }
ObjectPtr UserControl::get_Extender() const {
  host().owner();  // the control as its form knows it, so only while there is one
  return host().shared_from_this();
}
ObjectPtr UserControl::get_Ambient() const { return m_ambient; }

void UserControl::RaiseEvent(std::string_view event, Args& args) {
  // Only the events the class declares, each with its own number of arguments.
  const EventInfo* declared = host().typeInfo().findEvent(event);
  if (!declared || declared->params.size() != args.size())
    throw Error(err::InvalidCall, "'" + std::string(event) + "' is not an event of " + host().typeInfo().name + " with " +
                                      std::to_string(args.size()) + " arguments");
  host().raiseEvent(event, args);
}

ControlPtr UserControl::addConstituent(const std::string& classId, const std::string& name) {
  ControlPtr c = createStandardControl(classId, Control::Init{&host().owner(), classId, name, -1, m_host}, false);
  if (!c) throw Error(err::CannotCreateObject, "'" + classId + "' cannot be a constituent control");
  c->markConstituent();
  host().constituents().push_back(c);
  return c;
}

// The control on the form.

UserControlHost::UserControlHost(const Init& init, std::shared_ptr<ControlClass> instance, const ClassInfo& typeInfo)
    : Control(init), m_instance(std::move(instance)), m_typeInfo(typeInfo) {
  if (!m_instance) throw Error(err::CannotCreateObject, "The control library could not create '" + init.classId + "'");
  m_userControl = std::make_shared<UserControl>(this);
  m_instance->m_userControl = m_userControl.get();
  auto* w = new SurfaceWidget(nullptr);
  // A new control's design size: 3840 by 2880 twips.
  w->resize(twipsToPixels(Axis::X, 3840), twipsToPixels(Axis::Y, 2880));
  w->setFocusPolicy(Qt::StrongFocus);
  w->setBackground(toQColor(0x8000000Fu));
  w->paintContents = [this](QPainter& p) { paint(p); };
  w->addContentArea();
  attachControlWidget(w, win32::runtime::WheelRole::EndWalk);
}

UserControlHost::~UserControlHost() {
  m_constituents.clear();
  m_instance->m_userControl = nullptr;
  m_userControl->m_host = nullptr;
  m_userControl->m_ambient->m_host = nullptr;
}

QWidget* UserControlHost::clientWidget() const {
  auto* w = static_cast<SurfaceWidget*>(widget());
  return w ? w->client() : nullptr;
}

QWidget* UserControlHost::contentWidget() const {
  auto* w = static_cast<SurfaceWidget*>(widget());
  return w ? w->content() : nullptr;
}

const ClassInfo& UserControlHost::classInfo() const { return Control::commonClassInfo(); }

bool UserControlHost::extenderAnswers(std::string_view member) const {
  return Control::commonClassInfo().find(member) != nullptr && (extenderOnly(member) || !m_typeInfo.find(member));
}

Variant UserControlHost::invoke(std::string_view member, CallKind kind, Args& args) {
  owner();
  if (extenderAnswers(member)) return Control::invoke(member, kind, args);
  return m_instance->invoke(member, kind, args);
}

void UserControlHost::raiseEvent(std::string_view event, Args& args) { Control::raiseEvent(event, args); }

void UserControlHost::propertyChanged(const std::string& name) {
  m_changed = true;
  m_propertyChanges.push_back(name);
  if (Form* f = form()) f->propertyChanged(*this, name);
}

void UserControlHost::initialize() { m_instance->Initialize(); }
void UserControlHost::initProperties() {
  m_instance->InitProperties();
  m_propertiesRead = true;
}

void UserControlHost::readProperties(PropertyBag& bag) {
  try {
    m_instance->ReadProperties(bag);
  } catch (const Error& e) {
    // A value the control cannot take fails the load, naming the entry it came from.
    if (bag.lastRead().empty()) throw;
    throw Error(e.number(), "property bag entry '" + bag.lastRead() + "': " + e.description());
  }
  m_propertiesRead = true;
}

void UserControlHost::writeProperties(PropertyBag& bag) {
  m_instance->WriteProperties(bag);
  m_changed = false;
}

void UserControlHost::show() {
  if (m_terminated || m_shown) return;
  m_shown = true;
  m_instance->Show();
}

void UserControlHost::hide() {
  if (m_terminated || !m_shown) return;
  m_shown = false;
  m_instance->Hide();
}

void UserControlHost::terminate() {
  if (m_terminated) return;
  m_terminated = true;
  guarded([&] { m_instance->Terminate(); });
}

void UserControlHost::ambientChanged(const std::string& name) {
  if (!m_terminated) m_instance->AmbientChanged(name);
}

void UserControlHost::keyDown(int16_t& keyCode, int16_t& shift) { m_instance->KeyDown(keyCode, shift); }
void UserControlHost::keyPress(int16_t& keyAscii) { m_instance->KeyPress(keyAscii); }
void UserControlHost::keyUp(int16_t& keyCode, int16_t& shift) { m_instance->KeyUp(keyCode, shift); }

void UserControlHost::mouseEvent(std::string_view event, int16_t& button, int16_t& shift, float& x, float& y) {
  if (equalsNoCase(event, "MouseDown")) m_instance->MouseDown(button, shift, x, y);
  else if (equalsNoCase(event, "MouseMove")) m_instance->MouseMove(button, shift, x, y);
  else if (equalsNoCase(event, "MouseUp")) m_instance->MouseUp(button, shift, x, y);
}

void UserControlHost::click() { m_instance->Click(); }
void UserControlHost::dblClick() { m_instance->DblClick(); }

void UserControlHost::paint(QPainter& painter) {
  if (m_terminated) return;
  m_painter = &painter;
  guarded([&] { m_instance->Paint(); });
  m_painter = nullptr;
}

win32::LRESULT UserControlHost::classProcedure(win32::UINT msg, win32::WPARAM, win32::LPARAM) {
  // Siting the control before its properties are read is not a resize it needs to hear of.
  if (msg == win32::WM_SIZE && m_propertiesRead && !m_terminated) guarded([&] { m_instance->Resize(); });
  return 0;
}

}  // namespace forms
