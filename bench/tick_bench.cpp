// What one 200 ms tick costs as the form grows, with the frame it makes Qt paint: the
// extent scan looks at every control of the form on each tick. `paints` counts
// the widgets repainted per tick. Side by side, the same reads made directly show what
// late binding adds.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "Scrollbay.h"
#include "Timer.h"
#include "bench_support.h"
#include "forms/application.h"
#include "forms/clock.h"
#include "forms/form.h"

namespace {

// Columns of at most 1,600 rows, within what a window can measure.
constexpr int kRowsPerColumn = 1600;

// A form with `bays` Scrollbays side by side, each holding rows of a label and a text
// box (two controls a row), shown, after the first tick.
struct Bench {
  Bench(int bays, int controlsPerBay) {
    constexpr float t = benchsupport::kTwipsPerPixel;
    form = forms::Form::create("frmBench");
    form->put_ClientWidth(t * 200 * bays);
    form->put_ClientHeight(t * 300);
    for (int b = 0; b < bays; ++b) {
      std::string prefix = "b";
      prefix += std::to_string(b);
      auto host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", prefix + "Scrollbay"));
      host->Move(t * 200 * b, 0.0f, t * 200, t * 300);
      benchsupport::addFormRows(*form, controlsPerBay / 2, host.get(), prefix, kRowsPerColumn);
      hosts.push_back(host);
    }
    form->Show();
    forms::Clock::instance().advance(Timer::kIntervalMs);  // the layer is made at the first tick
  }
  ~Bench() {
    form->Unload();
    benchsupport::flushDeletes();
  }
  forms::FormPtr form;
  std::vector<std::shared_ptr<forms::UserControlHost>> hosts;
};

// A form of 10,000 controls takes seconds to build and the benchmark library calls a
// function more than once, so the last form is kept for the next call with the same
// shape. Only one form is loaded at a time: every loaded Scrollbay ticks.
std::unique_ptr<Bench> g_bench;
std::pair<int, int> g_shape;

Bench& sharedBench(int bays, int controlsPerBay) {
  if (!g_bench || g_shape != std::pair{bays, controlsPerBay}) {
    g_bench.reset();
    g_bench = std::make_unique<Bench>(bays, controlsPerBay);
    g_shape = {bays, controlsPerBay};
  }
  return *g_bench;
}

void tick(benchmark::State& state, int bays, int controlsPerBay) {
  sharedBench(bays, controlsPerBay);
  benchsupport::paintFrame();
  benchsupport::PaintCounter counter;
  for (auto _ : state) {
    forms::Clock::instance().advance(Timer::kIntervalMs);
    benchsupport::paintFrame();
  }
  state.counters["paints"] = benchsupport::perIteration(static_cast<double>(counter.paints));
  state.counters["per_control"] = benchmark::Counter(bays * controlsPerBay, benchmark::Counter::kIsIterationInvariantRate |
                                                                                benchmark::Counter::kInvert);
}

// One Scrollbay with its controls on its layer.
void BM_Tick(benchmark::State& state) {
  tick(state, 1, static_cast<int>(state.range(0)));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Tick)->Arg(10)->Arg(100)->Arg(400)->Arg(1000)->Arg(10000)->Complexity();

// The same 900 controls in one Scrollbay and shared among three: each one's scan reads
// every control of the form.
void BM_TickBays(benchmark::State& state) {
  tick(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}
BENCHMARK(BM_TickBays)->ArgNames({"bays", "per_bay"})->Args({1, 900})->Args({3, 300});

void BM_ReadByName(benchmark::State& state) {
  Bench& bench = sharedBench(1, 2);
  forms::ObjectPtr label = bench.form->findControl("b0lbl0");
  for (auto _ : state) {
    float sum = forms::get(label, "Left").toSingle() + forms::get(label, "Width").toSingle();
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReadByName);

void BM_ReadDirect(benchmark::State& state) {
  Bench& bench = sharedBench(1, 2);
  forms::ControlPtr label = bench.form->findControl("b0lbl0");
  for (auto _ : state) {
    float sum = label->get_Left() + label->get_Width();
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReadDirect);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  forms::Application app(argc, argv, forms::Application::ClockMode::Manual);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_bench.reset();  // unloaded while the application lives
  return 0;
}
