#pragma once
// The document's journal: the form as it was opened and every step done since, one JSON
// line each, flushed as it is written, so that a designer killed or crashed loses
// nothing. The next start finds journals whose designer is gone and offers them back.
#include <QByteArray>
#include <QFile>
#include <QJsonObject>
#include <QString>
#include <vector>

namespace designer {

class Journal {
 public:
  // The folder journals go in: $FORMS_DESIGNER_JOURNAL_DIR, else the user's data folder.
  static QString folder();

  // A new journal for a document opened from `base` (its text) at `documentPath`
  // (empty for a new form). Error 75 when it cannot be written.
  Journal(const QString& documentPath, const QByteArray& base);
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // `merged`: the step joined the one before it in the history (a burst of nudges).
  void recordStep(const QJsonObject& step, bool merged);
  void recordIndex(int index);        // undo, redo or a jump in the history
  void recordSaved(const QString& path);
  // The document closed as its user wanted: the journal goes.
  void discard();
  QString filePath() const { return m_file.fileName(); }

  // What a journal holds, read back.
  struct Record {
    enum Kind { Step, Index, Saved } kind;
    QJsonObject step;
    int index = 0;
    QString path;
    bool merged = false;
  };
  struct Contents {
    QString file;
    QString documentPath;
    QByteArray base;
    qint64 pid = 0;
    std::vector<Record> records;
    // Whether the history ends anywhere but at a save (or at the opening, unsaved).
    bool hasUnsavedWork() const;
  };
  // Error 5 for a file that is not a journal. A last line cut short by the kill is
  // left out.
  static Contents read(const QString& file);
  // Journals of designers no longer running that hold work not saved. Journals of
  // such designers holding nothing unsaved are removed.
  static std::vector<Contents> findRecoverable();

 private:
  void writeLine(const QJsonObject& line);
  QFile m_file;
};

}  // namespace designer
