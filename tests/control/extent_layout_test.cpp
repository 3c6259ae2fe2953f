#include "control_fixture.h"

TEST_F(ScrollbayTest, WorkedExampleNumberForNumber) {
  makeControl(4500, 3000);
  addChild("Forms.TextBox", "Text1", 300, 4200, 1200, 840);
  addChild("Forms.TextBox", "Text2", 3900, 600, 2400, 360);
  showAndTick();

  ASSERT_TRUE(bay->Layer());
  EXPECT_EQ(bay->VirtualWidthTwips(), 6600);
  EXPECT_EQ(bay->VirtualHeightTwips(), 5340);
  EXPECT_EQ(bay->Layer()->widget()->width(), 440);
  EXPECT_EQ(bay->Layer()->widget()->height(), 356);
  EXPECT_EQ(bay->HScroll()->get_Max(), 156);
  EXPECT_EQ(bay->VScroll()->get_Max(), 172);
  EXPECT_TRUE(bay->HScroll()->get_Visible());
  EXPECT_TRUE(bay->VScroll()->get_Visible());
  EXPECT_EQ(bay->HScroll()->get_SmallChange(), 3);
  EXPECT_EQ(bay->HScroll()->get_LargeChange(), 30);
  EXPECT_EQ(bay->VScroll()->get_SmallChange(), 2);
  EXPECT_EQ(bay->VScroll()->get_LargeChange(), 20);

  struct Piece {
    forms::Control* control;
    float left, top, width, height;
  } pieces[] = {{bay->HScroll().get(), 0, 2760, 4260, 240},
                {bay->VScroll().get(), 4260, 0, 240, 2760},
                {bay->Plug().get(), 4260, 2760, 240, 240}};
  for (const Piece& p : pieces) {
    SCOPED_TRACE(p.control->name());
    EXPECT_FLOAT_EQ(p.control->get_Left(), p.left);
    EXPECT_FLOAT_EQ(p.control->get_Top(), p.top);
    EXPECT_FLOAT_EQ(p.control->get_Width(), p.width);
    EXPECT_FLOAT_EQ(p.control->get_Height(), p.height);
  }
  EXPECT_TRUE(bay->Plug()->get_Visible());
}
