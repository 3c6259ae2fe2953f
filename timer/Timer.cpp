#include "Timer.h"

#include "forms/collection.h"
#include "forms/error.h"

namespace Timer {

namespace {

using Listeners = forms::Collection<std::shared_ptr<CTimerListener>>;

// Once per thread, made on first use.
thread_local std::unique_ptr<Listeners> m_TimerListeners;
thread_local win32::UINT_PTR m_TimerID = 0;

Listeners& listeners() {
  if (!m_TimerListeners) m_TimerListeners = std::make_unique<Listeners>();
  return *m_TimerListeners;
}

win32::UINT_PTR armTimer() { return win32::SetTimer(0, 0, kIntervalMs, &TimerProc); }

}  // namespace

void RegisterTimerListener(std::shared_ptr<CTimerListener> listener, const std::string& key) {
  if (m_TimerID == 0) m_TimerID = armTimer();
  if (m_TimerID != 0) forms::resumeNext([&] { listeners().add(std::move(listener), key); });
}

void UnregisterTimerListener(const std::string& key) {
  if (!forms::resumeNext([&] { listeners().remove(key); })) return;
  if (listeners().empty() && m_TimerID != 0) {
    const win32::UINT_PTR id = m_TimerID;
    m_TimerID = 0;
    win32::KillTimer(0, id);
  }
}

void TimerProc(win32::HWND, win32::UINT, win32::UINT_PTR, win32::DWORD) {
  // Stopped before any listener runs: a tick never starts while another runs, and the
  // next comes one interval after this one ends.
  const win32::UINT_PTR ticking = m_TimerID;
  win32::KillTimer(0, ticking);
  const std::size_t n = listeners().count();
  for (std::size_t i = 1; i <= n; ++i) {
    std::shared_ptr<CTimerListener> listener;
    // A listener that unregistered during this tick shifts the later ones down.
    if (!forms::resumeNext([&] { listener = listeners().item(i); })) continue;
    // Whatever a listener throws stays with it: the others are still notified and the
    // timer keeps ticking.
    try {
      listener->OnTimerNotification();
    } catch (...) {
    }
  }
  // A listener that unregistered the last key and then registered again has armed a
  // timer of its own: that one stands, or two timers would tick.
  if (m_TimerID != 0 && m_TimerID != ticking) return;
  m_TimerID = n > 0 ? armTimer() : 0;
}

win32::UINT_PTR TimerID() { return m_TimerID; }
std::size_t ListenerCount() { return m_TimerListeners ? m_TimerListeners->count() : 0; }
bool IsRegistered(const std::string& key) { return m_TimerListeners && m_TimerListeners->contains(key); }

}  // namespace Timer
