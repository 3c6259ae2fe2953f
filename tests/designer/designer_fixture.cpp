#include "designer_fixture.h"

#include <QFile>

const char* DesignerTest::formText() {
  return R"({"class": "Form", "name": "frmDesign", "ClientWidth": 9000, "ClientHeight": 7200, "controls": [
  {"class": "Forms.Label", "name": "lblTitle", "Caption": "Title", "Left": 120, "Top": 120, "Width": 1200, "Height": 240},
  {"class": "Forms.TextBox", "name": "txtTitle", "Left": 1440, "Top": 120, "Width": 2400, "Height": 285},
  {"class": "Forms.Frame", "name": "fraChoice", "Caption": "Choice", "Left": 120, "Top": 600, "Width": 3600, "Height": 1800,
   "controls": [
     {"class": "Forms.OptionButton", "name": "optPick", "index": 0, "Caption": "A", "Left": 120, "Top": 240, "Width": 1200, "Height": 240},
     {"class": "Forms.OptionButton", "name": "optPick", "index": 1, "Caption": "B", "Left": 120, "Top": 600, "Width": 1200, "Height": 240}]},
  {"class": "Forms.PictureBox", "name": "picArea", "Left": 4080, "Top": 600, "Width": 3000, "Height": 1800},
  {"class": "ScrollbayCtl.Scrollbay", "name": "Scrollbay1", "Left": 120, "Top": 2640, "bag": {"_extentx": 7408, "_extenty": 3175},
   "controls": [
     {"class": "Forms.TextBox", "name": "txtInside", "Left": 120, "Top": 120, "Width": 1800, "Height": 285},
     {"class": "Forms.TextBox", "name": "txtBelow", "Left": 120, "Top": 4800, "Width": 1800, "Height": 285}]},
  {"class": "Probe.Recorder", "name": "Probe1", "Left": 4800, "Top": 2640, "bag": {"_extentx": 3175, "_extenty": 2117},
   "controls": [{"class": "Forms.Label", "name": "lblProbe", "Caption": "in the probe", "Left": 60, "Top": 60, "Width": 1200, "Height": 240}]}]})";
}

void DesignerTest::openSample(const QString& folder) {
  const QString file = folder.isEmpty() ? path("design.json") : folder + "/design.json";
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(formText());
  f.close();
  doc = designer::Document::open(file);
}
