#include "fuzz_support.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPixmapCache>
#include <cstdio>
#include <cstdlib>

#include "SubclassWnd.h"
#include "Timer.h"
#include "forms/application.h"
#include "forms/clock.h"
#include "forms/library.h"
#include "forms/msgbox.h"
#include "win32/runtime.h"

#ifndef FUZZ_DATA_DIR
#error "the build gives the folder of the fuzz data"
#endif

namespace fuzz {

namespace {

// What the process holds between inputs, taken once the application stands.
struct Counts {
  int windows = 0;
  int drawingObjects = 0;
  int timers = 0;
  std::size_t listeners = 0;
  std::size_t subclassed = 0;
  std::size_t clockEntries = 0;
};

Counts current() {
  return {win32::runtime::liveWindowCount(), win32::runtime::liveObjectCount(), win32::runtime::armedTimerCount(),
          Timer::ListenerCount(),            SubclassWnd::SubclassedWindowCount(), forms::Clock::instance().pending()};
}

Counts g_baseline;

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "fuzz: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace

void initialize() {
  static bool done = false;
  if (done) return;
  done = true;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // QApplication keeps a reference to argc: both live as long as the process.
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  // The fuzzers never delete it (their process ends inside the engine); the replay does.
  new forms::Application(argc, argv, forms::Application::ClockMode::Manual);
  forms::setMsgBoxRecorder([](const forms::MsgBoxCall& call) {
    // Error 51 is how the runtime shows an exception that is not a forms::Error.
    if (call.prompt.rfind("Run-time error '51'", 0) == 0) fail("an internal error reached the runtime: " + call.prompt);
    return forms::MsgBoxOk;
  });
  // The style caches pixmaps under keys that are new with every form and that Qt keeps
  // after their pixmaps go: each input would allocate more than it frees, and the fuzzer
  // would then look for a leak after every one. Without the cache nothing is kept.
  QPixmapCache::setCacheLimit(0);
  forms::findControlClass("ScrollbayCtl.Scrollbay");
  processQtEvents();
  g_baseline = current();
}

std::string dataDir() { return FUZZ_DATA_DIR; }

void processQtEvents() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void checkNothingLeftBehind(const char* target) {
  // A tick whose listeners all went during it still arms the next one, which finds nobody
  // and disarms: that tick runs before anything is counted.
  forms::Clock::instance().advance(kTickMs);
  processQtEvents();
  const Counts now = current();
  auto check = [&](const char* what, auto left, auto before) {
    if (left != before)
      fail(std::string(target) + ": " + what + " left behind: " + std::to_string(left) + " instead of " + std::to_string(before));
  };
  check("windows", now.windows, g_baseline.windows);
  check("drawing objects", now.drawingObjects, g_baseline.drawingObjects);
  check("timers", now.timers, g_baseline.timers);
  check("timer listeners", now.listeners, g_baseline.listeners);
  check("subclassed windows", now.subclassed, g_baseline.subclassed);
  check("clock entries", now.clockEntries, g_baseline.clockEntries);
}

}  // namespace fuzz
