// forms-format: rewrites form files as the runtime's saver writes them, so that a file
// kept by hand, saved by the designer or loaded and saved by a program is the same bytes.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "forms/application.h"
#include "forms/error.h"
#include "forms/form.h"
#include "forms/formfile.h"

namespace {

constexpr const char* kProgram = "forms-format";

// A file that does not load or cannot be written, or with --check one that would change.
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

void printUsage(std::ostream& out) {
  out << "Usage: " << kProgram << " [--check] FILE...\n"
      << "Rewrites each form file as the runtime's saver writes it, loaded in design mode,\n"
      << "and prints the name of each file it changed.\n"
      << "\n"
      << "  FILE...     the form files to rewrite\n"
      << "  --check     change nothing: print the name of each file that would change,\n"
      << "              and exit with status 1 when there is one\n"
      << "  -h, --help  this help\n"
      << "\n"
      << "A file that does not load is left as it is and makes the status 1. A bag entry\n"
      << "that its control does not read is a warning, and the rewritten file leaves it\n"
      << "out. Control libraries are looked for as a form looks for them: next to this\n"
      << "program, on FORMS_LIBRARY_PATH and in the install directory.\n";
}

void complain(const std::string& message) { std::cerr << kProgram << ": " << message << '\n'; }

int fail(int code, const std::string& message) {
  complain(message);
  return code;
}

// Forms are only ever loaded here, never shown: Qt's remarks on the desktop (no runtime
// folder, say) are nothing to the user, and stderr is for the files' faults.
void quietQt(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Where two texts first differ, for a check that says more than "differs".
int firstDifferingLine(const QByteArray& a, const std::string& b) {
  int line = 1;
  for (qsizetype i = 0; i < a.size() && i < static_cast<qsizetype>(b.size()) && a[i] == b[i]; ++i)
    if (a[i] == '\n') ++line;
  return line;
}

enum class Outcome { Same, Changed, Failed };

// The form goes whichever way the formatting ends; with no handlers nothing can cancel it.
struct Loaded {
  forms::FormPtr form;
  ~Loaded() {
    if (form) forms::resumeNext([this] { form->Unload(); });
  }
};

bool readAll(const std::string& path, QByteArray& bytes) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    complain(path + ": cannot read the form file: " + file.errorString().toStdString());
    return false;
  }
  bytes = file.readAll();
  return true;
}

// Loaded in design mode, as the designer opens a file: no control runs, so nothing one
// would do at run time (a layer made, a range set) reaches what is saved.
Outcome format(const std::string& path, bool check) {
  try {
    Loaded loaded{forms::loadForm(path, /*designMode*/ true)};
    const std::string saved = forms::saveFormToJson(*loaded.form, path);
    QByteArray bytes;
    if (!readAll(path, bytes)) return Outcome::Failed;
    if (bytes.toStdString() == saved) return Outcome::Same;
    if (check)
      complain(path + ": from line " + std::to_string(firstDifferingLine(bytes, saved)) +
               " it is not as the saver writes it (" + kProgram + " FILE rewrites it)");
    else
      forms::saveForm(*loaded.form, path);
    return Outcome::Changed;
  } catch (const forms::Error& e) {
    complain(e.description());
  } catch (const std::exception& e) {
    // A control library's ReadProperties may throw anything.
    complain(path + ": loading failed: " + e.what());
  }
  return Outcome::Failed;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  for (std::string_view arg : args) {
    if (arg == "--help" || arg == "-h") {
      printUsage(std::cout);
      return 0;
    }
  }
  bool check = false;
  std::vector<std::string> paths;
  for (std::string_view arg : args) {
    if (arg == "--check") check = true;
    else if (arg.starts_with('-')) return fail(kUsageError, "unknown option '" + std::string(arg) + "' (see --help)");
    else if (arg.empty()) return fail(kUsageError, "empty file name (see --help)");
    else paths.emplace_back(arg);
  }
  if (paths.empty()) return fail(kUsageError, "missing FILE: the form files to rewrite (see --help)");

  // Nothing is shown; the platform matters only in that there must be one, display or not.
  qInstallMessageHandler(quietQt);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;  // Qt keeps a reference to it; every argument is ours
  forms::Application app(qtArgc, argv);

  int status = 0;
  for (const std::string& path : paths) {
    const Outcome outcome = format(path, check);
    if (outcome == Outcome::Changed) std::cout << path << '\n';
    if (outcome == Outcome::Failed || (check && outcome == Outcome::Changed)) status = kFailed;
  }
  std::cout.flush();
  if (!std::cout) return fail(kFailed, "cannot write the output");
  return status;
}
