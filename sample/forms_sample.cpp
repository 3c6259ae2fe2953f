// Shows a form file in a real window, or, with no display, renders it offscreen to a
// PNG and prints the file's path. With --save, the OK button writes the form as it
// stands (what was typed, chosen and scrolled) to PATH and ends the program.
//
//   FormsSample [--screenshot PATH] [--save PATH] [FORM.json]
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "forms/application.h"
#include "forms/clock.h"
#include "forms/error.h"
#include "forms/formfile.h"
#include "forms/keyboard.h"
#include "forms/scrollbar.h"

namespace {

constexpr const char* kUsage = "usage: FormsSample [--screenshot PATH] [--save PATH] [FORM.json]";

bool haveDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && std::string(platform) == "offscreen") return false;
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

// The sample's only code: Enter moves on like Tab, and the scrollbar reports its value.
void wireHandlers(forms::Form& form) {
  form.on(form.name(), "KeyPress", [](forms::EventArgs& e) {
    if (e.args[0].toInt16() == forms::keycode::Return) {
      forms::SendKeys("{TAB}", false);
      e.args[0] = forms::Variant(int16_t{0});
    }
  });
  form.on("vsLevel", "Change", [&form](forms::EventArgs&) {
    if (auto bar = form.findControl("vsLevel"); bar)
      if (auto label = form.findControl("lblLevel"))
        forms::let(label, "Caption", "Level: " + forms::get(bar, "Value").toString());
  });
}

// OK saves the form and ends the program; a failed save ends it with status 1.
void saveOnOK(forms::Form& form, const std::string& path) {
  form.on("cmdOK", "Click", [&form, path](forms::EventArgs&) {
    try {
      forms::saveForm(form, path);
      QCoreApplication::quit();
    } catch (const forms::Error& e) {
      std::fprintf(stderr, "Run-time error %d: %s\n", e.number(), e.description().c_str());
      QCoreApplication::exit(1);
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  std::string screenshot;
  std::string savePath;
  std::string formPath = std::string(SAMPLE_FORMS_DIR) + "/sample.json";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--screenshot" && i + 1 < argc) screenshot = argv[++i];
    else if (arg == "--save" && i + 1 < argc) savePath = argv[++i];
    else if (arg == "--help") {
      std::puts(kUsage);
      return 0;
    } else if (arg.starts_with("--")) {
      std::fprintf(stderr, "%s\n", kUsage);
      return 2;
    } else formPath = arg;
  }
  const bool offscreen = !haveDisplay() || !screenshot.empty();
  if (!haveDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
  forms::Application app(argc, argv);
  try {
    forms::FormPtr form = forms::loadForm(formPath);
    wireHandlers(*form);
    if (!savePath.empty()) saveOnOK(*form, savePath);
    form->Show();
    if (!offscreen) return app.exec();
    QCoreApplication::processEvents();
    if (screenshot.empty()) screenshot = QDir::temp().filePath("forms-sample.png").toStdString();
    if (!form->widget()->grab().save(QString::fromStdString(screenshot))) {
      std::fprintf(stderr, "cannot write %s\n", screenshot.c_str());
      return 1;
    }
    std::printf("%s\n", screenshot.c_str());
    form->Unload();
    return 0;
  } catch (const forms::Error& e) {
    std::fprintf(stderr, "Run-time error %d: %s\n", e.number(), e.description().c_str());
    return 1;
  }
}
