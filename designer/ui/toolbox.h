#pragma once
// The classes a form can be given: the runtime's own, then each control library on the
// search path, or why it did not load. A class clicked is armed as the placement tool
// until it is clicked again, Escape is pressed or the canvas has placed it.
#include <QString>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace designer {

class Toolbox : public QWidget {
  Q_OBJECT

 public:
  explicit Toolbox(QWidget* parent = nullptr);

  // Empty when nothing is armed.
  QString armedClass() const { return m_armed; }
  void disarm() { arm({}); }
  // Lists the libraries again: one copied onto the search path since appears, one that
  // failed is tried again. The armed class stays armed while it is still offered.
  void reload();

 signals:
  void classArmed(const QString& classId);  // empty: disarmed

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void arm(const QString& classId);
  void toggle(QTreeWidgetItem* item);
  void showArmed();

  QTreeWidget* m_tree;
  QString m_armed;
};

}  // namespace designer
