#include "state_log.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <string_view>

#include "canvas.h"
#include "forms/error.h"
#include "main_window.h"
#include "overlay.h"
#include "property_sheet.h"
#include "toolbox.h"

namespace designer {

namespace {

constexpr int kSampleMs = 100;

// " name=value", appended piece by piece.
void add(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += '=';
  out += value;
}

std::string text(const QRect& r) {
  return std::to_string(r.x()) + "," + std::to_string(r.y()) + "," + std::to_string(r.width()) + "," + std::to_string(r.height());
}

}  // namespace

StateLog::StateLog(MainWindow& window, const QString& path) : m_window(window), m_file(path) {
  if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    throw forms::Error(forms::err::FileNotFound, "cannot write the state log " + path.toStdString());
  connect(&m_timer, &QTimer::timeout, this, [this] { sample(); });
  m_timer.start(kSampleMs);
}

void StateLog::sample() {
  const std::string line = describe();
  if (line == m_last) return;
  m_last = line;
  m_file.write((line + "\n").c_str());
  m_file.flush();
}

std::string StateLog::describe() const {
  std::string out = "title=";
  out += m_window.windowTitle().replace(' ', '_').toStdString();
  add(out, "tabs", std::to_string(m_window.documentCount()));
  if (auto* tree = m_window.toolbox().findChild<QTreeWidget*>("toolbox")) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
      const QString id = (*it)->data(0, Qt::UserRole).toString();
      if (id.isEmpty()) continue;
      const QRect r = tree->visualItemRect(*it);
      if (r.isEmpty()) continue;
      add(out, "tool:" + id.toStdString(), text(QRect(tree->viewport()->mapTo(&m_window, r.topLeft()), r.size())));
    }
  }
  // The sheet's visible rows: where each value lies and what it shows.
  if (auto* filter = m_window.properties().findChild<QWidget*>("propertyFilter"))
    add(out, "propfilter", text(QRect(filter->mapTo(&m_window, QPoint(0, 0)), filter->size())));
  QTreeWidget& sheet = m_window.properties().tree();
  for (int i = 0; i < sheet.topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = sheet.topLevelItem(i);
    const QRect r = sheet.visualItemRect(item);
    if (item->isHidden() || r.isEmpty() || r.bottom() > sheet.viewport()->height()) continue;
    const int left = sheet.header()->sectionPosition(1);
    const QRect value(sheet.viewport()->mapTo(&m_window, QPoint(left, r.y())), QSize(sheet.header()->sectionSize(1), r.height()));
    const std::string name = item->text(0).toStdString();
    add(out, "prop:" + name, text(value));
    add(out, "propvalue:" + name, item->text(1).isEmpty() ? std::string("-") : item->text(1).replace(' ', '_').toStdString());
  }
  Canvas* canvas = m_window.currentCanvas();
  if (!canvas) return out;
  Document& doc = canvas->document();
  add(out, "modified", doc.isModified() ? "1" : "0");
  std::string chosen;
  for (const ControlRef& r : doc.selection()) {
    if (!chosen.empty()) chosen += ',';
    chosen += r.text();
  }
  add(out, "selection", chosen.empty() ? std::string("-") : chosen);
  const QWidget* form = doc.form().widget();
  add(out, "form", text(QRect(form->mapTo(&m_window, QPoint(0, 0)), form->size())));
  const Overlay& overlay = canvas->overlay();
  for (const forms::ControlPtr& c : doc.form().controls()) {
    const QRect r = overlay.pixelRect(*c);
    add(out, "c:" + ControlRef::of(*c).text(), text(QRect(overlay.mapTo(&m_window, r.topLeft()), r.size())));
  }
  return out;
}

}  // namespace designer
