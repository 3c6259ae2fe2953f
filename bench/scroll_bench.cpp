// One scroll step, from the input to the frame painted, in a Scrollbay and in a
// QScrollArea holding the same rows in a viewport of the same size. The counters say
// how many widgets were painted per step (`paints`) and how many windows were
// repainted and flushed (`frames`). The memory benchmarks run many ticks and steps and
// report the resident memory before and after.
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "Scrollbay.h"
#include "Timer.h"
#include "bench_support.h"
#include "forms/application.h"
#include "forms/error.h"
#include "forms/usercontrol.h"

namespace {

using benchsupport::paintFrame;

constexpr int kViewWidth = 400;   // pixels, the whole viewport, scrollbars included
constexpr int kViewHeight = 300;
// The Scrollbay's small step is a hundredth of its height; a wheel notch is three lines
// of one pixel; both sides step by this much.
constexpr int kStep = kViewHeight / 100;

enum class Input { Keyboard, Wheel, Value };
const char* inputName(Input input) {
  switch (input) {
    case Input::Keyboard: return "keyboard";
    case Input::Wheel: return "wheel";
    case Input::Value: return "value";
  }
  return "";
}

void pressAndRelease(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &release);
}

// Goes down to the end of the range, then back up to the start, and so on.
struct Bouncer {
  int direction = 1;
  int next(int value, int max) {
    if (direction > 0 && value + kStep > max) direction = -1;
    else if (direction < 0 && value - kStep < 0) direction = 1;
    return direction;
  }
};

// Whether a step changes what the window shows: a harness that flushed nothing
// would measure nothing.
bool stepShows(QWidget* window, const std::function<void()>& step) {
  QScreen* screen = window->screen();
  const QImage before = screen->grabWindow(window->winId()).toImage();
  step();
  paintFrame();
  return screen->grabWindow(window->winId()).toImage() != before;
}

// A form of 400 x 300 pixels filled by a Scrollbay holding the rows.
struct BayView {
  explicit BayView(int rows) {
    constexpr int t = benchsupport::kTwipsPerPixel;
    form = forms::Form::create("frmScroll");
    form->put_ClientWidth(t * kViewWidth);
    form->put_ClientHeight(t * kViewHeight);
    host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Scrollbay1"));
    host->Move(0, 0.0f, t * kViewWidth, t * kViewHeight);
    bay = dynamic_cast<Scrollbay*>(&host->instance());
    benchsupport::addFormRows(*form, rows, host.get());
    form->Show();
    forms::Clock::instance().advance(Timer::kIntervalMs);  // the first tick makes the layer
    paintFrame();
  }
  ~BayView() {
    form->Unload();
    benchsupport::flushDeletes();
  }

  int value() const { return bay->VScroll()->get_Value(); }
  int max() const { return bay->VScroll()->get_Max(); }
  void step(Input input) {
    const int direction = bouncer.next(value(), max());
    switch (input) {
      case Input::Keyboard: pressAndRelease(bay->Layer()->widget(), direction > 0 ? Qt::Key_Down : Qt::Key_Up); break;
      case Input::Wheel: {
        // Towards the user (negative) scrolls down.
        const auto delta = static_cast<int16_t>(direction > 0 ? -win32::WHEEL_DELTA : win32::WHEEL_DELTA);
        win32::SendMessageA(bay->LayerWnd(), win32::WM_MOUSEWHEEL, win32::MAKELONG(0, static_cast<uint16_t>(delta)), 0);
        break;
      }
      case Input::Value:
        forms::let(host, "VScrollValue", forms::Variant(int32_t{benchsupport::kTwipsPerPixel * (value() + direction * kStep)}));
        break;
    }
  }

  forms::FormPtr form;
  std::shared_ptr<forms::UserControlHost> host;
  Scrollbay* bay = nullptr;
  Bouncer bouncer;
};

// The same rows in a plain widget in a QScrollArea, in a top-level window of the same size.
struct AreaView {
  AreaView(int rows, Input input) {
    window.resize(kViewWidth, kViewHeight);
    area = new QScrollArea(&window);
    area->setFrameShape(QFrame::NoFrame);
    area->setGeometry(0, 0, kViewWidth, kViewHeight);
    auto* content = new QWidget;
    benchsupport::addQtRows(content, rows);
    content->resize(benchsupport::rowsExtent(rows));
    area->setWidget(content);
    // A key is one single step, a notch three of them.
    area->verticalScrollBar()->setSingleStep(input == Input::Wheel ? kStep / 3 : kStep);
    window.show();
    area->setFocus();
    paintFrame();
  }

  QScrollBar* bar() const { return area->verticalScrollBar(); }
  int value() const { return bar()->value(); }
  int max() const { return bar()->maximum(); }
  void step(Input input) {
    const int direction = bouncer.next(value(), max());
    switch (input) {
      case Input::Keyboard: pressAndRelease(area, direction > 0 ? Qt::Key_Down : Qt::Key_Up); break;
      case Input::Wheel: {
        QWidget* viewport = area->viewport();
        const QPointF at(10, 10);
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, direction > 0 ? -120 : 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &wheel);
        break;
      }
      case Input::Value: bar()->setValue(value() + direction * kStep); break;
    }
  }

  QWidget window;
  QScrollArea* area = nullptr;
  Bouncer bouncer;
};

// Checks the first step before timing: it moves by kStep and shows on screen.
template <class View>
bool checkStep(benchmark::State& state, View& view, QWidget* window, Input input) {
  const int before = view.value();
  std::string fault;
  try {
    if (!stepShows(window, [&] { view.step(input); })) fault = "the step changed nothing on screen";
    else if (std::abs(view.value() - before) != kStep) fault = "the step moved " + std::to_string(view.value() - before) + " pixels";
  } catch (const forms::Error& e) {
    fault = "the step failed: " + e.description();
  }
  if (fault.empty()) return true;
  fault += " (scroll range 0.." + std::to_string(view.max()) + " pixels)";
  state.SkipWithError(fault.c_str());
  return false;
}

template <class View>
void runSteps(benchmark::State& state, View& view, Input input) {
  benchsupport::PaintCounter counter;
  for (auto _ : state) {
    view.step(input);
    paintFrame();
  }
  state.counters["paints"] = benchsupport::perIteration(static_cast<double>(counter.paints));
  state.counters["frames"] = benchsupport::perIteration(static_cast<double>(counter.frames));
  state.counters["range_px"] = view.max();
}

void BM_ScrollStepBay(benchmark::State& state, Input input, int rows) {
  BayView view(rows);
  if (view.max() <= 0) {
    // Past 32,767 pixels the scrollbar keeps the range it had.
    const std::string why = "nothing to scroll: range 0.." + std::to_string(view.max()) + " over a virtual height of " +
                            std::to_string(view.bay->VirtualHeightTwips() / benchsupport::kTwipsPerPixel) + " pixels";
    state.SkipWithError(why.c_str());
    return;
  }
  if (!checkStep(state, view, view.form->widget()->window(), input)) return;
  runSteps(state, view, input);
}

void BM_ScrollStepArea(benchmark::State& state, Input input, int rows) {
  AreaView view(rows, input);
  if (!checkStep(state, view, &view.window, input)) return;
  runSteps(state, view, input);
}

// Resident memory before and after a run, once a tenth of it has warmed up Qt's caches,
// and the growth over a second run: a leak grows both times, a cache filling up once.
template <class Run>
void measureGrowth(benchmark::State& state, Run run) {
  for (auto _ : state) {
    run(10);
    const int64_t before = benchsupport::residentKiB();
    run(1);
    const int64_t after = benchsupport::residentKiB();
    run(1);
    const int64_t again = benchsupport::residentKiB();
    state.counters["rss_before_KiB"] = static_cast<double>(before);
    state.counters["rss_after_KiB"] = static_cast<double>(after);
    state.counters["growth_KiB"] = static_cast<double>(after - before);
    state.counters["growth_again_KiB"] = static_cast<double>(again - after);
  }
}

constexpr int kGrowthTicks = 10000, kGrowthSteps = 1000, kGrowthRows = 50;

// Ticks with a keyboard step every tenth one.
void BM_MemoryGrowthBay(benchmark::State& state) {
  BayView view(kGrowthRows);
  measureGrowth(state, [&](int divisor) {
    for (int i = 0; i < kGrowthTicks / divisor; ++i) {
      forms::Clock::instance().advance(Timer::kIntervalMs);
      if (i % (kGrowthTicks / kGrowthSteps) == 0) {
        view.step(Input::Keyboard);
        paintFrame();
      }
    }
  });
}

void BM_MemoryGrowthArea(benchmark::State& state) {
  AreaView view(kGrowthRows, Input::Keyboard);
  measureGrowth(state, [&](int divisor) {
    for (int i = 0; i < kGrowthSteps / divisor; ++i) {
      view.step(Input::Keyboard);
      paintFrame();
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  forms::Application app(argc, argv, forms::Application::ClockMode::Manual);
  // Each Scrollbay figure next to its QScrollArea twin.
  // 1,600 rows are the most a Scrollbay can scroll (32,019 pixels); 2,000 are beyond.
  for (int rows : {200, 1000, 1600, 2000}) {
    for (Input input : {Input::Keyboard, Input::Wheel, Input::Value}) {
      const std::string suffix = std::string("/") + inputName(input) + "/" + std::to_string(rows);
      benchmark::RegisterBenchmark(("BM_ScrollStep/Scrollbay" + suffix).c_str(), BM_ScrollStepBay, input, rows);
      benchmark::RegisterBenchmark(("BM_ScrollStep/QScrollArea" + suffix).c_str(), BM_ScrollStepArea, input, rows);
    }
  }
  benchmark::RegisterBenchmark("BM_MemoryGrowth/Scrollbay", BM_MemoryGrowthBay)->Iterations(1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_MemoryGrowth/QScrollArea", BM_MemoryGrowthArea)->Iterations(1)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
