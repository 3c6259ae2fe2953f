#include "commands.h"

#include <QJsonArray>
#include <algorithm>

#include "document.h"
#include "forms/error.h"

namespace designer {

namespace {

QJsonArray rectJson(const QRectF& r) { return {r.x(), r.y(), r.width(), r.height()}; }

QRectF rectFrom(const QJsonValue& v) {
  const QJsonArray a = v.toArray();
  if (a.size() != 4) throw forms::Error(forms::err::InvalidCall, "a rectangle needs four numbers");
  return {a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble()};
}

QJsonArray entriesJson(const std::vector<PlacedEntry>& entries) {
  QJsonArray out;
  for (const PlacedEntry& e : entries) out.append(e.toJson());
  return out;
}

std::vector<PlacedEntry> entriesFrom(const QJsonValue& v) {
  std::vector<PlacedEntry> out;
  for (const QJsonValue& e : v.toArray()) out.push_back(PlacedEntry::fromJson(e.toObject()));
  return out;
}

}  // namespace

ControlRef PlacedEntry::refOf(const QJsonObject& entry) {
  return {entry.value("name").toString().toStdString(),
          entry.contains("index") ? static_cast<int16_t>(entry.value("index").toInt()) : int16_t{-1}};
}

QJsonObject PlacedEntry::toJson() const {
  return {{"container", QString::fromStdString(container.text())}, {"position", static_cast<qint64>(position)}, {"entry", entry}};
}

PlacedEntry PlacedEntry::fromJson(const QJsonObject& o) {
  if (!o.value("entry").isObject()) throw forms::Error(forms::err::InvalidCall, "a placed entry needs its entry");
  const std::string container = o.value("container").toString().toStdString();
  return {container.empty() ? ControlRef{} : ControlRef::fromText(container),
          static_cast<std::size_t>(std::max<qint64>(0, o.value("position").toInteger())), o.value("entry").toObject()};
}

std::unique_ptr<DocumentCommand> DocumentCommand::fromJson(Document& document, const QJsonObject& record) {
  const QString type = record.value("type").toString();
  const QString text = record.value("text").toString();
  if (type == "geometry") {
    std::vector<Placement> placements;
    for (const QJsonValue& v : record.value("placements").toArray()) {
      const QJsonObject p = v.toObject();
      placements.push_back({ControlRef::fromText(p.value("control").toString().toStdString()), rectFrom(p.value("before")),
                            rectFrom(p.value("after"))});
    }
    return std::make_unique<GeometryCommand>(document, text, std::move(placements), record.value("merge").toString());
  }
  if (type == "property") {
    std::vector<ValueChange> changes;
    for (const QJsonValue& v : record.value("changes").toArray()) {
      const QJsonObject c = v.toObject();
      const std::string ref = c.value("control").toString().toStdString();
      changes.push_back({ref.empty() ? ControlRef{} : ControlRef::fromText(ref), c.value("member").toString().toStdString(),
                         c.value("before"), c.value("after")});
    }
    return std::make_unique<PropertyCommand>(document, text, std::move(changes), record.value("merge").toString(), false);
  }
  if (type == "snapshot")
    return std::make_unique<SnapshotCommand>(document, text, entriesFrom(record.value("before")), entriesFrom(record.value("after")),
                                             false);
  throw forms::Error(forms::err::InvalidCall, "not a step of the designer: '" + type.toStdString() + "'");
}

GeometryCommand::GeometryCommand(Document& document, const QString& text, std::vector<Placement> placements, QString mergeKey)
    : DocumentCommand(document, text), m_placements(std::move(placements)), m_mergeKey(std::move(mergeKey)) {}

bool GeometryCommand::mergeWith(const QUndoCommand* other) {
  auto* o = dynamic_cast<const GeometryCommand*>(other);
  if (!o || o->m_mergeKey != m_mergeKey || o->m_placements.size() != m_placements.size()) return false;
  for (std::size_t i = 0; i < m_placements.size(); ++i)
    if (!(o->m_placements[i].ref == m_placements[i].ref)) return false;
  for (std::size_t i = 0; i < m_placements.size(); ++i) m_placements[i].after = o->m_placements[i].after;
  return true;
}

void GeometryCommand::redo() { m_document.applyGeometry(m_placements, true); }
void GeometryCommand::undo() { m_document.applyGeometry(m_placements, false); }

QJsonObject GeometryCommand::toJson() const {
  QJsonArray placements;
  for (const Placement& p : m_placements)
    placements.append(QJsonObject{{"control", QString::fromStdString(p.ref.text())}, {"before", rectJson(p.before)}, {"after", rectJson(p.after)}});
  QJsonObject o{{"type", "geometry"}, {"text", text()}, {"placements", placements}};
  if (!m_mergeKey.isEmpty()) o["merge"] = m_mergeKey;
  return o;
}

PropertyCommand::PropertyCommand(Document& document, const QString& text, std::vector<ValueChange> changes, QString mergeKey,
                                 bool done)
    : DocumentCommand(document, text), m_changes(std::move(changes)), m_mergeKey(std::move(mergeKey)), m_skipRedo(done) {}

bool PropertyCommand::mergeWith(const QUndoCommand* other) {
  auto* o = dynamic_cast<const PropertyCommand*>(other);
  if (!o || o->m_mergeKey != m_mergeKey) return false;
  for (const ValueChange& c : o->m_changes) {
    auto same = std::find_if(m_changes.begin(), m_changes.end(), [&](const ValueChange& mine) { return mine.ref == c.ref && mine.member == c.member; });
    if (same != m_changes.end()) same->after = c.after;
    else m_changes.push_back(c);
  }
  return true;
}

void PropertyCommand::redo() {
  if (m_skipRedo) {
    m_skipRedo = false;
    return;
  }
  m_document.applyValues(m_changes, true);
}

void PropertyCommand::undo() { m_document.applyValues(m_changes, false); }

QJsonObject PropertyCommand::toJson() const {
  QJsonArray changes;
  for (const ValueChange& c : m_changes)
    changes.append(QJsonObject{{"control", QString::fromStdString(c.ref.text())}, {"member", QString::fromStdString(c.member)},
                               {"before", c.before}, {"after", c.after}});
  QJsonObject o{{"type", "property"}, {"text", text()}, {"changes", changes}};
  if (!m_mergeKey.isEmpty()) o["merge"] = m_mergeKey;
  return o;
}

SnapshotCommand::SnapshotCommand(Document& document, const QString& text, std::vector<PlacedEntry> before,
                                 std::vector<PlacedEntry> after, bool done)
    : DocumentCommand(document, text), m_before(std::move(before)), m_after(std::move(after)), m_skipRedo(done) {}

void SnapshotCommand::redo() {
  if (m_skipRedo) {
    m_skipRedo = false;
    return;
  }
  m_document.replace(m_before, m_after);
}

void SnapshotCommand::undo() { m_document.replace(m_after, m_before); }

QJsonObject SnapshotCommand::toJson() const {
  return {{"type", "snapshot"}, {"text", text()}, {"before", entriesJson(m_before)}, {"after", entriesJson(m_after)}};
}

}  // namespace designer
