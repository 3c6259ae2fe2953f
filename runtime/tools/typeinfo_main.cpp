// forms-typeinfo: prints what a control library tells about its classes, loading it
// the way a form does, or what the runtime tells about its own classes.
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/application.h"
#include "forms/error.h"
#include "forms/library.h"
#include "forms/standard_classes.h"
#include "typeinfo.h"

namespace {

constexpr const char* kProgram = "forms-typeinfo";

// A library that does not load, or output that cannot be written.
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

void printUsage(std::ostream& out) {
  out << "Usage: " << kProgram << " [--text] ID\n"
      << "Prints a control library's type information.\n"
      << "\n"
      << "  ID         a class id Library.Class (the library with just that class)\n"
      << "             or a library name (the whole library); Forms.TextBox and the\n"
      << "             like are the runtime's own classes, and Forms lists them all\n"
      << "  --text     readable text instead of JSON\n"
      << "  -h, --help this help\n"
      << "\n"
      << "Libraries are looked for next to this program, on FORMS_LIBRARY_PATH and in\n"
      << "the install directory.\n";
}

int fail(int code, const std::string& message) {
  std::cerr << kProgram << ": " << message << '\n';
  return code;
}

std::string libraryOf(const std::string& id) { return id.substr(0, id.find('.')); }

forms::typeinfo::Listing load(const std::string& id) {
  const auto dot = id.find('.');
  if (dot == std::string::npos) {
    const forms::LibraryInfo& library = forms::controlLibraryInfo(id);
    return {&library, library.classes};
  }
  // The runtime's own classes have no factory to ask.
  if (forms::isStandardLibrary(libraryOf(id)))
    if (const forms::ClassInfo* info = forms::standardClassInfo(id)) return {&forms::standardLibraryInfo(), {info}};
  const forms::ControlFactory& factory = forms::findControlClass(id);
  return {&forms::controlLibraryInfo(libraryOf(id)), {factory.typeInfo}};
}

// The runtime's classes tell their members once a control of theirs exists, which
// takes an application. It is never shown: Qt's remarks on the desktop (no runtime
// folder, say) are no type information, and stderr is for this program's errors.
void quietQt(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type >= QtCriticalMsg) std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

// No QCoreApplication for a control library: reading its type information creates no
// Qt objects, and the library search falls back to /proc/self/exe for the program's folder.
int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  for (std::string_view arg : args) {
    if (arg == "--help" || arg == "-h") {
      printUsage(std::cout);
      return 0;
    }
  }
  bool text = false;
  std::optional<std::string> id;
  for (std::string_view arg : args) {
    if (arg == "--text") {
      text = true;
    } else if (arg.starts_with('-')) {
      return fail(kUsageError, "unknown option '" + std::string(arg) + "' (see --help)");
    } else if (id) {
      return fail(kUsageError, "one ID expected, got '" + *id + "' and '" + std::string(arg) + "' (see --help)");
    } else {
      id = std::string(arg);
    }
  }
  if (!id) return fail(kUsageError, "missing ID: a class id Library.Class or a library name (see --help)");
  if (id->empty()) return fail(kUsageError, "empty ID (see --help)");

  int qtArgc = 1;  // Qt keeps a reference to it; every argument is ours
  std::optional<forms::Application> app;
  if (forms::isStandardLibrary(libraryOf(*id))) {
    qInstallMessageHandler(quietQt);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app.emplace(qtArgc, argv);
  }
  forms::typeinfo::Listing listing;
  try {
    listing = load(*id);
  } catch (const forms::Error& e) {
    return fail(kFailed, e.description());
  } catch (const std::exception& e) {
    // A control library's entry point may throw anything.
    return fail(kFailed, "loading '" + *id + "' failed: " + e.what());
  }
  if (text)
    forms::typeinfo::writeText(std::cout, listing);
  else
    forms::typeinfo::writeJson(std::cout, listing);
  std::cout.flush();
  if (!std::cout) return fail(kFailed, "cannot write the output");
  return 0;
}
