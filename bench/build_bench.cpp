// Building, showing and laying out a form of labels and text boxes until its first
// frame is painted and the first tick's layout is done, then unloading it; beside it
// the same widgets built in plain Qt. `per_control` is the time of one iteration
// divided by the number of controls, so a flat figure means linear growth.
#include <QScrollArea>
#include <memory>
#include <string>

#include "Scrollbay.h"
#include "Timer.h"
#include "bench_support.h"
#include "forms/application.h"
#include "forms/usercontrol.h"

namespace {

using benchsupport::paintFrame;

constexpr int kWidth = 400;  // pixels, the window's client area
constexpr int kHeight = 300;
// Columns of at most 1,600 rows (32,000 pixels), within what a Scrollbay can scroll
// and what a window can measure.
constexpr int kRowsPerColumn = 1600;

enum class Subject { Scrollbay, Form, QScrollArea, QWidget };
const char* subjectName(Subject s) {
  switch (s) {
    case Subject::Scrollbay: return "Scrollbay";
    case Subject::Form: return "Form";
    case Subject::QScrollArea: return "QScrollArea";
    case Subject::QWidget: return "QWidget";
  }
  return "";
}

// A form with the rows in one Scrollbay filling it, or directly on the form.
void buildForm(int rows, bool inScrollbay) {
  constexpr int t = benchsupport::kTwipsPerPixel;
  forms::FormPtr form = forms::Form::create("frmBuild");
  form->put_ClientWidth(t * kWidth);
  form->put_ClientHeight(t * kHeight);
  forms::Window* container = form.get();
  if (inScrollbay) {
    auto host = form->addControl("ScrollbayCtl.Scrollbay", "Scrollbay1");
    host->Move(0, 0.0f, t * kWidth, t * kHeight);
    container = host.get();
  }
  benchsupport::addFormRows(*form, rows, container, "", kRowsPerColumn);
  form->Show();
  forms::Clock::instance().advance(Timer::kIntervalMs);  // the first tick makes the layer and adopts the rows
  paintFrame();
  form->Unload();
  benchsupport::flushDeletes();
}

// The same rows in a plain top-level widget, or in a QScrollArea filling it.
void buildQt(int rows, bool inScrollArea) {
  auto window = std::make_unique<QWidget>();
  window->resize(kWidth, kHeight);
  QWidget* parent = window.get();
  if (inScrollArea) {
    auto* area = new QScrollArea(window.get());
    area->setFrameShape(QFrame::NoFrame);
    area->setGeometry(0, 0, kWidth, kHeight);
    parent = new QWidget;
    parent->resize(benchsupport::rowsExtent(rows, kRowsPerColumn));
    benchsupport::addQtRows(parent, rows, kRowsPerColumn);
    area->setWidget(parent);
  } else {
    benchsupport::addQtRows(parent, rows, kRowsPerColumn);
  }
  window->show();
  paintFrame();
  window.reset();
  benchsupport::flushDeletes();
}

void BM_Build(benchmark::State& state, Subject subject, int controls) {
  const int rows = controls / 2;
  for (auto _ : state) {
    switch (subject) {
      case Subject::Scrollbay: buildForm(rows, true); break;
      case Subject::Form: buildForm(rows, false); break;
      case Subject::QScrollArea: buildQt(rows, true); break;
      case Subject::QWidget: buildQt(rows, false); break;
    }
  }
  state.counters["per_control"] =
      benchmark::Counter(controls, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  forms::Application app(argc, argv, forms::Application::ClockMode::Manual);
  // Each form figure next to its plain Qt twin: the Scrollbay with the QScrollArea, the
  // bare form with the bare widget.
  for (int controls : {200, 1000, 2000, 10000}) {
    for (Subject s : {Subject::Scrollbay, Subject::QScrollArea, Subject::Form, Subject::QWidget}) {
      const std::string name = std::string("BM_Build/") + subjectName(s) + "/" + std::to_string(controls);
      benchmark::RegisterBenchmark(name.c_str(), BM_Build, s, controls)->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
