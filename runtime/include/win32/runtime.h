#pragma once
// The runtime's side of the system calls: window records behind the handles, the
// class procedure at the end of every chain, and the settings tests may change.
#include <functional>
#include <vector>

#include "win32/win32.h"

class QWidget;

namespace win32::runtime {

// What a window does when a message reaches the end of its chain (its class procedure).
using ClassHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// Wheel handling at the class procedure.
enum class WheelRole {
  PassToParent,  // the widget does not use the wheel: the message walks to the parent
  Native,        // the widget scrolls itself with the wheel (scrollbars, multi-line text) when it
                 // can scroll that way; otherwise the message walks on as for PassToParent
  EndWalk,       // picture boxes, user controls and forms end the walk
};

HWND createWindow(QWidget* widget, HWND parent, WheelRole wheel, ClassHandler handler = {});
void setWindowParent(HWND hWnd, HWND parent);
// Replaces what the class procedure does (empty: nothing but the defaults).
void setClassHandler(HWND hWnd, ClassHandler handler);
HWND parentOf(HWND hWnd);
std::vector<HWND> childrenOf(HWND hWnd);  // in creation order
QWidget* widgetOf(HWND hWnd);
// The border inside the window's widget, in pixels on each side: the client area
// (GetClientRect, WM_SIZE) is what lies within it.
void setClientInset(HWND hWnd, int inset);
// Client width and height in pixels; 0 x 0 for a window that does not exist.
void clientSize(HWND hWnd, int* width, int* height);
HWND hwndOf(const QWidget* widget);         // exact widget, 0 when it has none
HWND windowContaining(const QWidget* widget);  // nearest widget up the Qt parents with a window
std::vector<HWND> topLevelWindows();
// How many windows have gone since the program started: a list of windows needs
// checking again only when this moved.
uint64_t destroyedWindowCount();
int liveWindowCount();

// Destroys a window and its descendants: WM_DESTROY to the parent before its
// children, WM_NCDESTROY to the children before the parent; IsWindow is false after
// each window's WM_NCDESTROY. The widgets themselves are left to their owners.
void destroyWindow(HWND hWnd);

// Sends WM_SIZE when the window's client size differs from the last one reported.
void notifySize(HWND hWnd);
// Called with each window SetWindowPos placed, before its WM_SIZE: the objects behind
// the windows keep their own record of where they are.
void setPlacedHook(void (*hook)(HWND));

// Delivers a wheel event from Qt as WM_MOUSEWHEEL (vertical) or WM_MOUSEHWHEEL
// (sideways; positive to the right): returns true when the widget should also handle
// it natively. A delta of 0 sends nothing.
bool dispatchWheel(QWidget* widget, UINT msg, int delta, int x, int y, uint16_t keys);

struct Settings {
  int cxVScroll = 16;
  int cyHScroll = 16;
  UINT wheelScrollLines = 3;
  OSVERSIONINFOA version{148, 10, 0, 19045, VER_PLATFORM_WIN32_NT, {}};
  bool versionCallFails = false;
};
Settings& settings();

// Live drawing objects, so that tests can prove nothing leaks.
int liveObjectCount();
bool brushColor(HBRUSH brush, COLORREF* color);

// Thread timers armed now.
int armedTimerCount();
// Calls of HideCaret per window, for tests.
int hideCaretCount(HWND hWnd);

}  // namespace win32::runtime
