#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "forms/error.h"
#include "forms/formfile.h"
#include "forms/usercontrol.h"
#include "test_support.h"
#include "win32/runtime.h"

namespace {

std::string readFile(const std::string& path) {
  QFile f(QString::fromStdString(path));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path;
  return f.readAll().toStdString();
}

const std::string kCanonical = std::string(TEST_DATA_DIR) + "/canonical.json";

}  // namespace

TEST(FormFile, CanonicalFileSurvivesLoadAndSaveUnchanged) {
  const std::string original = readFile(kCanonical);
  forms::FormPtr form = forms::loadForm(kCanonical);
  EXPECT_EQ(forms::saveFormToJson(*form, kCanonical), original);
  form->Unload();
}

TEST(FormFile, LoadBuildsTheTreeWithPropertiesAndBag) {
  forms::FormPtr form = forms::loadForm(kCanonical);
  EXPECT_EQ(form->get_Caption(), "Round trip");
  EXPECT_EQ(form->get_ScaleMode(), forms::ScalePixels);
  EXPECT_TRUE(form->get_KeyPreview());

  auto text4 = form->findControl("Text1", 4);
  ASSERT_TRUE(text4);
  EXPECT_EQ(text4->containerWindow(), form->findControl("fraFields").get());
  EXPECT_FLOAT_EQ(text4->get_Top(), 56);
  EXPECT_EQ(forms::get(form->findControl("Text1", 1), "Text").toString(), "first");

  auto probe = std::dynamic_pointer_cast<forms::UserControlHost>(form->findControl("Probe1"));
  ASSERT_TRUE(probe);
  EXPECT_EQ(forms::get(probe, "Caption").toString(), "saved");
  EXPECT_EQ(forms::get(probe, "Number").toInt32(), 42);
  // The size comes from the host's own extent keys, sited before ReadProperties.
  EXPECT_FLOAT_EQ(probe->get_Width(), 80);
  EXPECT_FLOAT_EQ(probe->get_Height(), 120);
  const std::string log = forms::get(probe->instancePtr(), "Log").toString();
  EXPECT_EQ(log.rfind("Initialize;ReadProperties Caption=saved Number=42", 0), 0u) << log;
  EXPECT_EQ(form->findControl("lblInside")->containerWindow(), probe.get());

  auto bar = form->findControl("VScroll1");
  EXPECT_EQ(forms::get(bar, "Value").toInt32(), 20);
  EXPECT_EQ(forms::get(bar, "Min").toInt32(), 5);
  EXPECT_EQ(forms::get(form->findControl("txtNotes"), "Text").toString(), "two\nlines");
  form->Unload();
}

TEST(FormFile, ChangesMadeAfterLoadAreSavedAndReadBack) {
  QTemporaryDir dir;
  const std::string path = QDir(dir.path()).filePath("changed.json").toStdString();
  {
    forms::FormPtr form = forms::loadForm(kCanonical);
    forms::let(form->findControl("Text1", 4), "Text", "second");
    forms::let(form->findControl("Probe1"), "Caption", "changed");
    forms::let(form->findControl("Probe1"), "Width", 90);
    forms::saveForm(*form, path);
    form->Unload();
  }
  forms::FormPtr again = forms::loadForm(path);
  EXPECT_EQ(forms::get(again->findControl("Text1", 4), "Text").toString(), "second");
  EXPECT_EQ(forms::get(again->findControl("Probe1"), "Caption").toString(), "changed");
  EXPECT_FLOAT_EQ(again->findControl("Probe1")->get_Width(), 90);
  // A second save of the reloaded form is identical to the first.
  EXPECT_EQ(forms::saveFormToJson(*again, path), readFile(path));
  again->Unload();
}

// A scale of the form's or a picture box's own (mode 0) is what the positions inside are
// measured in: saved with them, it gives them back where they were.
TEST(FormFile, AUserScaleIsSavedWithThePositionsMeasuredInIt) {
  const std::string text = R"({"class": "Form", "name": "frmUser", "ClientWidth": 6000, "ClientHeight": 3000,
    "ScaleMode": 0, "ScaleWidth": 100, "ScaleHeight": 50, "controls": [
      {"class": "Forms.Label", "name": "lblHalf", "Left": 50, "Top": 25, "Width": 10, "Height": 5},
      {"class": "Forms.PictureBox", "name": "picGrid", "Left": 0, "Top": 0, "Width": 40, "Height": 20,
       "ScaleMode": 0, "ScaleWidth": 4, "ScaleHeight": 2, "controls": [
         {"class": "Forms.Label", "name": "lblCell", "Left": 1, "Top": 1, "Width": 1, "Height": 1}]}]})";
  forms::FormPtr form = forms::loadFormFromJson(text, "/tmp/user.json", true);
  const double half = form->findControl("lblHalf")->twips(forms::Axis::X, false);
  const double cell = form->findControl("lblCell")->twips(forms::Axis::Y, false);
  EXPECT_DOUBLE_EQ(half, 3000);
  EXPECT_GT(cell, 500) << "a unit of the picture box's own scale is half its inside";
  const std::string saved = forms::saveFormToJson(*form, "/tmp/user.json");
  form->Unload();
  forms::FormPtr again = forms::loadFormFromJson(saved, "/tmp/user.json", true);
  EXPECT_DOUBLE_EQ(again->findControl("lblHalf")->twips(forms::Axis::X, false), half);
  EXPECT_DOUBLE_EQ(again->findControl("lblCell")->twips(forms::Axis::Y, false), cell);
  EXPECT_EQ(forms::saveFormToJson(*again, "/tmp/user.json"), saved);
  // A fixed scale's extent follows from the size and is not written.
  EXPECT_EQ(forms::saveFormToJson(*forms::loadFormFromJson(R"({"class": "Form", "name": "frmTwips"})", "/tmp/t.json", true), "/tmp/t.json")
                .find("ScaleWidth"),
            std::string::npos);
  again->Unload();
}

TEST(FormFile, PicturesAreStoredRelativeToTheFormFile) {
  QTemporaryDir dir;
  QImage img(8, 6, QImage::Format_RGB32);
  img.fill(Qt::red);
  ASSERT_TRUE(QDir(dir.path()).mkpath("art"));
  const QString picture = QDir(dir.path()).filePath("art/tile.png");
  ASSERT_TRUE(img.save(picture));
  const std::string json = R"({"class":"Form","name":"frmPic","controls":[
      {"class":"Forms.PictureBox","name":"pic","Picture":{"picture":"art/tile.png"},"Width":100,"Height":100}]})";
  const std::string path = QDir(dir.path()).filePath("pic.json").toStdString();
  forms::FormPtr form = forms::loadFormFromJson(json, path);
  auto pic = forms::get(form->findControl("pic"), "Picture").toObject();
  ASSERT_TRUE(pic);
  EXPECT_EQ(forms::get(pic, "Width").toInt32(), 212);  // 8 pixels at 96 dpi in HIMETRIC
  const std::string saved = forms::saveFormToJson(*form, path);
  EXPECT_NE(saved.find("\"picture\": \"art/tile.png\""), std::string::npos) << saved;
  form->Unload();
}

// Each bad file gives an error naming the file, the control and the property, and
// leaves no window behind.
TEST(FormFile, BadInputIsReportedAndLeavesNothingBehind) {
  struct Case {
    const char* what;
    std::string json;
    int number;
    std::vector<std::string> mentions;
  };
  const std::string path = "/forms/bad.json";
  const std::vector<Case> cases = {
      {"malformed", R"({"class":"Form","name":"f","controls":[)", forms::err::BadFormFile, {path, "at line 1, column 40"}},
      // Columns count characters: the e with an accent is two bytes.
      {"malformed further down", "{\n  \"name\": \"f\",\n  \"Caption\": \"\xc3\xa9\" x\n}", forms::err::BadFormFile,
       {path, "at line 3, column 19"}},
      {"not an object", R"([1,2])", forms::err::BadFormFile, {path}},
      {"no name", R"({"class":"Form"})", forms::err::BadFormFile, {path, "name"}},
      {"unknown class", R"({"name":"f","controls":[{"class":"Forms.Gizmo","name":"g1"}]})", forms::err::CannotCreateObject,
       {path, "'g1'", "Forms"}},
      {"missing library", R"({"name":"f","controls":[{"class":"Nowhere.Widget","name":"w1"}]})", forms::err::CannotCreateObject,
       {path, "'w1'", "libNowhere.so", "Nowhere.Widget"}},
      {"missing class", R"({"name":"f","controls":[{"class":"Probe.Absent","name":"p1"}]})", forms::err::CannotCreateObject,
       {path, "'p1'", "Absent", "Probe"}},
      {"wrong type", R"({"name":"f","controls":[{"class":"Forms.Label","name":"l1","Left":"far"}]})", forms::err::TypeMismatch,
       {path, "'l1'", "'Left'"}},
      {"object for a number", R"({"name":"f","controls":[{"class":"Forms.Label","name":"l1","Top":{"x":1}}]})",
       forms::err::TypeMismatch, {path, "'Top'"}},
      {"out of range", R"({"name":"f","controls":[{"class":"Forms.HScrollBar","name":"h1","Max":70000}]})", forms::err::Overflow,
       {path, "'h1'", "'Max'"}},
      {"value outside the range", R"({"name":"f","controls":[{"class":"Forms.HScrollBar","name":"h1","Max":10,"Value":11}]})",
       forms::err::InvalidPropertyValue, {path, "'Value'"}},
      {"beyond any window", R"({"name":"f","controls":[{"class":"Forms.Label","name":"l1","Left":1e30}]})",
       forms::err::InvalidPropertyValue, {path, "'l1'", "'Left'"}},
      {"form beyond any screen", R"({"name":"f","ClientWidth":3e38})", forms::err::InvalidPropertyValue,
       {path, "'f'", "'ClientWidth'"}},
      {"unknown property", R"({"name":"f","controls":[{"class":"Forms.Label","name":"l1","Colour":3}]})", forms::err::NoSuchMember,
       {path, "'l1'", "'Colour'"}},
      {"bad bag value", R"({"name":"f","controls":[{"class":"Probe.Recorder","name":"p1","bag":{"Number":"many"}}]})",
       forms::err::TypeMismatch, {path, "'p1'"}},
      {"missing picture", R"({"name":"f","controls":[{"class":"Forms.PictureBox","name":"pb","Picture":{"picture":"none.png"}}]})",
       forms::err::FileNotFound, {path, "'pb'", "'Picture'"}},
      {"bad index", R"({"name":"f","controls":[{"class":"Forms.Label","name":"l","index":-2}]})", forms::err::InvalidPropertyValue,
       {path, "index"}},
      {"duplicate name", R"({"name":"f","controls":[{"class":"Forms.Label","name":"l"},{"class":"Forms.Label","name":"L"}]})",
       forms::err::DuplicateKey, {path, "'L'"}},
      {"children in a label", R"({"name":"f","controls":[{"class":"Forms.Label","name":"l","controls":[]}]})",
       forms::err::InvalidCall, {path, "'l'"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int windowsBefore = win32::runtime::liveWindowCount();
    try {
      forms::loadFormFromJson(c.json, path);
      ADD_FAILURE() << "no error";
    } catch (const forms::Error& e) {
      EXPECT_EQ(e.number(), c.number) << e.description();
      for (const std::string& m : c.mentions) EXPECT_NE(e.description().find(m), std::string::npos) << e.description();
    }
    EXPECT_EQ(win32::runtime::liveWindowCount(), windowsBefore);
  }
}

TEST(FormFile, MissingFileIsError53) {
  try {
    forms::loadForm("/nonexistent/form.json");
    FAIL();
  } catch (const forms::Error& e) {
    EXPECT_EQ(e.number(), forms::err::FileNotFound);
    EXPECT_NE(e.description().find("/nonexistent/form.json"), std::string::npos);
  }
}

// A bag entry the control never asks for is reported, naming the file, the control
// and the key as written, on stderr and to the caller; the load goes on. Entries read
// in another case, and the host's own extent keys, are not reported.
TEST(FormFile, BagEntriesTheControlNeverReadAreReported) {
  const std::string path = "/forms/typo.json";
  const std::string json = R"({"name":"f","controls":[
      {"class":"Probe.Recorder","name":"p1","bag":{"Caption":"kept","Captoin":"typo","number":3,"_extentx":2117,"_ExtentY":3175}},
      {"class":"Probe.Recorder","name":"q","index":1,"bag":{"Extra":1}},
      {"class":"Forms.Label","name":"l1","Caption":"plain"}]})";
  std::vector<forms::LoadWarning> warnings;
  testing::internal::CaptureStderr();
  forms::FormPtr form = forms::loadFormFromJson(json, path, false, &warnings);
  const std::string err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(warnings.size(), 2u) << err;
  EXPECT_EQ(warnings[0].control, "p1");
  EXPECT_EQ(warnings[0].key, "Captoin");
  EXPECT_EQ(warnings[1].control, "q(1)");
  EXPECT_EQ(warnings[1].key, "Extra");
  for (const forms::LoadWarning& w : warnings) {
    for (const std::string& m : {path, "'" + w.control + "'", "'" + w.key + "'"})
      EXPECT_NE(w.message.find(m), std::string::npos) << w.message;
    EXPECT_NE(err.find("warning: " + w.message + "\n"), std::string::npos) << err;
  }
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
  EXPECT_EQ(forms::get(form->findControl("p1"), "Caption").toString(), "kept");
  EXPECT_EQ(forms::get(form->findControl("p1"), "Number").toInt32(), 3);
  form->Unload();

  // A load that fails says nothing but its error.
  testing::internal::CaptureStderr();
  EXPECT_EQ(testsupport::errorOf([&] { forms::loadFormFromJson(json.substr(0, json.size() - 2) + R"(,{"name":"x"}]})", path); }),
            forms::err::BadFormFile);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
