#include "document.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "forms/collection.h"
#include "forms/error.h"
#include "forms/formfile.h"
#include "forms/usercontrol.h"
#include "naming.h"

namespace designer {

namespace {

// A control's entry less what it holds: what its own settings are. The controls inside
// change on their own, so a control's "before" takes them as they are now.
QJsonObject ownPart(QJsonObject entry) {
  entry.remove("controls");
  return entry;
}

bool inside(const forms::Window* w, const forms::Window* container) {
  for (; w; w = w->containerWindow())
    if (w == container) return true;
  return false;
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw forms::Error(forms::err::FileNotFound, path.toStdString() + ": cannot open the form file: " + file.errorString().toStdString());
  return file.readAll();
}

// Runs a step's own work with the document marked busy, whatever it throws.
class Busy {
 public:
  explicit Busy(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
  ~Busy() { m_flag = m_was; }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  bool& m_flag;
  bool m_was;
};

}  // namespace

std::unique_ptr<Document> Document::open(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  const QByteArray text = readFile(absolute);
  forms::FormPtr form = forms::loadFormFromJson(text.toStdString(), absolute.toStdString(), /*designMode=*/true);
  return std::unique_ptr<Document>(new Document(std::move(form), absolute, text));
}

std::unique_ptr<Document> Document::createNew(const QString& formName) {
  const QByteArray text = QStringLiteral(R"({"class": "Form", "name": "%1", "Caption": "%1", "ClientWidth": 7200, "ClientHeight": 5400})")
                              .arg(formName)
                              .toUtf8();
  const std::string where = QDir::current().filePath(formName + ".json").toStdString();
  forms::FormPtr form = forms::loadFormFromJson(text.toStdString(), where, true);
  return std::unique_ptr<Document>(new Document(std::move(form), {}, text));
}

std::unique_ptr<Document> Document::recover(const Journal::Contents& contents) {
  const std::string where =
      contents.documentPath.isEmpty() ? QDir::current().filePath("Form1.json").toStdString() : contents.documentPath.toStdString();
  forms::FormPtr form = forms::loadFormFromJson(contents.base.toStdString(), where, true);
  std::unique_ptr<Document> doc(new Document(std::move(form), contents.documentPath, contents.base));
  QString failure;
  connect(doc.get(), &Document::problem, doc.get(), [&](const QString& message) { failure = message; });
  try {
    for (const Journal::Record& r : contents.records) {
      switch (r.kind) {
        case Journal::Record::Step: doc->push(DocumentCommand::fromJson(*doc, r.step)); break;
        case Journal::Record::Index: doc->m_history.setIndex(r.index); break;
        case Journal::Record::Saved:
          doc->setPath(r.path);
          doc->m_history.setClean();
          if (doc->m_journal) doc->m_journal->recordSaved(r.path);
          break;
      }
      if (!failure.isEmpty()) break;
    }
  } catch (const forms::Error& e) {
    failure = QString::fromStdString(e.description());
  }
  disconnect(doc.get(), &Document::problem, doc.get(), nullptr);
  if (!failure.isEmpty()) {
    doc->close();
    throw forms::Error(forms::err::InvalidCall, contents.file.toStdString() + ": the journal does not replay: " + failure.toStdString());
  }
  // The work lives in this document's journal now.
  QFile::remove(contents.file);
  return doc;
}

Document::Document(forms::FormPtr form, QString path, QByteArray base)
    : m_form(std::move(form)), m_path(std::move(path)), m_base(std::move(base)) {
  m_form->setPropertyChangedHook([this](forms::Control& c, const std::string&) { onPropertyChanged(c); });
  connect(&m_history, &QUndoStack::indexChanged, this, [this](int index) {
    if (!m_pushing && m_journal) m_journal->recordIndex(index);
  });
  connect(&m_history, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
  std::vector<ControlRef> all;
  for (const forms::ControlPtr& c : m_form->controls())
    if (c->containerWindow() == m_form.get()) all.push_back(ControlRef::of(*c));
  remember(all);
}

Document::~Document() {
  m_history.clear();  // before the form: no step outlives what it names
  if (m_form->loaded()) m_form->Unload();
}

QString Document::displayName() const { return m_path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_path).fileName(); }

std::string Document::entryPath() const {
  if (!m_path.isEmpty()) return m_path.toStdString();
  return QDir::current().filePath(QString::fromStdString(m_form->name()) + ".json").toStdString();
}

std::string Document::bytes() const { return forms::saveFormToJson(*m_form, entryPath()); }

void Document::setPath(const QString& path) { m_path = QFileInfo(path).absoluteFilePath(); }

void Document::save() {
  if (m_path.isEmpty()) throw forms::Error(forms::err::InvalidCall, "the form has no file yet: save it as one");
  saveAs(m_path);
}

void Document::saveAs(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  forms::saveForm(*m_form, absolute.toStdString());
  setPath(absolute);
  m_history.setClean();
  if (m_journal) m_journal->recordSaved(m_path);
}

void Document::close() {
  if (m_journal) m_journal->discard();
  m_journal.reset();
}

void Document::ensureJournal() {
  if (m_journal) return;
  try {
    m_journal = std::make_unique<Journal>(m_path, m_base);
  } catch (const forms::Error& e) {
    emit problem(QString::fromStdString(e.description()) + " (changes are not journalled)");
  }
}

void Document::push(std::unique_ptr<DocumentCommand> step) {
  ensureJournal();
  const QJsonObject record = step->toJson();
  const int before = m_history.index();
  {
    Busy busy(m_busy);
    const QScopedValueRollback<bool> pushing(m_pushing, true);
    m_history.push(step.release());
  }
  if (m_journal) m_journal->recordStep(record, m_history.index() == before);
}

PlacedEntry Document::capture(const forms::Control& control) const {
  return {ControlRef::of(*control.containerWindow()), m_form->orderOf(control), forms::saveControlEntry(control, entryPath())};
}

std::size_t Document::endOf(const forms::Window& container) const {
  const auto& controls = m_form->controls();
  if (&container == m_form.get()) return controls.size();
  std::size_t i = m_form->orderOf(static_cast<const forms::Control&>(container)) + 1;
  while (i < controls.size() && inside(controls[i].get(), &container)) ++i;
  return i;
}

void Document::remember(const std::vector<ControlRef>& roots) {
  std::function<void(forms::Window&)> visit = [&](forms::Window& w) {
    if (auto* host = dynamic_cast<forms::UserControlHost*>(&w)) m_known[ControlRef::of(*host)] = ownPart(forms::saveControlEntry(*host, entryPath()));
    if (w.isContainer())
      for (const forms::ControlPtr& c : w.childControls()) visit(*c);
  };
  for (const ControlRef& r : roots)
    if (forms::Control* c = r.control(*m_form)) visit(*c);
}

void Document::onPropertyChanged(forms::Control& control) {
  if (m_busy) return;  // a step's own doing: the step has it
  const ControlRef ref = ControlRef::of(control);
  PlacedEntry now = capture(control);
  QJsonObject own = ownPart(now.entry);
  auto known = m_known.find(ref);
  if (known == m_known.end()) {
    m_known[ref] = own;
    return;
  }
  if (known->second == own) return;
  PlacedEntry before = now;
  before.entry = known->second;
  if (now.entry.contains("controls")) before.entry["controls"] = now.entry.value("controls");
  known->second = std::move(own);
  push(std::make_unique<SnapshotCommand>(*this, QStringLiteral("Change %1").arg(QString::fromStdString(ref.text())),
                                         std::vector<PlacedEntry>{before}, std::vector<PlacedEntry>{now}, true));
  emit valuesChanged();
}

void Document::perform(const QString& text, std::vector<PlacedEntry> before, const std::function<std::vector<ControlRef>()>& change) {
  std::vector<ControlRef> made;
  {
    Busy busy(m_busy);
    made = change();
  }
  std::vector<PlacedEntry> after;
  for (const ControlRef& r : made)
    if (forms::Control* c = r.control(*m_form)) after.push_back(capture(*c));
  std::sort(after.begin(), after.end(), [](const PlacedEntry& a, const PlacedEntry& b) { return a.position < b.position; });
  push(std::make_unique<SnapshotCommand>(*this, text, std::move(before), std::move(after), true));
  remember(made);
  select(made);
  emit structureChanged();
}

void Document::applyGeometry(const std::vector<Placement>& placements, bool after) {
  std::vector<ControlRef> moved;
  {
    Busy busy(m_busy);
    for (const Placement& p : placements) {
      forms::Control* c = p.ref.control(*m_form);
      if (!c) continue;
      const QRectF& r = after ? p.after : p.before;
      c->Move(static_cast<float>(r.x()), static_cast<float>(r.y()), static_cast<float>(r.width()), static_cast<float>(r.height()));
      moved.push_back(p.ref);
    }
  }
  remember(moved);
  emit geometryChanged();
}

void Document::replace(const std::vector<PlacedEntry>& from, const std::vector<PlacedEntry>& to) {
  std::vector<const PlacedEntry*> going, coming;
  for (const PlacedEntry& e : from) going.push_back(&e);
  for (const PlacedEntry& e : to) coming.push_back(&e);
  // Out from the back and in from the front, so each position holds as it was taken.
  std::sort(going.begin(), going.end(), [](auto* a, auto* b) { return a->position > b->position; });
  std::sort(coming.begin(), coming.end(), [](auto* a, auto* b) { return a->position < b->position; });
  std::vector<ControlRef> made;
  QString failure;
  {
    Busy busy(m_busy);
    for (const PlacedEntry* e : going) {
      if (forms::Control* c = e->ref().control(*m_form)) m_form->removeControl(*c);
      m_known.erase(e->ref());
    }
    for (const PlacedEntry* e : coming) {
      try {
        forms::Window* container = e->container.resolve(*m_form);
        if (!container) throw forms::Error(forms::err::InvalidCall, "no container '" + e->container.text() + "'");
        forms::loadControlEntry(*m_form, e->entry, container, entryPath(), e->position);
        made.push_back(e->ref());
      } catch (const forms::Error& err) {
        // Undo and redo run inside the history, which cannot take an exception.
        failure = QString::fromStdString(err.description());
      }
    }
  }
  remember(made);
  select(made);
  emit structureChanged();
  if (!failure.isEmpty()) emit problem(failure);
}

void Document::setGeometry(const std::vector<Placement>& placements, const QString& text, const QString& mergeKey) {
  if (placements.empty()) return;
  push(std::make_unique<GeometryCommand>(*this, text, placements, mergeKey));
}

ControlRef Document::insert(const std::string& classId, const ControlRef& containerRef, const QRectF& rect) {
  forms::Window* container = containerRef.resolve(*m_form);
  if (!container || !container->isContainer()) throw forms::Error(forms::err::InvalidCall, "'" + containerRef.text() + "' cannot hold controls");
  const std::string name = Naming(*m_form).freshName(baseNameFor(classId));
  // Last in the Tab order.
  int next = 0;
  for (const forms::ControlPtr& c : m_form->controls()) next = std::max(next, c->get_TabIndex() + 1);
  const auto tabIndex = static_cast<int16_t>(std::min(next, 32767));
  ControlRef made{name, -1};
  perform(QStringLiteral("Insert %1").arg(QString::fromStdString(name)), {}, [&] {
    const std::size_t position = endOf(*container);
    forms::ControlPtr c = m_form->addControl(classId, name, container);
    m_form->placeInOrder(m_form->controls().size() - 1, position);
    c->put_TabIndex(tabIndex);
    const float left = static_cast<float>(rect.x()), top = static_cast<float>(rect.y());
    if (rect.width() > 0 && rect.height() > 0) c->Move(left, top, static_cast<float>(rect.width()), static_cast<float>(rect.height()));
    else c->Move(left, top);
    return std::vector<ControlRef>{made};
  });
  return made;
}

void Document::remove(const std::vector<ControlRef>& controls) {
  std::vector<PlacedEntry> before;
  for (const ControlRef& r : outermost(controls)) before.push_back(capture(*r.control(*m_form)));
  if (before.empty()) return;
  std::sort(before.begin(), before.end(), [](const PlacedEntry& a, const PlacedEntry& b) { return a.position > b.position; });
  const QString text = before.size() == 1 ? QStringLiteral("Delete %1").arg(QString::fromStdString(before[0].ref().text()))
                                          : QStringLiteral("Delete %1 controls").arg(before.size());
  perform(text, before, [&] {
    for (const PlacedEntry& e : before)
      if (forms::Control* c = e.ref().control(*m_form)) m_form->removeControl(*c);
    return std::vector<ControlRef>{};
  });
}

std::vector<ControlRef> Document::paste(const QJsonArray& entries, const ControlRef& containerRef, const QPointF& offset) {
  forms::Window* container = containerRef.resolve(*m_form);
  if (!container || !container->isContainer()) throw forms::Error(forms::err::InvalidCall, "'" + containerRef.text() + "' cannot hold controls");
  std::vector<ControlRef> made;
  perform(entries.size() == 1 ? QStringLiteral("Paste %1").arg(entries[0].toObject().value("name").toString())
                              : QStringLiteral("Paste %1 controls").arg(entries.size()),
          {}, [&] {
            Naming naming(*m_form);
            try {
              for (const QJsonValue& v : entries) {
                if (!v.isObject()) throw forms::Error(forms::err::TypeMismatch, "a pasted control must be an object");
                QJsonObject entry = v.toObject();
                naming.makeUnique(entry);
                entry["Left"] = entry.value("Left").toDouble() + offset.x();
                entry["Top"] = entry.value("Top").toDouble() + offset.y();
                forms::loadControlEntry(*m_form, entry, container, entryPath(), endOf(*container));
                made.push_back(PlacedEntry::refOf(entry));
              }
            } catch (...) {
              // All of it or none of it.
              for (auto it = made.rbegin(); it != made.rend(); ++it)
                if (forms::Control* c = it->control(*m_form)) m_form->removeControl(*c);
              throw;
            }
            return made;
          });
  return made;
}

void Document::reparent(const std::vector<ControlRef>& controls, const ControlRef& containerRef, const std::vector<QPointF>& positions) {
  forms::Window* container = containerRef.resolve(*m_form);
  if (!container || !container->isContainer()) throw forms::Error(forms::err::InvalidCall, "'" + containerRef.text() + "' cannot hold controls");
  if (controls.size() != positions.size()) throw forms::Error(forms::err::InvalidCall, "a position for each control");
  std::vector<PlacedEntry> before;
  std::vector<QJsonObject> moved;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    forms::Control* c = controls[i].control(*m_form);
    if (!c) throw forms::Error(forms::err::InvalidCall, "no control '" + controls[i].text() + "'");
    if (inside(container, c)) throw forms::Error(forms::err::InvalidCall, "'" + controls[i].text() + "' cannot go inside itself");
    before.push_back(capture(*c));
    QJsonObject entry = before.back().entry;
    entry["Left"] = positions[i].x();
    entry["Top"] = positions[i].y();
    moved.push_back(entry);
  }
  if (before.empty()) return;
  perform(QStringLiteral("Move into %1").arg(QString::fromStdString(containerRef.isForm() ? m_form->name() : containerRef.text())), before,
          [&] {
            std::vector<std::size_t> order(before.size());
            for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
            std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return before[a].position > before[b].position; });
            for (std::size_t i : order)
              if (forms::Control* c = before[i].ref().control(*m_form)) m_form->removeControl(*c);
            std::vector<ControlRef> made;
            for (auto it = order.rbegin(); it != order.rend(); ++it) {
              forms::loadControlEntry(*m_form, moved[*it], container, entryPath(), endOf(*container));
              made.push_back(before[*it].ref());
            }
            return made;
          });
}

namespace {

QJsonValue jsonOf(const forms::Variant& v) {
  if (v.isEmpty()) return QJsonValue::Null;
  if (v.type() == forms::VarType::Boolean) return v.toBool();
  if (v.type() == forms::VarType::String) return QString::fromStdString(v.toString());
  if (v.isObject()) throw forms::Error(forms::err::TypeMismatch, "an object is not a plain value");
  return v.toDouble();
}

forms::Variant variantOf(const QJsonValue& v) {
  if (v.isBool()) return forms::Variant(v.toBool());
  if (v.isString()) return forms::Variant(v.toString().toStdString());
  if (v.isDouble()) {
    const double d = v.toDouble();
    if (d == std::trunc(d) && std::abs(d) <= 2147483647.0) return forms::Variant(static_cast<int32_t>(d));
    return forms::Variant(d);
  }
  return {};
}

void letOrSet(forms::Object& target, const std::string& member, const forms::Variant& value) {
  forms::Args args{value};
  target.invoke(member, value.isObject() ? forms::CallKind::Set : forms::CallKind::Let, args);
}

bool isName(const std::string& name) {
  if (name.empty() || name.size() > 40 || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  return std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

}  // namespace

void Document::applyValues(const std::vector<ValueChange>& changes, bool after) {
  QString failure;
  {
    Busy busy(m_busy);
    for (const ValueChange& c : changes) {
      forms::Window* target = c.ref.resolve(*m_form);
      if (!target) continue;
      try {
        letOrSet(*target, c.member, variantOf(after ? c.after : c.before));
      } catch (const forms::Error& e) {
        failure = QString::fromStdString(e.description());
      }
    }
  }
  std::vector<ControlRef> changed;
  for (const ValueChange& c : changes)
    if (!c.ref.isForm()) changed.push_back(c.ref);
  remember(changed);
  emit valuesChanged();
  emit geometryChanged();
  if (!failure.isEmpty()) emit problem(failure);
}

void Document::setProperty(const std::vector<ControlRef>& targets, const std::string& member, const forms::Variant& value) {
  const QString text = QStringLiteral("Set %1").arg(QString::fromStdString(member));
  if (targets.empty()) {
    // The form's own: a value before and after.
    const QJsonValue before = jsonOf(forms::get(*m_form, member));
    {
      Busy busy(m_busy);
      letOrSet(*m_form, member, value);
    }
    const QJsonValue after = jsonOf(forms::get(*m_form, member));
    if (after != before) {
      std::vector<ValueChange> changes(1);
      changes[0].member = member;
      changes[0].before = before;
      changes[0].after = after;
      push(std::make_unique<PropertyCommand>(*this, text, std::move(changes), QString(), true));
    }
    emit valuesChanged();
    emit geometryChanged();
    return;
  }
  // Controls: their entries before and after, which hold what they hold too.
  const std::vector<ControlRef> outer = outermost(targets);
  std::vector<PlacedEntry> before;
  for (const ControlRef& r : outer) before.push_back(capture(*r.control(*m_form)));
  const std::vector<ControlRef> chosen = m_selection;
  try {
    Busy busy(m_busy);
    for (const ControlRef& r : targets)
      if (forms::Control* c = r.control(*m_form)) letOrSet(*c, member, value);
  } catch (const forms::Error&) {
    // As it was: the controls changed so far are made again from their entries.
    std::vector<PlacedEntry> now;
    for (const ControlRef& r : outer) now.push_back(capture(*r.control(*m_form)));
    replace(now, before);
    select(chosen);
    throw;
  }
  std::vector<PlacedEntry> after;
  bool changed = false;
  for (std::size_t i = 0; i < outer.size(); ++i) {
    after.push_back(capture(*outer[i].control(*m_form)));
    changed |= after.back().entry != before[i].entry;
  }
  remember(outer);
  if (changed) push(std::make_unique<SnapshotCommand>(*this, text, std::move(before), std::move(after), true));
  emit valuesChanged();
  emit geometryChanged();
}

void Document::rename(const ControlRef& ref, const std::string& name) {
  forms::Control* c = ref.control(*m_form);
  if (!c) throw forms::Error(forms::err::InvalidCall, "no control '" + ref.text() + "'");
  if (!isName(name)) throw forms::Error(forms::err::InvalidCall, "'" + name + "' is not a name: a letter, then letters, digits or _");
  if (name == ref.name) return;
  for (const forms::ControlPtr& other : m_form->controls())
    if (other.get() != c && forms::equalsNoCase(other->name(), name) && !(other->index() >= 0 && c->index() >= 0 && other->index() != c->index()))
      throw forms::Error(forms::err::DuplicateKey, "There is already a control with the name '" + name + "'");
  PlacedEntry before = capture(*c);
  ControlRef renamed{name, ref.index};
  perform(QStringLiteral("Rename %1 to %2").arg(QString::fromStdString(ref.text()), QString::fromStdString(renamed.text())), {before}, [&] {
    QJsonObject entry = before.entry;
    entry["name"] = QString::fromStdString(name);
    forms::Window* container = before.container.resolve(*m_form);
    m_form->removeControl(*ref.control(*m_form));
    forms::loadControlEntry(*m_form, entry, container, entryPath(), before.position);
    return std::vector<ControlRef>{renamed};
  });
}

void Document::setTabIndexes(const std::vector<std::pair<ControlRef, int16_t>>& indexes, const QString& text, const QString& mergeKey) {
  std::vector<ValueChange> changes;
  {
    Busy busy(m_busy);
    for (const auto& [ref, index] : indexes) {
      forms::Control* c = ref.control(*m_form);
      if (!c || c->get_TabIndex() == index) continue;
      changes.push_back({ref, "TabIndex", QJsonValue(c->get_TabIndex()), QJsonValue(index)});
      c->put_TabIndex(index);
    }
  }
  if (changes.empty()) return;
  std::vector<ControlRef> changed;
  for (const ValueChange& c : changes) changed.push_back(c.ref);
  remember(changed);
  push(std::make_unique<PropertyCommand>(*this, text, std::move(changes), mergeKey, true));
  emit valuesChanged();
}

void Document::align(const std::vector<ControlRef>& controls, Alignment how) {
  if (controls.empty()) return;
  forms::Control* first = controls.front().control(*m_form);
  if (!first) return;
  std::vector<forms::Control*> group;
  for (const ControlRef& r : controls)
    if (forms::Control* c = r.control(*m_form); c && c->containerWindow() == first->containerWindow() &&
                                                std::find(group.begin(), group.end(), c) == group.end())
      group.push_back(c);
  const QRectF lead = rectOf(*first);
  std::vector<Placement> placements;
  for (forms::Control* c : group) placements.push_back({ControlRef::of(*c), rectOf(*c), rectOf(*c)});
  auto spread = [&](bool across) {
    // Ordered along the axis; the room between the outer two shared in equal gaps.
    std::sort(placements.begin(), placements.end(), [&](const Placement& a, const Placement& b) {
      return across ? a.before.left() < b.before.left() : a.before.top() < b.before.top();
    });
    if (placements.size() < 3) return;
    double total = 0;
    for (const Placement& p : placements) total += across ? p.before.width() : p.before.height();
    const double start = across ? placements.front().before.left() : placements.front().before.top();
    const double end = across ? placements.back().before.right() : placements.back().before.bottom();
    const double gap = (end - start - total) / static_cast<double>(placements.size() - 1);
    double at = start;
    for (Placement& p : placements) {
      if (across) p.after.moveLeft(at);
      else p.after.moveTop(at);
      at += (across ? p.before.width() : p.before.height()) + gap;
    }
  };
  switch (how) {
    case Alignment::Lefts: for (Placement& p : placements) p.after.moveLeft(lead.left()); break;
    case Alignment::Rights: for (Placement& p : placements) p.after.moveRight(lead.right()); break;
    case Alignment::Tops: for (Placement& p : placements) p.after.moveTop(lead.top()); break;
    case Alignment::Bottoms: for (Placement& p : placements) p.after.moveBottom(lead.bottom()); break;
    case Alignment::Centres: for (Placement& p : placements) p.after.moveLeft(lead.center().x() - p.before.width() / 2); break;
    case Alignment::Middles: for (Placement& p : placements) p.after.moveTop(lead.center().y() - p.before.height() / 2); break;
    case Alignment::SameWidth: for (Placement& p : placements) p.after.setWidth(lead.width()); break;
    case Alignment::SameHeight: for (Placement& p : placements) p.after.setHeight(lead.height()); break;
    case Alignment::SameSize: for (Placement& p : placements) p.after.setSize(lead.size()); break;
    case Alignment::SpaceAcross: spread(true); break;
    case Alignment::SpaceDown: spread(false); break;
  }
  std::erase_if(placements, [](const Placement& p) { return p.before == p.after; });
  static const char* const names[] = {"Align lefts",  "Align rights", "Align tops",  "Align bottoms", "Align centres",     "Align middles",
                                      "Same width",   "Same height",  "Same size",   "Space across",  "Space down"};
  setGeometry(placements, QString::fromLatin1(names[static_cast<int>(how)]));
}

QJsonArray Document::entries(const std::vector<ControlRef>& controls) const {
  std::vector<const forms::Control*> list;
  for (const ControlRef& r : outermost(controls)) list.push_back(r.control(*m_form));
  std::sort(list.begin(), list.end(), [&](auto* a, auto* b) { return m_form->orderOf(*a) < m_form->orderOf(*b); });
  QJsonArray out;
  for (const forms::Control* c : list) out.append(forms::saveControlEntry(*c, entryPath()));
  return out;
}

std::vector<ControlRef> Document::outermost(const std::vector<ControlRef>& controls) const {
  std::vector<forms::Control*> all;
  for (const ControlRef& r : controls)
    if (forms::Control* c = r.control(*m_form); c && std::find(all.begin(), all.end(), c) == all.end()) all.push_back(c);
  std::vector<ControlRef> out;
  for (forms::Control* c : all) {
    const bool nested = std::any_of(all.begin(), all.end(), [&](forms::Control* other) { return other != c && inside(c, other); });
    if (!nested) out.push_back(ControlRef::of(*c));
  }
  return out;
}

QRectF Document::rectOf(const forms::Control& c) { return {c.get_Left(), c.get_Top(), c.get_Width(), c.get_Height()}; }

void Document::select(std::vector<ControlRef> controls) {
  if (controls == m_selection) return;
  m_selection = std::move(controls);
  emit selectionChanged();
}

}  // namespace designer
