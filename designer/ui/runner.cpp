#include "runner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "document.h"
#include "forms/error.h"
#include "forms/formfile.h"

namespace designer {

// The copy lives as long as the process that reads it: forms-run reads pictures
// relative to it.
struct Runner::Run {
  QTemporaryDir folder{QDir::temp().filePath(QStringLiteral("forms-designer-run-XXXXXX"))};
  QProcess* process = nullptr;
};

Runner::Runner(QObject* parent)
    : QObject(parent), m_program(QCoreApplication::applicationDirPath() + QStringLiteral("/forms-run")) {}

Runner::~Runner() {
  // A run's window goes with the designer rather than outliving what started it.
  for (const std::unique_ptr<Run>& run : m_runs) {
    run->process->disconnect(this);
    run->process->kill();
    run->process->waitForFinished(3000);
  }
}

void Runner::run(const Document& document) {
  auto run = std::make_unique<Run>();
  if (!run->folder.isValid()) {
    emit failed(tr("No temporary folder for the copy of the form: %1").arg(run->folder.errorString()));
    return;
  }
  const forms::Form& form = document.form();
  const QString file = run->folder.filePath((form.name().empty() ? QStringLiteral("form") : QString::fromStdString(form.name())) +
                                            QStringLiteral(".json"));
  try {
    const std::string json = forms::saveFormToJson(form, file.toStdString());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(json.data(), static_cast<qint64>(json.size())) != static_cast<qint64>(json.size()) ||
        !out.flush()) {
      emit failed(tr("Cannot write the copy of the form %1: %2").arg(file, out.errorString()));
      return;
    }
  } catch (const forms::Error& e) {
    emit failed(QString::fromStdString(e.description()));
    return;
  }

  auto* process = new QProcess(this);
  run->process = process;
  process->setProgram(m_program);
  process->setArguments(m_arguments + QStringList{file});
  // What the form prints goes where the designer's own output goes; its errors are
  // kept for the report.
  process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
  connect(process, &QProcess::started, this, &Runner::started);
  connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) end(process, tr("%1 did not start: %2").arg(process->program(), process->errorString()));
  });
  connect(process, &QProcess::finished, this, [this, process](int code, QProcess::ExitStatus status) {
    const QString said = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
    QString failure;
    if (status == QProcess::CrashExit) failure = said.isEmpty() ? tr("%1 crashed").arg(process->program()) : said;
    else if (code != 0) failure = said.isEmpty() ? tr("%1 ended with status %2").arg(process->program()).arg(code) : said;
    end(process, failure);
  });
  m_runs.push_back(std::move(run));
  process->start();
}

void Runner::end(QProcess* process, const QString& failure) {
  const auto it = std::find_if(m_runs.begin(), m_runs.end(), [process](const auto& run) { return run->process == process; });
  if (it == m_runs.end()) return;
  m_runs.erase(it);  // the copy goes with it
  process->disconnect(this);
  process->deleteLater();  // it is still delivering the signal that got here
  if (!failure.isEmpty()) emit failed(failure);
}

}  // namespace designer
