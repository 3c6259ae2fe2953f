// forms-run: shows a form file in a window, or, with no display, runs it offscreen for
// a while, renders it to a PNG and prints the file's path.
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "forms/application.h"
#include "forms/error.h"
#include "forms/form.h"
#include "forms/formfile.h"
#include "screenshot_options.h"

namespace {

constexpr const char* kProgram = "forms-run";

// A form that does not load or run, or a picture that cannot be written.
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

void printUsage(std::ostream& out) {
  out << "Usage: " << kProgram << " [--screenshot PATH [--after MS]] [--save PATH] FORM.json\n"
      << "Shows a form file in a window; with no display, runs it offscreen for a while,\n"
      << "renders it to a PNG and prints the PNG's path.\n"
      << "\n"
      << "  FORM.json          the form file to run\n"
      << "  --screenshot PATH  run offscreen for MS milliseconds, render the form to the\n"
      << "                     PNG file PATH and exit\n"
      << "  --after MS         how long to run before the render (default 1000), long\n"
      << "                     enough for controls that lay themselves out on a timer\n"
      << "  --save PATH        a click on the form's cmdOK button saves the form to PATH\n"
      << "                     and ends the program\n"
      << "  -h, --help         this help\n";
}

int fail(int code, const std::string& message) {
  std::cerr << kProgram << ": " << message << '\n';
  return code;
}

int fail(const forms::Error& e) {
  return fail(kFailed, e.description() + " (run-time error " + std::to_string(e.number()) + ")");
}

// Without a display the render goes to forms-run.png in the temporary folder.
struct Options : ScreenshotOptions {
  std::string formPath;
  std::string savePath;
};

// The options, or the status to exit with when there is nothing to run.
struct Parsed {
  std::optional<Options> options;
  int status = 0;
};

Parsed parse(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printUsage(std::cout);
      return {};
    }
  }
  Options options;
  bool haveForm = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string error;
    if (takeScreenshotOption(argc, argv, i, options, error)) {
      if (!error.empty()) return {{}, fail(kUsageError, error + " (see --help)")};
    } else if (arg == "--save") {
      if (i + 1 == argc || !*argv[i + 1]) return {{}, fail(kUsageError, "--save needs a file name (see --help)")};
      options.savePath = argv[++i];
    } else if (arg.starts_with('-')) {
      return {{}, fail(kUsageError, "unknown option '" + arg + "' (see --help)")};
    } else if (haveForm) {
      return {{}, fail(kUsageError,
                       "one form file expected, got '" + options.formPath + "' and '" + arg + "' (see --help)")};
    } else {
      options.formPath = arg;
      haveForm = true;
    }
  }
  if (!haveForm) return {{}, fail(kUsageError, "missing FORM.json: the form file to run (see --help)")};
  const std::string error = finishScreenshotOptions(options, QDir::temp().filePath("forms-run.png").toStdString());
  if (!error.empty()) return {{}, fail(kUsageError, error + " (see --help)")};
  return {options, 0};
}


// OK saves the form and ends the program; a failed save ends it with status 1.
void saveOnOK(forms::Form& form, const std::string& path) {
  form.on("cmdOK", "Click", [&form, path](forms::EventArgs&) {
    try {
      forms::saveForm(form, path);
      QCoreApplication::quit();
    } catch (const forms::Error& e) {
      QCoreApplication::exit(fail(e));
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  const Parsed parsed = parse(argc, argv);
  if (!parsed.options) return parsed.status;
  const Options& options = *parsed.options;

  const bool offscreen = !options.screenshot.empty();
  if (offscreen) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt sees only the program's name: every argument is ours, and a form file's name
  // must not be taken for one of Qt's options.
  int qtArgc = 1;
  forms::Application app(qtArgc, argv);
  try {
    forms::FormPtr form = forms::loadForm(options.formPath);
    if (!options.savePath.empty()) saveOnOK(*form, options.savePath);
    form->Show();
    if (!offscreen) return app.exec();
    // The loop runs as in a window, so timers (a viewport's layout ticks) have fired.
    int status = 0;
    QTimer::singleShot(options.afterMs, [&] {
      if (form->widget()->grab().save(QString::fromStdString(options.screenshot), "PNG")) std::cout << options.screenshot << '\n';
      else status = fail(kFailed, "cannot write " + options.screenshot);
      QCoreApplication::quit();
    });
    app.exec();
    form->Unload();
    return status;
  } catch (const forms::Error& e) {
    return fail(e);
  }
}
