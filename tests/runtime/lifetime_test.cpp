// What outlives a form's unload, cancelling the unload, and errors raised in handlers
// that the loop calls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "forms/form.h"
#include "forms/simple_controls.h"
#include "forms/usercontrol.h"
#include "test_support.h"
#include "win32/win32.h"

namespace {

using forms::Variant;
using testsupport::errorOf;
using Uses = std::vector<std::pair<const char*, std::function<void()>>>;

void expectEach91(const Uses& uses) {
  for (const auto& [what, use] : uses) EXPECT_EQ(errorOf(use), forms::err::ObjectNotSet) << what;
}

std::vector<std::string> prompts() {
  std::vector<std::string> out;
  for (const forms::MsgBoxCall& call : testsupport::msgBoxes()) out.push_back(call.prompt);
  return out;
}

// A timer or a control library may keep a control, a collection or a hosting object
// after the form went: using one is error 91, first while the form object still
// exists, then once it is gone too.
TEST(UnloadTest, WhatOutlivesTheFormRaises91) {
  auto form = forms::Form::create("frmGone");
  auto pic = form->addControl("Forms.PictureBox", "Picture1");
  auto text = std::dynamic_pointer_cast<forms::TextBox>(form->addControl("Forms.TextBox", "Text1", pic.get()));
  auto label = std::dynamic_pointer_cast<forms::Label>(form->addControl("Forms.Label", "Label1"));
  auto host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("Probe.Recorder", "Probe1"));
  forms::Form::AddOptions element;
  element.index = 0;
  form->addControl("Forms.Label", "lblItem", nullptr, element);
  auto uc = std::static_pointer_cast<forms::UserControl>(host->userControl().shared_from_this());
  forms::ObjectPtr ambient = uc->get_Ambient();
  forms::ControlPtr inner = uc->addConstituent("Forms.TextBox", "txtInner");
  forms::ObjectPtr controls = form->get_Controls();
  forms::ObjectPtr array = forms::call(controls, "Item", {Variant("lblItem")}).toObject();

  const Uses controlUses = {
      {"Text", [&] { text->get_Text(); }},
      {"Text by name", [&] { forms::get(text, "Text"); }},
      {"a constituent's Text", [&] { forms::let(inner, "Text", Variant("x")); }},
      {"Caption", [&] { label->put_Caption("x"); }},
      {"Parent", [&] { text->get_Parent(); }},
      {"Container", [&] { forms::get(text, "Container"); }},
      {"Container assignment", [&] { forms::set(label, "Container", pic); }},
      {"Left", [&] { text->get_Left(); }},
      {"Controls.Count", [&] { forms::get(controls, "Count"); }},
      {"control array Item", [&] { forms::call(array, "Item", {Variant(int16_t{0})}); }},
      {"UserControl.Parent", [&] { uc->get_Parent(); }},
      {"UserControl.Extender", [&] { uc->get_Extender(); }},
      {"ContainedControls", [&] { uc->ContainedControls(); }},
      {"ParentControls", [&] { uc->ParentControls(); }},
      {"Ambient.UserMode", [&] { forms::get(ambient, "UserMode"); }},
  };

  // Every widget goes once Qt is done with the unload, whoever still holds its control.
  std::vector<QPointer<QWidget>> widgets{form->widget(), pic->widget(), text->widget(), label->widget(),
                                         host->widget(), inner->widget()};
  form->Unload();
  EXPECT_FALSE(text->get_Visible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (std::size_t i = 0; i < widgets.size(); ++i) EXPECT_TRUE(widgets[i].isNull()) << "widget " << i;
  EXPECT_FALSE(inner->hasWidget());  // a user control's own piece went with its surface
  expectEach91(controlUses);
  expectEach91({
      {"the form's Caption", [&] { forms::get(form, "Caption"); }},
      {"the form's Controls", [&] { form->get_Controls(); }},
      {"Show", [&] { form->Show(); }},
      {"the class's own member", [&] { forms::get(host, "Caption"); }},
  });

  form.reset();
  host.reset();
  expectEach91(controlUses);
  EXPECT_EQ(errorOf([&] { uc->get_hWnd(); }), forms::err::ObjectNotSet);
}

// Cancel keeps the form, whichever way it was asked to go, except when its last
// reference goes: that unload cannot be cancelled, nor stopped by an error.
TEST(UnloadTest, CancelKeepsTheFormExceptFromItsDestructor) {
  auto form = forms::Form::create("frmStay");
  auto text = form->addControl("Forms.TextBox", "Text1");
  int unloads = 0;
  Variant cancel(true);
  form->on("frmStay", "Unload", [&](forms::EventArgs& e) {
    ++unloads;
    e.args[0] = cancel;
  });
  form->Show();
  const win32::HWND window = form->hWnd();
  form->Unload();
  ASSERT_TRUE(form->loaded());
  form->widget()->close();  // as the window system closes it
  ASSERT_TRUE(form->loaded());
  EXPECT_EQ(unloads, 2);
  EXPECT_TRUE(form->widget()->isVisible());
  EXPECT_TRUE(win32::IsWindow(window));
  EXPECT_EQ(errorOf([&] { forms::let(text, "Text", Variant("still here")); }), 0);

  cancel = Variant(int16_t{0});
  form->widget()->close();
  EXPECT_FALSE(form->loaded());
  EXPECT_FALSE(win32::IsWindow(window));

  auto doomed = forms::Form::create("frmGoes");
  doomed->on("frmGoes", "Unload", [](forms::EventArgs& e) { e.args[0] = Variant(true); });
  doomed->on("frmGoes", "Unload", [](forms::EventArgs&) { throw forms::Error(forms::err::InvalidCall, "not now"); });
  const win32::HWND doomedWindow = doomed->hWnd();
  testsupport::msgBoxes().clear();
  doomed.reset();
  EXPECT_FALSE(win32::IsWindow(doomedWindow));
  EXPECT_EQ(prompts(), std::vector<std::string>{"Run-time error '5':\n\nnot now"});
}

// A handler raising an error while the window system resizes the form reaches the
// run-time error box, and the form goes on.
TEST(LoopGuardTest, AnErrorInAResizeHandlerIsShown) {
  auto form = forms::Form::create("frmResize");
  form->Show();
  form->on("frmResize", "Resize", [](forms::EventArgs&) { throw forms::Error(forms::err::InvalidCall, "no room"); });
  testsupport::msgBoxes().clear();
  form->widget()->resize(400, 300);
  EXPECT_EQ(prompts(), std::vector<std::string>{"Run-time error '5':\n\nno room"});
  form->widget()->showMinimized();
  EXPECT_GE(prompts().size(), 2u);
  for (const std::string& p : prompts()) EXPECT_EQ(p, "Run-time error '5':\n\nno room");
  EXPECT_TRUE(form->loaded());
  form->Unload();
}

}  // namespace
