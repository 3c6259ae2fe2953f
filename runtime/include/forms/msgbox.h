#pragma once
// Message boxes. Tests install a recorder, so nothing ever blocks.
#include <functional>
#include <string>

#include "forms/error.h"

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

// Shows the exception being handled as reportUnhandledError does. Anything other than a
// forms::Error is a fault of ours or of a control library, not of the program: it is
// shown as error 51 with what the exception says.
void reportCurrentException();

// Runs a handler called from the loop (events, resizes, timers, posted work): whatever
// it throws is shown in the run-time error box and never unwinds through Qt or the clock.
template <class F>
void guarded(F&& handler);

// Replaces the real box; an empty function puts the real one back.
void setMsgBoxRecorder(std::function<int(const MsgBoxCall&)> recorder);

}  // namespace forms

template <class F>
void forms::guarded(F&& handler) {
  try {
    handler();
  } catch (...) {
    forms::reportCurrentException();
  }
}
