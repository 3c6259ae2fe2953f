#pragma once
// The designer's window: a tab per open form, the toolbox, the object tree and the
// history beside them, and the commands of the menus.
#include <QMainWindow>
#include <functional>

#include "document.h"

class QTabWidget;
class QUndoGroup;
class QMenu;
class QAction;

namespace designer {

class Canvas;
class Toolbox;
class ObjectTree;
class Runner;
class PropertySheet;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow();
  ~MainWindow() override;

  // Opens a form file in a tab of its own (or shows its tab when it is open); false when
  // it does not load, the runtime's message shown.
  bool openFile(const QString& path);
  void newForm();
  // A document made elsewhere (recovered from a journal) in a tab of its own.
  void adopt(std::unique_ptr<Document> document);

  Canvas* currentCanvas() const;
  Document* currentDocument() const;
  Toolbox& toolbox() const { return *m_toolbox; }
  PropertySheet& properties() const { return *m_properties; }
  int documentCount() const;

  // What to do with unsaved changes when a form closes; tests answer without a dialog.
  enum class Unsaved { Save, Discard, Cancel };
  void setUnsavedQuestion(std::function<Unsaved(Document&)> ask) { m_askUnsaved = std::move(ask); }
  // Closes a tab, asking first when it has unsaved changes; false when the user kept it.
  bool closeTab(int index);

  // The editing commands, on the current form.
  void cut();
  void copy();
  void paste();
  void duplicate();
  void deleteSelection();
  void selectAll();
  bool save();
  bool saveAs();
  void run();
  void showProblem(const QString& message);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildActions();
  void buildDocks();
  void updateTitle();
  void addRecent(const QString& path);
  void fillRecentMenu();
  Canvas* canvasAt(int index) const;
  void pasteEntries(const QJsonArray& entries);

  QTabWidget* m_tabs;
  QUndoGroup* m_undo;
  Toolbox* m_toolbox;
  ObjectTree* m_tree;
  PropertySheet* m_properties;
  Runner* m_runner;
  QMenu* m_recent = nullptr;
  QAction* m_tabOrder = nullptr;
  std::function<Unsaved(Document&)> m_askUnsaved;
};

}  // namespace designer
