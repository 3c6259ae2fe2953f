// The wheel, the system probes that choose how it arrives, and the messages of the
// watched windows.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include "APIDeclare.h"
#include "control_fixture.h"
#include "win32/runtime.h"

namespace {

win32::WPARAM wheelParam(int delta) { return win32::MAKELONG(0, static_cast<uint16_t>(static_cast<int16_t>(delta))); }

class WheelTest : public ScrollbayTest {
 protected:
  void TearDown() override {
    win32::runtime::settings() = win32::runtime::Settings{};
    ScrollbayTest::TearDown();
  }
  // A 300 x 200 pixel control over a tall virtual area.
  void build() {
    makeControl(4500, 3000);
    addChild("Forms.TextBox", "Top", 300, 300, 1500, 315);
    addChild("Forms.TextBox", "Far", 300, 9000, 1500, 315);
    form->on("Scrollbay1", "VScrollChange", [this](forms::EventArgs& e) { events.push_back(e.args[0].toInt32()); });
    showAndTick();
    ASSERT_GT(bay->VScroll()->get_Max(), 100);
  }
  void wheel(int delta) { win32::SendMessageA(bay->LayerWnd(), win32::WM_MOUSEWHEEL, wheelParam(delta), 0); }
  forms::ScrollBar& v() { return *bay->VScroll(); }
  std::vector<int32_t> events;
};

}  // namespace

TEST_F(WheelTest, NotchesAndPartialDeltasScrollByLinesAndKeepTheRemainder) {
  build();
  struct Step {
    int16_t from;  // Value before, or -1 to go on from where the last step left it
    int delta;
    int16_t value;
    int32_t remainder;
  };
  const int16_t max = v().get_Max();
  const Step steps[] = {
      {10, 120, 7, 0},           // one notch away from the user: three lines up
      {1, 120, 0, 0},            // never past Min
      {10, 40, 9, 40},           // a third of a notch scrolls one line at once, and is kept
      {-1, 40, 7, 80},           // and counted again with the next message
      {-1, 40, 4, 0},
      {10, 60, 8, 60},           // half a notch: -1.5 lines round to -2
      {-1, 60, 5, 0},            // the two halves make a notch: three more
      {max, -120, max, 0},       // towards the user at Max stays at Max
      {20, -250, 26, -10},       // the remainder takes the sign of the delta
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "from " << s.from << " by " << s.delta);
    if (s.from >= 0) v().put_Value(s.from);
    wheel(s.delta);
    EXPECT_EQ(v().get_Value(), s.value);
    EXPECT_EQ(bay->WheelRemainder(), s.remainder);
    EXPECT_FLOAT_EQ(bay->Layer()->get_Top(), -15.0f * s.value);
  }
  EXPECT_EQ(bay->HScroll()->get_Value(), 0);  // the wheel is always vertical
}

TEST_F(WheelTest, NothingToScrollLeavesValueAndRemainder) {
  build();
  v().put_Value(10);
  wheel(40);
  ASSERT_EQ(bay->WheelRemainder(), 40);
  v().put_Max(0);  // Min = Max
  events.clear();
  wheel(120);
  EXPECT_EQ(v().get_Value(), 0);
  EXPECT_EQ(bay->WheelRemainder(), 40);
  EXPECT_TRUE(events.empty());
}

TEST_F(WheelTest, TheSystemSettingIsReadAgainWhenItChanges) {
  build();
  EXPECT_EQ(bay->WheelScrollLines(), 3u);
  win32::SystemParametersInfoA(win32::SPI_SETWHEELSCROLLLINES, 5, nullptr, win32::SPIF_SENDCHANGE);
  EXPECT_EQ(bay->WheelScrollLines(), 5u);
  v().put_Value(20);
  wheel(120);
  EXPECT_EQ(v().get_Value(), 15);
  // A setting of "a page a notch" is a huge count: the step still ends at Min.
  win32::SystemParametersInfoA(win32::SPI_SETWHEELSCROLLLINES, 0xFFFFFFFFu, nullptr, win32::SPIF_SENDCHANGE);
  wheel(120);
  EXPECT_EQ(v().get_Value(), 0);
  EXPECT_TRUE(testsupport::msgBoxes().empty());
}

// Qt's wheel events as the window system gives them, over the fields of the layer.
TEST_F(WheelTest, QtWheelInputOverTheFieldsScrollsOnlyForVerticalMovement) {
  forms::Form::AddOptions multiLine;
  multiLine.multiLine = true;
  makeControl(4500, 3000);
  addChild("Forms.TextBox", "Top", 300, 300, 1500, 315);
  addChild("Forms.TextBox", "Far", 300, 9000, 1500, 315);
  auto comments = form->addControl("Forms.TextBox", "Comments", host.get(), multiLine);
  comments->Move(300, 900, 3000, 1200);
  auto notes = form->addControl("Forms.TextBox", "Notes", host.get(), multiLine);
  notes->Move(300, 2400, 3000, 900);
  std::string lines;
  for (int i = 0; i < 40; ++i) lines += "note\n";
  forms::let(notes, "Text", forms::Variant(lines));
  form->on("Scrollbay1", "VScrollChange", [this](forms::EventArgs& e) { events.push_back(e.args[0].toInt32()); });
  showAndTick();
  auto send = [&](const char* name, QPoint angle) {
    // To the widget under the pointer, a text box's viewport say, as the window system does.
    QWidget* w = form->findControl(name)->widget();
    const QPoint at(10, 5);
    QWidget* under = w->childAt(at) ? w->childAt(at) : w;
    const QPointF local = under->mapFrom(w, at);
    QWheelEvent event(local, w->mapToGlobal(QPointF(at)), QPoint(), angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(under, &event);
  };
  v().put_Value(30);
  events.clear();
  send("Top", QPoint(0, 120));
  EXPECT_EQ(v().get_Value(), 27);
  EXPECT_EQ(events, std::vector<int32_t>{27 * 15});

  // A tilt or a sideways swipe moves neither bar.
  send("Top", QPoint(120, 0));
  send("Top", QPoint(-360, 0));
  EXPECT_EQ(v().get_Value(), 27);
  EXPECT_EQ(bay->HScroll()->get_Value(), 0);
  EXPECT_EQ(bay->WheelRemainder(), 0);

  // Half a notch scrolls two lines and keeps 60; the gesture's closing zero moves nothing.
  send("Top", QPoint(0, 60));
  ASSERT_EQ(v().get_Value(), 25);
  send("Top", QPoint(0, 0));
  EXPECT_EQ(v().get_Value(), 25);
  EXPECT_EQ(bay->WheelRemainder(), 60);

  send("Top", QPoint(0, -60));
  ASSERT_EQ(bay->WheelRemainder(), 0);

  // An empty multi-line box has nothing to scroll: the viewport scrolls. One that has
  // lines to show scrolls them itself.
  send("Comments", QPoint(0, -120));
  EXPECT_EQ(v().get_Value(), 28);
  auto* own = static_cast<QAbstractScrollArea*>(notes->widget())->verticalScrollBar();
  ASSERT_GT(own->maximum(), 0);
  send("Notes", QPoint(0, -120));
  EXPECT_EQ(v().get_Value(), 28);
  EXPECT_GT(own->value(), 0);
}

TEST(VersionProbes, RecogniseOnlyTheTwoOldSystems) {
  struct Case {
    win32::DWORD platform, major, minor;
    bool fails;
    bool is95, isNT3;
  } cases[] = {
      {1, 4, 0, false, true, false},   {1, 4, 10, false, false, false}, {1, 4, 90, false, false, false},
      {2, 3, 51, false, false, true},  {2, 4, 0, false, false, false},  {2, 10, 0, false, false, false},
      {1, 4, 0, true, false, false},   {2, 3, 10, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.platform << " " << c.major << "." << c.minor << (c.fails ? " failing" : ""));
    auto& s = win32::runtime::settings();
    s.version.dwPlatformId = c.platform;
    s.version.dwMajorVersion = c.major;
    s.version.dwMinorVersion = c.minor;
    s.versionCallFails = c.fails;
    EXPECT_EQ(APIDeclare::IsWindows95(), c.is95);
    EXPECT_EQ(APIDeclare::IsWindowsNT3(), c.isNT3);
  }
  win32::runtime::settings() = win32::runtime::Settings{};
}

TEST_F(WheelTest, OnTheOldSystemsTheRegisteredMessageComesBackAsAWheelMessage) {
  auto& s = win32::runtime::settings();
  s.version.dwPlatformId = win32::VER_PLATFORM_WIN32_WINDOWS;
  s.version.dwMajorVersion = 4;
  s.version.dwMinorVersion = 0;
  s.wheelScrollLines = 7;  // not asked on these systems
  build();
  const win32::UINT registered = bay->WheelMessage();
  EXPECT_EQ(registered, win32::RegisterWindowMessageA("MSWHEEL_ROLLMSG"));
  EXPECT_EQ(bay->WheelScrollLines(), 3u);
  v().put_Value(10);
  win32::SendMessageA(bay->LayerWnd(), registered, wheelParam(120), 0);
  EXPECT_EQ(v().get_Value(), 10);  // posted: it arrives from the loop
  testsupport::advance(0);
  EXPECT_EQ(v().get_Value(), 7);
}

TEST_F(WheelTest, AFailureInAHandlerShowsTheListenersBoxAndTheDispatchGoesOn) {
  build();
  forms::let(host, "AutoFillContainer", true);
  form->on("Scrollbay1", "Resize", [](forms::EventArgs&) { throw forms::Error(forms::err::InvalidCall); });
  testsupport::msgBoxes().clear();
  form->put_ClientWidth(7000);  // the container's WM_SIZE fills, and the fill's Resize fails
  bool seen = false;
  for (const auto& box : testsupport::msgBoxes())
    seen = seen || box.prompt == "ERR_WNDLISTENER : Invalid procedure call or argument : 5";
  EXPECT_TRUE(seen);
  EXPECT_EQ(host->widget()->width(), 467);  // filled all the same
  // The listener still answers: the wheel scrolls.
  v().put_Value(10);
  wheel(120);
  EXPECT_EQ(v().get_Value(), 7);
}

TEST_F(WheelTest, TheControlsWindowAnswersScrollbarColourWithItsBrush) {
  build();
  const win32::HWND bar = bay->VScroll()->hWnd();
  forms::let(host, "ScrollbarBackColor", forms::Variant(int32_t{0x0000FF}));
  const win32::HBRUSH brush = bay->ScrollbarBrush();
  EXPECT_EQ(win32::SendMessageA(host->hWnd(), win32::WM_CTLCOLORSCROLLBAR, 0, bar), brush);
  win32::COLORREF colour = 0;
  ASSERT_TRUE(win32::runtime::brushColor(brush, &colour));
  EXPECT_EQ(colour, 0x0000FFu);
  // A new colour replaces the brush; the same colour keeps it.
  const int objects = win32::runtime::liveObjectCount();
  forms::let(host, "ScrollbarBackColor", forms::Variant(int32_t{0x0000FF}));
  EXPECT_EQ(bay->ScrollbarBrush(), brush);
  forms::let(host, "ScrollbarBackColor", forms::Variant(static_cast<int32_t>(0x80000000u | win32::COLOR_BTNFACE)));
  EXPECT_NE(bay->ScrollbarBrush(), brush);
  EXPECT_EQ(win32::runtime::liveObjectCount(), objects);
  ASSERT_TRUE(win32::runtime::brushColor(bay->ScrollbarBrush(), &colour));
  EXPECT_EQ(colour, win32::GetSysColor(win32::COLOR_BTNFACE));
}
