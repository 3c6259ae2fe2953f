// The journal after the designer is killed: the next start offers the work back, every
// step and the history's place included.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <thread>

#include "designer_fixture.h"

using designer::ControlRef;
using designer::Placement;

namespace {
constexpr const char* kChild = "FORMS_DESIGNER_JOURNAL_CHILD";
}

// Run by the test below in a process of its own, which it then kills: some work, a
// save in the middle, an undo at the end, and then it waits to be killed.
TEST_F(DesignerTest, JournalChild) {
  const QByteArray out = qgetenv(kChild);
  if (out.isEmpty()) GTEST_SKIP() << "run by JournalTest";
  const QString folder = QFile::decodeName(out).section('/', 0, -2);
  qputenv("FORMS_DESIGNER_JOURNAL_DIR", (folder + "/journals").toUtf8());
  openSample(folder);
  doc->insert("Forms.CommandButton", {}, QRectF(240, 6000, 1200, 360));
  const ControlRef title{"txtTitle", -1};
  const QRectF at = designer::Document::rectOf(*title.control(doc->form()));
  doc->setGeometry({Placement{title, at, at.translated(120, 0)}}, "Move", "nudge");
  doc->setGeometry({Placement{title, at.translated(120, 0), at.translated(240, 0)}}, "Move", "nudge");
  doc->save();
  doc->remove({{"fraChoice", -1}});
  doc->paste(doc->entries({{"Probe1", -1}}), {"picArea", -1});
  forms::let(*doc->form().findControl("Probe1"), "Number", forms::Variant(int32_t{7}));
  doc->history().undo();
  QFile result(QFile::decodeName(out));
  ASSERT_TRUE(result.open(QIODevice::WriteOnly));
  result.write(QByteArray::fromStdString(doc->bytes()) + "\n" + QByteArray::number(doc->history().index()) + " " +
               QByteArray::number(doc->history().count()));
  result.close();
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

TEST_F(DesignerTest, AKilledDesignersWorkIsOfferedBackWhole) {
  const QString out = path("child-result.txt");
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kChild, out);
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=DesignerTest.JournalChild"});
  ASSERT_TRUE(child.waitForStarted());
  while (!child.readAllStandardOutput().contains("ready")) ASSERT_TRUE(child.waitForReadyRead(60000)) << "the child never got ready";
  ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
  child.waitForFinished();

  QFile result(out);
  ASSERT_TRUE(result.open(QIODevice::ReadOnly));
  const QList<QByteArray> parts = result.readAll().split('\n');
  const QByteArray bytes = parts.mid(0, parts.size() - 1).join('\n');
  const QList<QByteArray> where = parts.last().split(' ');

  qputenv("FORMS_DESIGNER_JOURNAL_DIR", journalFolder().toUtf8() + "/journals");
  std::vector<designer::Journal::Contents> offered = designer::Journal::findRecoverable();
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0].documentPath, path("design.json"));
  doc = designer::Document::recover(offered[0]);
  EXPECT_EQ(QByteArray::fromStdString(doc->bytes()), bytes);
  EXPECT_EQ(doc->history().index(), where[0].toInt());
  EXPECT_EQ(doc->history().count(), where[1].toInt());
  EXPECT_TRUE(doc->isModified());
  // Saved in the middle: undoing back to there is clean again.
  doc->history().setIndex(2);
  EXPECT_FALSE(doc->isModified());
  // Taken over: the old journal is gone, the document journals in a new one.
  EXPECT_FALSE(QFile::exists(offered[0].file));
  EXPECT_TRUE(designer::Journal::findRecoverable().empty());
  ASSERT_TRUE(doc->journal());
  EXPECT_TRUE(QFile::exists(doc->journal()->filePath()));
}
