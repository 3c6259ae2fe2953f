// forms-run: shows a form file in a window, or, with no display, renders it offscreen
// to a PNG and prints the file's path.
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/application.h"
#include "forms/display.h"
#include "forms/error.h"
#include "forms/form.h"
#include "forms/formfile.h"

namespace {

constexpr const char* kProgram = "forms-run";

// A form that does not load or run, or a picture that cannot be written.
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

void printUsage(std::ostream& out) {
  out << "Usage: " << kProgram << " [--screenshot PATH] [--save PATH] FORM.json\n"
      << "Shows a form file in a window; with no display, renders it offscreen to a PNG\n"
      << "and prints the PNG's path.\n"
      << "\n"
      << "  FORM.json          the form file to run\n"
      << "  --screenshot PATH  render offscreen to the PNG file PATH and exit\n"
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

struct Options {
  std::string formPath;
  std::string screenshot;
  std::string savePath;
};

// The options, or the status to exit with when there is nothing to run.
struct Parsed {
  std::optional<Options> options;
  int status = 0;
};

Parsed parse(const std::vector<std::string_view>& args) {
  for (std::string_view arg : args) {
    if (arg == "--help" || arg == "-h") {
      printUsage(std::cout);
      return {};
    }
  }
  Options options;
  bool haveForm = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string arg(args[i]);
    if (arg == "--screenshot" || arg == "--save") {
      if (i + 1 == args.size() || args[i + 1].empty())
        return {{}, fail(kUsageError, "option '" + arg + "' needs a PATH (see --help)")};
      (arg == "--save" ? options.savePath : options.screenshot) = args[++i];
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
  const Parsed parsed = parse({argv + 1, argv + argc});
  if (!parsed.options) return parsed.status;
  const Options& options = *parsed.options;

  const bool offscreen = !options.screenshot.empty() || !forms::haveDisplay();
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
    QCoreApplication::processEvents();
    const std::string png =
        options.screenshot.empty() ? QDir::temp().filePath("forms-run.png").toStdString() : options.screenshot;
    if (!form->widget()->grab().save(QString::fromStdString(png), "PNG")) return fail(kFailed, "cannot write " + png);
    std::cout << png << '\n';
    form->Unload();
    return 0;
  } catch (const forms::Error& e) {
    return fail(e);
  }
}
