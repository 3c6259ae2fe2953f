#pragma once
// Timers and posted work, run only from the event loop. With the manual clock,
// advance() delivers every due callback in order on the calling thread.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace forms {

class Clock {
 public:
  using Callback = std::function<void()>;

  static Clock& instance();

  void setManual(bool manual);
  bool manual() const { return m_manual; }

  uint32_t now() const;  // milliseconds since the clock started

  // A callback after delayMs, then every periodMs (0: once). Returns a non-zero id.
  uint32_t schedule(uint32_t delayMs, uint32_t periodMs, Callback callback);
  bool cancel(uint32_t id);
  // Work to run from the loop as soon as possible, after what is already due.
  void post(Callback callback);

  // Manual clock only: moves time on and runs everything that falls due.
  void advance(uint32_t ms);
  // Runs what is due now (the real loop's driver; advance(0) in manual mode).
  void runDue();

  std::size_t pending() const;
  ~Clock();
  struct Impl;

 private:
  Clock();
  std::unique_ptr<Impl> m_impl;
  bool m_manual = false;
};

}  // namespace forms
