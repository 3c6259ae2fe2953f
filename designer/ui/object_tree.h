#pragma once
// Every control of the document's form, nested as contained, also those lying outside
// what their container shows. Its selection and the document's are one: either side
// changes it and the other follows.
#include <QPointer>
#include <QTreeWidget>
#include <map>

#include "control_ref.h"
#include "document.h"

namespace designer {

class ObjectTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit ObjectTree(QWidget* parent = nullptr);

  // nullptr: nothing to show.
  void setDocument(Document* document);
  Document* document() const { return m_document; }
  // The row of a control, the form's for an empty reference; nullptr when not listed.
  QTreeWidgetItem* itemOf(const ControlRef& ref) const;

 signals:
  // Enter or a double-click on a row: the user wants to work on that control.
  void activated(const designer::ControlRef& ref);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void rebuild();
  void showSelection();
  void selectFromItems();
  static ControlRef refOf(const QTreeWidgetItem* item);

  QPointer<Document> m_document;
  std::map<ControlRef, QTreeWidgetItem*> m_items;
  bool m_selecting = false;  // the document's selection is being set from here
};

}  // namespace designer
