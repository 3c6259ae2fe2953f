#pragma once
// One periodic thread timer (every 200 ms) shared by any number of listeners, each
// registered under a key of its own. The registry keeps its listeners alive.
#include <cstddef>
#include <memory>
#include <string>

#include "CTimerListener.h"
#include "win32/win32.h"

namespace Timer {

inline constexpr win32::UINT kIntervalMs = 200;

// Arms the timer if needed, then adds the listener; a key already in use keeps the
// listener it has. Never fails.
void RegisterTimerListener(std::shared_ptr<CTimerListener> listener, const std::string& key);
// Drops the listener; the last one going kills the timer. Never fails.
void UnregisterTimerListener(const std::string& key);
// One tick: stops the timer, notifies the listeners in registration order, and sets
// the timer again while listeners remain.
void TimerProc(win32::HWND hwnd, win32::UINT uMsg, win32::UINT_PTR idEvent, win32::DWORD dwTime);

// The registry as it stands, for inspection.
win32::UINT_PTR TimerID();
std::size_t ListenerCount();
bool IsRegistered(const std::string& key);

}  // namespace Timer
