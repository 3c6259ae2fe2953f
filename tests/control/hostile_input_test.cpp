// Hostile input: values of the wrong type and numbers beyond every range in a Scrollbay's
// bag, its extender and the file, the same numbers assigned at run time, and form files
// that are cut short, nested too deep, huge or inconsistent. Each one fails with an error
// naming what is wrong or takes the value the conversion rules give, and read back it is
// that value; nothing crashes and a failed load leaves nothing behind.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../subclass/SubclassWnd.h"
#include "../timer/Timer.h"
#include "control_fixture.h"
#include "forms/formfile.h"
#include "win32/runtime.h"

namespace {

using forms::Variant;
namespace err = forms::err;

const std::string kDataDir = CONTROL_TEST_DATA_DIR;
// Where the files below claim to be: pictures resolve beside it; it is never read.
const std::string kPath = kDataDir + "/hostile/form.json";
const std::string kSample = kDataDir + "/../../../sample/forms/frmMain.json";

std::string readFile(const std::string& path) {
  QFile f(QString::fromStdString(path));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path;
  return f.readAll().toStdString();
}

// A 600 x 467 pixel form holding Scrollbay1 with the bag entries, further keys of its
// entry and its children.
std::string bayForm(const std::string& bag, const std::string& entry = "", const std::string& children = "") {
  std::string json = R"({"class": "Form", "name": "frmHostile", "ClientWidth": 9000, "ClientHeight": 7000, "controls": [
      {"class": "ScrollbayCtl.Scrollbay", "name": "Scrollbay1", )" + entry + R"("bag": {)" + bag + "}";
  if (!children.empty()) json += R"(, "controls": [)" + children + "]";
  return json + "}]}";
}

struct Loaded {
  forms::FormPtr form;
  int error = 0;
  std::string message;
};

Loaded tryLoad(const std::string& json, const std::string& path = kPath) {
  Loaded out;
  try {
    out.form = forms::loadFormFromJson(json, path);
  } catch (const forms::Error& e) {
    out.error = e.number();
    out.message = e.description();
  }
  return out;
}

// What a failed load, or a form unloaded again, gives back: every window, brush, hook
// and timer listener there was before.
class NothingLeft {
 public:
  void check(const std::string& what) const {
    testsupport::advance(400);  // ticks a leftover timer listener would get
    testsupport::processQtEvents();
    EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u) << what;
    EXPECT_EQ(Timer::ListenerCount(), 0u) << what;
    EXPECT_EQ(win32::runtime::liveObjectCount(), m_objects) << what;
    EXPECT_EQ(win32::runtime::liveWindowCount(), m_windows) << what;
  }

 private:
  int m_windows = win32::runtime::liveWindowCount();
  int m_objects = win32::runtime::liveObjectCount();
};

void expectMentions(const Loaded& l, const std::vector<std::string>& mentions) {
  for (const std::string& m : mentions) EXPECT_NE(l.message.find(m), std::string::npos) << "no " << m << " in: " << l.message;
}

// The numbers tried for every length and position, as a file writes them and as a
// program assigns them: beyond 16 bits, at and beyond the 65535 pixels of a window
// (983025 and 983040 twips), beyond 32 bits, negative, fractional, beyond a Single.
const char* const kNumbers[] = {"32768", "65536",  "983025", "983040", "2147483647", "2147483648", "-2147483649",
                                "-1",    "-32769", "2.5",    "1e10",   "1e300",      "-1e300"};
constexpr std::size_t kNumberCount = std::size(kNumbers);

Variant numberVariant(const char* text) {
  const double d = std::stod(text);
  if (d == std::trunc(d) && d >= INT32_MIN && d <= INT32_MAX) return Variant(static_cast<int32_t>(d));
  return Variant(d);
}

// Per number: the error it raises, or 0 and the value read back (kKept: the one there was).
constexpr double kKept = -0.125;
struct Outcome {
  int error;
  double value;
};
using Outcomes = std::array<Outcome, kNumberCount>;
constexpr Outcome E(int number) { return {number, 0}; }
constexpr Outcome V(double value) { return {0, value}; }
constexpr Outcome kIgnored{0, kKept};

// Frames in frames in a Scrollbay on a form: the most the parser's depth limit lets through.
constexpr int kDeepestFrames = 510;

// A form file written with each object's "class", "name" and "index" first, as a file
// written by hand may have them; the runtime writes keys in order, names last.
std::string namesFirst(const QJsonValue& value) {
  auto scalar = [](const QJsonValue& v) {
    const QByteArray t = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return t.mid(1, t.size() - 2).toStdString();
  };
  std::string out;
  if (value.isObject()) {
    const QJsonObject o = value.toObject();
    QStringList keys = o.keys();
    std::stable_partition(keys.begin(), keys.end(), [](const QString& k) { return k == "class" || k == "name" || k == "index"; });
    for (const QString& k : keys) out += (out.empty() ? "{" : ", ") + scalar(k) + ": " + namesFirst(o.value(k));
    return out.empty() ? "{}" : out + "}";
  }
  if (value.isArray()) {
    for (const QJsonValue& v : value.toArray()) out += (out.empty() ? "[" : ", ") + namesFirst(v);
    return out.empty() ? "[]" : out + "]";
  }
  return scalar(value);
}

// A JSON text cut at `cut` and made whole again: everything up to the last complete
// value before the cut, then the closing brackets of what was open there.
std::string closedAt(const std::string& text, std::size_t cut) {
  std::string open, openAtSafe;
  std::vector<bool> keyNext;  // per open bracket: an object waiting for a key
  std::size_t safe = 0;
  bool inString = false, escaped = false, isKey = false;
  auto mark = [&](std::size_t end) {
    safe = end;
    openAtSafe = open;
  };
  auto scalarChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.'; };
  for (std::size_t i = 0; i < cut; ++i) {
    const char c = text[i];
    if (inString) {
      if (escaped) escaped = false;
      else if (c == '\\') escaped = true;
      else if (c == '"') {
        inString = false;
        if (!isKey) mark(i + 1);
      }
      continue;
    }
    if (c == '"') {
      inString = true;
      isKey = !open.empty() && open.back() == '{' && keyNext.back();
    } else if (c == '{' || c == '[') {
      open.push_back(c);
      keyNext.push_back(c == '{');
      mark(i + 1);
    } else if (c == '}' || c == ']') {
      open.pop_back();
      keyNext.pop_back();
      mark(i + 1);
    } else if (c == ':') {
      keyNext.back() = false;
    } else if (c == ',') {
      keyNext.back() = open.back() == '{';
    } else if (scalarChar(c) && (i + 1 == text.size() || !scalarChar(text[i + 1]))) {
      mark(i + 1);  // a number or literal, whole as the file has it
    }
  }
  std::string out = text.substr(0, safe);
  for (auto it = openAtSafe.rbegin(); it != openAtSafe.rend(); ++it) out += *it == '{' ? '}' : ']';
  return out;
}

}  // namespace

class HostileInputTest : public ScrollbayTest {
 protected:
  void SetUp() override { testsupport::msgBoxes().clear(); }

  void adopt(const forms::FormPtr& loaded) {
    form = loaded;
    host = std::dynamic_pointer_cast<forms::UserControlHost>(form->findControl("Scrollbay1"));
    ASSERT_TRUE(host);
    bay = dynamic_cast<Scrollbay*>(&host->instance());
  }

  // The layer is a window too: never beyond what a window can be.
  void expectLayerWithinAWindow(const std::string& what) const {
    ASSERT_TRUE(bay->Layer()) << what;
    const QWidget* w = bay->Layer()->widget();
    EXPECT_LE(w->width(), forms::kMaxWindowPixels) << what;
    EXPECT_LE(w->height(), forms::kMaxWindowPixels) << what;
  }

  void expectNoErrorBox(const std::string& what) {
    for (const forms::MsgBoxCall& box : testsupport::msgBoxes()) ADD_FAILURE() << what << ": " << box.prompt;
    testsupport::msgBoxes().clear();
  }
};

// Every key of the bag with text, a number, a fraction, an object, a list, null, a
// boolean and a picture: error 13 naming the file, the control and the key, 380 where
// the converted number is not one the property takes, or the conversion rules' value.
TEST_F(HostileInputTest, EveryBagKeyTakesEachWrongTypeByTheConversionRulesOrFailsNamingIt) {
  const char* const values[] = {R"("wide")", R"("1")", "7", "2.5", R"({"x": 1})", "[1]", "null", "true", R"({"picture": "../tile.png"})"};
  struct Expect {
    int error = 0;
    Variant value;  // read back where there is no error; an object: a picture
  };
  const Expect T{err::TypeMismatch, {}}, P{err::InvalidPropertyValue, {}};
  const Variant picture(forms::ObjectPtr{});
  auto v = [](Variant value) { return Expect{0, std::move(value)}; };
  auto number = [&](std::string key) {
    return std::pair{key, std::array<Expect, 9>{T, v(int32_t{1}), v(int32_t{7}), v(int32_t{2}), T, T, v(int32_t{0}), v(int32_t{-1}), T}};
  };
  auto boolean = [&](std::string key) {
    return std::pair{key, std::array<Expect, 9>{T, v(true), v(true), v(true), T, T, v(false), v(true), T}};
  };
  auto text = [&](std::string key) {
    return std::pair{key, std::array<Expect, 9>{v("wide"), v("1"), v("7"), v("2.5"), T, T, v(""), v("True"), T}};
  };
  auto pictureKey = [&](std::string key) {
    return std::pair{key, std::array<Expect, 9>{T, T, T, T, T, T, v(Variant()), T, v(picture)}};
  };
  const std::vector<std::pair<std::string, std::array<Expect, 9>>> rows = {
      {"Appearance", {T, v(int32_t{1}), P, P, T, T, v(int32_t{0}), P, T}},
      number("BackColor"),
      boolean("Enabled"),
      {"BorderStyle", {T, v(int32_t{1}), P, P, T, T, v(int32_t{0}), P, T}},
      number("Scrollbars"),  // any number is kept; those without a meaning act as automatic
      number("LeftFillMargin"),
      number("TopFillMargin"),
      number("RightFillMargin"),
      number("BottomFillMargin"),
      boolean("AutoFillContainer"),
      number("RightMargin"),
      number("BottomMargin"),
      number("VirtualWidth"),
      number("VirtualHeight"),
      boolean("AutoAdjustExtent"),
      number("ScrollbarBackColor"),
      text("ToolTipText"),
      boolean("AutoScroll"),
      pictureKey("Picture"),
      text("Tag"),
      {"MousePointer", {T, v(int32_t{1}), v(int32_t{7}), v(int32_t{2}), T, T, v(int32_t{0}), P, T}},
      pictureKey("MouseIcon"),
  };
  ASSERT_EQ(rows.size(), 22u);
  auto readBack = [](const forms::FormPtr& f, const std::string& key) { return forms::get(f->findControl("Scrollbay1"), key); };
  auto expectValue = [](const Variant& got, const Variant& want, const std::string& what) {
    if (want.isObject()) EXPECT_TRUE(got.isObject() && got.toObject()) << what << " should be a picture";
    else EXPECT_TRUE(got.equals(want)) << what << " reads back " << (got.isObject() ? "an object" : got.toString());
  };
  for (const auto& [key, expects] : rows) {
    for (std::size_t i = 0; i < std::size(values); ++i) {
      const std::string what = key + ": " + values[i];
      SCOPED_TRACE(what);
      NothingLeft baseline;
      Loaded l = tryLoad(bayForm("\"" + key + "\": " + values[i]));
      const Expect& want = expects[i];
      if (want.error) {
        EXPECT_EQ(l.error, want.error) << l.message;
        expectMentions(l, {kPath, "'Scrollbay1'", "'" + key + "'"});
        if (l.form) l.form->Unload();
        baseline.check(what);
        continue;
      }
      ASSERT_TRUE(l.form) << l.error << " " << l.message;
      expectValue(readBack(l.form, key), want.value, what);
      // What was taken survives a save and a load, and a showing.
      const std::string saved = forms::saveFormToJson(*l.form, kPath);
      l.form->Unload();
      Loaded again = tryLoad(saved);
      ASSERT_TRUE(again.form) << again.message;
      expectValue(readBack(again.form, key), want.value, what + " saved and loaded");
      again.form->Show();
      testsupport::advance(200);
      again.form->Unload();
      baseline.check(what);
      expectNoErrorBox(what);
    }
  }
}

// The bag's eight lengths (twips) and the host's extent (HIMETRIC) with every number:
// a length outside 32 bits is error 6, an extent beyond any window 380; what is taken
// reads back unchanged, also once the form is shown, filled, ticked and resized, and the
// control and its layer stay windows.
TEST_F(HostileInputTest, BagLengthsAndExtentsBeyondTheirRangeOverflowOrReadBackUnchanged) {
  const Outcome O = E(err::Overflow), P = E(err::InvalidPropertyValue);
  const Outcomes length = {V(32768), V(65536), V(983025), V(983040), V(2147483647), O, O, V(-1), V(-32769), V(2), O, O, O};
  // The extent in pixels of the control: HIMETRIC rounded to whole pixels.
  const Outcomes extent = {V(1238), V(2477), V(37154), V(37154), P, P, P, V(0), P, V(0), P, O, O};
  const std::pair<const char*, const Outcomes*> rows[] = {
      {"LeftFillMargin", &length}, {"TopFillMargin", &length}, {"RightFillMargin", &length}, {"BottomFillMargin", &length},
      {"RightMargin", &length},    {"BottomMargin", &length},  {"VirtualWidth", &length},    {"VirtualHeight", &length},
      {"_extentx", &extent},       {"_extenty", &extent}};
  for (const auto& [key, outcomes] : rows) {
    const bool isExtent = key[0] == '_';
    const bool isVirtual = std::string(key).rfind("Virtual", 0) == 0;
    const bool isFill = std::string(key).find("FillMargin") != std::string::npos;
    for (std::size_t i = 0; i < kNumberCount; ++i) {
      const std::string what = std::string(key) + ": " + kNumbers[i];
      SCOPED_TRACE(what);
      NothingLeft baseline;
      // A virtual size lasts only while the extent does not follow the children; fill
      // margins count only while the control fills its container.
      const std::string bag = std::string("\"") + key + "\": " + kNumbers[i] + (isVirtual ? R"(, "AutoAdjustExtent": false)" : "") +
                              (isFill ? R"(, "AutoFillContainer": true)" : "");
      Loaded l = tryLoad(bayForm(bag, "", R"({"class": "Forms.Label", "name": "lblChild", "Left": 300, "Top": 300})"));
      const Outcome& want = (*outcomes)[i];
      if (want.error) {
        EXPECT_EQ(l.error, want.error) << l.message;
        expectMentions(l, {kPath, "'Scrollbay1'", std::string("'") + key + "'"});
        if (l.form) l.form->Unload();
        baseline.check(what);
        continue;
      }
      ASSERT_TRUE(l.form) << l.error << " " << l.message;
      adopt(l.form);
      // Named in the capture: clang 14 cannot capture a structured binding.
      auto readBack = [&, &key = key] {
        if (!isExtent) return forms::get(host, key).toDouble();
        return static_cast<double>(key[7] == 'x' ? host->widget()->width() : host->widget()->height());
      };
      EXPECT_EQ(readBack(), want.value);
      showAndTick();
      testsupport::advance(400);
      if (!isExtent) {
        host->put_Width(host->get_Width() + 15);
        form->put_ClientWidth(9015);
      }
      EXPECT_EQ(readBack(), want.value) << "after the form is shown";
      const QRect placed = host->widget()->geometry();
      EXPECT_LE(std::max(std::abs(placed.x()), std::abs(placed.y())), forms::kMaxWindowPixels) << what;
      EXPECT_LE(std::max(placed.width(), placed.height()), forms::kMaxWindowPixels) << what;
      expectLayerWithinAWindow(what);
      expectNoErrorBox(what);
      form->Unload();
      baseline.check(what);
    }
  }
}

// A standard control's Left, Top, Width and Height in the file are checked as an
// assignment is: beyond a Single error 6, beyond the 65535 pixels of a window or a
// negative size 380; what is taken reads back unchanged, also once it is on the layer.
TEST_F(HostileInputTest, StandardControlGeometryInTheFileIsCheckedLikeAnAssignment) {
  const Outcome O = E(err::Overflow), P = E(err::InvalidPropertyValue);
  const Outcomes position = {V(32768), V(65536), V(983025), P, P, P, P, V(-1), V(-32769), V(2.5), P, O, O};
  const Outcomes size = {V(32768), V(65536), V(983025), P, P, P, P, P, P, V(2.5), P, O, O};
  for (const char* property : {"Left", "Top", "Width", "Height"}) {
    const Outcomes& outcomes = property[0] == 'L' || property[0] == 'T' ? position : size;
    for (std::size_t i = 0; i < kNumberCount; ++i) {
      const std::string what = std::string(property) + ": " + kNumbers[i];
      SCOPED_TRACE(what);
      NothingLeft baseline;
      Loaded l = tryLoad(bayForm("", "", std::string(R"({"class": "Forms.Label", "name": "lblFar", ")") + property + "\": " + kNumbers[i] + "}"));
      const Outcome& want = outcomes[i];
      if (want.error) {
        EXPECT_EQ(l.error, want.error) << l.message;
        expectMentions(l, {kPath, "'lblFar'", std::string("'") + property + "'"});
        if (l.form) l.form->Unload();
        baseline.check(what);
        continue;
      }
      ASSERT_TRUE(l.form) << l.error << " " << l.message;
      adopt(l.form);
      const forms::ControlPtr label = form->findControl("lblFar");
      EXPECT_EQ(forms::get(label, property).toDouble(), want.value);
      showAndTick();
      EXPECT_EQ(label->containerWindow(), bay->Layer().get());
      EXPECT_EQ(forms::get(label, property).toDouble(), want.value) << "on the layer";
      expectLayerWithinAWindow(what);
      expectNoErrorBox(what);
      form->Unload();
      baseline.check(what);
    }
  }
}

// The same numbers assigned at run time to the lengths and positions a program reaches
// by late binding: each raises 6 or 380, is ignored as documented, or reads back as
// given; a failed assignment leaves the value there was, and the next tick copes.
TEST_F(HostileInputTest, LateBoundLengthsAndPositionsRaiseOrReadBackWhatTheyWereGiven) {
  makeControl(4500, 3000);  // 300 x 200 pixels, so 284 x 184 beside the scrollbars
  forms::let(host, "AutoAdjustExtent", false);
  showAndTick();
  const Outcome O = E(err::Overflow), P = E(err::InvalidPropertyValue);
  // Negative virtual sizes and margins are ignored; fill margins take any number.
  const Outcomes virtualSize = {V(32768), V(65536), V(983025), V(983040), V(2147483647), O, O, kIgnored, kIgnored, V(2), O, O, O};
  const Outcomes fillMargin = {V(32768), V(65536), V(983025), V(983040), V(2147483647), O, O, V(-1), V(-32769), V(2), O, O, O};
  // Twips of the control; the ranges are 0..516 and 0..416 pixels; 983025 twips are 65535 pixels.
  const Outcomes scroll = {P, P, O, O, O, O, O, V(0), P, V(0), O, O, O};
  const Outcomes position = {V(32768), V(65536), V(983025), P, P, P, P, V(-1), V(-32769), V(2.5), P, O, O};
  const Outcomes size = {V(32768), V(65536), V(983025), P, P, P, P, P, P, V(2.5), P, O, O};
  struct Row {
    const char* property;
    double start;
    const Outcomes* outcomes;
    bool resize = true;  // a resize follows: the layout runs again with the value
  };
  const Row rows[] = {{"VirtualWidth", 12000, &virtualSize}, {"VirtualHeight", 9000, &virtualSize},  {"RightMargin", 300, &virtualSize},
                      {"BottomMargin", 300, &virtualSize},   {"LeftFillMargin", 0, &fillMargin},     {"TopFillMargin", 0, &fillMargin},
                      {"RightFillMargin", 0, &fillMargin},   {"BottomFillMargin", 0, &fillMargin},   {"HScrollValue", 0, &scroll},
                      {"VScrollValue", 0, &scroll},          {"Left", 0, &position},                 {"Top", 0, &position},
                      {"Width", 4500, &size, false},         {"Height", 3000, &size, false}};
  for (const Row& row : rows) {
    for (std::size_t i = 0; i < kNumberCount; ++i) {
      const std::string what = std::string(row.property) + " = " + kNumbers[i];
      SCOPED_TRACE(what);
      forms::let(host, row.property, Variant(row.start));
      const Outcome& want = (*row.outcomes)[i];
      EXPECT_EQ(testsupport::errorOf([&] { forms::let(host, row.property, numberVariant(kNumbers[i])); }), want.error);
      const double expected = want.error || want.value == kKept ? row.start : want.value;
      EXPECT_EQ(forms::get(host, row.property).toDouble(), expected);
      testsupport::advance(200);
      if (row.resize) {
        host->put_Width(4515);
        host->put_Width(4500);
      }
      EXPECT_EQ(forms::get(host, row.property).toDouble(), expected) << "after a tick";
      expectLayerWithinAWindow(what);
      expectNoErrorBox(what);
    }
    forms::let(host, row.property, Variant(row.start));
  }
  // Everything back where it started: the scrollbars still reach their ends.
  EXPECT_EQ(bay->HScroll()->get_Max(), 516);
  EXPECT_EQ(bay->VScroll()->get_Max(), 416);
}

// Fill margins far beyond the container with AutoFillContainer on: the control gets no
// size, or the largest a window can have at the furthest place a window can be.
TEST_F(HostileInputTest, FillMarginsBeyondAnyContainerGiveNoSizeOrAClampedWindow) {
  makeControl(4500, 3000);
  addChild("Forms.TextBox", "Text1", 300, 300, 1200, 315);
  forms::let(host, "AutoFillContainer", true);
  showAndTick();
  const QRect whole(0, 0, 600, 467);
  ASSERT_EQ(host->widget()->geometry(), whole);
  struct Case {
    int32_t left, top, right, bottom;
  };
  const Case cases[] = {{6000, 6000, 6000, 6000},
                        {983025, 983025, 983025, 983025},
                        {-983025, -983025, -983025, -983025},
                        {1000000000, 1000000000, 1000000000, 1000000000},
                        {-1000000000, -1000000000, -1000000000, -1000000000},
                        {0, 0, -2147483647, -2147483647},
                        {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN},
                        {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}};
  const char* const names[] = {"LeftFillMargin", "TopFillMargin", "RightFillMargin", "BottomFillMargin"};
  for (const Case& c : cases) {
    const int32_t margins[] = {c.left, c.top, c.right, c.bottom};
    const std::string what = std::to_string(c.left) + "," + std::to_string(c.top) + "," + std::to_string(c.right) + "," + std::to_string(c.bottom);
    SCOPED_TRACE(what);
    for (int m = 0; m < 4; ++m) {
      EXPECT_EQ(testsupport::errorOf([&] { forms::let(host, names[m], Variant(margins[m])); }), 0);
      EXPECT_EQ(forms::get(host, names[m]).toInt32(), margins[m]);
    }
    testsupport::advance(400);
    const QRect placed = host->widget()->geometry();
    std::printf("%s -> %d,%d %dx%d\n", what.c_str(), placed.x(), placed.y(), placed.width(), placed.height());
    EXPECT_GE(placed.width(), 0);
    EXPECT_LE(placed.width(), forms::kMaxWindowPixels);
    EXPECT_LE(placed.height(), forms::kMaxWindowPixels);
    EXPECT_LE(std::abs(placed.x()), forms::kMaxWindowPixels);
    EXPECT_LE(std::abs(placed.y()), forms::kMaxWindowPixels);
    expectLayerWithinAWindow(what);
    expectNoErrorBox(what);
    for (const char* name : names) forms::let(host, name, Variant(int32_t{0}));
    EXPECT_EQ(host->widget()->geometry(), whole);
  }
}

// A virtual area beyond the scrollbars' 16-bit range: Max is the largest there is, the
// layer stops at the 65535 pixels of a window, and scrolling to the end moves it there.
TEST_F(HostileInputTest, AVirtualAreaBeyondTheScrollRangeScrollsAsFarAs16BitsReach) {
  makeControl(4500, 3000);  // 284 pixels wide beside the vertical scrollbar
  auto far = addChild("Forms.Label", "lblFar", 0, 0, 300, 300);
  showAndTick();
  struct Case {
    int32_t left;  // twips; the extent is 40 pixels more
    int layerWidth;
    int max;
  };
  const Case cases[] = {
      {6000, 440, 156},
      {495180, 33052, 32767},  // one pixel beyond the range: as far as the range goes
      {495165, 33051, 32767},  // the largest range there is
      {600000, 40040, 32767},
      {983025, 65535, 32767},  // a child at the furthest place: the layer stops at a window's width
      {6000, 440, 156},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left);
    far->put_Left(static_cast<float>(c.left));
    testsupport::advance(200);
    EXPECT_EQ(bay->VirtualWidthTwips(), c.left + 600);
    EXPECT_EQ(bay->Layer()->widget()->width(), c.layerWidth);
    EXPECT_EQ(bay->HScroll()->get_Max(), c.max);
    forms::let(host, "HScrollValue", Variant(int32_t{c.max * 15}));
    EXPECT_EQ(bay->Layer()->widget()->x(), -c.max);
    forms::let(host, "HScrollValue", Variant(int32_t{0}));
    EXPECT_EQ(bay->Layer()->widget()->x(), 0);
    expectNoErrorBox(std::to_string(c.left));
  }
  // A fixed extent beyond a window: read back as given, the layer stops, and the next
  // resize keeps Max at the top of the range.
  forms::let(host, "AutoAdjustExtent", false);
  for (int32_t width : {983040, 2147483647}) {
    SCOPED_TRACE(width);
    forms::let(host, "VirtualWidth", Variant(width));
    EXPECT_EQ(forms::get(host, "VirtualWidth").toInt32(), width);
    EXPECT_EQ(bay->Layer()->widget()->width(), 65535);
    host->put_Width(4515);
    EXPECT_EQ(bay->HScroll()->get_Max(), 32767);
    host->put_Width(4500);
    expectNoErrorBox(std::to_string(width));
  }
}

// Two thousand rows of 20 pixels: 40,000 pixels, beyond 16 bits. The vertical bar shows
// and the keys, the wheel and the focus reach as far down as 32767 pixels.
TEST_F(HostileInputTest, ATallListScrollsByBarKeysWheelAndFocus) {
  makeControl(4500, 3000);  // 200 pixels tall, with no horizontal bar
  for (int row = 0; row < 2000; row += 999) addChild("Forms.TextBox", ("txtRow" + std::to_string(row)).c_str(), 0, row * 300.0f, 1500, 300);
  addChild("Forms.Label", "lblLast", 0, 1999 * 300.0f, 1500, 300);
  showAndTick();
  QApplication::setActiveWindow(form->widget());
  forms::ScrollBar& v = *bay->VScroll();
  EXPECT_EQ(v.get_Max(), 32767);
  EXPECT_TRUE(v.get_Visible());
  const int16_t page = v.get_LargeChange();
  QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
  QCoreApplication::sendEvent(bay->Layer()->widget(), &pageDown);
  EXPECT_EQ(v.get_Value(), page);
  win32::SendMessageA(bay->LayerWnd(), win32::WM_MOUSEWHEEL, win32::MAKELONG(0, static_cast<uint16_t>(int16_t{-120})), 0);
  EXPECT_EQ(v.get_Value(), page + 3);
  // The field at row 999 (19980 pixels down) is brought into view when it takes the focus.
  form->findControl("txtRow999")->SetFocus();
  testsupport::advance(200);
  EXPECT_EQ(v.get_Value(), 19980 + 20 - 200);
  expectNoErrorBox("tall list");
}

// The sample form cut every 50 bytes: each cut fails at the parser naming the file and
// the line and column. The same form with names first, cut every 100 bytes and closed again after
// the last whole value: each either loads (and is shown and ticked) or fails naming the
// file; nothing is left behind either way.
TEST_F(HostileInputTest, TruncatedFormFilesFailAtTheCutOrLoadWhatIsWhole) {
  const std::string text = readFile(kSample);
  ASSERT_GT(text.size(), 30000u);
  const std::string reordered = namesFirst(QJsonDocument::fromJson(QByteArray::fromStdString(text)).object());
  NothingLeft baseline;
  int cuts = 0, closedCuts = 0, loaded = 0;
  QElapsedTimer clock;
  clock.start();
  for (std::size_t cut = 0; cut + 2 < text.size(); cut += 50, ++cuts) {
    SCOPED_TRACE(cut);
    Loaded raw = tryLoad(text.substr(0, cut), kSample);
    EXPECT_EQ(raw.error, err::BadFormFile);
    expectMentions(raw, {kSample, "at line "});
  }
  const qint64 rawMs = clock.restart();
  for (std::size_t cut = 0; cut < reordered.size(); cut += 100, ++closedCuts) {
    SCOPED_TRACE(cut);
    Loaded closed = tryLoad(closedAt(reordered, cut), kSample);
    if (closed.form) {
      ++loaded;
      closed.form->Show();
      testsupport::advance(200);
      closed.form->Unload();
    } else {
      EXPECT_EQ(closed.error, err::BadFormFile) << closed.message;  // a control cut before its name, or nothing at all
      expectMentions(closed, {kSample});
    }
  }
  std::printf("%d cuts in %lld ms; %d closed cuts, %d loaded, in %lld ms\n", cuts, static_cast<long long>(rawMs), closedCuts, loaded,
              static_cast<long long>(clock.elapsed()));
  EXPECT_GT(loaded, closedCuts / 2);
  EXPECT_EQ(closedAt(reordered, reordered.size()), reordered);
  baseline.check("after the cuts");
  expectNoErrorBox("the cuts");
}

// Nesting: the parser stops at its depth limit with a clear error, so no nesting reaches
// the loader's recursion; frames as deep as the parser takes load, show and unload.
TEST_F(HostileInputTest, NestingBeyondTheParsersLimitFailsAndTheDeepestFramesLoad) {
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  auto frames = [&](int depth) {
    std::string out;
    for (int i = 0; i < depth; ++i) out += R"({"class": "Forms.Frame", "name": "fra)" + std::to_string(i) + R"(", "Width": 3000, "Height": 2000, "controls": [)";
    return out + repeat("]}", depth);
  };
  struct Case {
    std::string what;
    std::string json;
    int error;
    std::string mention;
  };
  const Case cases[] = {
      {"a list 1,000 deep", bayForm(R"("Tag": )" + repeat("[", 1000) + repeat("]", 1000)), err::TypeMismatch, "'Tag'"},
      {"a list 100,000 deep", bayForm(R"("Tag": )" + repeat("[", 100000) + repeat("]", 100000)), err::BadFormFile, "deeply"},
      {"objects 100,000 deep", bayForm(R"("Tag": )" + repeat(R"({"a": )", 100000) + "1" + repeat("}", 100000)), err::BadFormFile, "deeply"},
      {"1,000 frames in frames", bayForm("", "", frames(1000)), err::BadFormFile, "deeply"},
      {"100,000 frames in frames", bayForm("", "", frames(100000)), err::BadFormFile, "deeply"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NothingLeft baseline;
    Loaded l = tryLoad(c.json);
    EXPECT_EQ(l.error, c.error) << l.message;
    expectMentions(l, {kPath, c.mention});
    if (l.form) l.form->Unload();
    baseline.check(c.what);
  }
  // The deepest frames the parser takes: on the layer, shown and ticked, then gone.
  NothingLeft baseline;
  Loaded deep = tryLoad(bayForm("", "", frames(kDeepestFrames)));
  ASSERT_TRUE(deep.form) << deep.message;
  adopt(deep.form);
  showAndTick();
  forms::ControlPtr innermost = form->findControl("fra" + std::to_string(kDeepestFrames - 1));
  ASSERT_TRUE(innermost);
  int depth = 0;
  for (const forms::Control* c = innermost.get(); c && c != bay->Layer().get(); c = dynamic_cast<const forms::Control*>(c->containerWindow()))
    ++depth;
  EXPECT_EQ(depth, kDeepestFrames);
  expectNoErrorBox("deepest frames");
  form->Unload();
  baseline.check("deepest frames");
  Loaded deeper = tryLoad(bayForm("", "", frames(kDeepestFrames + 1)));
  EXPECT_EQ(deeper.error, err::BadFormFile) << deeper.message;
}

// 10,000 labels in a Scrollbay: the load, the first ticks and the unload each stay
// within seconds, and the extent counts every one of them.
TEST_F(HostileInputTest, TenThousandControlsLoadTickAndUnloadInBoundedTime) {
  std::string children;
  for (int i = 0; i < 10000; ++i) {
    if (i) children += ",";
    children += R"({"class": "Forms.Label", "name": "lbl)" + std::to_string(i) + R"(", "Left": )" + std::to_string(i % 100 * 600) +
                R"(, "Top": )" + std::to_string(i / 100 * 300) + R"(, "Width": 500, "Height": 255})";
  }
  const std::string json = bayForm("", "", children);
  NothingLeft baseline;
  QElapsedTimer clock;
  clock.start();
  Loaded l = tryLoad(json);
  const qint64 loadMs = clock.restart();
  ASSERT_TRUE(l.form) << l.message;
  adopt(l.form);
  showAndTick();
  testsupport::advance(400);
  const qint64 tickMs = clock.restart();
  EXPECT_EQ(form->controls().size(), 10001u + 1u);  // and the layer
  EXPECT_EQ(bay->VirtualWidthTwips(), 99 * 600 + 500 + 300);
  EXPECT_EQ(bay->VirtualHeightTwips(), 99 * 300 + 255 + 300);
  expectNoErrorBox("10,000 controls");
  form->Unload();
  baseline.check("10,000 controls");
  const qint64 unloadMs = clock.elapsed();
  std::printf("10,000 controls: load %lld ms, show and 3 ticks %lld ms, unload %lld ms\n", static_cast<long long>(loadMs),
              static_cast<long long>(tickMs), static_cast<long long>(unloadMs));
  // Bounds for a sanitized build on a busy machine; a plain build takes a fraction.
  EXPECT_LT(loadMs + tickMs + unloadMs, 60000);
}

// What a file refers to that is not there or not what it claims, names used twice, and
// indexes that are not indexes: each fails naming the file, the control and the key.
TEST_F(HostileInputTest, BadReferencesNamesAndIndexesFailNamingWhatIsWrong) {
  auto bay = [](const std::string& name, const std::string& more = "") {
    return R"({"class": "ScrollbayCtl.Scrollbay", "name": ")" + name + "\"" + more + "}";
  };
  auto formOf = [](const std::string& controls) { return R"({"class": "Form", "name": "frmHostile", "controls": [)" + controls + "]}"; };
  auto picture = [&](const char* key, const char* file) {
    return formOf(bay("Scrollbay1", std::string(R"(, "bag": {")") + key + R"(": {"picture": ")" + file + R"("}})"));
  };
  struct Case {
    const char* what;
    std::string json;
    int error;
    std::vector<std::string> mentions;
  };
  const Case cases[] = {
      {"a missing library", formOf(R"({"class": "NoSuchLibrary.Scrollbay", "name": "Scrollbay1"})"), err::CannotCreateObject,
       {"'Scrollbay1'", "NoSuchLibrary"}},
      {"a missing class", formOf(R"({"class": "ScrollbayCtl.Nothing", "name": "Scrollbay1"})"), err::CannotCreateObject,
       {"'Scrollbay1'", "'Nothing'", "'ScrollbayCtl'"}},
      {"a class that is not text", formOf(R"({"class": 5, "name": "Scrollbay1"})"), err::BadFormFile, {"'Scrollbay1'", "class"}},
      {"a name that is not text", formOf(R"({"class": "ScrollbayCtl.Scrollbay", "name": ["Scrollbay1"]})"), err::BadFormFile, {"name"}},
      {"a bag that is a list", formOf(bay("Scrollbay1", R"(, "bag": [1])")), err::TypeMismatch, {"'Scrollbay1'", "'bag'"}},
      {"children that are not a list", formOf(bay("Scrollbay1", R"(, "controls": {"a": 1})")), err::TypeMismatch,
       {"'Scrollbay1'", "'controls'"}},
      {"a text file as the picture", picture("Picture", "not_an_image.png"), err::InvalidPicture, {"'Scrollbay1'", "'Picture'", "not_an_image.png"}},
      {"a text file as the mouse icon", picture("MouseIcon", "not_an_image.png"), err::InvalidPicture, {"'MouseIcon'", "not_an_image.png"}},
      {"a picture cut in half", picture("Picture", "truncated.png"), err::InvalidPicture, {"'Picture'", "truncated.png"}},
      {"a picture of 100000 x 100000 pixels", picture("Picture", "huge_dimensions.png"), err::InvalidPicture, {"'Picture'", "huge_dimensions.png"}},
      {"a missing picture", picture("Picture", "missing.png"), err::FileNotFound, {"'Picture'", "missing.png"}},
      {"a folder as the picture", picture("Picture", "."), err::FileNotFound, {"'Picture'"}},
      {"an empty picture path", picture("MouseIcon", ""), err::FileNotFound, {"'MouseIcon'"}},
      {"two Scrollbays of one name", formOf(bay("Scrollbay1") + "," + bay("scrollbay1")), err::DuplicateKey, {"'scrollbay1'"}},
      {"a label with the Scrollbay's name", formOf(bay("Scrollbay1") + R"(, {"class": "Forms.Label", "name": "Scrollbay1"})"),
       err::DuplicateKey, {"'Scrollbay1'"}},
      {"a name inside the Scrollbay used outside",
       formOf(bay("Scrollbay1", R"(, "controls": [{"class": "Forms.Label", "name": "lbl"}])") + R"(, {"class": "Forms.Label", "name": "lbl"})"),
       err::DuplicateKey, {"'lbl'"}},
      {"an index on a name that is not an array", formOf(bay("Scrollbay1") + "," + bay("Scrollbay1", R"(, "index": 0)")),
       err::DuplicateKey, {"'Scrollbay1'"}},
      {"no index on a name that is an array", formOf(bay("Scrollbay1", R"(, "index": 0)") + "," + bay("Scrollbay1")),
       err::DuplicateKey, {"'Scrollbay1'"}},
      {"an index twice", formOf(bay("Scrollbay1", R"(, "index": 3)") + "," + bay("Scrollbay1", R"(, "index": 3)")),
       err::DuplicateKey, {"'Scrollbay1'"}},
      {"a negative index", formOf(bay("Scrollbay1", R"(, "index": -1)")), err::InvalidPropertyValue, {"'Scrollbay1'", "index"}},
      {"an index beyond 16 bits", formOf(bay("Scrollbay1", R"(, "index": 32768)")), err::InvalidPropertyValue, {"index"}},
      {"an index beyond 32 bits", formOf(bay("Scrollbay1", R"(, "index": 4294967296)")), err::InvalidPropertyValue, {"index"}},
      {"an index of 1e300", formOf(bay("Scrollbay1", R"(, "index": 1e300)")), err::InvalidPropertyValue, {"index"}},
      {"a fractional index", formOf(bay("Scrollbay1", R"(, "index": 2.5)")), err::InvalidPropertyValue, {"index"}},
      {"an index as text", formOf(bay("Scrollbay1", R"(, "index": "2")")), err::InvalidPropertyValue, {"index"}},
      {"a null index", formOf(bay("Scrollbay1", R"(, "index": null)")), err::InvalidPropertyValue, {"index"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NothingLeft baseline;
    Loaded l = tryLoad(c.json);
    EXPECT_EQ(l.error, c.error) << l.message;
    expectMentions(l, {kPath});
    expectMentions(l, c.mentions);
    if (l.form) l.form->Unload();
    baseline.check(c.what);
  }
  // The largest index there is names an array of one Scrollbay, which makes its layer.
  NothingLeft baseline;
  Loaded last = tryLoad(formOf(bay("Scrollbay1", R"(, "index": 32767)")));
  ASSERT_TRUE(last.form) << last.message;
  form = last.form;
  host = std::dynamic_pointer_cast<forms::UserControlHost>(form->findControl("Scrollbay1", 32767));
  ASSERT_TRUE(host);
  this->bay = dynamic_cast<Scrollbay*>(&host->instance());
  showAndTick();
  EXPECT_TRUE(this->bay->Layer());
  expectNoErrorBox("index 32767");
  form->Unload();
  baseline.check("index 32767");
}
