// Mouse input driven through the form's window as a person's clicks arrive: each
// control hears its own clicks once, and no container hears a child's.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWindow>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/scrollbar.h"

namespace {

using forms::Variant;
using Log = std::vector<std::string>;

class MouseTest : public testing::Test {
 protected:
  void SetUp() override {
    form = forms::Form::create("frmMouse");
    lbl = add("Forms.Label", "lblA", 150, 150, 1500, 300);
    fra = add("Forms.Frame", "fraB", 150, 600, 3000, 1500);
    inFrame = form->addControl("Forms.Label", "lblInFrame", fra.get());
    inFrame->Move(150, 450, 1200, 300);
    chk = add("Forms.CheckBox", "chkC", 150, 2400, 3000, 300);
    opt = add("Forms.OptionButton", "optD", 150, 2850, 3000, 300);
    pic = add("Forms.PictureBox", "picOff", 3300, 150, 1200, 900);
    forms::let(pic, "Enabled", Variant(false));
    for (const auto& c : {chk, opt}) forms::let(c, "Caption", Variant("C"));
    for (const char* name : {"frmMouse", "lblA", "fraB", "lblInFrame", "chkC", "optD", "picOff"})
      for (const char* event : {"MouseDown", "MouseMove", "MouseUp", "Click", "DblClick"})
        form->on(name, event, [this, name, event](forms::EventArgs&) { heard.push_back(name + std::string(" ") + event); });
    form->Show();
  }
  void TearDown() override { form->Unload(); }

  forms::ControlPtr add(const char* classId, const char* name, float left, float top, float width, float height) {
    auto c = form->addControl(classId, name);
    c->Move(left, top, width, height);
    return c;
  }

  // Where a point of a control lies in the form's window.
  QPoint at(const forms::ControlPtr& c, QPoint local) const { return c->widget()->mapTo(form->widget(), local); }

  QWindow* window() const { return form->widget()->windowHandle(); }

  Log take() {
    Log out;
    out.swap(heard);
    return out;
  }

  std::shared_ptr<forms::Form> form;
  forms::ControlPtr lbl, fra, inFrame, chk, opt, pic;
  Log heard;
};

TEST_F(MouseTest, EachClickIsHeardOnceByTheControlUnderIt) {
  struct Case {
    const char* what;
    QPoint where;
    Log heard;
  };
  auto clickOn = [](const std::string& name) {
    return Log{name + " MouseMove", name + " MouseDown", name + " MouseUp", name + " Click"};
  };
  const std::vector<Case> cases = {
      {"the form itself", QPoint(300, 220), clickOn("frmMouse")},
      {"a label", at(lbl, QPoint(50, 10)), clickOn("lblA")},
      {"a frame", at(fra, QPoint(150, 80)), clickOn("fraB")},
      {"a label in a frame", at(inFrame, QPoint(40, 10)), clickOn("lblInFrame")},
      // The whole width of a check box or option button is the button.
      {"the blank part of a check box", at(chk, QPoint(180, 10)), {"chkC Click"}},
      {"the blank part of an option button", at(opt, QPoint(180, 10)), {"optD Click"}},
      {"a checked option button, which stays checked", at(opt, QPoint(5, 10)), {"optD Click"}},
      {"a disabled picture box", at(pic, QPoint(40, 30)), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    take();
    QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier, c.where);
    EXPECT_EQ(take(), c.heard);
  }
  EXPECT_EQ(forms::get(chk, "Value").toInt16(), 1);
  EXPECT_TRUE(forms::get(opt, "Value").toBool());

  QTest::mouseDClick(window(), Qt::LeftButton, Qt::NoModifier, at(lbl, QPoint(20, 10)));
  Log twice = clickOn("lblA");
  twice.insert(twice.end(), {"lblA DblClick", "lblA MouseUp"});
  EXPECT_EQ(take(), twice);
}

// Holding the button on a track pages again and again, Qt's own repeat running in real
// time, until the thumb has come under the pointer; the value goes with the thumb.
TEST(ScrollBarInput, HoldingTheTrackPagesUntilTheThumbReachesThePointer) {
  auto form = forms::Form::create("frmTrack");
  form->put_ClientHeight(6000);
  auto bar = std::dynamic_pointer_cast<forms::ScrollBar>(form->addControl("Forms.VScrollBar", "Bar1"));
  bar->Move(0, 0, 16 * 15, 300 * 15);
  // A range of a few pages, as a viewport's is, where Qt's own repeat gave up early.
  bar->put_Max(400);
  bar->put_LargeChange(40);
  form->Show();
  QScrollBar* view = bar->bar();
  QWindow* window = form->widget()->windowHandle();
  const QPoint pointer(8, 250);  // most of the way down the track
  auto thumb = [&] {
    QStyleOptionSlider option;
    option.initFrom(view);
    option.orientation = Qt::Vertical;
    option.minimum = view->minimum();
    option.maximum = view->maximum();
    option.sliderPosition = view->sliderPosition();
    option.sliderValue = view->value();
    option.pageStep = view->pageStep();
    option.singleStep = view->singleStep();
    option.upsideDown = view->invertedAppearance();
    return view->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, view);
  };
  QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, view->mapTo(form->widget(), pointer));
  EXPECT_EQ(bar->get_Value(), 40) << "one page at once";
  QTRY_VERIFY_WITH_TIMEOUT(thumb().contains(pointer), 10000);
  const int16_t reached = bar->get_Value();
  EXPECT_GE(reached, 5 * 40) << "many pages while held";
  EXPECT_LT(reached, 400) << "stops at the pointer, not at the end";
  EXPECT_EQ(view->sliderPosition(), reached) << "the thumb shows the value";
  QTest::qWait(300);
  EXPECT_EQ(bar->get_Value(), reached) << "no paging once the thumb is under the pointer";
  QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, view->mapTo(form->widget(), pointer));

  // Released early, it stops where it was.
  bar->put_Value(0);
  QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, view->mapTo(form->widget(), pointer));
  QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, view->mapTo(form->widget(), pointer));
  QTest::qWait(700);
  EXPECT_EQ(bar->get_Value(), 40);
  form->Unload();
}

}  // namespace
