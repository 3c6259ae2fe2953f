#include <QApplication>
#include <array>

#include "SubclassWnd.h"
#include "Timer.h"
#include "control_fixture.h"
#include "forms/formfile.h"
#include "win32/runtime.h"

namespace {
std::string keyOf(const forms::UserControlHost& h) { return "x_y_z" + std::to_string(h.hWnd()); }
}  // namespace

TEST_F(ScrollbayTest, RunModeAttachesRegistersOnShowAndBuildsTheLayerAtTheFirstTick) {
  makeControl(4500, 3000);
  auto text = addChild("Forms.TextBox", "Text1", 300, 300, 1200, 315);
  // Own window and container window attached from the properties on.
  EXPECT_TRUE(SubclassWnd::FindRecord(host->hWnd()));
  EXPECT_TRUE(SubclassWnd::FindRecord(form->hWnd()));
  EXPECT_TRUE(bay->TimerKey().empty());

  form->Show();
  EXPECT_EQ(bay->TimerKey(), keyOf(*host));
  EXPECT_TRUE(Timer::IsRegistered(keyOf(*host)));
  form->Show();  // shown again: still one registration
  EXPECT_EQ(Timer::ListenerCount(), 1u);

  // Before the first tick the children are still directly on the control.
  EXPECT_FALSE(bay->Layer());
  EXPECT_EQ(text->containerWindow(), host.get());
  testsupport::advance(200);
  ASSERT_TRUE(bay->Layer());
  EXPECT_EQ(bay->Layer()->name(), keyOf(*host));
  EXPECT_EQ(bay->Layer()->containerWindow(), host.get());
  EXPECT_EQ(text->containerWindow(), bay->Layer().get());
  EXPECT_FLOAT_EQ(text->get_Left(), 300);  // the same numbers in the virtual area
  EXPECT_TRUE(SubclassWnd::FindRecord(bay->LayerWnd()));
  // The pieces stay above the layer.
  const auto stack = host->clientWidget()->children();
  EXPECT_GT(stack.indexOf(bay->VScroll()->widget()), stack.indexOf(bay->Layer()->widget()));
  EXPECT_GT(stack.indexOf(bay->HScroll()->widget()), stack.indexOf(bay->Layer()->widget()));
}

// Loaded and shown, before the first tick: nothing of a piece shows at its designed size
// in the top left corner. With nothing to scroll yet Auto shows no bar; a bar the
// settings always show is already in its place.
TEST_F(ScrollbayTest, BeforeTheFirstTickThePiecesShowWhereTheSettingsPutThem) {
  const char* json = R"({"class": "Form", "name": "frmFirst", "ClientWidth": 9000, "ClientHeight": 6000, "controls": [
    {"class": "ScrollbayCtl.Scrollbay", "name": "bayAuto", "Left": 0, "Top": 0, "bag": {"_extentx": 7938, "_extenty": 5292},
     "controls": [{"class": "Forms.TextBox", "name": "txtFar", "Left": 300, "Top": 9000, "Width": 1500, "Height": 300}]},
    {"class": "ScrollbayCtl.Scrollbay", "name": "bayBoth", "Left": 4800, "Top": 0,
     "bag": {"Scrollbars": 1, "_extentx": 7938, "_extenty": 5292}}]})";
  form = forms::loadFormFromJson(json, "first.json");
  form->Show();
  testsupport::processQtEvents();
  auto pieces = [&](const char* name) {
    auto* b = dynamic_cast<Scrollbay*>(&std::dynamic_pointer_cast<forms::UserControlHost>(form->findControl(name))->instance());
    return std::array<forms::Control*, 3>{b->HScroll().get(), b->VScroll().get(), b->Plug().get()};
  };
  for (forms::Control* piece : pieces("bayAuto")) EXPECT_FALSE(piece->widget()->isVisible()) << piece->name();
  // 300 x 200 pixels: the bars along the right and bottom edges, the corner between.
  const auto both = pieces("bayBoth");
  for (forms::Control* piece : both) EXPECT_TRUE(piece->widget()->isVisible()) << piece->name();
  EXPECT_EQ(both[0]->widget()->geometry(), QRect(0, 184, 284, 16));
  EXPECT_EQ(both[1]->widget()->geometry(), QRect(284, 0, 16, 184));
  EXPECT_EQ(both[2]->widget()->geometry(), QRect(284, 184, 16, 16));
}

TEST_F(ScrollbayTest, DesignModeHasNoLayerNoTimerNoSubclassingAndHiddenPieces) {
  makeControl(4500, 3000, /*designMode=*/true);
  addChild("Forms.TextBox", "Text1", 300, 300, 1200, 315);
  form->Show();
  form->Show();
  testsupport::advance(1000);
  EXPECT_FALSE(bay->Layer());
  EXPECT_TRUE(bay->TimerKey().empty());
  EXPECT_EQ(Timer::ListenerCount(), 0u);
  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u);
  EXPECT_FALSE(bay->HScroll()->get_Visible());
  EXPECT_FALSE(bay->VScroll()->get_Visible());
  EXPECT_FALSE(bay->Plug()->get_Visible());
  // Scrollbars still sets visibility, which the designer keeps hidden.
  forms::let(host, "Scrollbars", forms::Variant(int32_t{vpBoth}));
  EXPECT_FALSE(bay->HScroll()->get_Visible());
  EXPECT_NO_THROW(forms::call(host, "AdjustExtent"));
}

TEST_F(ScrollbayTest, UnloadLeavesNoRecordNoListenerNoTimerNoBrushNoWindow) {
  const int windows = win32::runtime::liveWindowCount();
  const int objects = win32::runtime::liveObjectCount();
  const int timers = win32::runtime::armedTimerCount();
  makeControl(4500, 3000);
  addChild("Forms.TextBox", "Text1", 300, 300, 1200, 315);
  showAndTick();
  ASSERT_TRUE(bay->Layer());
  EXPECT_NE(bay->ScrollbarBrush(), 0);
  // With the colours, the wheel and the fill in use.
  forms::let(host, "ScrollbarBackColor", forms::Variant(int32_t{0x0000FF}));
  forms::let(host, "ScrollbarBackColor", forms::Variant(int32_t{0x00FF00}));
  forms::let(host, "BackColor", forms::Variant(int32_t{0xFFFFFF}));
  forms::let(host, "AutoFillContainer", true);
  win32::SendMessageA(bay->LayerWnd(), win32::WM_MOUSEWHEEL, win32::MAKELONG(0, 40), 0);
  form->put_ClientWidth(8000);
  std::weak_ptr<forms::ControlClass> instance = host->instancePtr();
  host.reset();
  bay = nullptr;
  form->Unload();
  form.reset();
  testsupport::advance(400);
  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u);
  EXPECT_EQ(Timer::ListenerCount(), 0u);
  EXPECT_EQ(Timer::TimerID(), 0u);
  EXPECT_EQ(win32::runtime::armedTimerCount(), timers);
  EXPECT_EQ(win32::runtime::liveObjectCount(), objects);
  EXPECT_EQ(win32::runtime::liveWindowCount(), windows);
  EXPECT_TRUE(instance.expired()) << "something still holds the control";
  EXPECT_TRUE(testsupport::msgBoxes().empty());
}

TEST_F(ScrollbayTest, TwoControlsOnOneFormKeepTheirOwnLayersAndKeys) {
  makeControl(3000, 2000);
  auto second = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Scrollbay2"));
  second->Move(3500, 0, 3000, 2000);
  auto* bay2 = dynamic_cast<Scrollbay*>(&second->instance());
  addChild("Forms.TextBox", "Text1", 100, 4000, 900, 315);
  addChild("Forms.TextBox", "Text2", 100, 100, 900, 315, second.get());
  showAndTick();
  ASSERT_TRUE(bay->Layer() && bay2->Layer());
  EXPECT_NE(bay->TimerKey(), bay2->TimerKey());
  EXPECT_EQ(bay2->Layer()->name(), keyOf(*second));
  EXPECT_EQ(form->findControl("Text2")->containerWindow(), bay2->Layer().get());
  EXPECT_EQ(Timer::ListenerCount(), 2u);
  // The first scrolls vertically; the second has nothing to scroll.
  EXPECT_GT(bay->VScroll()->get_Max(), 0);
  EXPECT_LT(bay2->VScroll()->get_Max(), 0);
  testsupport::advance(200);
  EXPECT_EQ(bay2->Layer()->widget()->height(), 2000 / 15);
}

TEST_F(ScrollbayTest, ElementThreeOfAControlArrayPutsItsLayerIntoElementThree) {
  form = forms::Form::create("frmArray");
  form->put_ClientWidth(9000);
  form->put_ClientHeight(7000);
  forms::Form::AddOptions first, third;
  first.index = 0;
  third.index = 3;
  auto element0 = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Bays", nullptr, first));
  host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Bays", nullptr, third));
  host->Move(4000, 0, 3000, 2000);
  bay = dynamic_cast<Scrollbay*>(&host->instance());
  showAndTick();
  ASSERT_TRUE(bay->Layer());
  EXPECT_EQ(bay->Layer()->containerWindow(), host.get());
  auto* bay0 = dynamic_cast<Scrollbay*>(&element0->instance());
  ASSERT_TRUE(bay0->Layer());
  EXPECT_EQ(bay0->Layer()->containerWindow(), element0.get());
}

TEST_F(ScrollbayTest, DestroyingAWatchedWindowEndsTheTimerAndAShowRegistersAgain) {
  makeControl(4500, 3000);
  showAndTick();
  ASSERT_TRUE(bay->Layer());
  const win32::HWND layer = bay->LayerWnd();
  win32::runtime::destroyWindow(layer);
  EXPECT_TRUE(bay->TimerKey().empty());
  EXPECT_EQ(Timer::ListenerCount(), 0u);
  EXPECT_FALSE(bay->Layer());
  EXPECT_FALSE(SubclassWnd::FindRecord(layer));
  // Shown again later: registered again.
  form->Hide();
  form->Show();
  EXPECT_FALSE(bay->TimerKey().empty());
  testsupport::advance(200);
  EXPECT_TRUE(bay->Layer());  // and the next tick builds a new layer
}

TEST_F(ScrollbayTest, WithoutALayerTheControlWaitsAndRetriesAtEveryTick) {
  makeControl(4500, 3000);
  auto text = addChild("Forms.TextBox", "Text1", 300, 300, 1200, 315);
  // Something else already holds the layer's name: adding the picture box fails.
  auto squatter = form->addControl("Forms.Label", keyOf(*host));
  std::vector<std::string> resizes;
  form->on("Scrollbay1", "Resize", [&](forms::EventArgs&) { resizes.push_back("Resize"); });
  showAndTick();
  testsupport::advance(400);
  EXPECT_FALSE(bay->Layer());
  EXPECT_EQ(text->containerWindow(), host.get());
  host->put_Height(2000);  // no layout and no event without a layer
  EXPECT_TRUE(resizes.empty());
  EXPECT_NO_THROW(forms::call(host, "AdjustExtent"));
  EXPECT_TRUE(testsupport::msgBoxes().empty());  // nothing is reported

  win32::runtime::destroyWindow(squatter->hWnd());  // the name is free again
  testsupport::advance(200);
  ASSERT_TRUE(bay->Layer());
  EXPECT_EQ(text->containerWindow(), bay->Layer().get());
  EXPECT_EQ(resizes.size(), 1u);
}

TEST_F(ScrollbayTest, ATickSurvivesAScrollHandlerThatUnloadsTheForm) {
  const int windows = win32::runtime::liveWindowCount();
  const int objects = win32::runtime::liveObjectCount();
  makeControl(4500, 3000);
  auto far = addChild("Forms.TextBox", "Far", 300, 9000, 1200, 315);
  showAndTick();
  forms::let(host, "VScrollValue", forms::get(host, "VScrollValue").toInt32() + 6000);
  ASSERT_GT(bay->VScroll()->get_Value(), 0);
  // The child moves up: the next tick lowers Max below the position, which scrolls, and
  // the program unloads the form from the scroll event, in the middle of the tick.
  far->put_Top(300);
  form->on("Scrollbay1", "VScrollChange", [this](forms::EventArgs&) { form->Unload(); });
  std::weak_ptr<forms::ControlClass> instance = host->instancePtr();
  host.reset();
  far.reset();
  bay = nullptr;
  testsupport::advance(200);
  EXPECT_FALSE(form->loaded());
  form.reset();
  testsupport::advance(400);
  EXPECT_TRUE(instance.expired());
  EXPECT_EQ(Timer::ListenerCount(), 0u);
  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u);
  EXPECT_EQ(win32::runtime::liveWindowCount(), windows);
  EXPECT_EQ(win32::runtime::liveObjectCount(), objects);
  EXPECT_TRUE(testsupport::msgBoxes().empty());
}
