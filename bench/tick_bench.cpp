// What one 200 ms tick costs as the form grows: the extent scan reads every control
// of the form by name on each tick. Side by side, the same reads made directly show
// what late binding adds.
#include <benchmark/benchmark.h>

#include "Scrollbay.h"
#include "Timer.h"
#include "forms/application.h"
#include "forms/clock.h"
#include "forms/form.h"

namespace {

struct Bench {
  explicit Bench(int children) {
    form = forms::Form::create("frmBench");
    form->put_ClientWidth(9000);
    form->put_ClientHeight(7000);
    host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Scrollbay1"));
    host->Move(0, 0.0f, 4500, 3000);
    for (int i = 0; i < children; ++i) {
      auto c = form->addControl("Forms.Label", "Label" + std::to_string(i), host.get());
      c->Move(120, 300.0f * i, 1200, 240);
    }
    form->Show();
    forms::Clock::instance().advance(Timer::kIntervalMs);  // the layer is made at the first tick
  }
  ~Bench() { form->Unload(); }
  forms::FormPtr form;
  std::shared_ptr<forms::UserControlHost> host;
};

void BM_Tick(benchmark::State& state) {
  Bench bench(static_cast<int>(state.range(0)));
  for (auto _ : state) forms::Clock::instance().advance(Timer::kIntervalMs);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Tick)->Arg(10)->Arg(100)->Arg(400)->Complexity();

void BM_ReadByName(benchmark::State& state) {
  Bench bench(1);
  forms::ObjectPtr label = bench.form->findControl("Label0");
  for (auto _ : state) {
    float sum = forms::get(label, "Left").toSingle() + forms::get(label, "Width").toSingle();
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReadByName);

void BM_ReadDirect(benchmark::State& state) {
  Bench bench(1);
  forms::ControlPtr label = bench.form->findControl("Label0");
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
  return 0;
}
