#pragma once
// One subclassed window: its previous procedure, its listener and its hooked messages.
#include <memory>

#include "forms/collection.h"
#include "win32/win32.h"

class cSubclassInfo {
 public:
  win32::HWND hwnd = 0;
  win32::LONG_PTR ListenerPtr = 0;  // not counted: the registry never owns its listener
  win32::LONG_PTR oldWndProc = 0;
  // Message numbers under "HOOK_<number>", made on first use.
  std::unique_ptr<forms::Collection<int32_t>> msgList;

  // Each swallows its own failures.
  void AddMessage(int32_t Msg);
  void RemoveMessage(int32_t Msg);
  bool IsMessageHooked(int32_t Msg);
};
