#pragma once
// What the benchmark programs share: rows of a label and a text box laid out alike
// in a form and in plain Qt, a count of painted widgets, letting Qt paint a frame,
// and the process's resident memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <string>

#include "forms/clock.h"
#include "forms/form.h"

namespace benchsupport {

inline constexpr int kTwipsPerPixel = 15;

// One row: a label and a text box beside it, rows 20 pixels apart. Long lists go in
// columns side by side, each at most `rowsPerColumn` rows tall.
struct RowGeometry {
  int labelLeft = 8, labelWidth = 80, labelHeight = 16;
  int textLeft = 96, textWidth = 100, textHeight = 19;
  int pitch = 20;
  int columnPitch = 216;
};
inline constexpr RowGeometry kRow{};
inline constexpr int kOneColumn = 1 << 30;
// The Scrollbay's default margin right of and below its content, in pixels.
inline constexpr int kMargin = 20;

inline QPoint rowOrigin(int i, int rowsPerColumn) { return {kRow.columnPitch * (i / rowsPerColumn), kRow.pitch * (i % rowsPerColumn)}; }

// What the rows cover, with the Scrollbay's margin right and below: its virtual size.
inline QSize rowsExtent(int rows, int rowsPerColumn = kOneColumn) {
  const int columns = (rows + rowsPerColumn - 1) / rowsPerColumn;
  const int tallest = rows < rowsPerColumn ? rows : rowsPerColumn;
  return {kRow.columnPitch * (columns - 1) + kRow.textLeft + kRow.textWidth + kMargin,
          kRow.pitch * (tallest - 1) + kRow.textHeight + kMargin};
}

// Rows of labels and text boxes on a form, in `container` (the form itself when null).
inline void addFormRows(forms::Form& form, int rows, forms::Window* container, const std::string& prefix = "",
                        int rowsPerColumn = kOneColumn) {
  constexpr int t = kTwipsPerPixel;
  for (int i = 0; i < rows; ++i) {
    const std::string n = std::to_string(i);
    const QPoint at = rowOrigin(i, rowsPerColumn);
    const auto top = static_cast<float>(t * at.y());
    auto label = form.addControl("Forms.Label", prefix + "lbl" + n, container);
    label->Move(static_cast<float>(t * (at.x() + kRow.labelLeft)), top, static_cast<float>(t * kRow.labelWidth),
                static_cast<float>(t * kRow.labelHeight));
    auto text = form.addControl("Forms.TextBox", prefix + "txt" + n, container);
    text->Move(static_cast<float>(t * (at.x() + kRow.textLeft)), top, static_cast<float>(t * kRow.textWidth),
               static_cast<float>(t * kRow.textHeight));
  }
}

// The same rows as plain Qt widgets.
inline void addQtRows(QWidget* parent, int rows, int rowsPerColumn = kOneColumn) {
  for (int i = 0; i < rows; ++i) {
    const QPoint at = rowOrigin(i, rowsPerColumn);
    auto* label = new QLabel(QStringLiteral("lbl%1").arg(i), parent);
    label->setGeometry(at.x() + kRow.labelLeft, at.y(), kRow.labelWidth, kRow.labelHeight);
    auto* text = new QLineEdit(parent);
    text->setGeometry(at.x() + kRow.textLeft, at.y(), kRow.textWidth, kRow.textHeight);
  }
}

// Counts the paint events Qt delivers (one per widget painted) and the update requests
// that make a top-level window paint its dirty region and flush its backing store.
class PaintCounter : public QObject {
 public:
  PaintCounter() { QCoreApplication::instance()->installEventFilter(this); }
  ~PaintCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
  int64_t paints = 0;
  int64_t frames = 0;
  void reset() { paints = frames = 0; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    else if (event->type() == QEvent::UpdateRequest && watched->isWidgetType() &&
             static_cast<QWidget*>(watched)->isWindow())
      ++frames;
    return false;
  }
};

// What happens after input before a person sees the result: posted events (the update
// request among them, which paints and flushes), the rest of the queue, and the form
// runtime's posted work that is due now.
inline void paintFrame() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  forms::Clock::instance().runDue();
}

// Windows deleted later go now, so one iteration's leftovers do not meet the next.
inline void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Resident set size in KiB, from /proc/self/statm.
inline int64_t residentKiB() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<int64_t>(resident) * sysconf(_SC_PAGESIZE) / 1024;
}

// A value per iteration, averaged over the iterations.
inline benchmark::Counter perIteration(double total) { return benchmark::Counter(total, benchmark::Counter::kAvgIterations); }

}  // namespace benchsupport
