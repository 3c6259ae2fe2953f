#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

#include "control_fixture.h"

namespace {

void pressOn(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QCoreApplication::sendEvent(w, &press);
}

}  // namespace

class ScrollingTest : public ScrollbayTest {
 protected:
  // A 300 x 200 pixel control over a 1000 x 1000 pixel virtual area.
  void build() {
    makeControl(4500, 3000);
    addChild("Forms.Label", "Far", 0, 0, 15000 - 300, 15000 - 300);
    form->on("Scrollbay1", "HScrollChange", [this](forms::EventArgs& e) { log.push_back("H " + e.args[0].toString()); });
    form->on("Scrollbay1", "VScrollChange", [this](forms::EventArgs& e) {
      log.push_back("V " + e.args[0].toString());
      e.args[0] = forms::Variant(int32_t{0});  // changing the copy changes nothing
    });
    form->on("Scrollbay1", "KeyDown", [this](forms::EventArgs& e) {
      log.push_back("KeyDown " + e.args[0].toString() + " " + e.args[1].toString());
    });
    showAndTick();
    ASSERT_TRUE(bay->Layer());
  }
  std::vector<std::string> log;
};

TEST_F(ScrollingTest, ScrollValuesConvertAndMoveTheLayer) {
  build();
  forms::let(host, "HScrollValue", 150);  // twips: 10 pixels
  EXPECT_EQ(bay->HScroll()->get_Value(), 10);
  EXPECT_EQ(forms::get(host, "HScrollValue").toInt32(), 150);
  EXPECT_FLOAT_EQ(bay->Layer()->get_Left(), -150);
  EXPECT_EQ(log, std::vector<std::string>{"H 150"});
  forms::let(host, "HScrollValue", 155);  // still 10 pixels: nothing happens
  EXPECT_EQ(log.size(), 1u);

  forms::let(host, "VScrollValue", 3000);
  EXPECT_FLOAT_EQ(bay->Layer()->get_Top(), -3000);
  EXPECT_EQ(forms::get(host, "VScrollValue").toInt32(), 3000);

  // Outside the range: the scrollbar's error, and nothing moves.
  for (int32_t bad : {-15, 1000000}) {
    try {
      forms::let(host, "VScrollValue", bad);
      ADD_FAILURE() << bad;
    } catch (const forms::Error& e) {
      EXPECT_TRUE(e.number() == 380 || e.number() == 6) << e.number();
    }
  }
  EXPECT_FLOAT_EQ(bay->Layer()->get_Top(), -3000);
}

TEST_F(ScrollingTest, KeysOnTheLayerScrollThenReportTheKey) {
  build();
  QWidget* layer = bay->Layer()->widget();
  auto& h = *bay->HScroll();
  auto& v = *bay->VScroll();

  pressOn(layer, Qt::Key_Left);  // already at Min
  EXPECT_EQ(h.get_Value(), 0);
  pressOn(layer, Qt::Key_Right);
  EXPECT_EQ(h.get_Value(), h.get_SmallChange());
  pressOn(layer, Qt::Key_Down);
  EXPECT_EQ(v.get_Value(), v.get_SmallChange());

  log.clear();
  pressOn(layer, Qt::Key_PageDown);
  EXPECT_EQ(log, (std::vector<std::string>{"V " + std::to_string(15 * (v.get_SmallChange() + v.get_LargeChange())), "KeyDown 34 0"}));

  // Near the end a page goes exactly to Max.
  v.put_Value(static_cast<int16_t>(v.get_Max() - 3));
  pressOn(layer, Qt::Key_PageDown);
  EXPECT_EQ(v.get_Value(), v.get_Max());
  pressOn(layer, Qt::Key_PageUp);
  EXPECT_EQ(v.get_Value(), v.get_Max() - v.get_LargeChange());

  // With a modifier nothing scrolls, but the key is still reported as it came.
  const int16_t before = v.get_Value();
  log.clear();
  for (auto mods : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) pressOn(layer, Qt::Key_Down, mods);
  EXPECT_EQ(v.get_Value(), before);
  EXPECT_EQ(log, (std::vector<std::string>{"KeyDown 40 1", "KeyDown 40 2", "KeyDown 40 4"}));

  // Left/right never move the vertical bar; page keys never the horizontal one; other keys nothing.
  const int16_t hBefore = h.get_Value();
  pressOn(layer, Qt::Key_PageUp);
  pressOn(layer, Qt::Key_Home);
  EXPECT_EQ(h.get_Value(), hBefore);
}

TEST_F(ScrollingTest, KeysTypedIntoAFieldOnTheLayerDoNotScrollIt) {
  makeControl(4500, 3000);
  auto field = addChild("Forms.TextBox", "Field", 300, 300, 1500, 315);
  addChild("Forms.Label", "Far", 300, 9000, 1500, 315);
  showAndTick();
  QApplication::setActiveWindow(form->widget());
  field->SetFocus();
  for (int key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Right}) pressOn(field->widget(), key);
  EXPECT_EQ(bay->VScroll()->get_Value(), 0);
  EXPECT_EQ(bay->HScroll()->get_Value(), 0);
}

// Tab from a field of the form onto the viewport: the vertical bar takes the focus when it
// shows, so Down and Page Down scroll down; the horizontal one when only it shows.
TEST_F(ScrollingTest, TabOntoTheViewportFocusesTheBarThatScrollsDown) {
  build();
  auto before = form->addControl("Forms.TextBox", "Before");
  before->put_TabIndex(0);
  host->put_TabIndex(1);
  QApplication::setActiveWindow(form->widget());
  auto tabFromBefore = [&] {
    before->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return QApplication::focusWidget();
  };
  ASSERT_TRUE(bay->HScroll()->get_Visible() && bay->VScroll()->get_Visible());
  EXPECT_EQ(tabFromBefore(), bay->VScroll()->widget());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  EXPECT_EQ(bay->VScroll()->get_Value(), bay->VScroll()->get_LargeChange() + bay->VScroll()->get_SmallChange());
  EXPECT_EQ(bay->HScroll()->get_Value(), 0);

  forms::let(host, "Scrollbars", forms::Variant(int32_t{vpHorizontal}));
  EXPECT_EQ(tabFromBefore(), bay->HScroll()->widget());
}

TEST_F(ScrollingTest, HiddenScrollbarsDoNotScrollFromTheKeyboard) {
  build();
  forms::let(host, "Scrollbars", forms::Variant(int32_t{vpNone}));
  QWidget* layer = bay->Layer()->widget();
  log.clear();
  pressOn(layer, Qt::Key_Down);
  pressOn(layer, Qt::Key_Right);
  EXPECT_EQ(bay->VScroll()->get_Value(), 0);
  EXPECT_EQ(bay->HScroll()->get_Value(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"KeyDown 40 0", "KeyDown 39 0"}));
}

TEST_F(ScrollingTest, FocusedScrollbarHidesItsCaret) {
  build();
  const int before = win32::runtime::hideCaretCount(bay->VScroll()->hWnd());
  forms::Args none;
  bay->VScroll()->raiseEvent("GotFocus", none);
  EXPECT_EQ(win32::runtime::hideCaretCount(bay->VScroll()->hWnd()), before + 1);
}

TEST_F(ScrollingTest, KeysNeverScrollPastMinWhenThereIsNothingToScroll) {
  makeControl(4500, 3000);
  addChild("Forms.TextBox", "Small", 300, 300, 600, 315);
  showAndTick();
  forms::let(host, "Scrollbars", forms::Variant(int32_t{vpBoth}));
  ASSERT_LT(bay->VScroll()->get_Max(), 0);  // shown, with Max below Min
  QWidget* layer = bay->Layer()->widget();
  for (int key : {Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right}) pressOn(layer, key);
  EXPECT_EQ(bay->VScroll()->get_Value(), 0);
  EXPECT_EQ(bay->HScroll()->get_Value(), 0);
  EXPECT_FLOAT_EQ(bay->Layer()->get_Top(), 0);
  EXPECT_FLOAT_EQ(bay->Layer()->get_Left(), 0);
}

TEST_F(ScrollingTest, ASlowThumbDragScrollsAtRelease) {
  build();
  QApplication::setActiveWindow(form->widget());
  QScrollBar* bar = bay->VScroll()->bar();
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.orientation = Qt::Vertical;
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.pageStep = bar->pageStep();
  option.singleStep = bar->singleStep();
  const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
  ASSERT_FALSE(thumb.isEmpty());
  QPoint at = thumb.center();
  log.clear();
  QTest::mousePress(bar, Qt::LeftButton, {}, at);
  // Over a second, with the tick running in between: the thumb stays with the pointer.
  for (int step = 0; step < 10; ++step) {
    at.ry() += 6;
    QTest::mouseMove(bar, at);
    testsupport::advance(100);
    EXPECT_GT(bar->sliderPosition(), 0) << "the thumb snapped back at step " << step;
  }
  EXPECT_EQ(bay->VScroll()->get_Value(), 0);  // nothing scrolls while the thumb is held
  EXPECT_TRUE(log.empty());
  QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
  const int16_t value = bay->VScroll()->get_Value();
  EXPECT_GT(value, 0);
  EXPECT_FLOAT_EQ(bay->Layer()->get_Top(), -15.0f * value);
  EXPECT_EQ(log, std::vector<std::string>{"V " + std::to_string(15 * value)});
}

namespace {
// Counts the widgets painted while events are processed.
class PaintCounter : public QObject {
 public:
  PaintCounter() { qApp->installEventFilter(this); }
  ~PaintCounter() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted.push_back(o->metaObject()->className());
    return false;
  }
  std::vector<std::string> painted;
};
}  // namespace

TEST_F(ScrollingTest, AScrollStepRepaintsOnlyWhatComesIntoView) {
  makeControl(4500, 3000);
  for (int row = 0; row < 60; ++row) {
    addChild("Forms.Label", ("lbl" + std::to_string(row)).c_str(), 120, 120 + 300.0f * row, 1200, 255);
    addChild("Forms.TextBox", ("txt" + std::to_string(row)).c_str(), 1440, 120 + 300.0f * row, 2400, 285);
  }
  showAndTick();
  testsupport::processQtEvents();
  for (int step = 1; step <= 3; ++step) {
    PaintCounter counter;
    forms::let(host, "VScrollValue", forms::Variant(int32_t{step * 15}));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    std::string what;
    for (auto& p : counter.painted) what += p + " ";
    EXPECT_LE(counter.painted.size(), 6u) << what;
  }
}
