#include "forms/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScopedValueRollback>
#include <algorithm>
#include <utility>

#include "forms/collection.h"
#include "forms/library.h"
#include "forms/msgbox.h"
#include "forms/simple_controls.h"
#include "forms/standard_classes.h"
#include "forms/units.h"
#include "forms/usercontrol.h"

namespace forms {

namespace {

// The top-level widget of a form; closing the window unloads the form.
class FormWidget : public QWidget {
 public:
  explicit FormWidget(Form* form) : m_form(form) { setAutoFillBackground(true); }

 protected:
  bool event(QEvent* event) override {
    // A new application font would reach the controls that show theirs by inheriting.
    if (event->type() == QEvent::ApplicationFontChange) Control::keepOwnFontsWithin(this);
    return QWidget::event(event);
  }

  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    // The window goes only when the form unloads, which a handler may cancel.
    if (m_form->loaded()) guarded([this] { m_form->Unload(); });
  }

 private:
  Form* m_form;
};

std::vector<UserControlHost*> userControls(const std::vector<ControlPtr>& controls) {
  std::vector<UserControlHost*> out;
  for (auto& c : controls)
    if (auto* h = dynamic_cast<UserControlHost*>(c.get())) out.push_back(h);
  return out;
}

}  // namespace

std::shared_ptr<Form> Form::create(std::string name, bool designMode) {
  std::shared_ptr<Form> form(new Form(std::move(name), designMode));
  return form;
}

Form::Form(std::string name, bool designMode) : m_name(std::move(name)), m_designMode(designMode) {
  auto* w = new FormWidget(this);
  w->setWindowTitle(QString::fromStdString(m_name));
  w->resize(320, 240);  // its face takes the application's colour (see Application)
  attachWidget(w, 0, win32::runtime::WheelRole::EndWalk);
}

Form::~Form() {
  if (m_unloaded) return;
  // Too late to cancel: the handlers hear of it, and the form goes whatever they say.
  m_unloading = true;
  guarded([this] { raiseUnload(); });
  release();
}

Form& Form::live(const Form* form) {
  if (!form || form->m_unloaded) raiseUnloaded();
  return *const_cast<Form*>(form);
}

void Form::raiseUnloaded() {
  throw Error(err::ObjectNotSet, "The form was unloaded: neither it nor its controls can be used any more");
}

Variant Form::invoke(std::string_view member, CallKind kind, Args& args) {
  live(this);
  return Window::invoke(member, kind, args);
}

const ClassInfo& Form::classInfo() const {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "Form";
    ClassBuilder<Form> b(c);
    b.getter("Name", &Form::get_Name);
    b.property("Caption", &Form::get_Caption, &Form::put_Caption);
    b.property("ClientWidth", &Form::get_ClientWidth, &Form::put_ClientWidth);
    b.property("ClientHeight", &Form::get_ClientHeight, &Form::put_ClientHeight);
    b.property("ScaleMode", &Form::get_ScaleMode, &Form::put_ScaleMode);
    b.property("ScaleWidth", &Form::get_ScaleWidth, &Form::put_ScaleWidth);
    b.property("ScaleHeight", &Form::get_ScaleHeight, &Form::put_ScaleHeight);
    b.property("KeyPreview", &Form::get_KeyPreview, &Form::put_KeyPreview);
    b.getter("ActiveControl", &Form::get_ActiveControl);
    b.getter("Controls", &Form::get_Controls);
    b.getter("hWnd", &Form::get_hWnd);
    addScaleMethods(b, [](Form& f) -> const Window& { return f; });
    b.method("Show", [](Form& f, Args&) {
      f.Show();
      return Variant();
    });
    b.method("Hide", [](Form& f, Args&) {
      f.Hide();
      return Variant();
    });
    return c;
  }();
  return info;
}

std::string Form::get_Caption() const { return widget() ? widget()->windowTitle().toStdString() : std::string(); }

void Form::put_Caption(std::string caption) {
  if (widget()) widget()->setWindowTitle(QString::fromStdString(caption));
}

float Form::get_ClientWidth() const { return static_cast<float>(clientTwips(Axis::X)); }
float Form::get_ClientHeight() const { return static_cast<float>(clientTwips(Axis::Y)); }

void Form::put_ClientWidth(float twips) {
  if (twips < 0) throw Error(err::InvalidPropertyValue);
  if (!widget()) return;
  widget()->resize(twipsToPixels(Axis::X, twips), widget()->height());
  win32::runtime::notifySize(hWnd());
}

void Form::put_ClientHeight(float twips) {
  if (twips < 0) throw Error(err::InvalidPropertyValue);
  if (!widget()) return;
  widget()->resize(widget()->width(), twipsToPixels(Axis::Y, twips));
  win32::runtime::notifySize(hWnd());
}

void Form::put_ScaleMode(int16_t mode) { setScaleMode(mode); }

Control* Form::activeControl() const {
  QWidget* focus = QApplication::focusWidget();
  for (Window* w = Window::fromWidget(focus); w && w != this; w = w->containerWindow()) {
    auto* c = dynamic_cast<Control*>(w);
    if (c && !c->isConstituent() && c->form() == this) return c;
  }
  return nullptr;
}

ObjectPtr Form::get_ActiveControl() const {
  Control* c = activeControl();
  return c ? c->shared_from_this() : nullptr;
}

ObjectPtr Form::get_Controls() const {
  live(this);
  if (!m_controlsObject) m_controlsObject = std::make_shared<ControlsCollection>(const_cast<Form*>(this)->weak_from_this());
  return m_controlsObject;
}

const std::vector<Control*>& Form::named(std::string_view name) const {
  static const std::vector<Control*> none;
  auto it = m_byName.find(lowerCase(name));
  return it == m_byName.end() ? none : it->second;
}

void Form::keepControl(const ControlPtr& control) {
  m_controls.push_back(control);
  m_byName[lowerCase(control->name())].push_back(control.get());
}

ControlPtr Form::findControl(std::string_view name, int16_t index) const {
  for (Control* c : named(name))
    if (c->index() == index) return std::static_pointer_cast<Control>(c->shared_from_this());
  return nullptr;
}

bool Form::isControlArray(std::string_view name) const {
  const auto& same = named(name);
  return std::any_of(same.begin(), same.end(), [](const Control* c) { return c->inArray(); });
}

ControlPtr Form::addControl(const std::string& classId, const std::string& name, Window* container) {
  return addControl(classId, name, container, AddOptions{});
}

ControlPtr Form::addControl(const std::string& classId, const std::string& name, Window* container,
                            const AddOptions& options) {
  live(this);
  if (name.empty()) throw Error(err::InvalidCall, "A control needs a name");
  dropDestroyedControls();
  if (!container) container = this;
  if (!container->isContainer() || container->form() != this) throw Error(err::InvalidCall, "Invalid container");
  const auto& same = named(name);
  const bool clash = std::any_of(same.begin(), same.end(), [&](const Control* c) {
    return c->index() == options.index || c->inArray() != (options.index >= 0);
  });
  if (clash) throw Error(err::DuplicateKey, "There is already a control with the name '" + name + "'");

  const Control::Init init{this, classId, name, options.index, container};
  ControlPtr control = createStandardControl(classId, init, options.multiLine);
  if (control) {
    keepControl(control);
    if (options.site) {
      try {
        options.site(*control);
      } catch (...) {
        forgetControl(control.get());
        throw;
      }
    }
    return control;
  }
  const ControlFactory& factory = findControlClass(classId);
  auto host = std::make_shared<UserControlHost>(init, factory.create(), *factory.typeInfo);
  keepControl(host);
  try {
    host->initialize();
    if (options.site) options.site(*host);
    if (options.bag) {
      // A copy, so the class cannot change the caller's bag; the caller still learns
      // which entries it read.
      PropertyBag bag = *options.bag;
      host->readProperties(bag);
      options.bag->noteReadsOf(bag);
    } else {
      host->initProperties();
    }
    if (widget() && widget()->isVisible()) host->show();
  } catch (...) {
    forgetControl(host.get());
    throw;
  }
  return host;
}

void Form::dropDestroyedControls() {
  // Nothing to look for unless some window went since the last look.
  const uint64_t destroyed = win32::runtime::destroyedWindowCount();
  if (destroyed == m_destroyedSeen) return;
  m_destroyedSeen = destroyed;
  std::vector<Control*> gone;
  for (auto& c : m_controls)
    if (!win32::IsWindow(c->hWnd())) gone.push_back(c.get());
  for (Control* c : gone) forgetControl(c);
}

void Form::forgetControl(Control* control) {
  auto it = std::find_if(m_controls.begin(), m_controls.end(), [&](const ControlPtr& c) { return c.get() == control; });
  if (it == m_controls.end()) return;
  ControlPtr keep = *it;
  m_controls.erase(it);
  auto& same = m_byName[lowerCase(keep->name())];
  std::erase(same, keep.get());
  if (same.empty()) m_byName.erase(lowerCase(keep->name()));
  if (auto* h = dynamic_cast<UserControlHost*>(keep.get())) {
    win32::runtime::destroyWindow(h->hWnd());
    h->terminate();
  }
}

void Form::removeControl(Control& control) {
  live(this);
  const ControlPtr keep = std::static_pointer_cast<Control>(control.shared_from_this());
  auto within = [&](const Window* w) {
    for (; w; w = w->containerWindow())
      if (w == &control) return true;
    return false;
  };
  std::vector<Control*> going;
  for (const ControlPtr& c : m_controls)
    if (within(c.get())) going.push_back(c.get());
  // Children's windows go with the control's, parents before children.
  win32::runtime::destroyWindow(control.hWnd());
  for (Control* c : going) forgetControl(c);
  // Constituents too: every object of the removed tree answers error 91 from now on.
  std::vector<Control*> detached;
  for (Control* c : m_attached)
    if (within(c)) detached.push_back(c);
  for (Control* c : detached) {
    std::erase(m_attached, c);
    if (c != &control && c->widget() && control.widget() && control.widget()->isAncestorOf(c->widget())) c->releaseWidget(true);
    c->detach();
  }
  control.releaseWidget();
}

std::size_t Form::orderOf(const Control& control) const {
  auto it = std::find_if(m_controls.begin(), m_controls.end(), [&](const ControlPtr& c) { return c.get() == &control; });
  return static_cast<std::size_t>(it - m_controls.begin());
}

void Form::placeInOrder(std::size_t first, std::size_t position) {
  if (first >= m_controls.size()) return;
  position = std::min(position, first);
  const std::size_t count = m_controls.size() - first;
  const auto at = [&](std::size_t i) { return m_controls.begin() + static_cast<std::ptrdiff_t>(i); };
  std::rotate(at(position), at(first), m_controls.end());
  // Each is stacked as ordered among its siblings: under the first one that follows it.
  for (std::size_t i = position; i < position + count; ++i) {
    Control* moved = m_controls[i].get();
    for (std::size_t j = position + count; j < m_controls.size(); ++j) {
      Control* next = m_controls[j].get();
      if (next->containerWindow() != moved->containerWindow()) continue;
      if (moved->widget() && next->widget()) moved->widget()->stackUnder(next->widget());
      break;
    }
  }
}

void Form::embedIn(QWidget* host) {
  live(this);
  widget()->setParent(host);  // a child widget now: no frame, no window of its own
  widget()->move(0, 0);
}

void Form::propertyChanged(Control& control, const std::string& name) {
  if (m_designMode && m_propertyChangedHook && !m_unloaded) m_propertyChangedHook(control, name);
}

void Form::Show() {
  live(this);
  widget()->show();
  win32::runtime::notifySize(hWnd());
  for (UserControlHost* h : userControls(m_controls)) h->show();
}

void Form::Hide() {
  if (widget()) widget()->hide();
  for (UserControlHost* h : userControls(m_controls)) h->hide();
}

void Form::Unload() {
  if (m_unloaded || m_unloading) return;
  {
    const QScopedValueRollback<bool> running(m_unloading, true);
    if (!raiseUnload()) return;
  }
  release();
}

bool Form::raiseUnload() {
  Args args{Variant(int16_t{0})};
  raiseEvent("Unload", args);
  return !args[0].toBool();
}

void Form::release() {
  m_unloaded = true;
  // Every window goes first; the user controls end once their windows are gone.
  win32::runtime::destroyWindow(hWnd());
  for (UserControlHost* h : userControls(m_controls)) h->terminate();
  // Whatever still holds a control gets error 91 from it now, never this form.
  for (Control* c : std::exchange(m_attached, {})) c->detach();
  std::vector<ControlPtr> controls;
  controls.swap(m_controls);
  m_byName.clear();
  // The controls' widgets go with the form's: deleting thousands one by one, each
  // leaving its parent's list of children, costs the square of their number.
  for (const ControlPtr& c : controls)
    if (widget() && c->widget() && widget()->isAncestorOf(c->widget())) c->releaseWidget(true);
  releaseWidget();
  controls.clear();
  m_subscriptions.clear();
  m_controlsObject.reset();
}

void Form::on(std::string controlName, std::string eventName, FormEventHandler handler) {
  m_subscriptions.push_back({lowerCase(controlName), lowerCase(eventName), std::move(handler)});
}

void Form::dispatchEvent(const std::string& sourceName, int16_t index, std::string_view event, Args& args) {
  const std::string control = lowerCase(sourceName);
  const std::string name = lowerCase(event);
  std::vector<FormEventHandler> handlers;
  for (auto& s : m_subscriptions)
    if (s.control == control && s.event == name) handlers.push_back(s.handler);
  for (auto& h : handlers) {
    EventArgs e{index, args};
    h(e);
  }
}

void Form::raiseEvent(std::string_view event, Args& args) {
  raiseToHandlers(event, args);
  dispatchEvent(m_name, -1, event, args);
}

win32::LRESULT Form::classProcedure(win32::UINT msg, win32::WPARAM, win32::LPARAM) {
  if (msg == win32::WM_SIZE) {
    Args args;
    raiseEvent("Resize", args);
  }
  return 0;
}

std::vector<Control*> Form::tabOrder() const {
  std::vector<Control*> order;
  for (auto& c : m_controls) order.push_back(c.get());
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->get_TabIndex() < b->get_TabIndex(); });
  return order;
}

namespace {

ButtonControl* asOption(Window* w) {
  auto* b = dynamic_cast<ButtonControl*>(w);
  return b && b->kind() == ButtonControl::Kind::Option ? b : nullptr;
}

// Where Tab stops in the group of `control` (`order` is the tab order): the checked
// button, else the first that can take the focus. Other controls are their own stops.
Control* tabStopOf(Control* control, const std::vector<Control*>& order) {
  ButtonControl* option = asOption(control);
  if (!option) return control;
  Control* first = nullptr;
  for (Control* c : order) {
    if (!option->groupedWith(*c) || !c->canTakeFocus()) continue;
    if (static_cast<ButtonControl*>(c)->get_Value().toBool()) return c;
    if (!first) first = c;
  }
  return first;
}

bool isTabStop(Control* c, const std::vector<Control*>& order) { return c->canTakeFocus() && tabStopOf(c, order) == c; }

}  // namespace

std::vector<Control*> Form::tabStops() const {
  const std::vector<Control*> all = tabOrder();
  std::vector<Control*> stops;
  for (Control* c : all)
    if (isTabStop(c, all)) stops.push_back(c);
  return stops;
}

void Form::tabToNext(bool backwards) {
  // The focused control keeps its place in the order even when Tab would not stop
  // there (TabStop off), so the walk goes on from it rather than from the start.
  Control* current = activeControl();
  const std::vector<Control*> all = tabOrder();
  std::vector<Control*> order;
  for (Control* c : all)
    if (c == current || isTabStop(c, all)) order.push_back(c);
  if (order.empty()) return;
  const std::size_t n = order.size();
  auto it = std::find(order.begin(), order.end(), current);
  // With nothing focused, start so that the first step lands on the first (or last) control.
  std::size_t pos = it == order.end() ? (backwards ? 0 : n - 1) : static_cast<std::size_t>(it - order.begin());
  ButtonControl* currentOption = asOption(current);
  for (std::size_t step = 0; step < n; ++step) {
    pos = backwards ? (pos + n - 1) % n : (pos + 1) % n;
    Control* next = order[pos];
    // Tab leaves the group it is in.
    if (next == current || (currentOption && currentOption->groupedWith(*next))) continue;
    next->takeFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    return;
  }
}

bool Form::arrowInGroup(Window& from, bool backwards) {
  ButtonControl* option = asOption(&from);
  if (!option || option->form() != this) return false;
  std::vector<Control*> group;
  for (Control* c : tabOrder())
    if (c == option || (option->groupedWith(*c) && c->canHaveFocus())) group.push_back(c);
  auto it = std::find(group.begin(), group.end(), option);
  if (it == group.end()) return false;  // a constituent of a user control
  const std::size_t n = group.size();
  const std::size_t pos = static_cast<std::size_t>(it - group.begin());
  auto* next = static_cast<ButtonControl*>(group[backwards ? (pos + n - 1) % n : (pos + 1) % n]);
  if (next == option) return true;
  next->takeFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
  next->select();
  return true;
}

// Controls collection and control arrays.

namespace {
// The members of a collection object, which answers them in its own invoke.
ClassInfo collectionInfo(const char* name, std::initializer_list<const char*> members) {
  ClassInfo c;
  c.name = name;
  for (const char* n : members) {
    MemberInfo m;
    m.name = n;
    m.kinds = CallKind::Method | CallKind::Get;
    c.add(std::move(m));
  }
  return c;
}

// The form of a collection, kept for the call; error 91 once it unloaded.
std::shared_ptr<Form> liveForm(const std::weak_ptr<Object>& form) {
  std::shared_ptr<Form> f = std::static_pointer_cast<Form>(form.lock());
  Form::live(f.get());
  return f;
}
}  // namespace

const ClassInfo& ControlsCollection::classInfo() const {
  static const ClassInfo info = collectionInfo("Controls", {"Item", "Count", "Add"});
  return info;
}

Variant ControlsCollection::invoke(std::string_view member, CallKind kind, Args& args) {
  const std::shared_ptr<Form> form = liveForm(m_form);
  if (kind == CallKind::Let || kind == CallKind::Set) throw Error(err::NoSuchMember);
  if (equalsNoCase(member, "Count")) return Variant(static_cast<int32_t>(form->controls().size()));
  if (equalsNoCase(member, "Item")) {
    if (args.size() != 1) throw Error(err::InvalidCall);
    if (args[0].type() == VarType::String) {
      const std::string name = args[0].toString();
      if (form->isControlArray(name)) return Variant(ObjectPtr(std::make_shared<ControlArray>(m_form, name)));
      if (ControlPtr c = form->findControl(name)) return Variant(ObjectPtr(c));
      throw Error(err::InvalidCall, "No control named '" + name + "'");
    }
    const int32_t pos = args[0].toInt32();  // 0-based, as the form's Controls is
    if (pos < 0 || pos >= static_cast<int32_t>(form->controls().size())) throw Error(err::SubscriptOutOfRange);
    return Variant(ObjectPtr(form->controls()[static_cast<std::size_t>(pos)]));
  }
  if (equalsNoCase(member, "Add")) {
    if (args.size() < 2 || args.size() > 3) throw Error(err::InvalidCall);
    Window* container = nullptr;
    if (args.size() == 3) {
      container = dynamic_cast<Window*>(args[2].toObject().get());
      if (!container) throw Error(err::InvalidCall, "Invalid container");
    }
    ControlPtr added = form->addControl(args[0].toString(), args[1].toString(), container);
    added->markAddedAtRunTime();
    return Variant(ObjectPtr(added));
  }
  throw Error(err::NoSuchMember);
}

const ClassInfo& ControlArray::classInfo() const {
  static const ClassInfo info = collectionInfo("ControlArray", {"Item", "Count", "LBound", "UBound"});
  return info;
}

Variant ControlArray::invoke(std::string_view member, CallKind kind, Args& args) {
  const std::shared_ptr<Form> form = liveForm(m_form);
  if (kind == CallKind::Let || kind == CallKind::Set) throw Error(err::NoSuchMember);
  std::vector<int16_t> indexes;
  for (auto& c : form->controls())
    if (c->inArray() && equalsNoCase(c->name(), m_name)) indexes.push_back(c->index());
  if (equalsNoCase(member, "Item")) {
    if (args.size() != 1) throw Error(err::InvalidCall);
    if (ControlPtr c = form->findControl(m_name, args[0].toInt16())) return Variant(ObjectPtr(c));
    throw Error(err::InvalidCall, "Control array element '" + args[0].toString() + "' doesn't exist");
  }
  if (equalsNoCase(member, "Count")) return Variant(static_cast<int32_t>(indexes.size()));
  if (indexes.empty()) throw Error(err::SubscriptOutOfRange);
  if (equalsNoCase(member, "LBound")) return Variant(*std::min_element(indexes.begin(), indexes.end()));
  if (equalsNoCase(member, "UBound")) return Variant(*std::max_element(indexes.begin(), indexes.end()));
  throw Error(err::NoSuchMember);
}

}  // namespace forms
