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

TEST_F(ScrollbayTest, ExtentCountsOnlyVisibleDirectChildrenOfTheLayer) {
  makeControl(4500, 3000);
  addChild("Forms.TextBox", "Shown", 100, 100, 1000, 300);
  auto hidden = addChild("Forms.TextBox", "Hidden", 100, 9000, 1000, 300);
  hidden->put_Visible(false);
  auto frame = addChild("Forms.Frame", "Frame1", 200, 1000, 2000, 1500);
  addChild("Forms.TextBox", "InFrame", 100, 20000, 1000, 300, frame.get());  // inside the frame: not counted
  auto timerLike = addChild("Forms.Label", "m_Timer", 100, 30000, 100, 100);
  showAndTick();
  EXPECT_EQ(timerLike->containerWindow(), host.get());  // never moved onto the layer
  EXPECT_EQ(bay->VirtualWidthTwips(), 2200 + 300);
  EXPECT_EQ(bay->VirtualHeightTwips(), 2500 + 300);

  // Half to even on the right edge: 1234.5 counts as 1234, 1235.5 as 1236.
  struct Case {
    float width;
    int32_t expected;
  } cases[] = {{1134.5f, 1234 + 300}, {1135.5f, 1236 + 300}};
  auto edge = addChild("Forms.Label", "Edge", 100, 0, 10, 10);
  frame->put_Visible(false);
  for (const Case& c : cases) {
    edge->put_Width(c.width);
    testsupport::advance(200);
    EXPECT_EQ(bay->VirtualWidthTwips(), c.expected) << c.width;
  }
}

TEST_F(ScrollbayTest, NoChildGivesTheMarginsAndALayerAsLargeAsTheControl) {
  makeControl(4500, 3000);
  showAndTick();
  EXPECT_EQ(bay->VirtualWidthTwips(), 300);
  EXPECT_EQ(bay->VirtualHeightTwips(), 300);
  EXPECT_EQ(bay->Layer()->widget()->size(), QSize(300, 200));
  EXPECT_LT(bay->HScroll()->get_Max(), 0);
  EXPECT_FALSE(bay->HScroll()->get_Visible());
  EXPECT_FALSE(bay->VScroll()->get_Visible());
  EXPECT_FALSE(bay->Plug()->get_Visible());
}

TEST_F(ScrollbayTest, AutoShowsAScrollbarFromMaxOneOn) {
  // Visible width 300 - 16 = 284 pixels; the extent is the child's right edge plus 300 twips.
  makeControl(4500, 3000);
  auto child = addChild("Forms.Label", "Wide", 0, 0, 100, 100);
  showAndTick();
  struct Case {
    float rightEdgePixels;
    int16_t max;
    bool shown;
  } cases[] = {{284 - 20, 0, false}, {284 - 20 + 1, 1, true}, {284 - 20 - 5, -5, false}};
  for (const Case& c : cases) {
    child->put_Width(c.rightEdgePixels * 15);
    testsupport::advance(200);
    EXPECT_EQ(bay->HScroll()->get_Max(), c.max) << c.rightEdgePixels;
    EXPECT_EQ(bay->HScroll()->get_Visible(), c.shown) << c.rightEdgePixels;
  }
}

TEST_F(ScrollbayTest, ScrollbarsModesShowWhatTheySay) {
  makeControl(4500, 3000);
  showAndTick();
  struct Case {
    int32_t mode;
    bool h, v, plug;
    float hWidth;
  } cases[] = {{vpBoth, true, true, true, 4260},
               {vpHorizontal, true, false, false, 4500},
               {vpVertical, false, true, false, 4260},
               {vpNone, false, false, false, 4260},
               {7, false, false, false, 4260}};  // any other value behaves as vpAuto
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    forms::let(host, "Scrollbars", forms::Variant(c.mode));
    EXPECT_EQ(forms::get(host, "Scrollbars").toInt32(), c.mode);
    EXPECT_EQ(bay->HScroll()->get_Visible(), c.h);
    EXPECT_EQ(bay->VScroll()->get_Visible(), c.v);
    EXPECT_EQ(bay->Plug()->get_Visible(), c.plug);
    if (c.h) {
      EXPECT_FLOAT_EQ(bay->HScroll()->get_Width(), c.hWidth);
    }
  }
  // The same value again does nothing at all, not even a layout.
  forms::let(host, "Scrollbars", forms::Variant(int32_t{vpBoth}));
  bay->HScroll()->put_Left(123);
  const auto changes = host->propertyChanges().size();
  forms::let(host, "Scrollbars", forms::Variant(int32_t{vpBoth}));
  EXPECT_FLOAT_EQ(bay->HScroll()->get_Left(), 123);
  EXPECT_EQ(host->propertyChanges().size(), changes);
}

TEST_F(ScrollbayTest, NoneStillFollowsTheChildrenAndFixedExtentWaitsForAnAssignment) {
  makeControl(4500, 3000);
  auto child = addChild("Forms.Label", "Far", 6000, 6000, 300, 300);
  forms::let(host, "Scrollbars", forms::Variant(int32_t{vpNone}));
  showAndTick();
  EXPECT_EQ(bay->Layer()->widget()->size(), QSize((6300 + 300) / 15, (6300 + 300) / 15));
  EXPECT_FALSE(bay->VScroll()->get_Visible());

  forms::let(host, "AutoAdjustExtent", false);
  child->put_Left(9000);
  testsupport::advance(200);
  EXPECT_EQ(bay->Layer()->widget()->width(), 6600 / 15);  // no longer follows
  forms::let(host, "VirtualWidth", 15000);
  EXPECT_EQ(bay->Layer()->widget()->width(), 1000);  // sized at once
  forms::let(host, "VirtualWidth", 0);                // below 1: ignored
  EXPECT_EQ(forms::get(host, "VirtualWidth").toInt32(), 15000);
  forms::call(host, "AdjustExtent");  // whatever AutoAdjustExtent says
  EXPECT_EQ(bay->VirtualWidthTwips(), 9300 + 300);
}

TEST_F(ScrollbayTest, ResizingChangesRangesAndLayerOnlyGrowsWithAutoAdjust) {
  makeControl(4500, 3000);
  addChild("Forms.Label", "Child", 0, 0, 6000, 6000);
  std::vector<std::string> events;
  form->on("Scrollbay1", "Resize", [&](forms::EventArgs&) { events.push_back("Resize"); });
  form->Show();
  host->put_Width(3000);  // before the first tick: no layout, no event
  EXPECT_TRUE(events.empty());
  testsupport::advance(200);
  EXPECT_EQ(events.size(), 1u);
  const int16_t max = bay->HScroll()->get_Max();
  host->put_Width(1500);
  EXPECT_EQ(bay->HScroll()->get_Max(), max + 100);
  EXPECT_EQ(events.size(), 2u);
  host->put_Width(9000);
  EXPECT_EQ(bay->Layer()->widget()->width(), 9000 / 15);
  forms::let(host, "AutoAdjustExtent", false);
  host->put_Width(12000);
  EXPECT_EQ(bay->Layer()->widget()->width(), 9000 / 15);
}

TEST_F(ScrollbayTest, MarginsCountFromTheNextComputationAndNegativeOnesAreIgnored) {
  makeControl(4500, 3000);
  addChild("Forms.Label", "Child", 0, 0, 1000, 1000);
  showAndTick();
  EXPECT_EQ(bay->VirtualWidthTwips(), 1300);
  forms::let(host, "RightMargin", -1);
  EXPECT_EQ(forms::get(host, "RightMargin").toInt32(), 300);
  forms::let(host, "RightMargin", 600);
  forms::let(host, "BottomMargin", 0);
  EXPECT_EQ(bay->VirtualWidthTwips(), 1300);  // nothing recomputed yet
  testsupport::advance(200);
  EXPECT_EQ(bay->VirtualWidthTwips(), 1600);
  EXPECT_EQ(bay->VirtualHeightTwips(), 1000);
}
