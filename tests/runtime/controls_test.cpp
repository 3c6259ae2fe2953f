// Standard controls: scrollbars, geometry in the container's scale, containers, the
// Controls collection and control arrays.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "forms/form.h"
#include "forms/picture.h"
#include "forms/picturebox.h"
#include "forms/scrollbar.h"
#include "forms/simple_controls.h"
#include "forms/units.h"
#include "forms/usercontrol.h"
#include "test_support.h"
#include "win32/win32.h"

namespace {

using testsupport::errorOf;

using forms::Variant;

class ScrollBarTest : public testing::Test {
 protected:
  void SetUp() override {
    form = forms::Form::create("frmBars");
    sb = std::dynamic_pointer_cast<forms::ScrollBar>(form->addControl("Forms.VScrollBar", "VS1"));
    ASSERT_TRUE(sb);
    // Record the value each Change sees, so a Change raised before the new value is
    // stored shows up as the old one.
    form->on("VS1", "Change", [this](forms::EventArgs&) { changes.push_back(sb->get_Value()); });
    sb->put_Max(100);
  }
  std::shared_ptr<forms::Form> form;
  std::shared_ptr<forms::ScrollBar> sb;
  std::vector<int> changes;
};

TEST_F(ScrollBarTest, AssignmentsRaiseChangeOnlyForNewValues) {
  struct Step {
    int value;
    int error;
    std::vector<int> changes;  // Change events this assignment raises
  };
  const std::vector<Step> steps = {
      {10, 0, {10}}, {10, 0, {}}, {0, 0, {0}}, {100, 0, {100}}, {101, 380, {}}, {-1, 380, {}}, {100, 0, {}},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.value);
    changes.clear();
    EXPECT_EQ(errorOf([&] { forms::let(sb, "Value", Variant(int32_t{s.value})); }), s.error);
    EXPECT_EQ(changes, s.changes);
  }
  EXPECT_EQ(errorOf([&] { forms::let(sb, "Value", Variant(int32_t{40000})); }), forms::err::Overflow);
  EXPECT_EQ(errorOf([&] { forms::let(sb, "LargeChange", Variant(int16_t{0})); }), forms::err::InvalidPropertyValue);
  EXPECT_EQ(sb->get_Value(), 100);
}

TEST_F(ScrollBarTest, MaxBelowMinIsAllowed) {
  sb->put_Min(50);
  sb->put_Max(10);
  EXPECT_EQ(sb->get_Min(), 50);
  EXPECT_EQ(sb->get_Max(), 10);
  changes.clear();
  sb->put_Value(30);
  EXPECT_EQ(changes, std::vector<int>{30});
  EXPECT_EQ(errorOf([&] { sb->put_Value(51); }), forms::err::InvalidPropertyValue);
  EXPECT_EQ(errorOf([&] { sb->put_Value(9); }), forms::err::InvalidPropertyValue);
  sb->put_Value(10);
  sb->put_Value(50);
  EXPECT_EQ(sb->get_Value(), 50);
}

TEST_F(ScrollBarTest, NarrowingTheRangeClampsValueAndRaisesChange) {
  sb->put_Value(80);
  changes.clear();
  sb->put_Max(50);
  EXPECT_EQ(sb->get_Value(), 50);
  EXPECT_EQ(changes, std::vector<int>{50});
  sb->put_Min(60);  // now Max below Min: the range is 50..60
  EXPECT_EQ(sb->get_Value(), 50);
  EXPECT_EQ(changes, std::vector<int>{50});
  sb->put_Max(70);  // 60..70
  EXPECT_EQ(sb->get_Value(), 60);
  EXPECT_EQ(changes, (std::vector<int>{50, 60}));
  sb->put_Max(65);  // the value still fits
  EXPECT_EQ(changes.size(), 2u);
}

TEST_F(ScrollBarTest, UserActionsRaiseChangeOnce) {
  sb->put_SmallChange(5);
  sb->put_LargeChange(30);
  QScrollBar* bar = sb->bar();
  struct Action {
    QAbstractSlider::SliderAction action;
    int value;
  };
  const std::vector<Action> actions = {
      {QAbstractSlider::SliderSingleStepAdd, 5},  {QAbstractSlider::SliderPageStepAdd, 35},
      {QAbstractSlider::SliderSingleStepSub, 30}, {QAbstractSlider::SliderToMaximum, 100},
      {QAbstractSlider::SliderPageStepAdd, 100},  {QAbstractSlider::SliderPageStepSub, 70},
      {QAbstractSlider::SliderToMinimum, 0},      {QAbstractSlider::SliderSingleStepSub, 0},
  };
  int expected = 0;
  for (const auto& a : actions) {
    SCOPED_TRACE(a.action);
    changes.clear();
    bar->triggerAction(a.action);
    EXPECT_EQ(sb->get_Value(), a.value);
    EXPECT_EQ(changes, a.value == expected ? std::vector<int>{} : std::vector<int>{a.value});
    EXPECT_EQ(bar->value(), a.value);
    expected = a.value;
  }
}

TEST_F(ScrollBarTest, DraggingTheThumbRaisesChangeOnlyAtRelease) {
  QScrollBar* bar = sb->bar();
  bar->setSliderDown(true);
  bar->setSliderPosition(40);
  bar->setSliderPosition(60);
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(sb->get_Value(), 0);
  bar->setSliderDown(false);
  EXPECT_EQ(changes, std::vector<int>{60});
  EXPECT_EQ(sb->get_Value(), 60);
  EXPECT_EQ(bar->value(), 60);
}

TEST_F(ScrollBarTest, TheViewFollowsTheModel) {
  QScrollBar* bar = sb->bar();
  sb->put_Min(20);
  sb->put_Max(5);
  sb->put_Value(7);
  EXPECT_EQ(bar->minimum(), 5);
  EXPECT_EQ(bar->maximum(), 20);
  EXPECT_EQ(bar->value(), 7);
  EXPECT_EQ(sb->get_Width(), 16.0f * 15);  // the system's scrollbar width
}

// Geometry.

class GeometryTest : public testing::Test {
 protected:
  void SetUp() override { form = forms::Form::create("frmGeo"); }
  void TearDown() override { forms::setTwipsPerPixel(15, 15); }
  std::shared_ptr<forms::Form> form;
};

TEST_F(GeometryTest, PositionAndSizeAreInTheContainersScale) {
  auto pic = std::dynamic_pointer_cast<forms::PictureBox>(form->addControl("Forms.PictureBox", "Picture1"));
  pic->put_ScaleMode(forms::ScalePixels);
  auto onForm = form->addControl("Forms.TextBox", "Text1");
  auto inPic = form->addControl("Forms.TextBox", "Text2", pic.get());
  struct Case {
    const char* what;
    std::function<void()> setScale;
    forms::ControlPtr control;
    float left, top, width, height;  // in the container's scale
    QRect pixels;
  };
  const std::vector<Case> cases = {
      {"twips form", [&] { form->put_ScaleMode(forms::ScaleTwips); }, onForm, 300, 150, 1500, 315, QRect(20, 10, 100, 21)},
      {"pixel form", [&] { form->put_ScaleMode(forms::ScalePixels); }, onForm, 20, 10, 100, 21, QRect(20, 10, 100, 21)},
      {"inch form", [&] { form->put_ScaleMode(forms::ScaleInches); }, onForm, 1, 0.5f, 2, 0.25f, QRect(96, 48, 192, 24)},
      {"user scale", [&] { form->put_ScaleWidth(100); form->put_ScaleHeight(1000); }, onForm, 25, -100, 50, 100,
       QRect(80, -24, 160, 24)},
      // The picture box keeps its own scale whatever the form's is.
      {"pixel picture box", [&] { form->put_ScaleMode(forms::ScaleCentimeters); }, inPic, 7, 3, 50, 20, QRect(7, 3, 50, 20)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.setScale();
    auto ctl = c.control;
    forms::call(ctl, "Move", {Variant(c.left), Variant(c.top), Variant(c.width), Variant(c.height)});
    EXPECT_EQ(ctl->widget()->geometry(), c.pixels);
    EXPECT_FLOAT_EQ(forms::get(ctl, "Left").toSingle(), c.left);
    EXPECT_FLOAT_EQ(forms::get(ctl, "Top").toSingle(), c.top);
    EXPECT_FLOAT_EQ(forms::get(ctl, "Width").toSingle(), c.width);
    EXPECT_FLOAT_EQ(forms::get(ctl, "Height").toSingle(), c.height);
  }
  EXPECT_EQ(errorOf([&] { forms::let(onForm, "Width", Variant(-1.0f)); }), forms::err::InvalidPropertyValue);
}

TEST_F(GeometryTest, FractionalTwipsSurviveUntilSomethingOutsideMovesTheWindow) {
  auto ctl = form->addControl("Forms.TextBox", "Text1");
  forms::let(ctl, "Left", Variant(1234.5f));
  forms::let(ctl, "Width", Variant(1000.4f));
  EXPECT_EQ(forms::get(ctl, "Left").toSingle(), 1234.5f);
  EXPECT_EQ(forms::get(ctl, "Width").toSingle(), 1000.4f);
  EXPECT_EQ(ctl->widget()->x(), 82);
  EXPECT_EQ(ctl->widget()->width(), 67);

  win32::SetWindowPos(ctl->hWnd(), 0, 30, 0, 0, 0, win32::SWP_NOSIZE | win32::SWP_NOZORDER);
  EXPECT_EQ(forms::get(ctl, "Left").toSingle(), 450.0f);
  EXPECT_EQ(forms::get(ctl, "Width").toSingle(), 1000.4f);
  win32::SetWindowPos(ctl->hWnd(), 0, 0, 0, 40, 10, win32::SWP_NOMOVE | win32::SWP_NOZORDER);
  EXPECT_EQ(forms::get(ctl, "Left").toSingle(), 450.0f);
  EXPECT_EQ(forms::get(ctl, "Width").toSingle(), 600.0f);
  EXPECT_EQ(forms::get(ctl, "Height").toSingle(), 150.0f);

  forms::setTwipsPerPixel(12, 12);
  forms::let(ctl, "Left", Variant(1234.5f));
  EXPECT_EQ(ctl->widget()->x(), 103);
  EXPECT_EQ(forms::get(ctl, "Left").toSingle(), 1234.5f);
}

// What a window procedure that hears WM_SIZE reads of its control.
forms::ControlPtr g_sized;
std::vector<float> g_widthsSeen;
win32::LONG_PTR g_before = 0;
win32::LRESULT readWidthOnSize(win32::HWND h, win32::UINT msg, win32::WPARAM wp, win32::LPARAM lp) {
  if (msg == win32::WM_SIZE) g_widthsSeen.push_back(g_sized->get_Width());
  return win32::CallWindowProcA(reinterpret_cast<win32::WNDPROC>(g_before), h, msg, wp, lp);
}

TEST_F(GeometryTest, AWindowPlacedFromOutsideIsKnownBeforeItsSizeMessage) {
  auto pic = form->addControl("Forms.PictureBox", "Picture1");
  g_sized = pic;
  g_widthsSeen.clear();
  g_before = win32::SetWindowLongPtrA(pic->hWnd(), win32::GWLP_WNDPROC, reinterpret_cast<win32::LONG_PTR>(&readWidthOnSize));
  win32::SetWindowPos(pic->hWnd(), 0, 0, 0, 70, 30, win32::SWP_NOMOVE | win32::SWP_NOZORDER);
  EXPECT_EQ(g_widthsSeen, std::vector<float>{1050.0f});
  win32::SetWindowLongPtrA(pic->hWnd(), win32::GWLP_WNDPROC, g_before);
  g_sized = nullptr;

  // A picture that sizes its box: the numbers follow the box.
  const std::string file = testing::TempDir() + "autosize.png";
  QImage image(33, 21, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(QString::fromStdString(file)));
  forms::set(pic, "Picture", forms::ObjectPtr(forms::LoadPicture(file)));
  forms::let(pic, "AutoSize", Variant(true));
  EXPECT_EQ(forms::get(pic, "Width").toSingle(), (33 + 4) * 15.0f);
  EXPECT_EQ(forms::get(pic, "Height").toSingle(), (21 + 4) * 15.0f);
}

TEST_F(GeometryTest, AControlWhoseWidgetWentIsNotVisible) {
  auto ctl = form->addControl("Forms.TextBox", "Text1");
  EXPECT_TRUE(ctl->get_Visible());
  delete ctl->widget();  // by hand, behind the runtime's back
  EXPECT_FALSE(ctl->get_Visible());
  EXPECT_FALSE(ctl->hasWidget());
}

TEST_F(GeometryTest, ReassigningTheContainerKeepsTheNumbers) {
  auto pic = std::dynamic_pointer_cast<forms::PictureBox>(form->addControl("Forms.PictureBox", "Picture1"));
  pic->put_ScaleMode(forms::ScalePixels);
  auto frame = form->addControl("Forms.Frame", "Frame1");
  auto ctl = form->addControl("Forms.TextBox", "Text1");
  forms::call(ctl, "Move", {Variant(300.0f), Variant(150.0f), Variant(900.0f), Variant(300.0f)});

  forms::set(ctl, "Container", pic);
  EXPECT_EQ(forms::get(ctl, "Container").toObject(), pic);
  EXPECT_EQ(forms::get(ctl, "Left").toSingle(), 300.0f);
  EXPECT_EQ(forms::get(ctl, "Top").toSingle(), 150.0f);
  EXPECT_EQ(forms::get(ctl, "Width").toSingle(), 60.0f);  // the size stays the same on screen
  EXPECT_EQ(ctl->widget()->parentWidget(), pic->clientWidget());
  EXPECT_EQ(ctl->widget()->geometry(), QRect(300, 150, 60, 20));
  EXPECT_EQ(win32::runtime::parentOf(ctl->hWnd()), pic->hWnd());

  forms::set(ctl, "Container", frame);  // a frame measures in the form's twips
  EXPECT_EQ(forms::get(ctl, "Left").toSingle(), 300.0f);
  EXPECT_EQ(ctl->widget()->geometry(), QRect(20, 10, 60, 20));
  forms::set(ctl, "Container", form);
  EXPECT_EQ(ctl->widget()->parentWidget(), form->widget());

  // Nothing changes when the new container cannot hold controls.
  auto other = forms::Form::create("frmOther");
  const std::vector<std::pair<const char*, forms::ObjectPtr>> bad = {
      {"text box", form->addControl("Forms.TextBox", "Text2")},
      {"itself", ctl},
      {"another form", other},
      {"a control of another form", other->addControl("Forms.PictureBox", "Picture9")},
      {"a font", forms::get(ctl, "Font").toObject()},
      {"nothing", nullptr},
  };
  for (const auto& [what, target] : bad) {
    // Named in the capture: clang 14 cannot capture a structured binding.
    EXPECT_EQ(errorOf([&, &target = target] { forms::set(ctl, "Container", target); }), forms::err::InvalidCall) << what;
    EXPECT_EQ(forms::get(ctl, "Container").toObject(), form) << what;
    EXPECT_EQ(ctl->widget()->parentWidget(), form->widget()) << what;
    EXPECT_EQ(forms::get(ctl, "Left").toSingle(), 300.0f) << what;
  }
  // A container cannot go inside what it contains.
  forms::set(frame, "Container", pic);
  EXPECT_EQ(errorOf([&] { forms::set(pic, "Container", frame); }), forms::err::InvalidCall);
}

// Lengths whose pixels no window can have: the call fails and nothing moves, from code,
// by name and when a new container's scale would put the control out of reach.
TEST_F(GeometryTest, LengthsBeyondAnyWindowAreError380AndChangeNothing) {
  auto inches = std::dynamic_pointer_cast<forms::PictureBox>(form->addControl("Forms.PictureBox", "Picture1"));
  inches->put_ScaleMode(forms::ScaleInches);
  auto ctl = form->addControl("Forms.TextBox", "Text1");
  ctl->Move(30000.0f, 150.0f, 900.0f, 300.0f);
  const QRect before = ctl->widget()->geometry();
  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"Left", [&] { ctl->put_Left(1e30f); }},
      {"Width by name", [&] { forms::let(ctl, "Width", Variant(3e38f)); }},
      {"Top one pixel too far", [&] { ctl->put_Top(-65536 * 15.0f); }},
      {"Move", [&] { forms::call(ctl, "Move", {Variant(0.0f), Variant(0.0f), Variant(1e10f)}); }},
      {"Container in inches", [&] { forms::set(ctl, "Container", inches); }},
      {"the form's ClientWidth", [&] { form->put_ClientWidth(3e38f); }},
  };
  const QSize formSize = form->widget()->size();
  for (const auto& [what, call] : calls) {
    EXPECT_EQ(errorOf(call), forms::err::InvalidPropertyValue) << what;
    EXPECT_EQ(ctl->widget()->geometry(), before) << what;
    EXPECT_EQ(ctl->widget()->parentWidget(), form->widget()) << what;
    EXPECT_EQ(ctl->get_Left(), 30000.0f) << what;
  }
  EXPECT_EQ(form->widget()->size(), formSize);
  ctl->put_Left(-65535 * 15.0f);  // as far as a window can be
  EXPECT_EQ(ctl->widget()->x(), -65535);
}

TEST_F(GeometryTest, HiddenContainerHidesWithoutChangingVisible) {
  auto pic = form->addControl("Forms.PictureBox", "Picture1");
  auto ctl = form->addControl("Forms.TextBox", "Text1", pic.get());
  form->Show();
  forms::let(pic, "Visible", Variant(false));
  EXPECT_TRUE(forms::get(ctl, "Visible").toBool());
  forms::set(ctl, "Container", form);
  EXPECT_TRUE(ctl->widget()->isVisible());
  form->Unload();
}

// Whether a control's widget is on screen follows its Visible and its containers', for
// controls made before and after the form is shown, in shown and hidden containers, and
// for controls moved between containers of a shown form.
TEST_F(GeometryTest, ControlsShowWithTheirContainersWheneverMade) {
  auto hiddenPic = form->addControl("Forms.PictureBox", "Picture1");
  auto pic = form->addControl("Forms.PictureBox", "Picture2");
  forms::let(hiddenPic, "Visible", Variant(false));
  auto early = form->addControl("Forms.TextBox", "Early");
  auto earlyInHidden = form->addControl("Forms.Label", "EarlyHidden", hiddenPic.get());
  auto earlyOff = form->addControl("Forms.TextBox", "EarlyOff");
  forms::let(earlyOff, "Visible", Variant(false));
  form->Show();
  auto late = form->addControl("Forms.TextBox", "Late");
  auto lateInHidden = form->addControl("Forms.Label", "LateHidden", hiddenPic.get());
  auto onScreen = [](const forms::ObjectPtr& c) { return std::dynamic_pointer_cast<forms::Control>(c)->widget()->isVisible(); };
  EXPECT_TRUE(onScreen(early));
  EXPECT_TRUE(onScreen(late));
  EXPECT_FALSE(onScreen(earlyInHidden));
  EXPECT_FALSE(onScreen(lateInHidden));
  EXPECT_FALSE(onScreen(earlyOff));
  for (const auto& c : {earlyInHidden, lateInHidden}) EXPECT_TRUE(forms::get(c, "Visible").toBool());

  forms::let(hiddenPic, "Visible", Variant(true));
  EXPECT_TRUE(onScreen(earlyInHidden));
  EXPECT_TRUE(onScreen(lateInHidden));

  // Moved while everything is shown: on screen at its new place, or still off.
  forms::call(late, "Move", {Variant(300.0f), Variant(150.0f), Variant(900.0f), Variant(300.0f)});
  forms::set(late, "Container", pic);
  forms::set(earlyOff, "Container", pic);
  EXPECT_TRUE(onScreen(late));
  EXPECT_EQ(std::dynamic_pointer_cast<forms::Control>(late)->widget()->geometry(), QRect(20, 10, 60, 20));
  EXPECT_FALSE(onScreen(earlyOff));
  EXPECT_FALSE(forms::get(earlyOff, "Visible").toBool());
  form->Unload();
}

// A control moved to another container keeps the focus, its own or that of a
// constituent inside it, and no control hears of a focus change.
TEST(ContainerFocusTest, MovingAControlKeepsItsFocusQuietly) {
  auto form = forms::Form::create("frmFocus");
  auto pic = form->addControl("Forms.PictureBox", "Picture1");
  auto frame = form->addControl("Forms.Frame", "Frame1");
  auto text = form->addControl("Forms.TextBox", "Text1");
  auto other = form->addControl("Forms.TextBox", "Text2");
  auto host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("Probe.Recorder", "Probe1"));
  auto inner = host->userControl().addConstituent("Forms.TextBox", "txtInner");
  std::vector<std::string> heard;
  for (const auto& c : {text, other, inner})
    for (const char* event : {"GotFocus", "LostFocus"})
      c->connect(event, [&heard, what = c->name() + " " + event](forms::Args&) { heard.push_back(what); });
  form->Show();
  QApplication::setActiveWindow(form->widget());

  text->widget()->setFocus();
  heard.clear();
  forms::set(text, "Container", pic);
  EXPECT_TRUE(text->widget()->hasFocus());
  EXPECT_EQ(form->activeControl(), text.get());
  EXPECT_EQ(heard, std::vector<std::string>{});

  inner->widget()->setFocus();
  heard.clear();
  forms::set(host, "Container", frame);
  EXPECT_TRUE(inner->widget()->hasFocus());
  EXPECT_EQ(heard, std::vector<std::string>{});
  form->Unload();
}

// The Controls collection and control arrays.

TEST(ControlsCollectionTest, LookupArraysAddAndDuplicateNames) {
  auto form = forms::Form::create("frmCtls");
  auto pic = form->addControl("Forms.PictureBox", "Picture1");
  forms::Form::AddOptions element;
  for (int16_t i : {0, 1, 3}) {
    element.index = i;
    form->addControl("Forms.Label", "lblItem", nullptr, element);
  }
  forms::ObjectPtr controls = forms::get(form, "Controls").toObject();
  EXPECT_EQ(forms::get(controls, "Count").toInt32(), 4);
  EXPECT_EQ(forms::call(controls, "Item", {Variant("PICTURE1")}).toObject(), pic);
  EXPECT_EQ(forms::get(controls, "Item", {Variant(int16_t{0})}).toObject(), pic);
  EXPECT_EQ(errorOf([&] { forms::call(controls, "Item", {Variant(int16_t{4})}); }), forms::err::SubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { forms::call(controls, "Item", {Variant("Nope")}); }), forms::err::InvalidCall);

  forms::ObjectPtr array = forms::call(controls, "Item", {Variant("lblitem")}).toObject();
  EXPECT_EQ(forms::get(array, "Count").toInt32(), 3);
  EXPECT_EQ(forms::get(array, "LBound").toInt32(), 0);
  EXPECT_EQ(forms::get(array, "UBound").toInt32(), 3);
  forms::ObjectPtr third = forms::call(array, "Item", {Variant(int16_t{3})}).toObject();
  EXPECT_EQ(third, form->findControl("LBLITEM", 3));
  EXPECT_EQ(forms::get(third, "Index").toInt16(), 3);
  EXPECT_NE(errorOf([&] { forms::call(array, "Item", {Variant(int16_t{2})}); }), 0);
  EXPECT_EQ(errorOf([&] { forms::let(array, "Count", Variant(int16_t{2})); }), forms::err::NoSuchMember);

  forms::ObjectPtr added = forms::call(controls, "Add", {Variant("forms.textbox"), Variant("txtNew"), Variant(pic)}).toObject();
  EXPECT_EQ(forms::get(added, "Container").toObject(), pic);
  EXPECT_EQ(std::dynamic_pointer_cast<forms::Control>(added)->classId(), "Forms.TextBox");
  EXPECT_EQ(forms::get(controls, "Count").toInt32(), 5);
  EXPECT_EQ(errorOf([&] { forms::call(controls, "Add", {Variant("Forms.Label"), Variant("lblIn"), Variant(added)}); }),
            forms::err::InvalidCall);

  struct Clash {
    const char* name;
    int16_t index;
  };
  for (const Clash& c : std::vector<Clash>{{"TXTNEW", -1}, {"picture1", -1}, {"Picture1", 2}, {"lblItem", -1}, {"LBLITEM", 1}}) {
    element.index = c.index;
    EXPECT_EQ(errorOf([&] { form->addControl("Forms.Label", c.name, nullptr, element); }), forms::err::DuplicateKey)
        << c.name << " " << c.index;
  }
  EXPECT_EQ(errorOf([&] { form->addControl("Forms.Label", ""); }), forms::err::InvalidCall);
  EXPECT_EQ(form->controls().size(), 5u);
  element.index = 2;
  form->addControl("Forms.Label", "lblItem", nullptr, element);
  EXPECT_EQ(forms::get(array, "Count").toInt32(), 4);
}

}  // namespace

TEST(ControlsCollection, AControlWhoseWindowWasDestroyedFreesItsName) {
  auto form = forms::Form::create("frmGone");
  auto box = form->addControl("Forms.PictureBox", "picGone");
  auto inside = form->addControl("Forms.Label", "lblInside", box.get());
  win32::runtime::destroyWindow(box->hWnd());  // takes the label's window with it
  auto again = form->addControl("Forms.PictureBox", "picGone");
  EXPECT_NE(again, box);
  EXPECT_EQ(form->findControl("picGone"), again);
  EXPECT_FALSE(form->findControl("lblInside"));
  form->Unload();
}

// Every control shows its own Font: not its container's when made in it or moved into
// it, not the one the control made before it had, and a container's later change of
// Font does not reach what it holds.
TEST(ControlFontTest, EachControlShowsItsOwnFont) {
  auto form = forms::Form::create("frmFonts");
  auto fontOf = [](const forms::ObjectPtr& c) { return forms::get(c, "Font").toObject(); };
  auto shown = [](const forms::ObjectPtr& c) { return std::dynamic_pointer_cast<forms::Control>(c)->widget()->font(); };
  auto pic = form->addControl("Forms.PictureBox", "Picture1");
  forms::let(fontOf(pic), "Size", Variant(14.0f));
  forms::let(fontOf(pic), "Bold", Variant(true));
  auto first = form->addControl("Forms.TextBox", "Text1", pic.get());
  forms::let(fontOf(first), "Name", Variant(std::string("Courier New")));
  auto second = form->addControl("Forms.Label", "Label1", pic.get());
  form->Show();

  const QFont plain = shown(second);
  const double defaultSize = forms::get(fontOf(second), "Size").toSingle();
  EXPECT_EQ(plain.pointSizeF(), defaultSize);
  EXPECT_FALSE(plain.bold());
  EXPECT_EQ(plain.family(), QStringLiteral("Liberation Sans"));
  EXPECT_EQ(shown(first).family(), QStringLiteral("Liberation Mono"));
  EXPECT_EQ(shown(first).pointSizeF(), defaultSize);
  EXPECT_EQ(shown(pic).pointSizeF(), 14.0);

  forms::let(fontOf(pic), "Size", Variant(20.0f));
  forms::let(fontOf(pic), "Italic", Variant(true));
  EXPECT_EQ(shown(second), plain);
  EXPECT_EQ(shown(first).pointSizeF(), defaultSize);

  auto frame = form->addControl("Forms.Frame", "Frame1");
  forms::let(fontOf(frame), "Underline", Variant(true));
  forms::set(second, "Container", frame);
  EXPECT_EQ(shown(second), plain);
  forms::let(fontOf(second), "Italic", Variant(true));
  EXPECT_TRUE(shown(second).italic());
  EXPECT_FALSE(shown(frame).italic());

  // Controls with the standard Font where nothing above them has another: their
  // container taking a new Font, a move into a container with another, and a new
  // application font all leave them as they are.
  auto plainFrame = form->addControl("Forms.Frame", "Frame2");
  auto inFrame = form->addControl("Forms.Label", "Label2", plainFrame.get());
  auto deep = form->addControl("Forms.TextBox", "Text2", plainFrame.get());
  auto onForm = form->addControl("Forms.TextBox", "Text3");
  EXPECT_EQ(shown(inFrame), plain);
  forms::let(fontOf(plainFrame), "Size", Variant(20.0f));
  EXPECT_EQ(shown(plainFrame).pointSizeF(), 20.0);
  EXPECT_EQ(shown(inFrame), plain);
  EXPECT_EQ(shown(deep), plain);
  forms::set(onForm, "Container", pic);
  EXPECT_EQ(shown(onForm), plain);
  const QFont application = QApplication::font();
  QApplication::setFont(QFont(QStringLiteral("Courier New"), 20));
  QEvent changed(QEvent::ApplicationFontChange);  // what Qt sends each window once running
  QCoreApplication::sendEvent(form->widget(), &changed);
  QApplication::setFont(application);
  for (const auto& c : {inFrame, deep, first}) EXPECT_EQ(shown(c).pointSizeF(), forms::get(fontOf(c), "Size").toSingle());
  EXPECT_EQ(shown(inFrame), plain);
  form->Unload();
}

// Background colours: a form shows the face colour, a picture box its BackColor behind
// whatever it holds (a label without one of its own lets it through), and a change of
// BackColor repaints it without reaching the colours of the controls inside.
TEST(ControlColorTest, BackColorsShowBehindWhatContainersHold) {
  auto form = forms::Form::create("frmColors");
  form->put_ClientWidth(200 * 15);
  form->put_ClientHeight(100 * 15);
  auto pic = std::dynamic_pointer_cast<forms::PictureBox>(form->addControl("Forms.PictureBox", "Picture1"));
  pic->Move(100 * 15, 0, 100 * 15, 100 * 15);
  pic->put_BorderStyle(0);
  pic->put_BackColor(0x0000FF);  // red, in the runtime's blue-green-red order
  auto label = form->addControl("Forms.Label", "Label1", pic.get());
  label->Move(0, 0, 50 * 15, 50 * 15);
  auto text = form->addControl("Forms.TextBox", "Text1", pic.get());
  text->Move(0, 60 * 15, 90 * 15, 20 * 15);
  form->Show();
  const QColor face(212, 208, 200);
  auto pixel = [&](int x, int y) { return form->widget()->grab().toImage().pixelColor(x, y); };
  EXPECT_EQ(pixel(50, 50), face);
  EXPECT_EQ(pixel(190, 50), QColor(255, 0, 0)) << "the picture box's own colour";
  EXPECT_EQ(pixel(140, 40), QColor(255, 0, 0)) << "through the label";

  pic->put_BackColor(0x00FF00);
  testsupport::processQtEvents();
  EXPECT_EQ(pixel(190, 50), QColor(0, 255, 0));
  EXPECT_EQ(pixel(140, 40), QColor(0, 255, 0));
  EXPECT_EQ(text->widget()->palette(), form->widget()->palette()) << "the text box keeps the face's colours";
  form->Unload();
}
