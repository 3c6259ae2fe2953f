// The designer at 2,000 controls: opening a form in it against loading the same form in
// design mode; one step of a drag (the move, the snap, the overlay and the moved control
// painted) on a form of 2,000 controls against one of 20; a step undone and done again
// with a long history against a short one. Each pair is compared as a ratio in one run.
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "bench_support.h"
#include "canvas.h"
#include "document.h"
#include "forms/application.h"
#include "forms/formfile.h"
#include "object_tree.h"
#include "overlay.h"
#include "property_sheet.h"

namespace {

using benchsupport::paintFrame;

// A form file of `controls` labels and text boxes, written once per size.
std::string formFile(int controls) {
  static QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("rows%1.json").arg(controls)).toStdString();
  if (!QFile::exists(QString::fromStdString(path))) {
    forms::FormPtr form = forms::Form::create("frmRows", true);
    form->put_ClientWidth(15 * 800);
    form->put_ClientHeight(15 * 600);
    benchsupport::addFormRows(*form, controls / 2, nullptr, "", 100);
    forms::saveForm(*form, path);
    form->Unload();
  }
  return path;
}

void BM_Open(benchmark::State& state, bool designer) {
  const std::string path = formFile(static_cast<int>(state.range(0)));
  qputenv("FORMS_DESIGNER_JOURNAL_DIR", QDir::temp().filePath("designer-bench-journal").toUtf8());
  for (auto _ : state) {
    if (designer) {
      auto canvas = std::make_unique<designer::Canvas>(designer::Document::open(QString::fromStdString(path)));
      designer::ObjectTree tree;
      tree.setDocument(&canvas->document());
      canvas->resize(800, 600);
      canvas->show();
      paintFrame();
      tree.setDocument(nullptr);
      canvas.reset();
    } else {
      forms::FormPtr form = forms::loadForm(path, true);
      form->Show();
      paintFrame();
      form->Unload();
    }
    benchsupport::flushDeletes();
  }
}
BENCHMARK_CAPTURE(BM_Open, Designer, true)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Open, LoadForm, false)->Arg(2000)->Unit(benchmark::kMillisecond);

// A drag of one text box back and forth by a pixel at a time, painted each step.
void BM_DragStep(benchmark::State& state) {
  auto canvas = std::make_unique<designer::Canvas>(designer::Document::open(QString::fromStdString(formFile(static_cast<int>(state.range(0))))));
  canvas->resize(800, 600);
  canvas->show();
  paintFrame();
  designer::Overlay& overlay = canvas->overlay();
  const QPoint start = overlay.pixelRect(*canvas->document().form().findControl("txt0")).center();
  overlay.press(start, Qt::NoModifier);
  overlay.moveTo(start + QPoint(20, 0), Qt::NoModifier);  // past the drag distance
  paintFrame();
  int step = 0;
  for (auto _ : state) {
    ++step;
    overlay.moveTo(start + QPoint(20 + step % 40, step % 16), Qt::NoModifier);
    paintFrame();
  }
  overlay.release(start, Qt::NoModifier);
  canvas.reset();
  benchsupport::flushDeletes();
}
BENCHMARK(BM_DragStep)->ArgName("controls")->Arg(20)->Arg(2000)->Unit(benchmark::kMicrosecond);

// Undo and redo of one move, after `history` moves of other controls.
void BM_UndoRedo(benchmark::State& state) {
  auto doc = designer::Document::open(QString::fromStdString(formFile(200)));
  const auto history = static_cast<int>(state.range(0));
  for (int i = 0; i < history; ++i) {
    const designer::ControlRef r{"txt" + std::to_string(i % 100), -1};
    const QRectF at = designer::Document::rectOf(*r.control(doc->form()));
    doc->setGeometry({{r, at, at.translated(15, 0)}}, "Move");
  }
  const designer::ControlRef r{"lbl0", -1};
  const QRectF at = designer::Document::rectOf(*r.control(doc->form()));
  doc->setGeometry({{r, at, at.translated(120, 0)}}, "Move");
  for (auto _ : state) {
    doc->history().undo();
    doc->history().redo();
  }
  doc->close();
}
BENCHMARK(BM_UndoRedo)->ArgName("history")->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The property sheet read again with every control of the form chosen (a nudge of all of
// them reads it once a step), against one control chosen.
void BM_SheetRefresh(benchmark::State& state) {
  auto doc = designer::Document::open(QString::fromStdString(formFile(2000)));
  std::vector<designer::ControlRef> chosen;
  for (const forms::ControlPtr& c : doc->form().controls())
    if (static_cast<int>(chosen.size()) < state.range(0)) chosen.push_back(designer::ControlRef::of(*c));
  designer::PropertySheet sheet;
  sheet.setDocument(doc.get());
  doc->select(chosen);
  sheet.refresh();
  for (auto _ : state) sheet.refresh();
  sheet.setDocument(nullptr);
  doc->close();
}
BENCHMARK(BM_SheetRefresh)->ArgName("chosen")->Arg(1)->Arg(2000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  forms::Application app(argc, argv, forms::Application::ClockMode::Manual);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
