#pragma once
// Runs the form being designed in forms-run, in a process of its own, from a temporary
// copy: a form that fails or crashes there leaves the designer as it was. Runs go on side
// by side; the designer's end ends those still going.
#include <QObject>
#include <QStringList>
#include <memory>
#include <vector>

class QProcess;
class QTemporaryDir;

namespace designer {

class Document;

class Runner : public QObject {
  Q_OBJECT

 public:
  explicit Runner(QObject* parent = nullptr);
  ~Runner() override;

  // The form as it stands now, unsaved changes included.
  void run(const Document& document);
  // forms-run next to the designer unless set.
  void setProgram(const QString& program) { m_program = program; }
  QString program() const { return m_program; }
  // Given before the form's file.
  void setArguments(const QStringList& arguments) { m_arguments = arguments; }
  // Runs whose process has not ended yet.
  int running() const { return static_cast<int>(m_runs.size()); }

 signals:
  void started();
  // The copy could not be written, the program did not start, or it ended with an error
  // or crashed: what it said on stderr, or why it did not start.
  void failed(const QString& message);

 private:
  struct Run;
  void end(QProcess* process, const QString& failure);

  QString m_program;
  QStringList m_arguments;
  std::vector<std::unique_ptr<Run>> m_runs;
};

}  // namespace designer
