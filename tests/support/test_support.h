#pragma once
// What every test binary shares: the offscreen application with the manual clock and
// the message-box recorder.
#include <functional>
#include <string>
#include <vector>

#include "forms/clock.h"
#include "forms/msgbox.h"

namespace testsupport {

// Message boxes shown since the last clear.
std::vector<forms::MsgBoxCall>& msgBoxes();

// Moves the manual clock on, delivering due timers and posted messages.
inline void advance(uint32_t ms) { forms::Clock::instance().advance(ms); }

// The error number a call raises, 0 when it returns normally.
int errorOf(const std::function<void()>& call);

// Delivers what Qt has queued (paints, deferred deletes) without moving the clock.
void processQtEvents();

}  // namespace testsupport
