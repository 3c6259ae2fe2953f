// The public interface by late binding: units, the assignment rules, what reaches the
// layer, and which assignments report a change.
#include "control_fixture.h"
#include "forms/picture.h"

namespace {

using forms::Variant;

class PropertiesTest : public ScrollbayTest {
 protected:
  Variant get(const char* name) { return forms::get(host, name); }
  void let(const char* name, Variant value) { forms::let(host, name, std::move(value)); }
  std::size_t changes() const { return host->propertyChanges().size(); }
};

}  // namespace

TEST_F(PropertiesTest, LengthsFollowTheContainersUnitsAndStayTwipsInside) {
  makeControl(4500, 3000);
  form->put_ScaleMode(forms::ScalePixels);
  let("VirtualWidth", Variant(int32_t{100}));
  EXPECT_EQ(bay->VirtualWidthTwips(), 1500);
  EXPECT_EQ(get("VirtualWidth").toInt32(), 100);
  form->put_ScaleMode(forms::ScaleTwips);
  EXPECT_EQ(get("VirtualWidth").toInt32(), 1500);
  form->put_ScaleMode(forms::ScaleUser);  // a unit of the program's own counts as pixels
  EXPECT_EQ(get("VirtualWidth").toInt32(), 100);
  EXPECT_EQ(host->userControl().get_ScaleMode(), forms::ScalePixels);

  // The same round trip on a screen of 12 twips per pixel.
  forms::setTwipsPerPixel(12, 12);
  let("VirtualWidth", Variant(int32_t{100}));
  EXPECT_EQ(bay->VirtualWidthTwips(), 1200);
  form->put_ScaleMode(forms::ScaleTwips);
  EXPECT_EQ(get("VirtualWidth").toInt32(), 1200);

  // A character cell is 120 twips across and 240 down.
  form->put_ScaleMode(forms::ScaleCharacters);
  let("RightMargin", Variant(int32_t{1}));
  let("BottomMargin", Variant(int32_t{1}));
  form->put_ScaleMode(forms::ScaleTwips);
  EXPECT_EQ(get("RightMargin").toInt32(), 120);
  EXPECT_EQ(get("BottomMargin").toInt32(), 240);
}

TEST_F(PropertiesTest, ValuesOutOfReachAreIgnoredOrFailWithoutReportingAChange) {
  makeControl(4500, 3000);
  const int32_t width = bay->VirtualWidthTwips();
  const std::size_t before = changes();
  let("VirtualWidth", Variant(int32_t{0}));
  let("VirtualHeight", Variant(int32_t{-5}));
  let("RightMargin", Variant(int32_t{-1}));
  EXPECT_EQ(bay->VirtualWidthTwips(), width);
  EXPECT_EQ(get("RightMargin").toInt32(), 300);
  EXPECT_EQ(changes(), before);

  // The hosting object refuses an appearance it does not know; beyond 16 bits the
  // value cannot even be handed to it.
  EXPECT_EQ(testsupport::errorOf([&] { let("Appearance", Variant(int32_t{5})); }), forms::err::InvalidPropertyValue);
  EXPECT_EQ(testsupport::errorOf([&] { let("BorderStyle", Variant(int32_t{70000})); }), forms::err::Overflow);
  EXPECT_EQ(testsupport::errorOf([&] { let("MousePointer", Variant(int32_t{-40000})); }), forms::err::Overflow);
  EXPECT_EQ(get("Appearance").toInt32(), 1);
  EXPECT_EQ(changes(), before);

  // A negative fill margin is a real setting and fills at once.
  let("AutoFillContainer", true);
  let("LeftFillMargin", Variant(int32_t{-150}));
  EXPECT_EQ(get("LeftFillMargin").toInt32(), -150);
  EXPECT_FLOAT_EQ(host->get_Left(), -150.0f);
}

TEST_F(PropertiesTest, AssigningTheCurrentValueChangesNothingExceptForTag) {
  makeControl(4500, 3000);
  showAndTick();
  ASSERT_TRUE(bay->Layer());
  for (const forms::MemberInfo& m : Scrollbay::typeInfo().members) {
    if (!m.has(forms::CallKind::Get) || m.name == "Version") continue;
    const std::size_t before = changes();
    Variant current = get(m.name.c_str());
    if (m.has(forms::CallKind::Set)) forms::set(host, m.name, current.toObject());
    else let(m.name.c_str(), current);
    if (m.name == "Tag") EXPECT_EQ(changes(), before + 1) << "Tag always reports";
    else EXPECT_EQ(changes(), before) << m.name << " reported an unchanged value";
  }

  let("Tag", Variant(int32_t{5}));
  EXPECT_EQ(get("Tag").type(), forms::VarType::String);
  EXPECT_EQ(get("Tag").toString(), "5");

  // Any number is kept for Scrollbars; unknown ones behave as automatic.
  let("Scrollbars", Variant(int32_t{7}));
  EXPECT_EQ(get("Scrollbars").toInt32(), 7);
  EXPECT_FALSE(bay->VScroll()->get_Visible());

  // The tooltip is never reported, yet it reaches the layer.
  const std::size_t before = changes();
  let("ToolTipText", Variant("Scroll me"));
  EXPECT_EQ(changes(), before);
  EXPECT_EQ(bay->Layer()->get_ToolTipText(), "Scroll me");

  EXPECT_EQ(get("Version").toString(), "1.0.38");
}

TEST_F(PropertiesTest, SettingsThatShowOnTheLayerReachItOnceItExists) {
  makeControl(4500, 3000);
  addChild("Forms.TextBox", "Text1", 300, 300, 1200, 315);
  showAndTick();
  forms::PictureBox& layer = *bay->Layer();
  let("Enabled", false);
  let("MousePointer", Variant(int32_t{2}));
  let("BackColor", Variant(int32_t{0x00FFFF}));
  EXPECT_FALSE(layer.get_Enabled());
  EXPECT_FALSE(host->userControl().get_Enabled());
  EXPECT_EQ(layer.get_MousePointer(), 2);
  EXPECT_EQ(layer.get_BackColor(), 0x00FFFF);
  form->put_ScaleMode(forms::ScalePixels);
  EXPECT_EQ(layer.get_ScaleMode(), forms::ScalePixels);

  // A fixed extent takes effect at once; a computed one only keeps the number.
  let("VirtualWidth", Variant(int32_t{2000}));
  EXPECT_NE(layer.get_Width(), 2000.0f);
  let("AutoAdjustExtent", false);
  let("VirtualWidth", Variant(int32_t{1000}));
  EXPECT_FLOAT_EQ(layer.get_Width(), 1000.0f);
}
