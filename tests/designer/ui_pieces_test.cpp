// The toolbox, the object tree and the runner, each on its own, offscreen.
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <csignal>

#include "designer_fixture.h"
#include "forms/library.h"
#include "forms/standard_classes.h"
#include "object_tree.h"
#include "runner.h"
#include "toolbox.h"

using designer::ControlRef;

void PrintTo(const QString& s, std::ostream* out) { *out << '"' << s.toStdString() << '"'; }

namespace {

QTreeWidgetItem* find(QTreeWidget& tree, const QString& text) {
  const auto found = tree.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  return found.size() == 1 ? found.front() : nullptr;
}

QTreeWidgetItem* tool(QTreeWidget& tree, const QString& id) {
  for (QTreeWidgetItemIterator it(&tree); *it; ++it)
    if ((*it)->data(0, Qt::UserRole).toString() == id) return *it;
  return nullptr;
}

void click(QTreeWidget& tree, QTreeWidgetItem* item, Qt::KeyboardModifiers keys = {}) {
  ASSERT_TRUE(item);
  tree.scrollToItem(item);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, keys, tree.visualItemRect(item).center());
}

// The processes run in real time.
template <class Done>
bool waitFor(Done done) {
  QElapsedTimer clock;
  for (clock.start(); !done(); QTest::qWait(10))
    if (clock.elapsed() > 20000) return false;
  return true;
}

QString script(const QTemporaryDir& dir, const QByteArray& body) {
  QFile f(dir.filePath("fake-forms-run"));
  f.open(QIODevice::WriteOnly);
  f.write("#!/bin/sh\n" + body);
  f.setPermissions(f.permissions() | QFile::ExeOwner);
  return f.fileName();
}

}  // namespace

// The standard classes first, then each library; one that failed says why and offers
// nothing; one copied in appears on a reload; the armed class lasts while it is offered.
// A click arms, the same click again or Escape disarms; a plain key typed here is not
// taken for the window's shortcut, while Ctrl shortcuts still work.
TEST(ToolboxTest, ListsEveryLibraryArmsItsClassesAndKeepsItsKeys) {
  QTemporaryDir extra;
  const QByteArray before = qgetenv("FORMS_LIBRARY_PATH");
  qputenv("FORMS_LIBRARY_PATH", QByteArray(UNLOADABLE_LIBRARY_DIR) + ":" + extra.path().toUtf8());
  QWidget window;
  auto* toolbox = new designer::Toolbox(&window);
  auto& tree = *toolbox->findChild<QTreeWidget*>("toolbox");
  ASSERT_EQ(tree.topLevelItem(0)->childCount(), static_cast<int>(forms::standardClassIds().size()));
  EXPECT_EQ(tree.topLevelItem(0)->child(3)->text(0), "TextBox");
  EXPECT_EQ(tree.topLevelItem(0)->child(3)->data(0, Qt::UserRole), "Forms.TextBox");
  EXPECT_TRUE(tool(tree, "ScrollbayCtl.Scrollbay") && tool(tree, "Probe.Recorder"));
  EXPECT_TRUE(find(tree, "Probe")->toolTip(0).startsWith("Recording control for the runtime's tests"));
  QTreeWidgetItem* broken = find(tree, "Unresolved");
  ASSERT_TRUE(broken && broken->childCount() == 1);
  EXPECT_TRUE(broken->child(0)->text(0).contains("forms_missing_dependency")) << broken->child(0)->text(0).toStdString();
  EXPECT_EQ(broken->child(0)->foreground(0).color(), QColor(Qt::red));

  int deletes = 0, saves = 0;
  QObject::connect(new QShortcut(QKeySequence::Delete, &window), &QShortcut::activated, [&] { ++deletes; });
  QObject::connect(new QShortcut(QKeySequence::Save, &window), &QShortcut::activated, [&] { ++saves; });
  window.resize(300, 800);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QSignalSpy armed(toolbox, &designer::Toolbox::classArmed);
  click(tree, broken->child(0));
  EXPECT_EQ(armed.count(), 0) << "a failure is not a class";
  click(tree, tool(tree, "Probe.Recorder"));
  std::string probe;
  for (const auto& l : forms::listControlLibraries())
    if (l.name == "Probe") probe = l.path;
  ASSERT_TRUE(QFile::copy(QString::fromStdString(probe), extra.filePath("libAdded.so")));
  toolbox->findChild<QToolButton*>("reloadLibraries")->click();
  EXPECT_EQ(toolbox->armedClass(), "Probe.Recorder");
  click(tree, tool(tree, "Added.Recorder"));
  QFile::remove(extra.filePath("libAdded.so"));
  toolbox->reload();
  EXPECT_FALSE(find(tree, "Added"));
  ASSERT_EQ(armed.count(), 3);
  EXPECT_EQ(armed.last().at(0).toString(), "") << "a class no longer offered is disarmed";
  qputenv("FORMS_LIBRARY_PATH", before);

  click(tree, tool(tree, "Forms.Label"));
  click(tree, tool(tree, "Forms.Label"));
  EXPECT_EQ(armed.count(), 5) << "the second click disarms";
  tree.setCurrentItem(tool(tree, "Forms.Frame"));
  QTest::keyClick(&tree, Qt::Key_Return);
  EXPECT_EQ(toolbox->armedClass(), "Forms.Frame");
  QTest::keyClick(&tree, Qt::Key_Escape);
  EXPECT_EQ(toolbox->armedClass(), "");
  for (Qt::Key key : {Qt::Key_Delete, Qt::Key_X, Qt::Key_Left}) QTest::keyClick(&tree, key);
  EXPECT_EQ(deletes, 0);
  QTest::keyClick(&tree, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(saves, 1);
}

// Every control under its container, txtBelow too though its Scrollbay does not show
// it; a delete and its undo are rebuilt, and folded rows stay folded.
TEST_F(DesignerTest, ObjectTreeListsEveryControlWhereItIsContained) {
  openSample();
  designer::ObjectTree tree;
  tree.setDocument(doc.get());
  auto parentOf = [&](const char* name) {
    QTreeWidgetItem* item = find(tree, name);
    return item && item->parent() ? item->parent()->text(0).toStdString() : "?";
  };
  for (const forms::ControlPtr& c : doc->form().controls()) {
    const ControlRef container = ControlRef::of(*c->containerWindow());
    EXPECT_EQ(parentOf(ControlRef::of(*c).text().c_str()), container.isForm() ? "frmDesign" : container.text());
  }
  EXPECT_EQ(find(tree, "optPick(0)")->text(1), "OptionButton");

  find(tree, "fraChoice")->setExpanded(false);
  doc->remove({{"txtBelow", -1}});
  EXPECT_FALSE(find(tree, "txtBelow"));
  doc->history().undo();
  EXPECT_EQ(parentOf("txtBelow"), "Scrollbay1");
  EXPECT_TRUE(find(tree, "txtBelow")->isSelected()) << "the undo selected what it brought back";
  EXPECT_FALSE(find(tree, "fraChoice")->isExpanded());
}

// The document's selection shows in the tree, its containers unfolded; clicks select
// in the document, each once, the earlier choices first; the form's row is no control.
TEST_F(DesignerTest, ObjectTreeSelectionIsTheDocuments) {
  openSample();
  designer::ObjectTree tree;
  tree.setDocument(doc.get());
  tree.resize(300, 800);
  tree.show();
  QSignalSpy changes(doc.get(), &designer::Document::selectionChanged);
  QSignalSpy activated(&tree, &designer::ObjectTree::activated);
  auto shown = [&] {
    std::vector<std::string> out;
    for (QTreeWidgetItemIterator it(&tree, QTreeWidgetItemIterator::Selected); *it; ++it) out.push_back((*it)->text(0).toStdString());
    return out;
  };
  find(tree, "Scrollbay1")->setExpanded(false);
  doc->select({{"lblProbe", -1}, {"txtBelow", -1}});
  EXPECT_EQ(shown(), (std::vector<std::string>{"txtBelow", "lblProbe"}));
  EXPECT_TRUE(find(tree, "Scrollbay1")->isExpanded());
  doc->select({});
  EXPECT_EQ(shown(), std::vector<std::string>{"frmDesign"});

  changes.clear();
  click(tree, find(tree, "txtTitle"));
  click(tree, find(tree, "optPick(1)"), Qt::ControlModifier);
  click(tree, find(tree, "lblTitle"), Qt::ControlModifier);
  EXPECT_EQ(doc->selection(), (std::vector<ControlRef>{{"txtTitle", -1}, {"optPick", 1}, {"lblTitle", -1}}));
  EXPECT_EQ(changes.count(), 3);
  click(tree, tree.topLevelItem(0), Qt::ControlModifier);
  EXPECT_EQ(doc->selection().size(), 3u) << "the form joins no selection";
  EXPECT_FALSE(tree.topLevelItem(0)->isSelected());
  click(tree, tree.topLevelItem(0));
  EXPECT_TRUE(doc->selection().empty());

  tree.setCurrentItem(find(tree, "optPick(1)"));
  QTest::keyClick(&tree, Qt::Key_Return);
  ASSERT_EQ(activated.count(), 1);
  EXPECT_EQ(activated.front().at(0).value<ControlRef>(), (ControlRef{"optPick", 1}));
}

// The copy holds the form as it stands, unsaved changes included, and goes when its run
// ends; a failure is reported with what the program said; a good run starts. Runs go on
// side by side, and the designer's end ends them.
TEST_F(DesignerTest, RunnerRunsACopyReportsFailuresAndEndsItsRunsWithIt) {
  openSample();
  doc->insert(forms::kCommandButtonClass, {}, QRectF(120, 6000, 1200, 360));
  QTemporaryDir bin;
  auto runner = std::make_unique<designer::Runner>();
  QSignalSpy started(runner.get(), &designer::Runner::started), failed(runner.get(), &designer::Runner::failed);
  runner->setProgram(script(bin, "grep -q Command1 \"$1\" && echo \"cannot: $1\" >&2; exit 1\n"));
  runner->run(*doc);
  ASSERT_TRUE(failed.wait(20000));
  const QString said = failed.front().at(0).toString();
  EXPECT_TRUE(said.startsWith("cannot: ") && said.endsWith("/frmDesign.json")) << said.toStdString();
  EXPECT_FALSE(QFile::exists(said.mid(8))) << "the copy outlives its run";

  runner->setProgram(bin.filePath("nowhere"));
  runner->run(*doc);
  ASSERT_TRUE(failed.count() == 2 || failed.wait(20000));
  EXPECT_TRUE(failed.last().at(0).toString().contains("did not start"));

  runner->setProgram(QCoreApplication::applicationDirPath() + "/forms-run");
  runner->setArguments({"--screenshot", bin.filePath("shot.png"), "--after", "0"});
  failed.clear();
  runner->run(*doc);
  ASSERT_TRUE(waitFor([&] { return runner->running() == 0; }));
  EXPECT_EQ(started.count(), 2);
  EXPECT_EQ(failed.count(), 0) << failed.value(0).value(0).toString().toStdString();
  EXPECT_TRUE(QFile::exists(bin.filePath("shot.png")));

  qputenv("RUN_PIDS", bin.filePath("pids").toUtf8());
  runner->setProgram(script(bin, "echo $$ >> \"$RUN_PIDS\"\nexec sleep 60\n"));
  auto pids = [&] {
    QFile f(bin.filePath("pids"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().split('\n') : QList<QByteArray>();
  };
  runner->run(*doc);
  runner->run(*doc);
  ASSERT_TRUE(waitFor([&] { return runner->running() == 2 && pids().size() == 2; }));
  runner.reset();
  for (const QByteArray& pid : pids()) EXPECT_NE(::kill(pid.toInt(), 0), 0) << "run " << pid.toStdString() << " still going";
}
