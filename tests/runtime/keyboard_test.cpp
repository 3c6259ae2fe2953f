// Tab order, key preview and SendKeys on a shown form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleOption>
#include <functional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/keyboard.h"
#include "forms/simple_controls.h"
#include "forms/usercontrol.h"
#include "test_support.h"

namespace {

using forms::Variant;

class KeyboardTest : public testing::Test {
 protected:
  void SetUp() override {
    form = forms::Form::create("frmKeys");
    // Created out of tab order; the label sits between txtA and txtB but cannot take the focus.
    txtC = add("Forms.TextBox", "txtC", 4);
    txtA = add("Forms.TextBox", "txtA", 1);
    add("Forms.Label", "lblB", 2);
    txtB = add("Forms.TextBox", "txtB", 3);
    form->Show();
    QApplication::setActiveWindow(form->widget());
    txtA->SetFocus();
  }
  void TearDown() override { form->Unload(); }

  forms::ControlPtr add(const char* classId, const char* name, int16_t tabIndex) {
    auto c = form->addControl(classId, name);
    c->put_TabIndex(tabIndex);
    return c;
  }

  static void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(target, &up);
  }

  std::string focused() const {
    forms::ObjectPtr active = form->get_ActiveControl();
    return active ? forms::get(active, "Name").toString() : std::string("(none)");
  }

  // Where the focus goes on each key from txtA.
  std::vector<std::string> walk(int key, Qt::KeyboardModifiers mods, int steps) {
    std::vector<std::string> seen;
    for (int i = 0; i < steps; ++i) {
      press(key, mods);
      seen.push_back(focused());
    }
    return seen;
  }

  std::string text(const forms::ControlPtr& c) const { return forms::get(c, "Text").toString(); }

  std::shared_ptr<forms::Form> form;
  forms::ControlPtr txtA, txtB, txtC;
};

TEST_F(KeyboardTest, TabWalksInTabIndexOrderAndWrapsRound) {
  ASSERT_EQ(focused(), "txtA");
  EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier, 4), (std::vector<std::string>{"txtB", "txtC", "txtA", "txtB"}));
  EXPECT_EQ(walk(Qt::Key_Backtab, Qt::ShiftModifier, 4), (std::vector<std::string>{"txtA", "txtC", "txtB", "txtA"}));
  EXPECT_EQ(walk(Qt::Key_Tab, Qt::ShiftModifier, 1), std::vector<std::string>{"txtC"});
  EXPECT_EQ(text(txtA), "");  // the tab itself is typed nowhere
}

TEST_F(KeyboardTest, TabSkipsWhatCannotTakeTheFocus) {
  auto frame = add("Forms.Frame", "fraInner", 5);
  auto inFrame = form->addControl("Forms.TextBox", "txtInFrame", frame.get());
  inFrame->put_TabIndex(6);
  struct Case {
    const char* what;
    std::function<void()> apply, undo;
    std::vector<std::string> order;  // Tab from txtA
  };
  const std::vector<Case> cases = {
      {"all", [] {}, [] {}, {"txtB", "txtC", "txtInFrame", "txtA"}},
      {"invisible", [&] { forms::let(txtB, "Visible", Variant(false)); }, [&] { forms::let(txtB, "Visible", Variant(true)); },
       {"txtC", "txtInFrame", "txtA"}},
      {"disabled", [&] { forms::let(txtC, "Enabled", Variant(false)); }, [&] { forms::let(txtC, "Enabled", Variant(true)); },
       {"txtB", "txtInFrame", "txtA"}},
      {"no tab stop", [&] { forms::let(txtB, "TabStop", Variant(false)); }, [&] { forms::let(txtB, "TabStop", Variant(true)); },
       {"txtC", "txtInFrame", "txtA"}},
      {"hidden container", [&] { forms::let(frame, "Visible", Variant(false)); },
       [&] { forms::let(frame, "Visible", Variant(true)); }, {"txtB", "txtC", "txtA"}},
      {"disabled container", [&] { forms::let(frame, "Enabled", Variant(false)); },
       [&] { forms::let(frame, "Enabled", Variant(true)); }, {"txtB", "txtC", "txtA"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    txtA->SetFocus();
    c.apply();
    EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier, static_cast<int>(c.order.size())), c.order);
    c.undo();
  }
  // Focus put on a control that Tab skips: the walk goes on from its place in the order.
  forms::let(txtB, "TabStop", Variant(false));
  txtB->SetFocus();
  EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier, 2), (std::vector<std::string>{"txtC", "txtInFrame"}));
  txtB->SetFocus();
  EXPECT_EQ(walk(Qt::Key_Backtab, Qt::ShiftModifier, 2), (std::vector<std::string>{"txtA", "txtInFrame"}));
  // A control that cannot take the focus refuses SetFocus.
  auto label = form->findControl("lblB");
  EXPECT_THROW(forms::call(label, "SetFocus"), forms::Error);
}

TEST_F(KeyboardTest, TabAndBacktabShowTheFocusCue) {
  auto chk = add("Forms.CheckBox", "chkCue", 2);
  QWidget* box = chk->widget();
  const QImage unfocused = box->grab().toImage();
  for (int key : {Qt::Key_Tab, Qt::Key_Backtab}) {
    SCOPED_TRACE(key == Qt::Key_Tab ? "Tab" : "Backtab");
    (key == Qt::Key_Tab ? txtA : txtB)->SetFocus();
    form->widget()->setAttribute(Qt::WA_KeyboardFocusChange, false);
    press(key, key == Qt::Key_Tab ? Qt::NoModifier : Qt::ShiftModifier);
    ASSERT_EQ(focused(), "chkCue");
    QStyleOption option;
    option.initFrom(box);
    EXPECT_TRUE(option.state & QStyle::State_HasFocus);
    EXPECT_TRUE(option.state & QStyle::State_KeyboardFocusChange);
    EXPECT_NE(box->grab().toImage(), unfocused);
  }
}

TEST_F(KeyboardTest, OptionButtonsOfAContainerAreOneStopAndArrowsMoveInside) {
  // A column of three between txtA and txtB, and a pair in a frame after txtC.
  std::vector<forms::ControlPtr> column;
  for (const char* name : {"optX", "optY", "optZ"}) {
    column.push_back(add("Forms.OptionButton", name, 2));
    column.back()->Move(2000, 300.0f * static_cast<float>(column.size()), 1200, 300);
  }
  auto frame = add("Forms.Frame", "fraOpts", 5);
  frame->Move(0, 1500, 2000, 1200);
  std::vector<forms::ControlPtr> framed;
  for (const char* name : {"optF1", "optF2"}) {
    framed.push_back(form->addControl("Forms.OptionButton", name, frame.get()));
    framed.back()->put_TabIndex(6);
    framed.back()->Move(100, 300.0f * static_cast<float>(framed.size()), 1200, 300);
  }
  auto checked = [](const forms::ControlPtr& c) { return forms::get(c, "Value").toBool(); };

  // Nothing checked: the first of each group in tab order.
  EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier, 5), (std::vector<std::string>{"optX", "txtB", "txtC", "optF1", "txtA"}));
  // Otherwise the checked one; a group checked inside a frame stays apart from the form's.
  forms::let(framed[1], "Value", Variant(true));
  forms::let(column[1], "Value", Variant(true));
  EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier, 5), (std::vector<std::string>{"optY", "txtB", "txtC", "optF2", "txtA"}));
  EXPECT_EQ(walk(Qt::Key_Backtab, Qt::ShiftModifier, 2), (std::vector<std::string>{"optF2", "txtC"}));

  // Arrows move round the group in tab order and check what they reach; the form still
  // sees each KeyDown first.
  std::vector<std::string> log;
  form->put_KeyPreview(true);
  form->on("frmKeys", "KeyDown", [&](forms::EventArgs& e) { log.push_back("form down " + e.args[0].toString()); });
  for (const char* name : {"optX", "optY", "optZ"}) {
    form->on(name, "KeyDown",
             [&log, name](forms::EventArgs& e) { log.push_back(std::string(name) + " down " + e.args[0].toString()); });
    form->on(name, "Click", [&log, name](forms::EventArgs&) { log.push_back(std::string(name) + " click"); });
  }
  column[1]->SetFocus();
  EXPECT_EQ(walk(Qt::Key_Down, Qt::NoModifier, 2), (std::vector<std::string>{"optZ", "optX"}));
  EXPECT_EQ(walk(Qt::Key_Left, Qt::NoModifier, 1), std::vector<std::string>{"optZ"});
  EXPECT_EQ(log, (std::vector<std::string>{"form down 40", "optY down 40", "optZ click", "form down 40", "optZ down 40",
                                           "optX click", "form down 37", "optX down 37", "optZ click"}));
  EXPECT_TRUE(checked(column[2]));
  EXPECT_FALSE(checked(column[0]) || checked(column[1]));
  EXPECT_TRUE(checked(framed[1]));
  EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier, 1), std::vector<std::string>{"txtB"});
  EXPECT_EQ(walk(Qt::Key_Backtab, Qt::ShiftModifier, 2), (std::vector<std::string>{"optZ", "txtA"}));
}

TEST_F(KeyboardTest, TabOntoAUserControlFocusesItsFirstConstituentThatCanTakeIt) {
  auto host = std::dynamic_pointer_cast<forms::UserControlHost>(add("Probe.Recorder", "Probe1", 2));
  ASSERT_TRUE(host);
  forms::UserControl& uc = host->userControl();
  auto hidden = uc.addConstituent("Forms.TextBox", "txtHidden");
  hidden->put_Visible(false);
  auto first = uc.addConstituent("Forms.TextBox", "txtFirst");
  auto second = uc.addConstituent("Forms.TextBox", "txtSecond");

  EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier, 1), std::vector<std::string>{"Probe1"});
  EXPECT_EQ(QApplication::focusWidget(), first->widget());
  // From inside the control, Tab goes on to the next control.
  EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier, 1), std::vector<std::string>{"txtB"});
  EXPECT_EQ(walk(Qt::Key_Backtab, Qt::ShiftModifier, 1), std::vector<std::string>{"Probe1"});
  EXPECT_EQ(QApplication::focusWidget(), first->widget());
  EXPECT_EQ(walk(Qt::Key_Backtab, Qt::ShiftModifier, 1), std::vector<std::string>{"txtA"});

  // None of them can: the control itself.
  first->put_TabStop(false);
  second->put_Enabled(false);
  EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier, 1), std::vector<std::string>{"Probe1"});
  EXPECT_EQ(QApplication::focusWidget(), host->widget());
}

TEST_F(KeyboardTest, KeyPreviewLetsTheFormSeeKeysFirst) {
  std::vector<std::string> log;
  form->on("frmKeys", "KeyDown", [&](forms::EventArgs& e) { log.push_back("form down " + e.args[0].toString()); });
  form->on("frmKeys", "KeyPress", [&](forms::EventArgs& e) {
    log.push_back("form press " + e.args[0].toString());
    if (e.args[0].toInt16() == 'x') e.args[0] = Variant(int16_t{0});
    if (e.args[0].toInt16() == 'b') e.args[0] = Variant(int16_t{'B'});
  });
  form->on("frmKeys", "KeyUp", [&](forms::EventArgs& e) { log.push_back("form up " + e.args[0].toString()); });
  form->on("txtA", "KeyDown", [&](forms::EventArgs& e) { log.push_back("txtA down " + e.args[0].toString()); });
  form->on("txtA", "KeyPress", [&](forms::EventArgs& e) { log.push_back("txtA press " + e.args[0].toString()); });
  form->on("txtA", "KeyUp", [&](forms::EventArgs& e) { log.push_back("txtA up " + e.args[0].toString()); });

  struct Case {
    bool preview;
    int key;
    QString typed;
    std::string textAfter;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {false, Qt::Key_A, "a", "a", {"txtA down 65", "txtA press 97", "txtA up 65"}},
      {true, Qt::Key_A, "a", "a",
       {"form down 65", "txtA down 65", "form press 97", "txtA press 97", "form up 65", "txtA up 65"}},
      // KeyAscii set to 0 by the form: the control never sees the key and nothing is typed.
      {true, Qt::Key_X, "x", "", {"form down 88", "txtA down 88", "form press 120", "form up 88", "txtA up 88"}},
      // A changed KeyAscii is what the control sees and what gets typed.
      {true, Qt::Key_B, "b", "B",
       {"form down 66", "txtA down 66", "form press 98", "txtA press 66", "form up 66", "txtA up 66"}},
      {false, Qt::Key_X, "x", "x", {"txtA down 88", "txtA press 120", "txtA up 88"}},
      // A key the text box has no use for is still the text box's alone: Qt offering it
      // to the form's window afterwards is not a second key for the form.
      {true, Qt::Key_F5, "", "", {"form down 116", "txtA down 116", "form up 116", "txtA up 116"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString() + (c.preview ? " with preview" : ""));
    forms::let(form, "KeyPreview", Variant(c.preview));
    forms::let(txtA, "Text", Variant(""));
    log.clear();
    press(c.key, Qt::NoModifier, c.typed);
    EXPECT_EQ(text(txtA), c.textAfter);
    EXPECT_EQ(log, c.log);
  }
}

TEST_F(KeyboardTest, KeyDownCodeSetToZeroIsDiscarded) {
  form->put_KeyPreview(true);
  std::vector<std::string> log;
  form->on("frmKeys", "KeyDown", [&](forms::EventArgs& e) { e.args[0] = Variant(int16_t{0}); });
  form->on("txtA", "KeyDown", [&](forms::EventArgs&) { log.push_back("txtA down"); });
  press(Qt::Key_A, Qt::NoModifier, "a");
  EXPECT_TRUE(log.empty());
}

TEST_F(KeyboardTest, EnterBecomesTabThroughSendKeys) {
  form->put_KeyPreview(true);
  form->on("frmKeys", "KeyPress", [&](forms::EventArgs& e) {
    if (e.args[0].toInt16() != forms::keycode::Return) return;
    e.args[0] = Variant(int16_t{0});
    forms::SendKeys("{TAB}", false);
  });
  press(Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(focused(), "txtA");  // the keys are only posted
  testsupport::advance(0);
  EXPECT_EQ(focused(), "txtB");
  press(Qt::Key_Return, Qt::NoModifier, "\r");
  press(Qt::Key_Return, Qt::NoModifier, "\r");
  testsupport::advance(0);
  EXPECT_EQ(focused(), "txtA");
}

TEST_F(KeyboardTest, SendKeysTypesIntoTheFocusedControl) {
  forms::SendKeys("ab{TAB}c+{TAB}d", true);
  EXPECT_EQ(text(txtA), "abd");
  EXPECT_EQ(text(txtB), "c");
  EXPECT_EQ(focused(), "txtA");
  forms::SendKeys("{x 3}{{}{BS}", true);
  EXPECT_EQ(text(txtA), "abdxxx");
}

TEST(SendKeysTest, MalformedKeysAreErrorFive) {
  for (const char* keys : {"{TAB", "{NOPE}", "}", "{}", "{TAB -1}", "{TAB x}", "{TAB 2x}", "a)"}) {
    try {
      forms::SendKeys(keys, false);
      ADD_FAILURE() << keys << " was accepted";
    } catch (const forms::Error& e) {
      EXPECT_EQ(e.number(), forms::err::InvalidCall) << keys;
    }
  }
  EXPECT_EQ(forms::Clock::instance().pending(), 0u);  // nothing half-posted
}

}  // namespace
