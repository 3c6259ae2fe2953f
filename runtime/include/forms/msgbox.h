#pragma once
// Message boxes. Tests install a recorder, so nothing ever blocks.
#include <functional>
#include <string>

namespace forms {

inline constexpr int MsgBoxOkOnly = 0;
inline constexpr int MsgBoxOk = 1;

struct MsgBoxCall {
  std::string prompt;
  int buttons = 0;
  std::string title;
};

// Shows the box (or hands it to the recorder) and returns the button pressed.
int MsgBox(const std::string& prompt, int buttons = MsgBoxOkOnly, const std::string& title = {});

// A run-time error that reached the runtime from a program's handler: shown as the
// runtime shows any unhandled error, then the event loop goes on.
void reportUnhandledError(int number, const std::string& description);

// Runs a handler called from the window system, reporting a forms::Error instead of
// letting it unwind through Qt.
template <class F>
void guarded(F&& handler);

// Replaces the real box; an empty function puts the real one back.
void setMsgBoxRecorder(std::function<int(const MsgBoxCall&)> recorder);

}  // namespace forms

#include "forms/error.h"

template <class F>
void forms::guarded(F&& handler) {
  try {
    handler();
  } catch (const forms::Error& e) {
    forms::reportUnhandledError(e.number(), e.description());
  }
}
