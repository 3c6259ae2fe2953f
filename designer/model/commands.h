#pragma once
// The document's undo steps. Value steps (where controls stand) keep the old and the new
// rectangles and merge while a burst of nudges goes on; structural steps keep the
// affected controls' entries in the form file's own schema, before and after.
#include <QJsonObject>
#include <QRectF>
#include <QUndoCommand>
#include <memory>
#include <vector>

#include "control_ref.h"

namespace designer {

class Document;

// A control as the saver wrote it, with where it stood: enough to make it again there.
struct PlacedEntry {
  ControlRef container;
  std::size_t position = 0;  // in the form's order of controls
  QJsonObject entry;

  ControlRef ref() const { return refOf(entry); }
  // The control an entry makes, by its name and index.
  static ControlRef refOf(const QJsonObject& entry);
  QJsonObject toJson() const;
  static PlacedEntry fromJson(const QJsonObject& o);
};

// Left, Top, Width and Height in the container's scale, before and after.
struct Placement {
  ControlRef ref;
  QRectF before, after;
};

class DocumentCommand : public QUndoCommand {
 public:
  DocumentCommand(Document& document, const QString& text) : QUndoCommand(text), m_document(document) {}
  // What the journal keeps of the step, and the step made again from it.
  virtual QJsonObject toJson() const = 0;
  // Error 5 for a record that is not a step.
  static std::unique_ptr<DocumentCommand> fromJson(Document& document, const QJsonObject& record);

 protected:
  Document& m_document;
};

class GeometryCommand : public DocumentCommand {
 public:
  // Steps with the same non-empty key and the same controls merge into one.
  GeometryCommand(Document& document, const QString& text, std::vector<Placement> placements, QString mergeKey = {});
  int id() const override { return m_mergeKey.isEmpty() ? -1 : 1; }
  bool mergeWith(const QUndoCommand* other) override;
  void redo() override;
  void undo() override;
  QJsonObject toJson() const override;

 private:
  std::vector<Placement> m_placements;
  QString m_mergeKey;
};

// A value set by name, late bound as a program sets it, kept as JSON (true, 120, "text").
struct ValueChange {
  ControlRef ref;  // the form for an empty one
  std::string member;
  QJsonValue before, after;
};

// Values of controls or of the form: its own properties, Tab orders. Steps with the
// same non-empty key merge, keeping each value's first "before".
class PropertyCommand : public DocumentCommand {
 public:
  PropertyCommand(Document& document, const QString& text, std::vector<ValueChange> changes, QString mergeKey, bool done);
  int id() const override { return m_mergeKey.isEmpty() ? -1 : 2; }
  bool mergeWith(const QUndoCommand* other) override;
  void redo() override;
  void undo() override;
  QJsonObject toJson() const override;

 private:
  std::vector<ValueChange> m_changes;
  QString m_mergeKey;
  bool m_skipRedo;
};

class SnapshotCommand : public DocumentCommand {
 public:
  // `done`: the change has already been made (by the document, or by a control's own
  // code), so the first redo has nothing to do.
  SnapshotCommand(Document& document, const QString& text, std::vector<PlacedEntry> before, std::vector<PlacedEntry> after,
                  bool done);
  void redo() override;
  void undo() override;
  QJsonObject toJson() const override;

 private:
  std::vector<PlacedEntry> m_before, m_after;
  bool m_skipRedo;
};

}  // namespace designer
