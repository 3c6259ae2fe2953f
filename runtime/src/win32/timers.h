#pragma once
// What the window table needs from the timers.
#include "win32/win32.h"

namespace win32::detail {

// A window's timers go with the window.
void killWindowTimers(HWND hWnd);

}  // namespace win32::detail
