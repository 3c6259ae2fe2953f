#pragma once
// The one operation an object implements to see the messages it hooked.
#include <memory>

#include "win32/win32.h"

class cSubclassListener {
 public:
  virtual ~cSubclassListener() = default;

  // bRouteToOriginal comes in true; leaving it true passes the message on to the
  // window's previous procedure, whose result is then returned instead of this one.
  virtual win32::LRESULT WindowMsgListener(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM lParam,
                                           bool& bRouteToOriginal) = 0;

  // A counted reference to the object behind the listener, or nullptr when nothing
  // owns it by count (the registry then treats the window as having no listener).
  virtual std::shared_ptr<cSubclassListener> ListenerRef() = 0;
};
