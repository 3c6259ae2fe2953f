#include "forms/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "forms/msgbox.h"

namespace forms {

struct Clock::Impl {
  struct Entry {
    uint32_t id;
    uint64_t due;
    uint32_t period;
    uint64_t seq;  // keeps entries due at the same time in the order they were set
    Callback callback;
  };
  std::vector<Entry> entries;
  uint32_t nextId = 1;
  uint64_t nextSeq = 1;
  uint64_t manualNow = 0;
  QElapsedTimer elapsed;
  QTimer* driver = nullptr;  // the real loop's wake-up
  bool running = false;

  Entry* earliestDueBy(uint64_t limit) {
    Entry* best = nullptr;
    for (auto& e : entries)
      if (e.due <= limit && (!best || e.due < best->due || (e.due == best->due && e.seq < best->seq))) best = &e;
    return best;
  }
};

Clock& Clock::instance() {
  static Clock clock;
  return clock;
}

Clock::Clock() : m_impl(std::make_unique<Impl>()) { m_impl->elapsed.start(); }

Clock::~Clock() = default;

void Clock::setManual(bool manual) { m_manual = manual; }

uint32_t Clock::now() const {
  return static_cast<uint32_t>(m_manual ? m_impl->manualNow : static_cast<uint64_t>(m_impl->elapsed.elapsed()));
}

namespace {
void rearm(Clock& clock, Clock::Impl& impl) {
  if (clock.manual() || !QCoreApplication::instance()) return;
  if (!impl.driver) {
    impl.driver = new QTimer(QCoreApplication::instance());
    impl.driver->setSingleShot(true);
    QObject::connect(impl.driver, &QTimer::timeout, [&clock] { clock.runDue(); });
  }
  if (impl.entries.empty()) {
    impl.driver->stop();
    return;
  }
  uint64_t earliest = UINT64_MAX;
  for (auto& e : impl.entries) earliest = std::min(earliest, e.due);
  const uint64_t now = clock.now();
  impl.driver->start(static_cast<int>(earliest > now ? earliest - now : 0));
}
}  // namespace

uint32_t Clock::schedule(uint32_t delayMs, uint32_t periodMs, Callback callback) {
  const uint32_t id = m_impl->nextId++;
  m_impl->entries.push_back({id, static_cast<uint64_t>(now()) + delayMs, periodMs, m_impl->nextSeq++, std::move(callback)});
  rearm(*this, *m_impl);
  return id;
}

bool Clock::cancel(uint32_t id) {
  auto& v = m_impl->entries;
  auto it = std::find_if(v.begin(), v.end(), [id](const Impl::Entry& e) { return e.id == id; });
  if (it == v.end()) return false;
  v.erase(it);
  rearm(*this, *m_impl);
  return true;
}

void Clock::post(Callback callback) { schedule(0, 0, std::move(callback)); }

void Clock::advance(uint32_t ms) {
  const uint64_t target = m_impl->manualNow + ms;
  while (Impl::Entry* e = m_impl->earliestDueBy(target)) {
    m_impl->manualNow = std::max(m_impl->manualNow, e->due);
    runDue();
  }
  m_impl->manualNow = std::max(m_impl->manualNow, target);  // a nested advance may have gone further
}

void Clock::runDue() {
  const uint64_t limit = now();
  while (Impl::Entry* e = m_impl->earliestDueBy(limit)) {
    Callback callback = e->callback;  // the entry may go while the callback runs
    const uint32_t id = e->id;
    if (e->period == 0) {
      cancel(id);
    } else {
      e->due = limit + e->period;
      e->seq = m_impl->nextSeq++;
    }
    // An error in one callback is shown; the others still run, and so does the loop.
    guarded(callback);
  }
  rearm(*this, *m_impl);
}

std::size_t Clock::pending() const { return m_impl->entries.size(); }

}  // namespace forms
