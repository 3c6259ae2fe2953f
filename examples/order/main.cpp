// An order form whose items scroll inside a Scrollbay: the label above the list says
// which row is at the top, OK saves the form and ends, and whatever the user typed is
// saved when the program ends.
//
//   order_example [--screenshot FILE] [--save FILE]
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <string>

#include "forms/application.h"
#include "forms/error.h"
#include "forms/form.h"
#include "forms/formfile.h"
#include "forms/object.h"
#include "forms/variant.h"

int main(int argc, char** argv) {
  std::string screenshot, savePath = "order-saved.json";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--screenshot" || arg == "--save") && i + 1 < argc) (arg == "--save" ? savePath : screenshot) = argv[++i];
    else {
      std::fprintf(stderr, "usage: order_example [--screenshot FILE] [--save FILE]\n");
      return 2;
    }
  }
  if (!screenshot.empty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  forms::Application app(argc, argv);
  try {
    const std::string formPath = QDir(QCoreApplication::applicationDirPath()).filePath("order.json").toStdString();
    forms::FormPtr form = forms::loadForm(formPath);

    // The Scrollbay's position arrives in its own scale mode: twips, 360 to a row.
    form->on("Scrollbay1", "VScrollChange", [&form](forms::EventArgs& e) {
      const int row = e.args[0].toInt32() / 360 + 1;
      forms::let(form->findControl("lblTop"), "Caption", forms::Variant("Showing from item " + std::to_string(row)));
    });
    // Whatever way the form goes (OK, the window closed, the end of a screenshot run),
    // it is saved first.
    int status = 0;
    form->on(form->name(), "Unload", [&](forms::EventArgs&) {
      try {
        forms::saveForm(*form, savePath);
        std::printf("saved %s\n", QFileInfo(QString::fromStdString(savePath)).absoluteFilePath().toUtf8().constData());
      } catch (const forms::Error& e) {
        std::fprintf(stderr, "order_example: cannot save: %s\n", e.description().c_str());
        status = 1;
      }
    });
    form->on("cmdOK", "Click", [&form](forms::EventArgs&) {
      form->Unload();
      QCoreApplication::quit();
    });
    form->Show();

    if (!screenshot.empty()) {
      // After the first ticks: the control has built its layer and laid out its scrollbars.
      QTimer::singleShot(600, [&] {
        forms::let(form->findControl("Scrollbay1"), "VScrollValue", forms::Variant(int32_t{720}));
        if (!form->widget()->grab().save(QString::fromStdString(screenshot))) {
          std::fprintf(stderr, "cannot write %s\n", screenshot.c_str());
          status = 1;
        }
        form->Unload();
        QCoreApplication::quit();
      });
    }
    app.exec();
    return status;
  } catch (const forms::Error& e) {
    std::fprintf(stderr, "order_example: run-time error %d: %s\n", e.number(), e.description().c_str());
    return 1;
  }
}
