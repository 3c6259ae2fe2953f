#pragma once
// What the fuzz targets share: the offscreen application with the manual clock, the
// message-box recorder, the check that an input left nothing behind, and the two
// targets' bodies, plain C++ so that the normal build can replay inputs through them.
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Larger inputs are passed over: every input must run in a fraction of a second.
inline constexpr std::size_t kMaxFormFileBytes = 64 * 1024;
inline constexpr std::size_t kMaxLateBindingBytes = 4 * 1024;
// The manual clock's step, the control's tick.
inline constexpr uint32_t kTickMs = 200;

// Creates the application once (offscreen, manual clock) and records message boxes.
// A box for error 51 means a fault that was not a forms::Error reached the runtime's
// handler: it aborts, as a crash would. Loads the control library, so its coverage
// counters are known before the first input.
void initialize();

// The folder of the pictures that the form files and the targets name.
std::string dataDir();

// Delivers what Qt has queued: paints, posted events and deferred deletes.
void processQtEvents();

// Aborts with a message when windows, drawing objects, timers, timer listeners or
// clock entries outlive the input that made them.
void checkNothingLeftBehind(const char* target);

// The targets' bodies: any forms::Error is an expected outcome; anything else ends
// the process one way or another.
int runFormFile(const uint8_t* data, std::size_t size);
int runLateBinding(const uint8_t* data, std::size_t size);

}  // namespace fuzz
