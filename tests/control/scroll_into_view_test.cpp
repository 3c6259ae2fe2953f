#include <QApplication>

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
