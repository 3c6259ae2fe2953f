// Filling the container less four margins, and following its size.
#include "control_fixture.h"

class FillTest : public ScrollbayTest {
 protected:
  // The control's window, in pixels of its container.
  QRect placed() const { return host->widget()->geometry(); }
  size_t changes() const { return host->propertyChanges().size(); }
};

TEST_F(FillTest, MarginsInsideAFramePlaceTheControlBelowTheCaption) {
  form = forms::Form::create("frmFill");
  form->put_ClientWidth(9675);
  form->put_ClientHeight(7905);
  auto frame = form->addControl("Forms.Frame", "frmJob");
  frame->Move(4920, 1920, 4335, 3135);  // 289 x 209 pixels
  host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Scrollbay2", frame.get()));
  bay = dynamic_cast<Scrollbay*>(&host->instance());
  addChild("Forms.OptionButton", "optExec", 120, 120, 3975, 255);
  for (const char* m : {"LeftFillMargin", "RightFillMargin", "BottomFillMargin"}) forms::let(host, m, 50);
  forms::let(host, "TopFillMargin", 500);
  const QRect before = placed();
  forms::let(host, "AutoFillContainer", true);
  EXPECT_NE(placed(), before);
  // 50 twips are 3.33 pixels: 3 in from the left, 33 down, and the far edges at 286 and 206.
  EXPECT_EQ(placed(), QRect(3, 33, 283, 173));
  showAndTick();
  EXPECT_EQ(placed(), QRect(3, 33, 283, 173));  // the layer's first fill agrees
  // The frame grows: the control follows.
  frame->put_Height(4500);
  EXPECT_EQ(placed(), QRect(3, 33, 283, 300 - 36));
}

TEST_F(FillTest, EqualValuesChangeNothingAndWithFillOffMarginsOnlyStore) {
  makeControl(4500, 3000);
  const QRect start = placed();
  forms::let(host, "LeftFillMargin", 300);
  EXPECT_EQ(placed(), start);  // stored and reported, but nothing moves
  EXPECT_EQ(host->propertyChanges().back(), "LeftFillMargin");
  EXPECT_EQ(forms::get(host, "LeftFillMargin").toInt32(), 300);
  size_t before = changes();
  forms::let(host, "LeftFillMargin", 300);
  forms::let(host, "AutoFillContainer", false);
  EXPECT_EQ(changes(), before);

  forms::let(host, "AutoFillContainer", true);
  EXPECT_EQ(placed(), QRect(20, 0, 600 - 20, 467));
  EXPECT_EQ(host->propertyChanges().back(), "AutoFillContainer");
  host->Move(0, 0, 1500, 1500);  // moved by the program: equal assignments do not fill again
  before = changes();
  forms::let(host, "AutoFillContainer", true);
  forms::let(host, "LeftFillMargin", 300);
  EXPECT_EQ(placed(), QRect(0, 0, 100, 100));
  EXPECT_EQ(changes(), before);
  forms::let(host, "LeftFillMargin", 450);
  EXPECT_EQ(placed(), QRect(30, 0, 570, 467));
  EXPECT_EQ(changes(), before + 1);
  // Turning fill off leaves the size as it is.
  forms::let(host, "AutoFillContainer", false);
  form->put_ClientWidth(6000);
  EXPECT_EQ(placed().width(), 570);
}

TEST_F(FillTest, MarginsBeyondTheContainerGiveNoSizeAndNoCrash) {
  makeControl(4500, 3000);
  addChild("Forms.TextBox", "Text1", 300, 300, 1200, 315);
  forms::let(host, "LeftFillMargin", 6000);
  forms::let(host, "RightFillMargin", 6000);
  forms::let(host, "TopFillMargin", -300);  // negative margins reach outside
  forms::let(host, "AutoFillContainer", true);
  EXPECT_EQ(placed().width(), 0);
  EXPECT_EQ(placed().top(), -20);
  showAndTick();
  testsupport::advance(400);
  ASSERT_TRUE(bay->Layer());
  EXPECT_TRUE(testsupport::msgBoxes().empty());
  forms::let(host, "LeftFillMargin", 0);
  forms::let(host, "RightFillMargin", 0);
  EXPECT_EQ(placed().width(), 600);
}

TEST_F(FillTest, AMinimisedContainerLeavesTheControlAndTheRestoreFillsAgain) {
  makeControl(4500, 3000);
  forms::let(host, "AutoFillContainer", true);
  showAndTick();
  const QRect filled = placed();
  ASSERT_EQ(filled, QRect(0, 0, 600, 467));
  form->widget()->showMinimized();
  EXPECT_EQ(placed(), filled);
  host->Move(0, 0, 1500, 1500);
  form->widget()->showNormal();
  EXPECT_EQ(placed(), filled);
}
