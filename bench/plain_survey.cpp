// plain_survey: the sample survey's fields as plain Qt widgets at the same places, read
// from the sample's form file, with each Scrollbay replaced by a QScrollArea. The
// baseline against which ScrollbayDemo's start-up time and memory are measured.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyleFactory>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "screenshot_options.h"

namespace {

constexpr const char* kUsage =
    "Usage: plain_survey [--screenshot FILE [--after MS]]\n"
    "Shows the sample survey form's fields as plain Qt widgets.\n"
    "\n"
    "  --screenshot FILE  run offscreen for MS milliseconds, save the window's client area\n"
    "                     as a PNG and exit (also what happens when there is no display)\n"
    "  --after MS         how long to run before the screenshot (default 1000)\n"
    "  -h, --help         this help\n";

int usageError(const std::string& message) {
  std::fprintf(stderr, "plain_survey: %s (see --help)\n", message.c_str());
  return 2;
}

// Returns an exit status when the arguments end the program.
std::optional<int> parse(int argc, char** argv, ScreenshotOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string error;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (takeScreenshotOption(argc, argv, i, options, error)) {
      if (!error.empty()) return usageError(error);
    } else {
      return usageError("unknown argument '" + arg + "'");
    }
  }
  const std::string error = finishScreenshotOptions(options, QDir::temp().filePath("plain_survey.png").toStdString());
  if (!error.empty()) return usageError(error);
  return std::nullopt;
}

// Next to the program, where the sample is installed, then in the source tree.
QString findFormFile() {
  const QString exeDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  for (const QString& dir : {exeDir + "/forms", exeDir + "/../share/scrollbay/forms", QStringLiteral(SAMPLE_FORMS_DIR)}) {
    const QString path = QDir(dir).filePath(QStringLiteral("frmMain.json"));
    if (QFileInfo::exists(path)) return QDir::cleanPath(path);
  }
  return {};
}

constexpr double kTwipsPerPixel = 15;
constexpr int kDefaultMarginPixels = 20;  // a Scrollbay's margin right of and below its content

int pixels(const QJsonValue& twips, double fallback = 0) {
  return static_cast<int>(std::nearbyint(twips.toDouble(fallback * kTwipsPerPixel) / kTwipsPerPixel));
}

// A user control's saved extent is in HIMETRIC.
int himetricPixels(const QJsonValue& himetric) { return static_cast<int>(std::nearbyint(himetric.toDouble() * 96 / 2540)); }

// Every control has a font of its own, as in the form runtime: a frame's does not
// reach what it holds.
void applyFont(QWidget* w, const QJsonObject& node) {
  const QJsonObject f = node["Font"].toObject();
  QFont font(f["Name"].toString(QStringLiteral("MS Sans Serif")));
  font.setPointSizeF(f["Size"].toDouble(8.25));
  font.setBold(f["Bold"].toBool());
  font.setItalic(f["Italic"].toBool());
  font.setUnderline(f["Underline"].toBool());
  w->setFont(font);
}

void buildChildren(const QJsonObject& node, QWidget* parent);

// A Scrollbay's stand-in: a frameless QScrollArea whose content widget is as large as
// the Scrollbay's virtual area.
QWidget* buildScrollArea(const QJsonObject& node, QWidget* parent) {
  const QJsonObject bag = node["bag"].toObject();
  auto* area = new QScrollArea(parent);
  area->setFrameShape(QFrame::NoFrame);
  if (bag["AutoFillContainer"].toBool()) {
    const QRect r = parent->rect();
    const int left = pixels(bag["LeftFillMargin"]), top = pixels(bag["TopFillMargin"]);
    const int right = pixels(bag["RightFillMargin"]), bottom = pixels(bag["BottomFillMargin"]);
    area->setGeometry(r.left() + left, r.top() + top, r.width() - left - right, r.height() - top - bottom);
  } else {
    area->setGeometry(pixels(node["Left"]), pixels(node["Top"]), himetricPixels(bag["_extentx"]), himetricPixels(bag["_extenty"]));
  }
  auto* content = new QWidget;
  buildChildren(node, content);
  QRect extent;
  for (QWidget* child : content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) extent |= child->geometry();
  content->resize(extent.right() + 1 + pixels(bag["RightMargin"], kDefaultMarginPixels),
                  extent.bottom() + 1 + pixels(bag["BottomMargin"], kDefaultMarginPixels));
  area->setWidget(content);
  return area;
}

QWidget* buildControl(const QJsonObject& node, QWidget* parent) {
  const QString cls = node["class"].toString();
  const QString caption = node["Caption"].toString();
  QWidget* w = nullptr;
  if (cls == "ScrollbayCtl.Scrollbay") {
    return buildScrollArea(node, parent);
  } else if (cls == "Forms.TextBox") {
    if (node["MultiLine"].toBool()) {
      auto* edit = new QPlainTextEdit(parent);
      edit->setTabChangesFocus(true);
      w = edit;
    } else {
      w = new QLineEdit(node["Text"].toString(), parent);
    }
  } else if (cls == "Forms.Label") {
    auto* label = new QLabel(caption, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    w = label;
  } else if (cls == "Forms.Frame") {
    w = new QGroupBox(caption, parent);
  } else if (cls == "Forms.CheckBox") {
    w = new QCheckBox(caption, parent);
  } else if (cls == "Forms.OptionButton") {
    w = new QRadioButton(caption, parent);
  } else {
    std::fprintf(stderr, "plain_survey: left out %s of class %s\n", qPrintable(node["name"].toString()), qPrintable(cls));
    return nullptr;
  }
  applyFont(w, node);
  w->setGeometry(pixels(node["Left"]), pixels(node["Top"]), pixels(node["Width"]), pixels(node["Height"]));
  buildChildren(node, w);
  return w;
}

void buildChildren(const QJsonObject& node, QWidget* parent) {
  for (const QJsonValue& child : node["controls"].toArray()) buildControl(child.toObject(), parent);
}

}  // namespace

int main(int argc, char** argv) {
  ScreenshotOptions options;
  if (std::optional<int> status = parse(argc, argv, options)) return *status;
  if (!options.screenshot.empty()) qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  // The form runtime's look, so that both programs draw the same.
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

  const QString path = findFormFile();
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "plain_survey: frmMain.json was not found next to plain_survey nor in %s\n", SAMPLE_FORMS_DIR);
    return 1;
  }
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
  if (doc.isNull()) {
    std::fprintf(stderr, "plain_survey: %s: %s\n", qPrintable(path), qPrintable(error.errorString()));
    return 1;
  }
  const QJsonObject form = doc.object();
  QWidget window;
  window.setWindowTitle(form["Caption"].toString());
  window.resize(pixels(form["ClientWidth"]), pixels(form["ClientHeight"]));
  buildChildren(form, &window);
  window.show();
  if (options.screenshot.empty()) return app.exec();

  int status = 0;
  QTimer::singleShot(options.afterMs, [&] {
    if (window.grab().save(QString::fromStdString(options.screenshot))) {
      std::printf("%s\n", options.screenshot.c_str());
    } else {
      std::fprintf(stderr, "plain_survey: cannot write %s\n", options.screenshot.c_str());
      status = 1;
    }
    QCoreApplication::quit();
  });
  app.exec();
  return status;
}
