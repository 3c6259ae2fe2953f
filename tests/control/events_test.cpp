// The control's events as the form sees them, from real input on the control, on its
// layer and on the controls it holds.
#include <QApplication>
#include <QTest>

#include "control_fixture.h"

namespace {

class EventsTest : public ScrollbayTest {
 protected:
  // A 300 x 200 pixel control in pixel units, a field and a label on it, and a log of
  // every event the control raises.
  void build() {
    makeControl(4500, 3000);
    form->put_ScaleMode(forms::ScalePixels);
    field = addChild("Forms.TextBox", "Field", 20, 20, 100, 21);
    label = addChild("Forms.Label", "Caption", 20, 60, 100, 21);
    addChild("Forms.Label", "Far", 600, 900, 100, 21);
    for (const forms::EventInfo& e : Scrollbay::typeInfo().events)
      form->on("Scrollbay1", e.name, [this, name = e.name](forms::EventArgs& a) {
        std::string entry = name;
        for (const forms::Variant& v : a.args) {
          entry += ' ';
          entry += v.toString();
        }
        log.push_back(entry);
      });
  }

  std::vector<std::string> take() { return std::exchange(log, {}); }
  // Clicks arrive at the form's window, as a person's do.
  void click(QWidget* w, QPoint local, bool twice = false) {
    const QPoint at = w->mapTo(form->widget(), local);
    if (twice) QTest::mouseDClick(form->widget()->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    else QTest::mouseClick(form->widget()->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
  }
  static std::vector<std::string> clicked(const std::string& where) {
    return {"MouseMove 0 0 " + where, "MouseDown 1 0 " + where, "MouseUp 1 0 " + where, "Click"};
  }
  std::vector<std::string> log;
  forms::ControlPtr field, label;
};

}  // namespace

TEST_F(EventsTest, MouseEventsFromTheLayerAreInVirtualAreaUnits) {
  build();
  form->Show();
  QApplication::setActiveWindow(form->widget());
  // Before the first tick there is no layer: positions count from the control itself,
  // and resizing it raises no Resize.
  click(host->widget(), QPoint(250, 150));
  host->Move(0, 0.0f, 310, 200);
  EXPECT_EQ(take(), clicked("250 150"));

  testsupport::advance(200);
  ASSERT_TRUE(bay->Layer());
  EXPECT_EQ(take(), std::vector<std::string>{"Resize"});
  forms::let(host, "HScrollValue", forms::Variant(int32_t{50}));
  EXPECT_EQ(take(), std::vector<std::string>{"HScrollChange 50"});
  // 150 pixels from the control's left edge is 200 into the virtual area.
  click(host->widget(), QPoint(150, 150));
  EXPECT_EQ(take(), clicked("200 150"));
  click(host->widget(), QPoint(150, 150), true);
  const std::vector<std::string> dbl = take();
  EXPECT_NE(std::find(dbl.begin(), dbl.end(), "DblClick"), dbl.end());
}

TEST_F(EventsTest, WhatTheControlsOnTheLayerDoStaysTheirs) {
  build();
  showAndTick();
  QApplication::setActiveWindow(form->widget());
  take();
  field->SetFocus();
  click(field->widget(), QPoint(5, 5));
  click(label->widget(), QPoint(5, 5));
  QTest::keyClicks(field->widget(), "ab");
  QTest::keyClick(field->widget(), Qt::Key_PageDown);
  EXPECT_EQ(forms::get(field, "Text").toString(), "ab");
  EXPECT_EQ(take(), std::vector<std::string>{});

  // A wheel notch over the field scrolls the view and says only that.
  QWidget* w = field->widget();
  QWheelEvent wheel(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &wheel);
  EXPECT_EQ(take(), std::vector<std::string>{"VScrollChange 3"});
}

TEST_F(EventsTest, HandlersWriteBackThroughTheirArgumentsExceptThePosition) {
  build();
  form->on("Scrollbay1", "KeyPress", [](forms::EventArgs& a) { a.args[0] = forms::Variant(int16_t{'Z'}); });
  form->on("Scrollbay1", "MouseMove", [](forms::EventArgs& a) { a.args[2] = forms::Variant(1.5f); });
  form->on("Scrollbay1", "HScrollChange", [](forms::EventArgs& a) { a.args[0] = forms::Variant(int32_t{999}); });
  showAndTick();

  // The layer's own arguments come back changed, as its source would see them.
  forms::Args press{forms::Variant(int16_t{'a'})};
  bay->Layer()->raiseEvent("KeyPress", press);
  EXPECT_EQ(press[0].toInt16(), 'Z');
  // So do the control's own.
  int16_t button = 0, shift = 0;
  float x = 7, y = 8;
  bay->MouseMove(button, shift, x, y);
  EXPECT_FLOAT_EQ(x, 1.5f);

  // The position is a copy: the handler's change is dropped.
  forms::let(host, "HScrollValue", forms::Variant(int32_t{40}));
  EXPECT_EQ(forms::get(host, "HScrollValue").toInt32(), 40);
  EXPECT_FLOAT_EQ(bay->Layer()->get_Left(), -40.0f);
}
