#include <QApplication>
#include <QTest>

#include "control_fixture.h"

// A 300 x 200 pixel control, both scrollbars shown: the view is 284 x 184 pixels, in twips
// 4260 x 2760. Children are placed in twips on the layer and focused; the next tick
// brings the focused child into view.
class ScrollIntoViewTest : public ScrollbayTest {
 protected:
  void build() {
    makeControl(4500, 3000);
    addChild("Forms.Label", "Corner", 14000, 14000, 100, 100);  // a 1000 x 1000 pixel area
    for (const Box& b : boxes) addChild("Forms.TextBox", b.name, b.left, b.top, b.width, b.height);
    showAndTick();
    QApplication::setActiveWindow(form->widget());
  }
  void focusAndTick(const char* name) {
    form->findControl(name)->SetFocus();
    testsupport::advance(200);
  }
  struct Box {
    const char* name;
    float left, top, width, height;
  };
  std::vector<Box> boxes = {
      {"Inside", 300, 300, 1500, 315},
      {"Below", 300, 6000, 1500, 315},
      {"Right", 6000, 300, 1500, 315},
      {"AsWide", 1500, 300, 4260, 315},       // exactly the view's width, sticking out on the right
      {"EdgeOnRight", 4260, 600, 1500, 315},  // right edge exactly at the view's right edge once at 1500
  };
};

TEST_F(ScrollIntoViewTest, BringsTheFocusedChildIntoViewWithTheLeastMovement) {
  build();
  struct Step {
    const char* focus;
    int32_t h, v;  // expected positions in twips afterwards
  } steps[] = {
      {"Inside", 0, 0},                             // already visible: nothing
      {"Below", 0, 6000 + 315 - 2760},              // bottom edge to the window's bottom edge
      {"Inside", 0, 300},                           // back: top edge to the top edge
      {"AsWide", 1500, 300},                        // as wide as the view: aligned on its left edge
      {"EdgeOnRight", 1500, 300},                   // counts as visible
      {"Right", 1500 + 6000 + 1500 - 4260 - 1500, 300},  // right edge to the right edge
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.focus);
    focusAndTick(s.focus);
    EXPECT_EQ(forms::get(host, "HScrollValue").toInt32(), s.h);
    EXPECT_EQ(forms::get(host, "VScrollValue").toInt32(), s.v);
  }
}

TEST_F(ScrollIntoViewTest, StayingInOneChildLetsTheUserScrollAway) {
  build();
  focusAndTick("Below");
  const int32_t v = forms::get(host, "VScrollValue").toInt32();
  forms::let(host, "VScrollValue", 0);
  testsupport::advance(400);
  EXPECT_EQ(forms::get(host, "VScrollValue").toInt32(), 0) << "the tick pulled the view back from " << v;
}

TEST_F(ScrollIntoViewTest, ChildPartlyAboveAndLeftAlignsBothEdges) {
  build();
  forms::let(host, "HScrollValue", 600);
  forms::let(host, "VScrollValue", 600);
  focusAndTick("Inside");  // at (300, 300): above and left of the window
  EXPECT_EQ(forms::get(host, "HScrollValue").toInt32(), 300);
  EXPECT_EQ(forms::get(host, "VScrollValue").toInt32(), 300);
}

TEST_F(ScrollIntoViewTest, FocusLeavingForAControlOutsideLeavesTheViewAlone) {
  build();
  auto ok = form->addControl("Forms.CommandButton", "cmdOK");
  ok->Move(5000, 300, 1200, 375);
  focusAndTick("Below");  // the view now shows the bottom
  const int32_t h = forms::get(host, "HScrollValue").toInt32();
  const int32_t v = forms::get(host, "VScrollValue").toInt32();
  ASSERT_GT(v, 0);
  auto unchanged = [&](const char* what) {
    testsupport::advance(400);
    EXPECT_EQ(forms::get(host, "HScrollValue").toInt32(), h) << what;
    EXPECT_EQ(forms::get(host, "VScrollValue").toInt32(), v) << what;
  };
  QTest::mouseClick(ok->widget(), Qt::LeftButton);
  ASSERT_EQ(form->activeControl(), ok.get());
  unchanged("focus on the button beside the control");
  // Empty space in the viewport: the layer itself takes the focus.
  QTest::mouseClick(bay->Layer()->clientWidget(), Qt::LeftButton, {}, QPoint(250, 150));
  ASSERT_EQ(form->activeControl(), bay->Layer().get());
  unchanged("focus on the viewport's empty space");
}

TEST_F(ScrollIntoViewTest, FocusInTheOuterOfTwoNestedControlsLeavesTheInnerAlone) {
  build();
  auto inner = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Inner", host.get()));
  inner->Move(300, 1000, 3000, 1500);
  addChild("Forms.TextBox", "Deep", 100, 5000, 900, 315, inner.get());
  testsupport::advance(400);  // adopted by the outer layer, and a layer of its own
  focusAndTick("Deep");         // the inner one brings its field into view
  forms::let(inner, "VScrollValue", 1500);  // and the user scrolls it
  focusAndTick("Inside");
  testsupport::advance(200);
  EXPECT_EQ(forms::get(inner, "VScrollValue").toInt32(), 1500);
}

TEST_F(ScrollIntoViewTest, AFieldFocusedBeforeTheFirstTickKeepsTheFocusAndComesIntoView) {
  makeControl(4500, 3000);
  for (const Box& b : boxes) addChild("Forms.TextBox", b.name, b.left, b.top, b.width, b.height);
  form->Show();
  QApplication::setActiveWindow(form->widget());
  form->findControl("Below")->SetFocus();
  testsupport::advance(200);  // the first tick moves the field onto the layer
  ASSERT_TRUE(bay->Layer());
  EXPECT_EQ(form->activeControl(), form->findControl("Below").get());
  EXPECT_EQ(forms::get(host, "VScrollValue").toInt32(), 6000 + 315 - 2760);
}
