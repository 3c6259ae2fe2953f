#pragma once
// The property sheet: the form's or the chosen controls' properties from their type
// information, edited by type, each edit one step set by name as a program would. A
// value the controls differ in shows blank; one that differs from the class's default
// shows in bold and can be reset. A value the runtime refuses leaves everything as it
// was and shows its message on the row.
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "class_defaults.h"
#include "document.h"
#include "property_rows.h"

class QLabel;
class QLineEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace designer {

class PropertySheet : public QWidget {
  Q_OBJECT

 public:
  explicit PropertySheet(QWidget* parent = nullptr);
  ~PropertySheet() override;

  // nullptr: nothing to show.
  void setDocument(Document* document);
  QTreeWidget& tree() const { return *m_tree; }

  // Reads the rows and values again now; changes to the document do it soon after.
  void refresh();
  const std::vector<PropertyRow>& rows() const { return m_rows; }
  // The row of a property, nullptr when it is not listed (a filtered row is listed, hidden).
  QTreeWidgetItem* itemOf(const QString& name) const;
  const PropertyRow* rowOf(const QString& name) const;
  // The value text shown, blank where the controls differ.
  QString shownValue(const QString& name) const;
  bool isNonDefault(const QString& name) const;
  // The runtime's message for the last edit of this row it refused; empty when none.
  QString errorOf(const QString& name) const;

  // Sets a value as its editor would; false when the runtime refused it.
  bool apply(const PropertyRow& row, const forms::Variant& value);
  bool applyText(const QString& name, const QString& text);
  void resetToDefault(const QString& name);
  bool canReset(const QString& name) const;

  void setFilter(const QString& text);
  void setAlphabetical(bool alphabetical);
  // What the pane under the sheet says of the current row.
  QString description() const;

 private:
  struct Shown {
    QString text;       // blank where the targets differ
    bool differs;       // from the class's default
    bool resettable;    // one default for every target
    forms::Variant def; // that default
  };
  // The position of a row in m_rows, -1 when it is not listed.
  int rowIndex(const QString& name) const;
  std::vector<forms::Window*> targets() const;
  // The controls among them; none for the form.
  static std::vector<ControlRef> refsOf(const std::vector<forms::Window*>& targets);
  Shown valueOf(const PropertyRow& row, const std::vector<forms::Window*>& targets);
  void rebuild();
  void showValues(const std::vector<forms::Window*>& targets);
  void applyFilter();
  void describeCurrent();
  void showMenu(const QPoint& at);
  void scheduleRefresh();

  QPointer<Document> m_document;
  QLineEdit* m_filter;
  QToolButton* m_alphabetical;
  QToolButton* m_reset;
  QTreeWidget* m_tree;
  QLabel* m_descriptionName;
  QLabel* m_descriptionText;
  QTimer m_pending;
  std::vector<PropertyRow> m_rows;    // in the order shown
  std::vector<Shown> m_shown;         // by row
  std::vector<ControlRef> m_lastTargets;
  QString m_errorRow, m_errorText;
  ClassDefaults m_defaults;
};

}  // namespace designer
