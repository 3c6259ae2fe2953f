// Saving and restoring the control's settings: defaults, types, units, form files,
// and bags that hold what they should not.
#include <QFile>

#include "../subclass/SubclassWnd.h"
#include "../timer/Timer.h"
#include "control_fixture.h"
#include "forms/formfile.h"
#include "win32/runtime.h"

#ifndef CONTROL_TEST_DATA_DIR
#error "the build gives the folder of the control tests' data"
#endif

namespace {

using forms::Variant;

class PersistenceTest : public ScrollbayTest {
 protected:
  // A run-mode form with one Scrollbay restored from the bag.
  void restore(const forms::PropertyBag& bag) {
    form = forms::Form::create("frmTest");
    forms::Form::AddOptions options;
    options.bag = &bag;
    host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Scrollbay1", nullptr, options));
    ASSERT_TRUE(host);
    bay = dynamic_cast<Scrollbay*>(&host->instance());
  }
  forms::PropertyBag written() {
    forms::PropertyBag bag;
    host->writeProperties(bag);
    return bag;
  }
  static std::vector<std::string> keys(const forms::PropertyBag& bag) {
    std::vector<std::string> out;
    for (const auto& [key, value] : bag.entries()) out.push_back(key);
    return out;
  }
};

std::string readFile(const std::string& path) {
  QFile f(QString::fromStdString(path));
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

}  // namespace

TEST_F(PersistenceTest, AnEmptyBagRestoresEveryDefaultAndDefaultsWriteNothing) {
  restore(forms::PropertyBag{});
  const std::vector<std::pair<const char*, Variant>> defaults = {
      {"Appearance", Variant(int32_t{1})},        {"BackColor", Variant(static_cast<int32_t>(0x8000000Fu))},
      {"Enabled", Variant(true)},                 {"BorderStyle", Variant(int32_t{0})},
      {"Scrollbars", Variant(int32_t{0})},        {"LeftFillMargin", Variant(int32_t{0})},
      {"TopFillMargin", Variant(int32_t{0})},     {"RightFillMargin", Variant(int32_t{0})},
      {"BottomFillMargin", Variant(int32_t{0})},  {"AutoFillContainer", Variant(false)},
      {"RightMargin", Variant(int32_t{300})},     {"BottomMargin", Variant(int32_t{300})},
      {"VirtualWidth", Variant(int32_t{12000})},  {"VirtualHeight", Variant(int32_t{9000})},
      {"AutoAdjustExtent", Variant(true)},        {"ScrollbarBackColor", Variant(static_cast<int32_t>(0x80000000u))},
      {"ToolTipText", Variant("")},               {"AutoScroll", Variant(true)},
      {"Picture", Variant()},                     {"Tag", Variant("")},
      {"MousePointer", Variant(int32_t{1})},      {"MouseIcon", Variant()}};
  for (const auto& [name, value] : defaults) EXPECT_TRUE(forms::get(host, name).equals(value)) << name;
  EXPECT_NE(bay->ScrollbarBrush(), 0);
  EXPECT_TRUE(written().entries().empty());

  // Only what differs is written, in the one fixed order, with its own type.
  forms::let(host, "MousePointer", Variant(int32_t{0}));
  forms::let(host, "ScrollbarBackColor", Variant(int32_t{0}));
  forms::let(host, "Tag", Variant(int32_t{5}));
  forms::let(host, "MousePointer", Variant(int32_t{1}));
  forms::let(host, "MousePointer", Variant(int32_t{0}));
  const forms::PropertyBag bag = written();
  EXPECT_EQ(keys(bag), (std::vector<std::string>{"ScrollbarBackColor", "Tag", "MousePointer"}));
  EXPECT_EQ(bag.ReadProperty("Tag").type(), forms::VarType::String);

  form->Unload();
  restore(bag);
  EXPECT_EQ(forms::get(host, "MousePointer").toInt32(), 0);
  EXPECT_EQ(forms::get(host, "Tag").toString(), "5");
  // Black equals the member's starting value, and still gets its brush.
  win32::COLORREF colour = 1;
  ASSERT_TRUE(win32::runtime::brushColor(bay->ScrollbarBrush(), &colour));
  EXPECT_EQ(colour, 0u);
}

TEST_F(PersistenceTest, MissingLengthsAreDefaultPixelsOfTheScreenThatLoadsThem) {
  restore(forms::PropertyBag{});
  forms::let(host, "VirtualWidth", Variant(int32_t{12000}));
  const forms::PropertyBag bag = written();
  EXPECT_FALSE(bag.contains("VirtualWidth"));
  form->Unload();
  forms::setTwipsPerPixel(12, 12);
  restore(bag);
  EXPECT_EQ(bay->VirtualWidthTwips(), 9600);
}

TEST_F(PersistenceTest, AFormFileWithEverySettingSavesBackByteForByte) {
  const std::string path = CONTROL_TEST_DATA_DIR "/settings.json";
  form = forms::loadForm(path);
  for (const forms::ControlPtr& c : form->controls())
    if (auto h = std::dynamic_pointer_cast<forms::UserControlHost>(c)) host = h;
  ASSERT_TRUE(host);
  bay = dynamic_cast<Scrollbay*>(&host->instance());
  EXPECT_EQ(forms::get(host, "Scrollbars").toInt32(), 7);
  EXPECT_EQ(forms::get(host, "BottomFillMargin").toInt32(), -30);
  EXPECT_TRUE(forms::get(host, "Picture").isObject());
  form->Show();
  testsupport::advance(400);
  EXPECT_EQ(forms::saveFormToJson(*form, path), readFile(path));
}

TEST_F(PersistenceTest, ABagValueOfTheWrongTypeFailsTheLoadNamingItAndLeavesNothing) {
  const int windows = win32::runtime::liveWindowCount();
  const int objects = win32::runtime::liveObjectCount();
  struct Case {
    const char* entry;
    int error;
  };
  for (const Case& c : {Case{R"("VirtualWidth": "wide")", forms::err::TypeMismatch},
                        Case{R"("AutoScroll": "maybe")", forms::err::TypeMismatch},
                        Case{R"("RightMargin": 1e12)", forms::err::Overflow},
                        Case{R"("MousePointer": 70000)", forms::err::Overflow},
                        Case{R"("Picture": 5)", forms::err::TypeMismatch}}) {
    const std::string json = std::string(R"({"class": "Form", "name": "frmBad", "controls": [
        {"class": "ScrollbayCtl.Scrollbay", "name": "Scrollbay1", "bag": {)") + c.entry + "}}]}";
    const std::string key = std::string(c.entry).substr(1, std::string(c.entry).find('"', 1) - 1);
    try {
      forms::loadFormFromJson(json, "bad.json");
      ADD_FAILURE() << c.entry << " loaded";
    } catch (const forms::Error& e) {
      EXPECT_EQ(e.number(), c.error) << c.entry;
      EXPECT_NE(e.description().find("'" + key + "'"), std::string::npos) << e.description();
      EXPECT_NE(e.description().find("Scrollbay1"), std::string::npos) << e.description();
    }
    testsupport::advance(400);
    EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u) << c.entry;
    EXPECT_EQ(Timer::ListenerCount(), 0u) << c.entry;
    EXPECT_EQ(win32::runtime::liveObjectCount(), objects) << c.entry;
    EXPECT_EQ(win32::runtime::liveWindowCount(), windows) << c.entry;
  }
  EXPECT_TRUE(testsupport::msgBoxes().empty());
}
