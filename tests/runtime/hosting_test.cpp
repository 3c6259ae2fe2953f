// Hosting custom controls: the probe's notification order, ambient properties,
// contained and constituent controls, property changes and missing classes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "forms/collection.h"
#include "forms/form.h"
#include "forms/library.h"
#include "forms/picturebox.h"
#include "forms/standard_classes.h"
#include "forms/usercontrol.h"
#include "test_support.h"
#include "win32/win32.h"

namespace {

using forms::Variant;
using Log = std::vector<std::string>;

std::shared_ptr<forms::UserControlHost> asHost(const forms::ControlPtr& c) {
  return std::dynamic_pointer_cast<forms::UserControlHost>(c);
}

// The probe's log since the last call.
class LogReader {
 public:
  explicit LogReader(std::shared_ptr<forms::ControlClass> probe) : m_probe(std::move(probe)) {}
  Log next() {
    Log all;
    for (const QString& e : QString::fromStdString(forms::get(m_probe, "Log").toString()).split(';', Qt::SkipEmptyParts))
      all.push_back(e.toStdString());
    Log fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(m_seen, all.size())), all.end());
    m_seen = all.size();
    return fresh;
  }

 private:
  std::shared_ptr<forms::ControlClass> m_probe;
  std::size_t m_seen = 0;
};

TEST(ProbeLifecycleTest, NotificationOrderInEachMode) {
  forms::PropertyBag bag;
  bag.WriteProperty("Caption", Variant("saved"));
  bag.WriteProperty("Number", Variant(int32_t{7}));
  struct Scenario {
    const char* what;
    bool designMode;
    const forms::PropertyBag* bag;
    Log load;
  };
  const std::vector<Scenario> scenarios = {
      {"run mode", false, nullptr, {"Initialize", "InitProperties", "get Ambient.UserMode=True"}},
      {"design mode", true, nullptr, {"Initialize", "InitProperties", "get Ambient.UserMode=False"}},
      {"run mode from a bag", false, &bag,
       {"Initialize", "ReadProperties Caption=saved Number=7", "get Ambient.UserMode=True"}},
      {"design mode from a bag", true, &bag,
       {"Initialize", "ReadProperties Caption=saved Number=7", "get Ambient.UserMode=False"}},
  };
  for (const auto& s : scenarios) {
    SCOPED_TRACE(s.what);
    auto form = forms::Form::create("frmLife", s.designMode);
    forms::Form::AddOptions options;
    options.bag = s.bag;
    auto host = asHost(form->addControl("Probe.Recorder", "Probe1", nullptr, options));
    ASSERT_TRUE(host);
    LogReader log(host->instancePtr());
    EXPECT_EQ(log.next(), s.load);

    form->Show();
    EXPECT_EQ(log.next(), (Log{"Show", "get Extender.Name=Probe1"}));

    forms::let(host, "Width", Variant(3000.0f));
    EXPECT_EQ(log.next(), (Log{"WM_SIZE 200x192", "Resize 3000x2880"}));
    forms::call(host, "Move", {Variant(0.0f), Variant(0.0f), Variant(1500.0f), Variant(750.0f)});
    EXPECT_EQ(log.next(), (Log{"WM_SIZE 100x50", "Resize 1500x750"}));
    forms::let(host, "Left", Variant(600.0f));  // a move is not a resize
    EXPECT_EQ(log.next(), Log{});
    forms::let(host->userControl().shared_from_this(), "ScaleMode", Variant(int16_t{forms::ScalePixels}));
    win32::SetWindowPos(host->hWnd(), 0, 0, 0, 80, 40, win32::SWP_NOMOVE | win32::SWP_NOZORDER);
    EXPECT_EQ(log.next(), (Log{"WM_SIZE 80x40", "Resize 80x40"}));

    form->Unload();
    EXPECT_EQ(log.next(), (Log{"WM_DESTROY", "WM_NCDESTROY", "Terminate IsWindow=0"}));
    EXPECT_TRUE(host->terminated());
  }
}

TEST(ProbeLifecycleTest, AddedToAShownFormItIsShownAtOnce) {
  auto form = forms::Form::create("frmShown");
  form->Show();
  auto host = asHost(form->addControl("Probe.Recorder", "Probe1"));
  LogReader log(host->instancePtr());
  EXPECT_EQ(log.next(), (Log{"Initialize", "InitProperties", "get Ambient.UserMode=True", "Show", "get Extender.Name=Probe1"}));
  form->Unload();
}

TEST(ProbeLifecycleTest, ShowAndHideOncePerChange) {
  auto form = forms::Form::create("frmShowHide");
  auto host = asHost(form->addControl("Probe.Recorder", "Probe1"));
  LogReader log(host->instancePtr());
  log.next();
  form->Show();
  form->Show();
  EXPECT_EQ(log.next(), (Log{"Show", "get Extender.Name=Probe1"}));
  form->Hide();
  form->Hide();
  EXPECT_EQ(log.next(), Log{"Hide"});
  form->Show();
  EXPECT_EQ(log.next(), (Log{"Show", "get Extender.Name=Probe1"}));
  form->Unload();
}

TEST(ProbeLifecycleTest, BorderTakesItsPlaceFromTheClientArea) {
  auto form = forms::Form::create("frmBorder");
  auto host = asHost(form->addControl("Probe.Recorder", "Probe1"));
  LogReader log(host->instancePtr());
  log.next();
  forms::UserControl& uc = host->userControl();
  forms::let(uc.shared_from_this(), "BorderStyle", Variant(int16_t{1}));
  EXPECT_EQ(log.next(), (Log{"WM_SIZE 252x188", "Resize 3780x2820"}));
  EXPECT_EQ(uc.get_ScaleWidth(), 3780.0f);
  win32::RECT r{};
  win32::GetClientRect(host->hWnd(), &r);
  EXPECT_EQ(r.right, 252);
  EXPECT_EQ(forms::get(host, "Width").toSingle(), 3840.0f);  // the extender still sees the outside
}

// Input reaching the class: keys through the form's preview, mouse on its surface.
void send(QWidget* target, QEvent::Type type, QPoint at) {
  QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &e);
}

void key(int code, Qt::KeyboardModifiers mods, const QString& text) {
  QKeyEvent down(QEvent::KeyPress, code, mods, text);
  QCoreApplication::sendEvent(QApplication::focusWidget(), &down);
  QKeyEvent up(QEvent::KeyRelease, code, mods, text);
  QCoreApplication::sendEvent(QApplication::focusWidget(), &up);
}

class ProbeInputTest : public testing::Test {
 protected:
  void SetUp() override {
    form = forms::Form::create("frmInput");
    host = asHost(form->addControl("Probe.Recorder", "Probe1"));
    form->Show();
    QApplication::setActiveWindow(form->widget());
    host->SetFocus();
    log = std::make_unique<LogReader>(host->instancePtr());
    log->next();
  }
  void TearDown() override { form->Unload(); }

  std::shared_ptr<forms::Form> form;
  std::shared_ptr<forms::UserControlHost> host;
  std::unique_ptr<LogReader> log;
};

TEST_F(ProbeInputTest, KeysGoThroughThePreviewToTheClass) {
  key(Qt::Key_A, Qt::NoModifier, "a");
  EXPECT_EQ(log->next(), (Log{"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0"}));
  key(Qt::Key_A, Qt::ShiftModifier, "A");
  EXPECT_EQ(log->next(), (Log{"KeyDown 65 1", "KeyPress 65", "KeyUp 65 1"}));

  form->put_KeyPreview(true);
  form->on("frmInput", "KeyPress", [](forms::EventArgs& e) { e.args[0] = Variant(int16_t{0}); });
  key(Qt::Key_B, Qt::NoModifier, "b");
  EXPECT_EQ(log->next(), (Log{"KeyDown 66 0", "KeyUp 66 0"}));
}

TEST_F(ProbeInputTest, MouseOnTheSurfaceInTheControlsScale) {
  QWidget* surface = host->clientWidget();
  send(surface, QEvent::MouseButtonPress, QPoint(10, 5));
  send(surface, QEvent::MouseButtonRelease, QPoint(10, 5));
  send(surface, QEvent::MouseButtonDblClick, QPoint(10, 5));
  send(surface, QEvent::MouseButtonRelease, QPoint(10, 5));
  EXPECT_EQ(log->next(), (Log{"MouseDown 1 0 150 75", "MouseUp 1 0 150 75", "Click", "DblClick", "MouseUp 1 0 150 75"}));

  host->userControl().put_ScaleMode(forms::ScalePixels);
  send(surface, QEvent::MouseButtonPress, QPoint(10, 5));
  send(surface, QEvent::MouseButtonRelease, QPoint(400, 5));  // let go outside: no Click
  EXPECT_EQ(log->next(), (Log{"MouseDown 1 0 10 5", "MouseUp 1 0 400 5"}));
}

// A class that cannot hold controls still gets its mouse notifications.
class PlainControl : public forms::ControlClass {
 public:
  const forms::ClassInfo& classInfo() const override {
    static const forms::ClassInfo info = [] {
      forms::ClassInfo c;
      c.name = "Plain";
      c.isControl = true;
      return c;
    }();
    return info;
  }
  void MouseDown(int16_t&, int16_t&, float& x, float& y) override {
    seen.push_back("MouseDown " + std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
  }
  void Click() override { seen.push_back("Click"); }
  Log seen;
};

TEST(PlainControlTest, NonContainerClassGetsMouseNotifications) {
  auto form = forms::Form::create("frmPlain");
  auto plain = std::make_shared<PlainControl>();
  forms::Control::Init init;
  init.form = form.get();
  init.classId = "Test.Plain";
  init.name = "Plain1";
  auto host = std::make_shared<forms::UserControlHost>(init, plain, plain->classInfo());
  ASSERT_FALSE(host->isContainer());
  send(host->clientWidget(), QEvent::MouseButtonPress, QPoint(2, 4));
  send(host->clientWidget(), QEvent::MouseButtonRelease, QPoint(2, 4));
  EXPECT_EQ(plain->seen, (Log{"MouseDown 30 60", "Click"}));
}

TEST(AmbientTest, ScaleUnitsFollowTheNearestScale) {
  auto form = forms::Form::create("frmAmbient");
  auto pic = std::dynamic_pointer_cast<forms::PictureBox>(form->addControl("Forms.PictureBox", "Picture1"));
  auto frame = form->addControl("Forms.Frame", "Frame1");
  auto onForm = asHost(form->addControl("Probe.Recorder", "ProbeForm"));
  auto inPic = asHost(form->addControl("Probe.Recorder", "ProbePic", pic.get()));
  auto inFrame = asHost(form->addControl("Probe.Recorder", "ProbeFrame", frame.get()));
  LogReader formLog(onForm->instancePtr()), picLog(inPic->instancePtr()), frameLog(inFrame->instancePtr());
  formLog.next(), picLog.next(), frameLog.next();
  auto units = [](const std::shared_ptr<forms::UserControlHost>& h) {
    return forms::get(h->userControl().get_Ambient(), "ScaleUnits").toString();
  };

  forms::let(form, "ScaleMode", Variant(int16_t{forms::ScalePixels}));
  EXPECT_EQ(formLog.next(), Log{"AmbientChanged ScaleUnits"});
  EXPECT_EQ(frameLog.next(), Log{"AmbientChanged ScaleUnits"});  // a frame measures in the form's scale
  EXPECT_EQ(picLog.next(), Log{});
  EXPECT_EQ(units(onForm), "Pixel");
  EXPECT_EQ(units(inFrame), "Pixel");
  EXPECT_EQ(units(inPic), "Twip");

  forms::let(form, "ScaleMode", Variant(int16_t{forms::ScalePixels}));  // no change, no notification
  EXPECT_EQ(formLog.next(), Log{});

  forms::let(pic, "ScaleMode", Variant(int16_t{forms::ScaleInches}));
  EXPECT_EQ(picLog.next(), Log{"AmbientChanged ScaleUnits"});
  EXPECT_EQ(formLog.next(), Log{});
  EXPECT_EQ(units(inPic), "Inch");

  forms::let(form, "ScaleWidth", Variant(100.0f));  // a user scale is a change of units too
  EXPECT_EQ(formLog.next(), Log{"AmbientChanged ScaleUnits"});
  EXPECT_EQ(units(onForm), "User");

  EXPECT_EQ(onForm->userControl().get_ContainerHwnd(), form->hWnd());
  EXPECT_EQ(inPic->userControl().get_ContainerHwnd(), pic->hWnd());
  pic->put_BackColor(0x00FF00);
  EXPECT_EQ(forms::get(inPic->userControl().get_Ambient(), "BackColor").toInt32(), 0x00FF00);
}

TEST(UserControlTest, ContainedParentAndConstituentControls) {
  auto form = forms::Form::create("frmContained");
  auto host = asHost(form->addControl("Probe.Recorder", "Probe1"));
  auto label = form->addControl("Forms.Label", "lblInside", host.get());
  auto outside = form->addControl("Forms.TextBox", "txtOutside");
  forms::UserControl& uc = host->userControl();
  forms::ControlPtr inner = uc.addConstituent("Forms.TextBox", "txtInner");

  EXPECT_EQ(uc.ContainedControls(), std::vector<forms::ControlPtr>{label});
  EXPECT_EQ(uc.ParentControls(), (std::vector<forms::ControlPtr>{host, label, outside}));
  EXPECT_EQ(form->findControl("txtInner"), nullptr);
  EXPECT_EQ(forms::get(form->get_Controls(), "Count").toInt32(), 3);
  // Contained controls sit in the content area, the control's own pieces beside it.
  EXPECT_EQ(label->widget()->parentWidget(), host->contentWidget());
  EXPECT_EQ(host->contentWidget()->parentWidget(), host->clientWidget());
  EXPECT_EQ(inner->widget()->parentWidget(), host->clientWidget());
  uc.ClipContents(16, 20);
  EXPECT_EQ(host->contentWidget()->geometry(), host->clientWidget()->rect().adjusted(0, 0, -16, -20));
  EXPECT_EQ(forms::get(label, "Container").toObject(), host);
  EXPECT_EQ(uc.get_Parent(), form);
  EXPECT_EQ(uc.get_Extender(), host);

  // A constituent's events are the control's business, not the form's.
  int formSaw = 0, ownSaw = 0;
  form->on("txtInner", "Change", [&](forms::EventArgs&) { ++formSaw; });
  inner->connect("Change", [&](forms::Args&) { ++ownSaw; });
  forms::let(inner, "Text", Variant("typed"));
  EXPECT_EQ(ownSaw, 1);
  EXPECT_EQ(formSaw, 0);

  // A label is contained in the probe until it moves out.
  forms::set(label, "Container", form);
  EXPECT_TRUE(uc.ContainedControls().empty());
  EXPECT_THROW(uc.addConstituent("Probe.Recorder", "Nested"), forms::Error);

  // The constituent goes with its control's windows.
  const win32::HWND innerWindow = inner->hWnd();
  form->Unload();
  EXPECT_FALSE(win32::IsWindow(innerWindow));
}

TEST(UserControlTest, PropertyChangesAreRecordedUntilWritten) {
  auto form = forms::Form::create("frmChanged");
  auto host = asHost(form->addControl("Probe.Recorder", "Probe1"));
  EXPECT_FALSE(host->changed());
  forms::let(host, "Caption", Variant("one"));
  forms::let(host, "number", Variant(int32_t{5}));
  forms::let(host, "Left", Variant(90.0f));  // an extender property is the host's own
  EXPECT_EQ(host->propertyChanges(), (std::vector<std::string>{"Caption", "Number"}));
  EXPECT_TRUE(host->changed());

  forms::PropertyBag bag;
  host->writeProperties(bag);
  EXPECT_FALSE(host->changed());
  EXPECT_EQ(bag.ReadProperty("caption").toString(), "one");
  EXPECT_EQ(bag.ReadProperty("Number").toInt32(), 5);

  // What was written loads back into a new control.
  forms::Form::AddOptions options;
  options.bag = &bag;
  auto copy = form->addControl("Probe.Recorder", "Probe2", nullptr, options);
  EXPECT_EQ(forms::get(copy, "Caption").toString(), "one");
  EXPECT_EQ(forms::get(copy, "Number").toInt32(), 5);
}

TEST(PropertyBagTest, DefaultsAreNotStored) {
  forms::PropertyBag bag;
  bag.WriteProperty("Caption", Variant("new"), Variant("new"));
  bag.WriteProperty("Number", Variant(int32_t{0}), Variant(int16_t{0}));
  bag.WriteProperty("Text", Variant("0"), Variant(int16_t{0}));  // text is never a number's default
  bag.WriteProperty("Count", Variant(int32_t{0}));               // no default given: always stored
  bag.WriteProperty("Name", Variant(""));
  EXPECT_FALSE(bag.contains("Caption"));
  EXPECT_FALSE(bag.contains("Number"));
  EXPECT_TRUE(bag.contains("TEXT"));
  EXPECT_TRUE(bag.contains("Count"));
  EXPECT_TRUE(bag.contains("Name"));
  EXPECT_EQ(bag.ReadProperty("Count", Variant(int32_t{9})).toInt32(), 0);
  bag.WriteProperty("text", Variant(int16_t{0}), Variant(int16_t{0}));  // back to the default: dropped
  EXPECT_FALSE(bag.contains("Text"));
  EXPECT_EQ(bag.ReadProperty("Missing", Variant("fallback")).toString(), "fallback");
}

TEST(ControlLibraryTest, MissingLibraryOrClassNamesBoth) {
  auto form = forms::Form::create("frmMissing");
  struct Case {
    const char* classId;
    std::vector<std::string> named;
  };
  const std::vector<Case> cases = {
      {"Nope.Thing", {"Nope", "Thing"}},
      {"Probe.Nothing", {"Probe", "Nothing"}},
      {"NoDot", {"NoDot"}},
      // No library is looked for under the runtime's own name; its classes are listed.
      {"Forms.Gizmo", {"'Gizmo'", "runtime's own", "Forms.TextBox"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.classId);
    try {
      form->addControl(c.classId, "Missing1");
      ADD_FAILURE() << "created";
    } catch (const forms::Error& e) {
      EXPECT_EQ(e.number(), forms::err::CannotCreateObject);
      for (const auto& n : c.named) EXPECT_NE(e.description().find(n), std::string::npos) << e.description();
    }
    EXPECT_TRUE(form->controls().empty());
    EXPECT_EQ(form->findControl("Missing1"), nullptr);
  }
  // The name is still free.
  EXPECT_NO_THROW(form->addControl("Probe.Recorder", "Missing1"));
}

// Tools list the runtime's classes as a library "Forms": each id gives what its
// controls answer by name, and the library holds each class once.
TEST(ControlLibraryTest, RuntimeClassesAreListedAsTheirControlsAnswer) {
  auto form = forms::Form::create("frmStandard");
  const forms::LibraryInfo& library = forms::controlLibraryInfo("forms");
  EXPECT_EQ(&library, &forms::standardLibraryInfo());
  std::set<const forms::ClassInfo*> seen;
  int made = 0;
  for (const std::string& id : forms::standardClassIds()) {
    SCOPED_TRACE(id);
    const forms::ClassInfo* info = forms::standardClassInfo(forms::lowerCase(id));
    ASSERT_TRUE(info);
    std::string name = "c";
    name += std::to_string(++made);
    EXPECT_EQ(info, &form->addControl(id, name)->classInfo());
    EXPECT_EQ(std::count(library.classes.begin(), library.classes.end(), info), 1);
    seen.insert(info);
  }
  EXPECT_EQ(library.classes.size(), seen.size());
  EXPECT_EQ(forms::standardClassInfo("Forms.Gizmo"), nullptr);
  EXPECT_EQ(forms::standardClassInfo("Probe.Recorder"), nullptr);
}

}  // namespace
