// Real Qt wheel events travelling through window procedures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <map>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/scrollbar.h"
#include "forms/usercontrol.h"
#include "test_support.h"
#include "win32/runtime.h"
#include "win32/win32.h"

using namespace win32;
namespace rt = win32::runtime;

namespace {

struct Spy {
  std::string name;
  LONG_PTR previous = 0;
};
std::map<HWND, Spy>& spies() {
  static std::map<HWND, Spy> m;
  return m;
}
std::vector<std::string> g_walk;  // window names, with " sideways" for WM_MOUSEHWHEEL
std::string g_keepAt;  // the window whose procedure does not pass the wheel on
WPARAM g_wParam = 0;
LPARAM g_lParam = 0;

LRESULT WheelSpyProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  const Spy spy = spies().at(h);
  if (msg == WM_NCDESTROY) spies().erase(h);
  if (msg == WM_MOUSEWHEEL || msg == WM_MOUSEHWHEEL) {
    g_walk.push_back(msg == WM_MOUSEHWHEEL ? spy.name + " sideways" : spy.name);
    g_wParam = w;
    g_lParam = l;
    if (spy.name == g_keepAt) return 0;
  }
  return CallWindowProcA(reinterpret_cast<WNDPROC>(spy.previous), h, msg, w, l);
}

void spyOn(HWND h, const std::string& name) {
  spies()[h] = {name, SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WheelSpyProc))};
}

// Sends wheel input as the platform would deliver it to the widget under the pointer:
// `angle` is Qt's, positive up and to the left.
void wheelAngle(QWidget* target, QPoint angle, const QPoint& global, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  // Synthetic events all carry the same timestamp; each must still be delivered once.
  QWheelEvent event(QPointF(2, 2), QPointF(global), QPoint(), angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &event);
}

void wheel(QWidget* target, int delta, const QPoint& global, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  wheelAngle(target, QPoint(0, delta), global, modifiers);
}

}  // namespace

TEST(Win32Wheel, WalksFromTheWindowUnderThePointerToWhereTheWalkEnds) {
  auto form = forms::Form::create("frmWheel");
  auto pic = form->addControl("Forms.PictureBox", "Picture1");
  auto frame = form->addControl("Forms.Frame", "Frame1", pic.get());
  auto label = form->addControl("Forms.Label", "Label1", frame.get());
  auto text = form->addControl("Forms.TextBox", "Text1", frame.get());
  auto probe = form->addControl("Probe.Recorder", "Probe1");
  auto inner = form->addControl("Forms.Label", "Label2", probe.get());
  forms::Form::AddOptions multiLine;
  multiLine.multiLine = true;
  auto memo = form->addControl("Forms.TextBox", "Text2", form.get(), multiLine);
  auto empty = form->addControl("Forms.TextBox", "Text3", form.get(), multiLine);
  auto bar = form->addControl("Forms.VScrollBar", "VScroll1");
  auto still = form->addControl("Forms.VScrollBar", "VScroll2");
  for (const auto& box : {memo, empty}) box->Move(0, 0, 3000, 900);
  std::string lines;
  for (int i = 0; i < 40; ++i) lines += "line\n";
  forms::let(memo, "Text", forms::Variant(lines));
  forms::let(still, "Max", forms::Variant(int16_t{0}));
  form->Show();
  const std::map<std::string, forms::Window*> windows{
      {"form", form.get()}, {"pic", pic.get()},     {"frame", frame.get()}, {"label", label.get()},
      {"text", text.get()}, {"probe", probe.get()}, {"inner", inner.get()}, {"memo", memo.get()},
      {"bar", bar.get()},   {"empty", empty.get()}, {"still", still.get()}};
  for (auto& [name, w] : windows) spyOn(w->hWnd(), name);

  struct Case {
    const char* target;
    const char* keepAt;
    std::vector<std::string> walk;
    QPoint angle = QPoint(0, -WHEEL_DELTA);
  };
  const QPoint sideways(WHEEL_DELTA, 0);  // Qt's left
  const Case cases[] = {
      {"label", "", {"label", "frame", "pic"}},
      {"text", "", {"text", "frame", "pic"}},
      {"frame", "", {"frame", "pic"}},
      {"pic", "", {"pic"}},
      {"inner", "", {"inner", "probe"}},
      {"probe", "", {"probe"}},
      {"form", "", {"form"}},
      {"memo", "", {"memo"}},
      {"bar", "", {"bar"}},
      {"label", "frame", {"label", "frame"}},  // a procedure that keeps the wheel ends the walk
      // What cannot scroll the wheel's way passes it on, as what does not scroll does.
      {"empty", "", {"empty", "form"}},
      {"still", "", {"still", "form"}},
      {"memo", "", {"memo sideways", "form sideways"}, sideways},  // its lines wrap: nothing to the side
      {"label", "", {"label sideways", "frame sideways", "pic sideways"}, sideways},
      {"inner", "", {"inner sideways", "probe sideways"}, sideways},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.target) + " kept at '" + c.keepAt + "'");
    g_walk.clear();
    g_keepAt = c.keepAt;
    wheelAngle(windows.at(c.target)->widget(), c.angle, QPoint(300, 400), Qt::ShiftModifier);
    EXPECT_EQ(g_walk, c.walk);
    // Sideways counts to the right.
    EXPECT_EQ(HIWORD_SIGNED(g_wParam), c.angle.y() != 0 ? c.angle.y() : -c.angle.x());
    EXPECT_EQ(LOWORD(g_wParam), 0x4);  // shift
    EXPECT_EQ(LOWORD(static_cast<uint32_t>(g_lParam)), 300);
    EXPECT_EQ(HIWORD_SIGNED(static_cast<uint32_t>(g_lParam)), 400);
  }
  g_keepAt.clear();

  // A widget inside a picture box's surface belongs to the picture box.
  g_walk.clear();
  wheel(pic->clientWidget(), WHEEL_DELTA / 4, QPoint(1, 1));
  EXPECT_EQ(g_walk, std::vector<std::string>{"pic"});
  EXPECT_EQ(HIWORD_SIGNED(g_wParam), WHEEL_DELTA / 4);

  // A touchpad's gesture ends with no movement: no message at all.
  g_walk.clear();
  wheelAngle(label->widget(), QPoint(0, 0), QPoint(1, 1));
  EXPECT_TRUE(g_walk.empty());
  form->Unload();
}

TEST(Win32Wheel, ScrollbarScrollsItselfTheWayItsThumbIsDrawn) {
  struct Case {
    const char* classId;
    int16_t min, max;
    Qt::Key forwardKey, backKey;
  };
  const Case cases[] = {
      {"Forms.VScrollBar", 0, 100, Qt::Key_Down, Qt::Key_Up},
      {"Forms.HScrollBar", 0, 100, Qt::Key_Right, Qt::Key_Left},
      {"Forms.VScrollBar", 100, 0, Qt::Key_Down, Qt::Key_Up},  // drawn upside down
      {"Forms.HScrollBar", 100, 0, Qt::Key_Right, Qt::Key_Left},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.classId) + " " + std::to_string(c.min) + ".." + std::to_string(c.max));
    auto form = forms::Form::create("frmWheelBar");
    auto bar = std::dynamic_pointer_cast<forms::ScrollBar>(form->addControl(c.classId, "Bar1"));
    bar->put_Min(c.min);
    bar->put_Max(c.max);
    bar->put_LargeChange(10);
    int changes = 0;
    form->on("Bar1", "Change", [&](forms::EventArgs&) { ++changes; });
    form->Show();
    spyOn(bar->hWnd(), "bar");
    const int towardsMax = c.max > c.min ? 1 : -1;
    auto moved = [&](auto&& act) {
      bar->put_Value(50);
      changes = 0;
      act();
      EXPECT_EQ(changes, bar->get_Value() == 50 ? 0 : 1);
      return (bar->get_Value() - 50) * towardsMax;
    };
    auto key = [&](Qt::Key k) {
      QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
      QApplication::sendEvent(bar->widget(), &press);
    };
    g_walk.clear();
    EXPECT_GT(moved([&] { wheel(bar->widget(), -WHEEL_DELTA, QPoint(5, 5)); }), 0) << "wheel down";
    EXPECT_LT(moved([&] { wheel(bar->widget(), WHEEL_DELTA, QPoint(5, 5)); }), 0) << "wheel up";
    EXPECT_EQ(g_walk, (std::vector<std::string>{"bar", "bar"}));
    EXPECT_EQ(moved([&] { key(c.forwardKey); }), 1) << "forward key";
    EXPECT_EQ(moved([&] { key(c.backKey); }), -1) << "back key";
    EXPECT_EQ(moved([&] { key(Qt::Key_PageDown); }), 10);
    moved([&] { key(Qt::Key_Home); });
    EXPECT_EQ(bar->get_Value(), c.min);
    moved([&] { key(Qt::Key_End); });
    EXPECT_EQ(bar->get_Value(), c.max);

    // From the end the thumb is drawn at, the wheel still moves it.
    bar->put_Value(c.min);
    wheel(bar->widget(), -WHEEL_DELTA, QPoint(5, 5));
    EXPECT_NE(bar->get_Value(), c.min);
    form->Unload();
  }
}
