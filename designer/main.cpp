// forms-designer: the visual form designer. Opens the form files given, or a new form,
// and first offers back the work of a designer that ended without saving it.
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <iostream>
#include <memory>
#include <string_view>

#include "forms/application.h"
#include "forms/error.h"
#include "journal.h"
#include "main_window.h"
#include "state_log.h"

namespace {

constexpr const char* kProgram = "forms-designer";

void printUsage(std::ostream& out) {
  out << "Usage: " << kProgram << " [--recover=ask|yes|no] [--log-state FILE] [FORM.json...]\n"
      << "Opens each form file for designing, or a new form when none is given.\n"
      << "\n"
      << "  --recover=ask  offer back the unsaved work of a designer that ended without\n"
      << "                 saving it (the default)\n"
      << "  --recover=yes  take all such work back without asking\n"
      << "  --recover=no   leave it where it is, and ask at the next start\n"
      << "  --log-state FILE  write what the window shows to FILE, a line at each change\n"
      << "                 (for tests that drive the designer)\n"
      << "  -h, --help     this help\n";
}

enum class Recover { Ask, Yes, No };

void recoverWork(designer::MainWindow& window, Recover mode) {
  if (mode == Recover::No) return;
  for (const designer::Journal::Contents& work : designer::Journal::findRecoverable()) {
    const QString name = work.documentPath.isEmpty() ? QObject::tr("a new form") : QFileInfo(work.documentPath).fileName();
    if (mode == Recover::Ask) {
      const auto answer = QMessageBox::question(
          &window, QObject::tr("Recover unsaved work"),
          QObject::tr("The designer ended before the changes to %1 were saved (%2, %3 steps). Recover them?")
              .arg(name, QFileInfo(work.file).lastModified().toString(Qt::TextDate))
              .arg(work.records.size()),
          QMessageBox::Yes | QMessageBox::Discard, QMessageBox::Yes);
      if (answer != QMessageBox::Yes) {
        QFile::remove(work.file);
        continue;
      }
    }
    try {
      window.adopt(designer::Document::recover(work));
    } catch (const forms::Error& e) {
      window.showProblem(QString::fromStdString(e.description()));
      std::cerr << kProgram << ": " << e.description() << '\n';
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Recover recover = Recover::Ask;
  QStringList files;
  QString stateLog;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--log-state") {
      if (i + 1 == argc) {
        std::cerr << kProgram << ": --log-state needs a file (see --help)\n";
        return 2;
      }
      stateLog = QString::fromLocal8Bit(argv[++i]);
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      printUsage(std::cout);
      return 0;
    }
    if (arg.starts_with("--recover=")) {
      const std::string_view how = arg.substr(10);
      if (how == "ask") recover = Recover::Ask;
      else if (how == "yes") recover = Recover::Yes;
      else if (how == "no") recover = Recover::No;
      else {
        std::cerr << kProgram << ": --recover takes ask, yes or no (see --help)\n";
        return 2;
      }
    } else if (arg.starts_with('-')) {
      std::cerr << kProgram << ": unknown option '" << arg << "' (see --help)\n";
      return 2;
    } else {
      files << QString::fromLocal8Bit(argv[i]);
    }
  }
  int qtArgc = 1;  // every argument is ours
  forms::Application app(qtArgc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Scrollbay"));
  QCoreApplication::setApplicationName(QString::fromLatin1(kProgram));
  designer::MainWindow window;
  std::unique_ptr<designer::StateLog> log;
  try {
    if (!stateLog.isEmpty()) log = std::make_unique<designer::StateLog>(window, stateLog);
  } catch (const forms::Error& e) {
    std::cerr << kProgram << ": " << e.description() << '\n';
    return 1;
  }
  window.show();
  recoverWork(window, recover);
  for (const QString& f : files) window.openFile(f);
  if (window.documentCount() == 0) window.newForm();
  return app.exec();
}
