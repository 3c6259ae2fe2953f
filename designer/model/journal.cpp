#include "journal.h"

#include <QDir>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QUuid>
#include <csignal>
#include <unistd.h>

#include "forms/error.h"

namespace designer {

namespace {

constexpr int kFormat = 1;

bool running(qint64 pid) { return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

}  // namespace

QString Journal::folder() {
  const QByteArray env = qgetenv("FORMS_DESIGNER_JOURNAL_DIR");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/forms-designer/journal";
}

Journal::Journal(const QString& documentPath, const QByteArray& base) {
  QDir().mkpath(folder());
  m_file.setFileName(QDir(folder()).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + ".journal"));
  if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw forms::Error(forms::err::FileNotFound, "cannot write the journal " + m_file.fileName().toStdString() + ": " +
                                                       m_file.errorString().toStdString());
  writeLine({{"journal", kFormat}, {"pid", static_cast<qint64>(::getpid())}, {"path", documentPath},
             {"base", QString::fromUtf8(base)}});
}

Journal::~Journal() = default;

void Journal::writeLine(const QJsonObject& line) {
  if (!m_file.isOpen()) return;
  m_file.write(QJsonDocument(line).toJson(QJsonDocument::Compact));
  m_file.write("\n");
  // Past the process: a kill loses nothing written.
  m_file.flush();
}

void Journal::recordStep(const QJsonObject& step, bool merged) {
  QJsonObject line{{"step", step}};
  if (merged) line["merged"] = true;
  writeLine(line);
}
void Journal::recordIndex(int index) { writeLine({{"index", index}}); }
void Journal::recordSaved(const QString& path) { writeLine({{"saved", path}}); }

void Journal::discard() {
  if (m_file.isOpen()) m_file.close();
  m_file.remove();
}

bool Journal::Contents::hasUnsavedWork() const {
  // Replays the history's position: each step moves it on, an index sets it, a save
  // marks it clean.
  int index = 0, clean = 0;
  for (const Record& r : records) {
    if (r.kind == Record::Step && !r.merged) ++index;
    else if (r.kind == Record::Index) index = r.index;
    else if (r.kind == Record::Saved) clean = index;
  }
  return index != clean;
}

Journal::Contents Journal::read(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) throw forms::Error(forms::err::FileNotFound, "cannot read the journal " + file.toStdString());
  Contents c;
  c.file = file;
  bool first = true;
  while (!f.atEnd()) {
    const QByteArray line = f.readLine();
    if (!line.endsWith('\n')) break;  // cut short by the kill
    const QJsonObject o = QJsonDocument::fromJson(line).object();
    if (first) {
      if (o.value("journal").toInt() != kFormat) throw forms::Error(forms::err::InvalidCall, file.toStdString() + " is not a journal");
      c.documentPath = o.value("path").toString();
      c.base = o.value("base").toString().toUtf8();
      c.pid = o.value("pid").toInteger();
      first = false;
    } else if (o.value("step").isObject()) {
      c.records.push_back({Record::Step, o.value("step").toObject(), 0, {}, o.value("merged").toBool()});
    } else if (o.contains("index")) {
      c.records.push_back({Record::Index, {}, o.value("index").toInt(), {}, false});
    } else if (o.contains("saved")) {
      c.records.push_back({Record::Saved, {}, 0, o.value("saved").toString(), false});
    }
  }
  if (first) throw forms::Error(forms::err::InvalidCall, file.toStdString() + " is not a journal");
  return c;
}

std::vector<Journal::Contents> Journal::findRecoverable() {
  std::vector<Contents> out;
  const QDir dir(folder());
  for (const QString& name : dir.entryList({"*.journal"}, QDir::Files, QDir::Time | QDir::Reversed)) {
    const QString path = dir.filePath(name);
    try {
      Contents c = read(path);
      if (running(c.pid)) continue;
      if (c.hasUnsavedWork()) out.push_back(std::move(c));
      else QFile::remove(path);
    } catch (const forms::Error&) {
      continue;  // not ours to judge: left where it is
    }
  }
  return out;
}

}  // namespace designer
