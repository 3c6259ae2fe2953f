// ScrollbayDemo: the survey form, whose fields and two lists of choices scroll inside
// Scrollbay controls. Its one piece of code makes Enter move on like Tab.
//
// In a window where there is a display; with none, or with --screenshot, it runs
// offscreen for a while and saves the form's client area as a PNG.
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "demo_state_log.h"
#include "forms/application.h"
#include "forms/error.h"
#include "forms/formfile.h"
#include "forms/keyboard.h"
#include "screenshot_options.h"

namespace {

constexpr const char* kUsage =
    "Usage: ScrollbayDemo [--screenshot FILE [--after MS]] [--log-state FILE]\n"
    "Shows the sample survey form.\n"
    "\n"
    "  --screenshot FILE  run offscreen for MS milliseconds, save the form's client area\n"
    "                     as a PNG and exit (also what happens when there is no display)\n"
    "  --after MS         how long to run before the screenshot (default 1000)\n"
    "  --log-state FILE   write a line to FILE whenever the focused field, its place\n"
    "                     or the viewports' places change (for tests)\n"
    "  -h, --help         this help\n";

struct Options : ScreenshotOptions {
  std::string stateLog;
};

int usageError(const std::string& message) {
  std::fprintf(stderr, "ScrollbayDemo: %s (see --help)\n", message.c_str());
  return 2;
}

// Returns an exit status when the arguments end the program.
std::optional<int> parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string error;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (takeScreenshotOption(argc, argv, i, options, error)) {
      if (!error.empty()) return usageError(error);
    } else if (arg == "--log-state") {
      const char* v = i + 1 < argc ? argv[++i] : nullptr;
      if (!v || !*v) return usageError(arg + " needs a file name");
      options.stateLog = v;
    } else {
      return usageError("unknown argument '" + arg + "'");
    }
  }
  const std::string error = finishScreenshotOptions(options, QDir::temp().filePath("ScrollbayDemo.png").toStdString());
  if (!error.empty()) return usageError(error);
  return std::nullopt;
}

// Next to the program, where it is installed, then in the source tree.
std::string findFormFile() {
  const QString exeDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  for (const QString& dir : {exeDir + "/forms", exeDir + "/../share/scrollbay/forms", QStringLiteral(SAMPLE_FORMS_DIR)}) {
    const QString path = QDir(dir).filePath(QStringLiteral("frmMain.json"));
    if (QFileInfo::exists(path)) return QDir::cleanPath(path).toStdString();
  }
  throw forms::Error(forms::err::FileNotFound, "frmMain.json was not found next to ScrollbayDemo nor in " SAMPLE_FORMS_DIR);
}

// Key preview shows the form every key first: Enter moves on as Tab does, and is
// itself discarded. Should sending the Tab fail, the key stays as it was.
void wireKeyPress(forms::Form& form) {
  form.on(form.name(), "KeyPress", [](forms::EventArgs& e) {
    if (e.args[0].toInt16() != 13) return;
    forms::SendKeys("{TAB}", false);
    e.args[0] = forms::Variant(int16_t{0});
  });
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (std::optional<int> status = parse(argc, argv, options)) return *status;
  if (!options.screenshot.empty()) qputenv("QT_QPA_PLATFORM", "offscreen");

  forms::Application app(argc, argv);
  try {
    forms::FormPtr form = forms::loadForm(findFormFile());
    wireKeyPress(*form);
    std::optional<DemoStateLog> stateLog;
    if (!options.stateLog.empty()) stateLog.emplace(*form, options.stateLog);
    form->Show();
    if (options.screenshot.empty()) return app.exec();

    int status = 0;
    QTimer::singleShot(options.afterMs, [&] {
      if (form->widget()->grab().save(QString::fromStdString(options.screenshot))) {
        std::printf("%s\n", options.screenshot.c_str());
      } else {
        std::fprintf(stderr, "ScrollbayDemo: cannot write %s\n", options.screenshot.c_str());
        status = 1;
      }
      QCoreApplication::quit();
    });
    app.exec();
    form->Unload();
    return status;
  } catch (const forms::Error& e) {
    std::fprintf(stderr, "ScrollbayDemo: run-time error %d: %s\n", e.number(), e.description().c_str());
    return 1;
  }
}
