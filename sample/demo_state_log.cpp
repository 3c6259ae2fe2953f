#include "demo_state_log.h"

#include <QRegion>
#include <QWidget>

#include "forms/control.h"
#include "forms/standard_classes.h"

namespace {

constexpr int kSampleMs = 50;

QRect inForm(const QWidget* w, const QWidget* form) { return QRect(w->mapTo(form, QPoint(0, 0)), w->size()); }

std::string text(const QRect& r) {
  return std::to_string(r.x()) + "," + std::to_string(r.y()) + "," + std::to_string(r.width()) + "," + std::to_string(r.height());
}

// The part of a widget that shows on the form: clipped by every enclosing widget and
// less whatever is stacked above any of them (a viewport's scrollbars, say). Its own
// neighbours do not count: the form's design lets fields touch and overlap.
QRegion shownPart(const QWidget* w, const QWidget* form) {
  QRegion shown(inForm(w, form));
  for (const QWidget* level = w; level && level != form; level = level->parentWidget()) {
    const QWidget* parent = level->parentWidget();
    if (!parent) break;
    shown &= inForm(parent, form);
    if (level == w) continue;
    bool above = false;
    for (const QObject* o : parent->children()) {
      if (o == level) {
        above = true;
        continue;
      }
      const auto* sibling = qobject_cast<const QWidget*>(o);
      if (above && sibling && sibling->isVisible() && !sibling->isWindow()) shown -= inForm(sibling, form);
    }
  }
  return shown;
}

}  // namespace

DemoStateLog::DemoStateLog(forms::Form& form, const std::string& path) : m_form(form), m_file(QString::fromStdString(path)) {
  if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    throw forms::Error(forms::err::FileNotFound, "cannot write the state log " + path);
  connect(&m_timer, &QTimer::timeout, this, [this] { sample(); });
  m_timer.start(kSampleMs);
}

void DemoStateLog::sample() {
  if (!m_form.loaded()) return;
  const std::string line = describe();
  if (line == m_last) return;
  m_last = line;
  m_file.write((line + "\n").c_str());
  m_file.flush();
}

std::string DemoStateLog::describe() const {
  const QWidget* form = m_form.widget();
  std::string out = "client=" + std::to_string(form->width()) + "," + std::to_string(form->height());
  std::string focus = "none", rect = "0,0,0,0", chars = "-";
  bool whole = false;
  if (forms::Control* c = m_form.activeControl(); c && c->widget()) {
    focus = c->name();
    if (c->index() >= 0) {
      focus += '(';
      focus += std::to_string(c->index());
      focus += ')';
    }
    const QRect r = inForm(c->widget(), form);
    rect = text(r);
    whole = shownPart(c->widget(), form) == QRegion(r);
    // How much a text box holds, so that a test sees typed keys arrive.
    if (c->classId() == forms::kTextBoxClass) chars = std::to_string(forms::get(*c, "Text").toString().size());
  }
  out += " focus=" + focus + " rect=" + rect + " whole=" + (whole ? "1" : "0") + " chars=" + chars;
  const struct {
    const char* label;
    const char* name;
    int16_t index;
  } parts[] = {{"bay1", "Scrollbay1", -1},    {"list0", "Scrollbay2", 0}, {"list1", "Scrollbay2", 1},
               {"frame0", "frmActivities", -1}, {"frame1", "frmJob", -1}};
  for (const auto& p : parts) {
    forms::ControlPtr c = m_form.findControl(p.name, p.index);
    out += std::string(" ") + p.label + "=" + (c && c->widget() ? text(inForm(c->widget(), form)) : "none");
  }
  // The survey's scroll position, in its twips.
  if (forms::ControlPtr survey = m_form.findControl("Scrollbay1"))
    out += " h1=" + forms::get(*survey, "HScrollValue").toString() + " v1=" + forms::get(*survey, "VScrollValue").toString();
  return out;
}
