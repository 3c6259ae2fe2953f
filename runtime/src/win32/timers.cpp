// Thread timers on the runtime's clock.
#include <map>

#include "timers.h"

#include "forms/clock.h"
#include "win32/runtime.h"
#include "win32/win32.h"

namespace win32 {

namespace {

struct TimerRecord {
  uint32_t clockId = 0;
};

struct TimerKey {
  HWND hWnd;
  UINT_PTR id;
  bool operator<(const TimerKey& o) const { return hWnd != o.hWnd ? hWnd < o.hWnd : id < o.id; }
};

std::map<TimerKey, TimerRecord>& timers() {
  static std::map<TimerKey, TimerRecord> t;
  return t;
}

UINT_PTR g_nextThreadTimer = 1;
constexpr UINT kMinimumInterval = 10;

}  // namespace

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  if (hWnd != 0 && !IsWindow(hWnd)) return 0;
  UINT_PTR id = nIDEvent;
  if (hWnd == 0 && (id == 0 || !timers().count({0, id}))) id = g_nextThreadTimer++;
  if (hWnd != 0 && id == 0) id = 1;
  KillTimer(hWnd, id);  // setting an existing timer again replaces it
  const UINT interval = uElapse < kMinimumInterval ? kMinimumInterval : uElapse;
  auto fire = [hWnd, id, lpTimerFunc] {
    const DWORD now = forms::Clock::instance().now();
    if (lpTimerFunc) lpTimerFunc(hWnd, WM_TIMER, id, now);
    else if (hWnd) SendMessageA(hWnd, WM_TIMER, static_cast<WPARAM>(id), 0);
  };
  timers()[{hWnd, id}] = {forms::Clock::instance().schedule(interval, interval, fire)};
  return id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  auto it = timers().find({hWnd, uIDEvent});
  if (it == timers().end()) return FALSE;
  forms::Clock::instance().cancel(it->second.clockId);
  timers().erase(it);
  return TRUE;
}

namespace detail {
void killWindowTimers(HWND hWnd) {
  auto& t = timers();
  for (auto it = t.lower_bound({hWnd, 0}); it != t.end() && it->first.hWnd == hWnd;) {
    forms::Clock::instance().cancel(it->second.clockId);
    it = t.erase(it);
  }
}
}  // namespace detail

namespace runtime {
int armedTimerCount() { return static_cast<int>(timers().size()); }
}  // namespace runtime

}  // namespace win32
