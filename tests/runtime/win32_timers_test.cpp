// Thread and window timers on the manual clock.
#include <gtest/gtest.h>

#include <QWidget>
#include <string>
#include <vector>

#include "test_support.h"
#include "win32/runtime.h"
#include "win32/win32.h"

using namespace win32;
namespace rt = win32::runtime;

namespace {

struct Tick {
  UINT_PTR id;
  DWORD time;
  bool operator==(const Tick&) const = default;
};
std::vector<Tick> g_ticks;

void RecordTick(HWND hWnd, UINT msg, UINT_PTR id, DWORD time) {
  EXPECT_EQ(hWnd, 0);
  EXPECT_EQ(msg, WM_TIMER);
  g_ticks.push_back({id, time});
}

}  // namespace

TEST(Win32Timers, ThreadTimersFireOnlyFromTheClockUntilKilled) {
  const int armed = rt::armedTimerCount();
  const DWORD t0 = forms::Clock::instance().now();
  g_ticks.clear();
  const UINT_PTR a = SetTimer(0, 0, 200, &RecordTick);
  const UINT_PTR b = SetTimer(0, 0, 300, &RecordTick);
  EXPECT_NE(a, 0u);
  EXPECT_NE(b, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(rt::armedTimerCount(), armed + 2);

  testsupport::processQtEvents();  // the real loop does not drive them
  testsupport::advance(199);
  EXPECT_TRUE(g_ticks.empty());
  testsupport::advance(301);
  EXPECT_EQ(g_ticks, (std::vector<Tick>{{a, t0 + 200}, {b, t0 + 300}, {a, t0 + 400}}));

  EXPECT_EQ(KillTimer(0, a), TRUE);
  EXPECT_EQ(KillTimer(0, a), FALSE);
  EXPECT_EQ(rt::armedTimerCount(), armed + 1);
  g_ticks.clear();
  testsupport::advance(600);
  EXPECT_EQ(g_ticks, (std::vector<Tick>{{b, t0 + 600}, {b, t0 + 900}}));

  // Setting an existing id again replaces that timer; an unknown id gets a fresh one.
  EXPECT_EQ(SetTimer(0, b, 50, &RecordTick), b);
  EXPECT_EQ(rt::armedTimerCount(), armed + 1);
  const UINT_PTR c = SetTimer(0, 0x7777, 1, &RecordTick);  // below the minimum interval
  EXPECT_NE(c, 0x7777u);
  EXPECT_NE(c, b);
  g_ticks.clear();
  testsupport::advance(45);
  EXPECT_EQ(g_ticks, (std::vector<Tick>{{c, t0 + 1110}, {c, t0 + 1120}, {c, t0 + 1130}, {c, t0 + 1140}}));
  EXPECT_EQ(KillTimer(0, b), TRUE);
  EXPECT_EQ(KillTimer(0, c), TRUE);
  EXPECT_EQ(KillTimer(0, 0xDEAD), FALSE);
  EXPECT_EQ(rt::armedTimerCount(), armed);
  g_ticks.clear();
  testsupport::advance(1000);
  EXPECT_TRUE(g_ticks.empty());
}

TEST(Win32Timers, WindowTimerSendsWmTimerAndGoesWithItsWindow) {
  QWidget widget;
  std::vector<WPARAM> ids;
  const HWND h = rt::createWindow(&widget, 0, rt::WheelRole::EndWalk, [&](HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT {
    if (msg == WM_TIMER) ids.push_back(w);
    return 0;
  });
  const int armed = rt::armedTimerCount();
  EXPECT_NE(SetTimer(h, 7, 100, nullptr), 0u);
  EXPECT_EQ(SetTimer(0x7FFFFFF0, 7, 100, nullptr), 0u);  // no such window
  testsupport::advance(250);
  EXPECT_EQ(ids, (std::vector<WPARAM>{7, 7}));
  EXPECT_EQ(rt::armedTimerCount(), armed + 1);
  rt::destroyWindow(h);
  EXPECT_EQ(rt::armedTimerCount(), armed);
  EXPECT_EQ(KillTimer(h, 7), FALSE);
}
