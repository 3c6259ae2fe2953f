#pragma once
// One shared window procedure for every subclassed window of the thread: a registry
// maps each window to its record, and hooked messages reach the record's listener
// before the window's previous procedure.
#include <cstddef>
#include <memory>

#include "cSubclassInfo.h"
#include "cSubclassListener.h"
#include "win32/win32.h"

namespace SubclassWnd {

// Replaces any earlier subclassing of the window. Failures reach the caller: error 5
// for a handle that is not a window or a missing listener. Window 0 does nothing.
void SubclassWindow(win32::HWND hwnd, cSubclassListener* listener);
// Puts the window's previous procedure back and forgets it; never fails.
void UnsubclassWindow(win32::HWND hwnd);
// Error 5 for a window without a record while other windows are registered.
void HookMessage(win32::HWND hwnd, int32_t Msg);
// Never fails.
void UnhookMessage(win32::HWND hwnd, int32_t Msg);

win32::LRESULT SubclassWndProc(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM lParam);

// The listener's identity as a number, and back to a counted reference (nullptr once
// nothing owns the object).
win32::LONG_PTR PtrFromObject(cSubclassListener* listener);
std::shared_ptr<cSubclassListener> ObjectFromPtr(win32::LONG_PTR ptr);

// The signed high 16 bits of a message parameter.
int32_t HiWord(int32_t value);

// The registry as it stands, for inspection.
std::size_t SubclassedWindowCount();
std::shared_ptr<cSubclassInfo> FindRecord(win32::HWND hwnd);

}  // namespace SubclassWnd
