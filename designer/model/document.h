#pragma once
// A form being designed: the form itself, loaded in design mode, where it is saved, its
// history of steps and its journal. Every change goes through here as one undo step,
// including a control's change of its own settings.
#include <QJsonArray>
#include <QObject>
#include <QUndoStack>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "commands.h"
#include "control_ref.h"
#include "journal.h"

namespace designer {

class Document : public QObject {
  Q_OBJECT

 public:
  // Errors are the runtime's: a file that does not load says why, naming the control.
  static std::unique_ptr<Document> open(const QString& path);
  static std::unique_ptr<Document> createNew(const QString& formName = QStringLiteral("Form1"));
  // The document a journal holds, every step done again and the history where it was;
  // the journal is then this document's. Error 5 for a journal that does not replay.
  static std::unique_ptr<Document> recover(const Journal::Contents& contents);
  ~Document() override;

  forms::Form& form() const { return *m_form; }
  // Empty for a form never saved.
  const QString& path() const { return m_path; }
  QString displayName() const;
  QUndoStack& history() { return m_history; }
  bool isModified() const { return !m_history.isClean(); }
  // What a save writes now.
  std::string bytes() const;
  // Error 53 when the file cannot be written; then nothing counts as saved.
  void save();
  void saveAs(const QString& path);
  // The user closes the document: its journal goes.
  void close();
  const Journal* journal() const { return m_journal.get(); }

  // One undo step each. A `mergeKey` joins a step to the one before with the same key
  // and controls (a burst of nudges).
  void setGeometry(const std::vector<Placement>& placements, const QString& text, const QString& mergeKey = {});
  // A new control of the class, at `rect` in the container's scale (or its own size
  // when the rectangle is empty), initialised as a new placement; its reference.
  ControlRef insert(const std::string& classId, const ControlRef& container, const QRectF& rect);
  void remove(const std::vector<ControlRef>& controls);
  // Entries of the file's schema made in `container`, renamed where their names are
  // taken and moved by `offset`; the new controls.
  std::vector<ControlRef> paste(const QJsonArray& entries, const ControlRef& container, const QPointF& offset = {});
  // Into another container, each at its new Left and Top there.
  void reparent(const std::vector<ControlRef>& controls, const ControlRef& container, const std::vector<QPointF>& positions);

  // A property of each control given, or of the form when none is, set by name as a
  // program would (an object value by set, any other by let): one step. The runtime's
  // error (380, 13, ...) reaches the caller and changes nothing.
  void setProperty(const std::vector<ControlRef>& targets, const std::string& member, const forms::Variant& value);
  // A new name: error 5 for one that is not a name, 457 for one another control has.
  void rename(const ControlRef& control, const std::string& name);
  // TabIndex values as one step; steps with the same `mergeKey` merge (one editing of
  // the order).
  void setTabIndexes(const std::vector<std::pair<ControlRef, int16_t>>& indexes, const QString& text, const QString& mergeKey = {});

  // The chosen controls lined up with the first of them, one step; those in another
  // container than the first's are left out. Spacing evenly keeps the outer two where
  // they are and shares the room between them.
  enum class Alignment { Lefts, Rights, Tops, Bottoms, Centres, Middles, SameWidth, SameHeight, SameSize, SpaceAcross, SpaceDown };
  void align(const std::vector<ControlRef>& controls, Alignment how);

  // The entries of controls, for a copy; the outermost of those given.
  QJsonArray entries(const std::vector<ControlRef>& controls) const;
  // Those given, less any that lies inside another of them.
  std::vector<ControlRef> outermost(const std::vector<ControlRef>& controls) const;
  // Left, Top, Width, Height in the container's scale.
  static QRectF rectOf(const forms::Control& control);

  const std::vector<ControlRef>& selection() const { return m_selection; }
  void select(std::vector<ControlRef> controls);

  // Used by the steps.
  void applyGeometry(const std::vector<Placement>& placements, bool after);
  void replace(const std::vector<PlacedEntry>& from, const std::vector<PlacedEntry>& to);
  void applyValues(const std::vector<ValueChange>& changes, bool after);
  // The path entries are written for (pictures relative to it).
  std::string entryPath() const;

 signals:
  void structureChanged();  // controls came or went
  void geometryChanged();   // controls moved or were sized
  void valuesChanged();     // a property was set, by a step or undone
  void selectionChanged();
  void modifiedChanged(bool modified);
  // Something went wrong outside any call that could report it (a step undone or done
  // again that the runtime refused, a journal that cannot be written).
  void problem(const QString& message);

 private:
  Document(forms::FormPtr form, QString path, QByteArray base);
  void push(std::unique_ptr<DocumentCommand> step);
  // Runs `change` as a step already done: `before` as captured, the step's after as the
  // returned controls stand then.
  void perform(const QString& text, std::vector<PlacedEntry> before, const std::function<std::vector<ControlRef>()>& change);
  PlacedEntry capture(const forms::Control& control) const;
  // The position just after everything inside `container`: where a new control goes.
  std::size_t endOf(const forms::Window& container) const;
  void remember(const std::vector<ControlRef>& roots);
  void onPropertyChanged(forms::Control& control);
  void ensureJournal();
  void setPath(const QString& path);

  forms::FormPtr m_form;
  QString m_path;
  QByteArray m_base;  // the text opened, for the journal
  QUndoStack m_history;
  std::unique_ptr<Journal> m_journal;
  bool m_busy = false;     // a step is running: what controls say of themselves is its doing
  bool m_pushing = false;  // the history's index moves because of a push
  std::vector<ControlRef> m_selection;
  // User controls' own settings as last seen (their entries less what they hold), the
  // "before" of a change they make themselves.
  std::map<ControlRef, QJsonObject> m_known;
};

}  // namespace designer
