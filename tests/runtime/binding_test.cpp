// Late binding by name, the probe's type information, the extender and events by name.
#include <gtest/gtest.h>

#include "test_support.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "forms/collection.h"
#include "forms/form.h"
#include "forms/library.h"
#include "forms/picturebox.h"
#include "forms/simple_controls.h"
#include "forms/standard_classes.h"
#include "forms/usercontrol.h"

namespace {

using testsupport::errorOf;

using forms::Variant;

TEST(LateBindingTest, NamesAreCaseInsensitiveAndKindsAreChecked) {
  auto form = forms::Form::create("frmBind");
  forms::ObjectPtr txt = form->addControl("Forms.TextBox", "Text1");

  forms::let(txt, "TEXT", Variant("hello"));
  EXPECT_EQ(forms::get(txt, "text").toString(), "hello");
  forms::let(txt, "left", Variant(int32_t{150}));
  EXPECT_EQ(forms::get(txt, "Left").toSingle(), 150.0f);
  forms::call(txt, "MOVE", {Variant(int32_t{300}), Variant(int32_t{450})});
  EXPECT_EQ(forms::get(txt, "Top").toSingle(), 450.0f);
  forms::set(txt, "font", forms::get(txt, "Font").toObject());

  struct Case {
    const char* what;
    std::function<void()> f;
  };
  const std::vector<Case> wrong = {
      {"missing member", [&] { forms::get(txt, "NoSuchThing"); }},
      {"missing method", [&] { forms::call(txt, "Explode"); }},
      {"let of a read-only property", [&] { forms::let(txt, "hWnd", Variant(int32_t{1})); }},
      {"set of a value property", [&] { forms::set(txt, "Left", txt); }},
      {"let of a method", [&] { forms::let(txt, "Move", Variant(int32_t{1})); }},
      {"set of a method", [&] { forms::set(txt, "Refresh", txt); }},
  };
  for (const auto& c : wrong) EXPECT_EQ(errorOf(c.f), forms::err::NoSuchMember) << c.what;

  const forms::ObjectPtr none;
  const std::vector<Case> unset = {
      {"get", [&] { forms::get(none, "Text"); }},
      {"let", [&] { forms::let(none, "Text", Variant("x")); }},
      {"set", [&] { forms::set(none, "Font", txt); }},
      {"call", [&] { forms::call(none, "Refresh"); }},
  };
  for (const auto& c : unset) EXPECT_EQ(errorOf(c.f), forms::err::ObjectNotSet) << c.what;
  EXPECT_TRUE(txt->hasMember("tExT"));
  EXPECT_FALSE(txt->hasMember("Caption"));
}

TEST(LateBindingTest, ArgumentTypesAreConverted) {
  auto form = forms::Form::create("frmArgs");
  forms::ObjectPtr chk = form->addControl("Forms.CheckBox", "Check1");
  forms::let(chk, "Value", Variant("1"));
  EXPECT_EQ(forms::get(chk, "Value").toInt16(), 1);
  EXPECT_EQ(errorOf([&] { forms::let(chk, "Value", Variant(int32_t{3})); }), forms::err::InvalidPropertyValue);
  EXPECT_EQ(errorOf([&] { forms::let(chk, "Value", Variant("checked")); }), forms::err::TypeMismatch);
  EXPECT_EQ(errorOf([&] { forms::let(chk, "TabIndex", Variant(int32_t{70000})); }), forms::err::Overflow);
  EXPECT_EQ(errorOf([&] { forms::set(chk, "Font", chk); }), forms::err::TypeMismatch);
  EXPECT_EQ(errorOf([&] { forms::call(chk, "Move"); }), forms::err::InvalidCall);
}

TEST(TypeInfoTest, StandardClassesKeepDispatchIdsUnique) {
  auto form = forms::Form::create("frmInfo");
  for (const char* id : {forms::kTextBoxClass, forms::kLabelClass, forms::kPictureBoxClass, forms::kVScrollBarClass,
                         forms::kCheckBoxClass, forms::kFrameClass}) {
    const forms::ClassInfo& info = form->addControl(id, std::string("c") + std::to_string(form->controls().size()))->classInfo();
    std::set<int> ids;
    for (const auto& m : info.members) EXPECT_TRUE(ids.insert(m.dispid).second) << id << " " << m.name << " " << m.dispid;
    // The common members come first, so every control has them at the same slots.
    ASSERT_FALSE(info.members.empty());
    EXPECT_EQ(info.members.front().name, "Name") << id;
    EXPECT_EQ(info.members.front().dispid, forms::Control::commonClassInfo().members.front().dispid) << id;
  }
}

TEST(TypeInfoTest, ProbeLibraryDescribesItself) {
  const forms::LibraryInfo& lib = forms::controlLibraryInfo("Probe");
  EXPECT_EQ(lib.name, "Probe");
  EXPECT_EQ(lib.description, "Recording control for the runtime's tests");
  EXPECT_EQ(std::tie(lib.major, lib.minor, lib.revision, lib.lcid), std::make_tuple(1, 2, 3, 1033));
  EXPECT_EQ(&forms::controlLibraryInfo("PROBE"), &lib);

  ASSERT_EQ(lib.enums.size(), 1u);
  EXPECT_EQ(lib.enums[0].name, "ProbeMode");
  ASSERT_EQ(lib.enums[0].members.size(), 2u);
  EXPECT_EQ(lib.enums[0].members[1].name, "pmLoud");
  EXPECT_EQ(lib.enums[0].members[1].value, 1);
  EXPECT_EQ(lib.enums[0].members[1].description, "pmLoud");

  ASSERT_EQ(lib.classes.size(), 1u);
  const forms::ClassInfo& c = *lib.classes[0];
  EXPECT_EQ(c.name, "Recorder");
  EXPECT_EQ(c.defaultInterface, "_Recorder");
  EXPECT_EQ(c.eventInterface, "__Recorder");
  EXPECT_TRUE(c.isControl);
  EXPECT_EQ(&forms::findControlClass("probe.recorder"), &forms::findControlClass("Probe.Recorder"));

  struct Expected {
    const char* name;
    int dispid;
    int kinds;
    bool hidden, nonBrowsable;
    const char* description;
  };
  using K = forms::CallKind;
  const std::vector<Expected> members = {
      {"Log", 1, static_cast<int>(K::Get), false, false, "Everything the probe saw, separated by semicolons"},
      {"Caption", 2, K::Get | K::Let, false, false, "Returns or sets the probe's caption"},
      {"Number", 3, K::Get | K::Let, false, true, ""},
      {"FireChanged", 4, static_cast<int>(K::Method), true, false, ""},
  };
  ASSERT_EQ(c.members.size(), members.size());
  for (std::size_t i = 0; i < members.size(); ++i) {
    const auto& m = c.members[i];
    const auto& e = members[i];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(m.name, e.name);
    EXPECT_EQ(m.dispid, e.dispid);
    EXPECT_EQ(m.kinds, e.kinds);
    EXPECT_EQ(m.hidden, e.hidden);
    EXPECT_EQ(m.nonBrowsable, e.nonBrowsable);
    EXPECT_EQ(m.description, e.description);
    EXPECT_EQ(c.find(forms::lowerCase(std::string(e.name))), &m);
  }
  const forms::MemberInfo* caption = c.find("caption");
  EXPECT_EQ(caption->type.kind, forms::TypeKind::String);
  ASSERT_EQ(caption->params.size(), 1u);
  EXPECT_EQ(caption->params[0].name, "sCaption");
  EXPECT_EQ(c.find("Number")->type.kind, forms::TypeKind::Long);

  const forms::EventInfo* changed = c.findEvent("CHANGED");
  ASSERT_NE(changed, nullptr);
  EXPECT_EQ(changed->dispid, 1);
  ASSERT_EQ(changed->params.size(), 1u);
  EXPECT_EQ(changed->params[0].name, "Value");
  EXPECT_TRUE(changed->params[0].byRef);
  EXPECT_EQ(changed->params[0].type.kind, forms::TypeKind::Variant);
}

class ExtenderTest : public testing::Test {
 protected:
  void SetUp() override {
    form = forms::Form::create("frmExt");
    ctl = form->addControl("Probe.Recorder", "Probe1");
    host = std::dynamic_pointer_cast<forms::UserControlHost>(ctl);
    ASSERT_TRUE(host);
  }
  std::shared_ptr<forms::Form> form;
  forms::ObjectPtr ctl;
  std::shared_ptr<forms::UserControlHost> host;
};

TEST_F(ExtenderTest, AnswersItsOwnNamesAndPassesTheRestOn) {
  EXPECT_EQ(forms::get(ctl, "name").toString(), "Probe1");
  EXPECT_NE(errorOf([&] { forms::get(ctl, "Index"); }), 0);
  EXPECT_EQ(forms::get(ctl, "Container").toObject(), form);
  EXPECT_EQ(forms::get(ctl, "Parent").toObject(), form);
  forms::let(ctl, "Left", Variant(int32_t{300}));
  forms::let(ctl, "Top", Variant(int32_t{600}));
  EXPECT_EQ(forms::get(ctl, "Left").toSingle(), 300.0f);
  EXPECT_EQ(forms::get(ctl, "Top").toSingle(), 600.0f);
  EXPECT_EQ(host->widget()->pos(), QPoint(20, 40));
  EXPECT_EQ(forms::get(ctl, "Width").toSingle(), 3840.0f);  // a new control's size
  EXPECT_EQ(forms::get(ctl, "Height").toSingle(), 2880.0f);
  forms::let(ctl, "Visible", Variant(false));
  EXPECT_TRUE(host->widget()->isHidden());
  forms::let(ctl, "Enabled", Variant(false));
  EXPECT_FALSE(forms::get(ctl, "Enabled").toBool());
  forms::let(ctl, "TabIndex", Variant(int16_t{4}));
  EXPECT_EQ(forms::get(ctl, "TabIndex").toInt16(), 4);
  EXPECT_EQ(forms::get(ctl, "hWnd").toInt32(), host->hWnd());

  // Names the extender does not have reach the control.
  EXPECT_EQ(forms::get(ctl, "Caption").toString(), "new");
  forms::let(ctl, "CAPTION", Variant("passed on"));
  EXPECT_EQ(forms::get(host->instancePtr(), "Caption").toString(), "passed on");
  EXPECT_EQ(host->propertyChanges(), std::vector<std::string>{"Caption"});
  EXPECT_EQ(errorOf([&] { forms::get(ctl, "Nothing"); }), forms::err::NoSuchMember);
  EXPECT_EQ(errorOf([&] { forms::let(ctl, "Log", Variant("x")); }), forms::err::NoSuchMember);
  // The control itself has no extender members.
  EXPECT_EQ(errorOf([&] { forms::get(host->instancePtr(), "Left"); }), forms::err::NoSuchMember);
}

TEST_F(ExtenderTest, ControlArrayElementsAnswerIndexAndRaiseWithIt) {
  forms::Form::AddOptions element;
  element.index = 3;
  forms::ObjectPtr p3 = form->addControl("Probe.Recorder", "Arr", nullptr, element);
  EXPECT_EQ(forms::get(p3, "Index").toInt16(), 3);
  std::vector<int> seen;
  form->on("arr", "changed", [&](forms::EventArgs& e) { seen.push_back(e.index); });
  forms::call(p3, "FireChanged", {Variant(int32_t{0})});
  EXPECT_EQ(seen, std::vector<int>{3});
}

TEST_F(ExtenderTest, EventArgumentsAreByReference) {
  std::vector<std::string> order;
  host->connect("Changed", [&](forms::Args& a) {
    order.push_back("own " + a[0].toString());
    a[0] = Variant(a[0].toInt32() + 10);
  });
  form->on("PROBE1", "changed", [&](forms::EventArgs& e) {
    order.push_back("form " + e.args[0].toString());
    EXPECT_EQ(e.index, -1);
    e.args[0] = Variant(e.args[0].toInt32() * 2);
  });
  form->on("Probe1", "Changed", [&](forms::EventArgs& e) { order.push_back("second " + e.args[0].toString()); });
  form->on("Other", "Changed", [&](forms::EventArgs&) { order.push_back("other"); });

  const Variant back = forms::call(ctl, "FireChanged", {Variant(int32_t{1})});
  EXPECT_EQ(back.toInt32(), 22);
  EXPECT_EQ(order, (std::vector<std::string>{"own 1", "form 11", "second 22"}));
  EXPECT_EQ(errorOf([&] { forms::call(ctl, "FireChanged"); }), forms::err::InvalidCall);
}

TEST_F(ExtenderTest, HandlersMayDisconnectWhileTheEventRuns) {
  int calls = 0;
  int id = 0;
  id = host->connect("Changed", [&](forms::Args&) {
    ++calls;
    host->disconnect(id);
  });
  forms::call(ctl, "FireChanged", {Variant(int32_t{1})});
  forms::call(ctl, "FireChanged", {Variant(int32_t{1})});
  EXPECT_EQ(calls, 1);
}

}  // namespace
