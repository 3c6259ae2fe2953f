#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoGroup>
#include <QUndoView>
#include <type_traits>

#include "canvas.h"
#include "forms/error.h"
#include "object_tree.h"
#include "property_sheet.h"
#include "overlay.h"
#include "runner.h"
#include "tab_order.h"
#include "toolbox.h"

namespace designer {

namespace {

constexpr const char* kFragmentType = "application/x-forms-fragment";
constexpr int kRecentCount = 8;

// A fragment is the form file's own schema: {"controls": [...]}; a lone entry, or a list
// of entries, pasted as text is taken too.
QJsonArray entriesOf(const QByteArray& text) {
  const QJsonDocument doc = QJsonDocument::fromJson(text);
  if (doc.isArray()) return doc.array();
  const QJsonObject o = doc.object();
  if (o.value("controls").isArray() && !o.contains("class")) return o.value("controls").toArray();
  if (o.contains("class") && o.value("class").toString() != "Form") return QJsonArray{o};
  return {};
}

}  // namespace

MainWindow::MainWindow() : m_tabs(new QTabWidget), m_undo(new QUndoGroup(this)) {
  setWindowTitle(QStringLiteral("Forms Designer"));
  m_tabs->setDocumentMode(true);
  m_tabs->setTabsClosable(true);
  m_tabs->setMovable(true);
  setCentralWidget(m_tabs);
  m_runner = new Runner(this);
  // The runner's own words, in a box that blocks nothing: the designer stays as it was.
  connect(m_runner, &Runner::failed, this, [this](const QString& message) {
    showProblem(tr("The form did not run: %1").arg(message));
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Run"), tr("The form did not run.\n\n%1").arg(message), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
  });
  buildDocks();
  buildActions();
  connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int i) { closeTab(i); });
  connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
    Document* doc = currentDocument();
    m_undo->setActiveStack(doc ? &doc->history() : nullptr);
    m_tree->setDocument(doc);
    m_properties->setDocument(doc);
    if (Canvas* c = currentCanvas()) c->overlay().setPlacing(m_toolbox->armedClass());
    const QSignalBlocker quiet(m_tabOrder);
    m_tabOrder->setChecked(currentCanvas() && currentCanvas()->overlay().tabOrderMode());
    updateTitle();
  });
  m_askUnsaved = [this](Document& doc) {
    const auto answer = QMessageBox::question(this, tr("Unsaved changes"), tr("Save the changes to %1?").arg(doc.displayName()),
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Save ? Unsaved::Save : answer == QMessageBox::Discard ? Unsaved::Discard : Unsaved::Cancel;
  };
  resize(1100, 760);
  updateTitle();
}

MainWindow::~MainWindow() {
  m_tree->setDocument(nullptr);
  m_properties->setDocument(nullptr);
  while (m_tabs->count() > 0) {
    Canvas* c = canvasAt(0);
    m_tabs->removeTab(0);
    delete c;
  }
}

void MainWindow::buildDocks() {
  m_toolbox = new Toolbox;
  auto* tools = new QDockWidget(tr("Toolbox"), this);
  tools->setObjectName("toolboxDock");
  tools->setWidget(m_toolbox);
  addDockWidget(Qt::LeftDockWidgetArea, tools);
  connect(m_toolbox, &Toolbox::classArmed, this, [this](const QString& id) {
    if (Canvas* c = currentCanvas()) {
      c->overlay().setPlacing(id);
      if (!id.isEmpty()) c->overlay().setFocus();
    }
  });

  m_tree = new ObjectTree;
  auto* objects = new QDockWidget(tr("Objects"), this);
  objects->setObjectName("objectsDock");
  objects->setWidget(m_tree);
  addDockWidget(Qt::RightDockWidgetArea, objects);
  // Chosen in the tree, a control takes the keys on the canvas: arrows move it.
  connect(m_tree, &ObjectTree::activated, this, [this](const ControlRef&) {
    if (Canvas* c = currentCanvas()) c->overlay().setFocus();
  });

  m_properties = new PropertySheet;
  auto* properties = new QDockWidget(tr("Properties"), this);
  properties->setObjectName("propertiesDock");
  properties->setWidget(m_properties);
  addDockWidget(Qt::RightDockWidgetArea, properties);

  auto* history = new QDockWidget(tr("History"), this);
  history->setObjectName("historyDock");
  auto* view = new QUndoView(m_undo);
  view->setEmptyLabel(tr("<opened>"));
  history->setWidget(view);
  addDockWidget(Qt::RightDockWidgetArea, history);
  resizeDocks({tools, objects}, {180, 300}, Qt::Horizontal);
  resizeDocks({objects, properties, history}, {200, 400, 120}, Qt::Vertical);
}

// The platform's keys for a standard command; where a desktop gives none (Save As, Quit
// on a bare X server), the usual ones.
static QList<QKeySequence> keysFor(QKeySequence::StandardKey key) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  if (!keys.isEmpty()) return keys;
  switch (key) {
    case QKeySequence::SaveAs: return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)};
    case QKeySequence::Quit: return {QKeySequence(Qt::CTRL | Qt::Key_Q)};
    case QKeySequence::Close: return {QKeySequence(Qt::CTRL | Qt::Key_W)};
    case QKeySequence::Redo: return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    default: return {};
  }
}

void MainWindow::buildActions() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  auto add = [this](QMenu* menu, const QString& text, auto keys, auto&& slot) {
    QAction* a = menu->addAction(text);
    if constexpr (std::is_same_v<decltype(keys), QKeySequence::StandardKey>) a->setShortcuts(keysFor(keys));
    else a->setShortcut(keys);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  add(file, tr("&New"), QKeySequence::New, [this] { newForm(); });
  add(file, tr("&Open..."), QKeySequence::Open, [this] {
    const QStringList paths = QFileDialog::getOpenFileNames(this, tr("Open form"), {}, tr("Form files (*.json);;All files (*)"));
    for (const QString& p : paths) openFile(p);
  });
  m_recent = file->addMenu(tr("Open &Recent"));
  connect(m_recent, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
  file->addSeparator();
  add(file, tr("&Save"), QKeySequence::Save, [this] { save(); });
  add(file, tr("Save &As..."), QKeySequence::SaveAs, [this] { saveAs(); });
  add(file, tr("&Close"), QKeySequence::Close, [this] {
    if (m_tabs->count() > 0) closeTab(m_tabs->currentIndex());
  });
  file->addSeparator();
  add(file, tr("&Quit"), QKeySequence::Quit, [this] { close(); });

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  QAction* undo = m_undo->createUndoAction(this, tr("&Undo"));
  undo->setShortcuts(keysFor(QKeySequence::Undo));
  QAction* redo = m_undo->createRedoAction(this, tr("&Redo"));
  redo->setShortcuts(keysFor(QKeySequence::Redo));
  edit->addAction(undo);
  edit->addAction(redo);
  edit->addSeparator();
  // These act on the canvas only: keys typed in the toolbox or the tree stay there.
  const std::pair<QString, std::pair<QList<QKeySequence>, void (MainWindow::*)()>> canvasCommands[] = {
      {tr("Cu&t"), {keysFor(QKeySequence::Cut), &MainWindow::cut}},
      {tr("&Copy"), {keysFor(QKeySequence::Copy), &MainWindow::copy}},
      {tr("&Paste"), {keysFor(QKeySequence::Paste), &MainWindow::paste}},
      {tr("D&uplicate"), {{QKeySequence(Qt::CTRL | Qt::Key_D)}, &MainWindow::duplicate}},
      {tr("&Delete"), {keysFor(QKeySequence::Delete), &MainWindow::deleteSelection}},
      {tr("Select &All"), {keysFor(QKeySequence::SelectAll), &MainWindow::selectAll}},
  };
  for (const auto& [text, command] : canvasCommands) {
    QAction* a = edit->addAction(text);
    a->setShortcuts(command.first);
    connect(a, &QAction::triggered, this, command.second);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_tabs->addAction(a);
  }

  QMenu* form = menuBar()->addMenu(tr("F&orm"));
  add(form, tr("&Run"), QKeySequence(Qt::Key_F5), [this] { run(); });
  form->addSeparator();
  m_tabOrder = add(form, tr("&Tab Order"), QKeySequence(Qt::CTRL | Qt::Key_T), [this](bool on) {
    if (Canvas* c = currentCanvas()) c->overlay().setTabOrderMode(on);
  });
  m_tabOrder->setCheckable(true);
  add(form, tr("Order by &Position"), QKeySequence(), [this] {
    if (Document* doc = currentDocument()) doc->setTabIndexes(numbered(byPosition(doc->form())), tr("Order by position"));
  });

  // Lining up the chosen controls with the first chosen.
  QMenu* format = menuBar()->addMenu(tr("For&mat"));
  using A = Document::Alignment;
  const std::pair<QString, A> alignments[] = {
      {tr("Align &Lefts"), A::Lefts},          {tr("Align &Rights"), A::Rights},       {tr("Align &Tops"), A::Tops},
      {tr("Align &Bottoms"), A::Bottoms},      {tr("Align &Centres"), A::Centres},     {tr("Align &Middles"), A::Middles},
      {tr("Same &Width"), A::SameWidth},       {tr("Same &Height"), A::SameHeight},    {tr("Same &Size"), A::SameSize},
      {tr("Space Evenly &Across"), A::SpaceAcross}, {tr("Space Evenly &Down"), A::SpaceDown},
  };
  int n = 0;
  for (const auto& [text, how] : alignments) {
    if (n == 6 || n == 9) format->addSeparator();
    ++n;
    add(format, text, QKeySequence(), [this, how = how] {
      if (Document* doc = currentDocument()) doc->align(doc->selection(), how);
    });
  }
  QMenu* tools = menuBar()->addMenu(tr("&Tools"));
  add(tools, tr("&Reload libraries"), QKeySequence(), [this] { m_toolbox->reload(); });
}

Canvas* MainWindow::canvasAt(int index) const { return qobject_cast<Canvas*>(m_tabs->widget(index)); }
Canvas* MainWindow::currentCanvas() const { return canvasAt(m_tabs->currentIndex()); }
Document* MainWindow::currentDocument() const {
  Canvas* c = currentCanvas();
  return c ? &c->document() : nullptr;
}
int MainWindow::documentCount() const { return m_tabs->count(); }

void MainWindow::adopt(std::unique_ptr<Document> document) {
  Document* doc = document.get();
  auto* canvas = new Canvas(std::move(document));
  m_undo->addStack(&doc->history());
  const int index = m_tabs->addTab(canvas, doc->displayName());
  auto retitle = [this, canvas] {
    const int i = m_tabs->indexOf(canvas);
    if (i >= 0) m_tabs->setTabText(i, canvas->document().displayName() + (canvas->document().isModified() ? "*" : ""));
    updateTitle();
  };
  connect(doc, &Document::modifiedChanged, this, retitle);
  connect(doc, &Document::problem, this, &MainWindow::showProblem);
  connect(&canvas->overlay(), &Overlay::placed, m_toolbox, &Toolbox::disarm);
  connect(&canvas->overlay(), &Overlay::tabOrderModeChanged, this, [this, canvas](bool on) {
    if (currentCanvas() != canvas) return;
    const QSignalBlocker quiet(m_tabOrder);
    m_tabOrder->setChecked(on);
  });
  retitle();
  m_tabs->setCurrentIndex(index);
  canvas->overlay().setFocus();
}

bool MainWindow::openFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  for (int i = 0; i < m_tabs->count(); ++i)
    if (canvasAt(i)->document().path() == absolute) {
      m_tabs->setCurrentIndex(i);
      return true;
    }
  try {
    adopt(Document::open(absolute));
  } catch (const forms::Error& e) {
    showProblem(QString::fromStdString(e.description()));
    QMessageBox::warning(this, tr("Open form"), QString::fromStdString(e.description()));
    return false;
  }
  addRecent(absolute);
  return true;
}

void MainWindow::newForm() {
  static int made = 0;
  QString name;
  // A name no open form has.
  for (bool taken = true; taken;) {
    name = QStringLiteral("Form%1").arg(++made);
    taken = false;
    for (int i = 0; i < m_tabs->count(); ++i) taken |= QString::fromStdString(canvasAt(i)->document().form().name()) == name;
  }
  adopt(Document::createNew(name));
}

bool MainWindow::closeTab(int index) {
  Canvas* canvas = canvasAt(index);
  if (!canvas) return true;
  Document& doc = canvas->document();
  if (doc.isModified()) {
    m_tabs->setCurrentIndex(index);
    switch (m_askUnsaved(doc)) {
      case Unsaved::Cancel: return false;
      case Unsaved::Save:
        if (!save()) return false;
        break;
      case Unsaved::Discard: break;
    }
  }
  doc.close();
  if (currentCanvas() == canvas) m_tree->setDocument(nullptr);
  m_undo->removeStack(&doc.history());
  m_tabs->removeTab(m_tabs->indexOf(canvas));
  delete canvas;
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  while (m_tabs->count() > 0)
    if (!closeTab(m_tabs->count() - 1)) {
      event->ignore();
      return;
    }
  event->accept();
}

bool MainWindow::save() {
  Document* doc = currentDocument();
  if (!doc) return false;
  if (doc->path().isEmpty()) return saveAs();
  try {
    doc->save();
  } catch (const forms::Error& e) {
    showProblem(QString::fromStdString(e.description()));
    QMessageBox::warning(this, tr("Save form"), QString::fromStdString(e.description()));
    return false;
  }
  statusBar()->showMessage(tr("Saved %1").arg(doc->path()), 4000);
  updateTitle();
  return true;
}

bool MainWindow::saveAs() {
  Document* doc = currentDocument();
  if (!doc) return false;
  const QString suggested = doc->path().isEmpty() ? QString::fromStdString(doc->form().name()) + ".json" : doc->path();
  const QString path = QFileDialog::getSaveFileName(this, tr("Save form as"), suggested, tr("Form files (*.json)"));
  if (path.isEmpty()) return false;
  try {
    doc->saveAs(path);
  } catch (const forms::Error& e) {
    showProblem(QString::fromStdString(e.description()));
    QMessageBox::warning(this, tr("Save form"), QString::fromStdString(e.description()));
    return false;
  }
  addRecent(doc->path());
  const int i = m_tabs->currentIndex();
  m_tabs->setTabText(i, doc->displayName());
  updateTitle();
  return true;
}

void MainWindow::run() {
  if (Document* doc = currentDocument()) m_runner->run(*doc);
}

void MainWindow::showProblem(const QString& message) { statusBar()->showMessage(message, 10000); }

void MainWindow::updateTitle() {
  Document* doc = currentDocument();
  setWindowTitle(doc ? QStringLiteral("%1[*] - Forms Designer").arg(doc->displayName()) : QStringLiteral("Forms Designer"));
  setWindowModified(doc && doc->isModified());
}

void MainWindow::addRecent(const QString& path) {
  QSettings settings;
  QStringList recent = settings.value("recent").toStringList();
  recent.removeAll(path);
  recent.prepend(path);
  while (recent.size() > kRecentCount) recent.removeLast();
  settings.setValue("recent", recent);
}

void MainWindow::fillRecentMenu() {
  m_recent->clear();
  const QStringList recent = QSettings().value("recent").toStringList();
  for (const QString& path : recent) connect(m_recent->addAction(path), &QAction::triggered, this, [this, path] { openFile(path); });
  if (recent.isEmpty()) m_recent->addAction(tr("(none)"))->setEnabled(false);
}

// Editing.

void MainWindow::copy() {
  Document* doc = currentDocument();
  if (!doc || doc->selection().empty()) return;
  const QByteArray text = QJsonDocument(QJsonObject{{"controls", doc->entries(doc->selection())}}).toJson(QJsonDocument::Indented);
  auto* data = new QMimeData;
  data->setData(kFragmentType, text);
  data->setText(QString::fromUtf8(text));
  QApplication::clipboard()->setMimeData(data);
}

void MainWindow::cut() {
  copy();
  deleteSelection();
}

void MainWindow::deleteSelection() {
  if (Document* doc = currentDocument()) doc->remove(doc->selection());
}

void MainWindow::selectAll() {
  Document* doc = currentDocument();
  if (!doc) return;
  std::vector<ControlRef> all;
  for (const forms::ControlPtr& c : doc->form().controls()) all.push_back(ControlRef::of(*c));
  doc->select(all);
}

void MainWindow::paste() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data) return;
  const QByteArray text = data->hasFormat(kFragmentType) ? data->data(kFragmentType) : data->text().toUtf8();
  const QJsonArray entries = entriesOf(text);
  if (entries.isEmpty()) {
    showProblem(tr("The clipboard holds no controls"));
    return;
  }
  pasteEntries(entries);
}

void MainWindow::duplicate() {
  if (Document* doc = currentDocument(); doc && !doc->selection().empty()) pasteEntries(doc->entries(doc->selection()));
}

void MainWindow::pasteEntries(const QJsonArray& entries) {
  Document* doc = currentDocument();
  if (!doc) return;
  forms::Form& form = doc->form();
  // Into the one container chosen, else beside the first control chosen.
  forms::Window* into = &form;
  const auto chosen = doc->selection();
  if (!chosen.empty()) {
    forms::Control* first = chosen.front().control(form);
    into = chosen.size() == 1 && first->isContainer() ? static_cast<forms::Window*>(first) : first->containerWindow();
  }
  // Where a control of the same class already stands, the copy goes a grid step on.
  const double step = into->contentScale().fromTwips(forms::Axis::X, currentCanvas()->overlay().grid() > 0 ? currentCanvas()->overlay().grid() : 120);
  QPointF offset;
  auto clashes = [&] {
    for (const QJsonValue& v : entries) {
      const QJsonObject e = v.toObject();
      for (const forms::ControlPtr& c : into->childControls())
        if (c->classId() == e.value("class").toString().toStdString() && std::abs(c->get_Left() - (e.value("Left").toDouble() + offset.x())) < 1e-3 &&
            std::abs(c->get_Top() - (e.value("Top").toDouble() + offset.y())) < 1e-3)
          return true;
    }
    return false;
  };
  for (int n = 0; n < 100 && clashes(); ++n) offset += QPointF(step, step);
  try {
    doc->paste(entries, ControlRef::of(*into), offset);
  } catch (const forms::Error& e) {
    showProblem(QString::fromStdString(e.description()));
  }
}

}  // namespace designer
