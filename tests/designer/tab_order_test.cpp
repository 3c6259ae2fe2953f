// The Tab order as the designer shows and edits it, against the runtime's own Tab walk
// in the running form; and the alignment commands.
#include <QApplication>
#include <QFile>
#include <QTest>

#include "canvas.h"
#include "designer_fixture.h"
#include "forms/formfile.h"
#include "overlay.h"
#include "tab_order.h"
#include "test_support.h"

using designer::ControlRef;

namespace {

// Option groups in a frame and in a picture box, a Scrollbay holding fields, and what
// is no stop: labels, a frame, a hidden field, a disabled one.
const char* kGroups = R"({"class": "Form", "name": "frmGroups", "ClientWidth": 9000, "ClientHeight": 7200, "controls": [
  {"class": "Forms.TextBox", "name": "txtFirst", "Left": 120, "Top": 120, "Width": 1200, "Height": 285, "TabIndex": 5},
  {"class": "Forms.Label", "name": "lblNote", "Caption": "Note", "Left": 1500, "Top": 120, "Width": 900, "Height": 240, "TabIndex": 0},
  {"class": "Forms.Frame", "name": "fraSize", "Caption": "Size", "Left": 120, "Top": 600, "Width": 3000, "Height": 1500, "TabIndex": 1,
   "controls": [
     {"class": "Forms.OptionButton", "name": "optSmall", "Caption": "Small", "Left": 120, "Top": 240, "Width": 1200, "Height": 240, "TabIndex": 2},
     {"class": "Forms.OptionButton", "name": "optLarge", "Caption": "Large", "Left": 120, "Top": 600, "Width": 1200, "Height": 240, "TabIndex": 3, "Value": true},
     {"class": "Forms.TextBox", "name": "txtInFrame", "Left": 1500, "Top": 240, "Width": 1200, "Height": 285, "TabIndex": 9}]},
  {"class": "Forms.PictureBox", "name": "picColour", "Left": 3300, "Top": 600, "Width": 3000, "Height": 1500, "TabIndex": 4, "TabStop": false,
   "controls": [
     {"class": "Forms.OptionButton", "name": "optRed", "Caption": "Red", "Left": 120, "Top": 120, "Width": 1200, "Height": 240, "TabIndex": 7},
     {"class": "Forms.OptionButton", "name": "optBlue", "Caption": "Blue", "Left": 120, "Top": 480, "Width": 1200, "Height": 240, "TabIndex": 6}]},
  {"class": "Forms.TextBox", "name": "txtHidden", "Left": 120, "Top": 2400, "Width": 1200, "Height": 285, "Visible": false, "TabIndex": 8},
  {"class": "Forms.TextBox", "name": "txtOff", "Left": 1500, "Top": 2400, "Width": 1200, "Height": 285, "Enabled": false, "TabIndex": 8},
  {"class": "ScrollbayCtl.Scrollbay", "name": "Scrollbay1", "Left": 120, "Top": 3000, "TabIndex": 10,
   "bag": {"_extentx": 7408, "_extenty": 3175},
   "controls": [
     {"class": "Forms.TextBox", "name": "txtBayA", "Left": 120, "Top": 120, "Width": 1800, "Height": 285, "TabIndex": 12},
     {"class": "Forms.TextBox", "name": "txtBayB", "Left": 120, "Top": 4800, "Width": 1800, "Height": 285, "TabIndex": 11}]}]})";

std::vector<std::string> names(const std::vector<forms::Control*>& controls) {
  std::vector<std::string> out;
  for (forms::Control* c : controls) out.push_back(ControlRef::of(*c).text());
  return out;
}

// The stops Tab visits in the running form, from the first, with real key presses.
std::vector<std::string> walkTab(const std::string& path, std::size_t count) {
  forms::FormPtr form = forms::loadForm(path);
  form->Show();
  QApplication::setActiveWindow(form->widget());
  testsupport::advance(400);  // the viewports' layers
  // From the first stop on, whatever the window focused when it was shown.
  form->tabStops().front()->SetFocus();
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < count; ++i) {
    forms::Control* at = form->activeControl();
    seen.push_back(at ? ControlRef::of(*at).text() : "none");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  form->Unload();
  testsupport::processQtEvents();
  return seen;
}

}  // namespace

// The badges are the running form's Tab stops in the order Tab takes them: the survey,
// and a form of option groups, nested containers and controls that are no stops.
TEST_F(DesignerTest, BadgesFollowTheRuntimesTabWalk) {
  QFile groups(path("groups.json"));
  ASSERT_TRUE(groups.open(QIODevice::WriteOnly));
  groups.write(kGroups);
  groups.close();
  for (const QString& file : {path("groups.json"), QStringLiteral(SAMPLE_FORM)}) {
    SCOPED_TRACE(file.toStdString());
    designer::Canvas canvas(designer::Document::open(file));
    canvas.overlay().setTabOrderMode(true);
    const std::vector<std::string> badges = names(canvas.overlay().badges());
    ASSERT_GT(badges.size(), 4u);
    EXPECT_EQ(walkTab(file.toStdString(), badges.size()), badges);
    if (file == path("groups.json")) {
      // By TabIndex: Large (3) for its group, First (5), Blue (6) for its, ... the two in the Scrollbay by theirs.
      EXPECT_EQ(badges, (std::vector<std::string>{"optLarge", "txtFirst", "optBlue", "txtInFrame", "Scrollbay1", "txtBayB", "txtBayA"}));
    }
  }
}

// Clicks put stops first in turn, an option group as one; Ctrl+click goes on from the
// control clicked; the edit is one step. Ordered by position: rows, then columns, in
// each container after it.
TEST_F(DesignerTest, ClicksSetTheTabOrderInOneStepAndPositionsOrderIt) {
  QFile groups(path("groups.json"));
  ASSERT_TRUE(groups.open(QIODevice::WriteOnly));
  groups.write(kGroups);
  groups.close();
  designer::Canvas canvas(designer::Document::open(path("groups.json")));
  canvas.resize(800, 600);
  canvas.show();
  testsupport::processQtEvents();
  designer::Overlay& overlay = canvas.overlay();
  designer::Document& doc = canvas.document();
  const std::string opened = doc.bytes();
  auto click = [&](const char* name, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(&overlay, Qt::LeftButton, keys, overlay.pixelRect(*doc.form().findControl(name)).center());
  };
  overlay.setTabOrderMode(true);
  click("txtBayA");
  click("optSmall");  // its group, whose stop is the checked Large
  click("txtInFrame");
  EXPECT_EQ(names(overlay.badges()), (std::vector<std::string>{"txtBayA", "optLarge", "txtInFrame", "txtFirst", "optBlue", "Scrollbay1", "txtBayB"}));
  click("Scrollbay1", Qt::ControlModifier);
  click("txtFirst");
  EXPECT_EQ(names(overlay.badges()), (std::vector<std::string>{"txtBayA", "optLarge", "txtInFrame", "optBlue", "Scrollbay1", "txtFirst", "txtBayB"}));
  EXPECT_EQ(doc.history().count(), 1) << "one edit, one step";
  // A click on what is no stop changes nothing.
  click("lblNote");
  EXPECT_EQ(doc.history().count(), 1);
  doc.history().undo();
  EXPECT_EQ(doc.bytes(), opened);

  doc.setTabIndexes(designer::numbered(designer::byPosition(doc.form())), "Order by position");
  EXPECT_EQ(names(overlay.badges()), (std::vector<std::string>{"txtFirst", "optLarge", "txtInFrame", "optBlue", "Scrollbay1", "txtBayA", "txtBayB"}));
  EXPECT_EQ(doc.history().count(), 1);
}

// Each alignment lines the chosen controls up with the first chosen, as one step.
TEST_F(DesignerTest, AlignmentLinesUpWithTheFirstChosen) {
  openSample();
  using A = designer::Document::Alignment;
  const std::vector<ControlRef> three{{"txtTitle", -1}, {"lblTitle", -1}, {"fraChoice", -1}};
  auto rect = [&](const char* n) { return designer::Document::rectOf(*doc->form().findControl(n)); };
  const QRectF lead = rect("txtTitle");
  struct Case {
    A how;
    std::function<bool()> holds;
  };
  const Case cases[] = {
      {A::Lefts, [&] { return rect("lblTitle").left() == lead.left() && rect("fraChoice").left() == lead.left(); }},
      {A::Rights, [&] { return rect("lblTitle").right() == lead.right() && rect("fraChoice").right() == lead.right(); }},
      {A::Tops, [&] { return rect("lblTitle").top() == lead.top() && rect("fraChoice").top() == lead.top(); }},
      {A::Bottoms, [&] { return rect("fraChoice").bottom() == lead.bottom(); }},
      {A::Centres, [&] { return rect("fraChoice").center().x() == lead.center().x(); }},
      {A::Middles, [&] { return rect("lblTitle").center().y() == lead.center().y(); }},
      {A::SameWidth, [&] { return rect("fraChoice").width() == lead.width() && rect("fraChoice").height() == 1800; }},
      {A::SameHeight, [&] { return rect("fraChoice").height() == lead.height(); }},
      {A::SameSize, [&] { return rect("lblTitle").size() == lead.size(); }},
  };
  const std::string opened = doc->bytes();
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.how));
    doc->align(three, c.how);
    EXPECT_TRUE(c.holds());
    EXPECT_EQ(doc->history().count(), 1);
    doc->history().undo();
    EXPECT_EQ(doc->bytes(), opened);
    doc->history().clear();
  }
  // Spread: the outer two stay, the gaps between all come out equal.
  const std::vector<ControlRef> row{{"lblTitle", -1}, {"txtTitle", -1}, {"picArea", -1}};
  doc->align(row, A::SpaceAcross);
  const double gap1 = rect("txtTitle").left() - rect("lblTitle").right();
  const double gap2 = rect("picArea").left() - rect("txtTitle").right();
  EXPECT_DOUBLE_EQ(gap1, gap2);
  EXPECT_EQ(rect("lblTitle").left(), 120);
  // Another container's control is left where it is.
  const QRectF inFrame = designer::Document::rectOf(*doc->form().findControl("optPick", 0));
  doc->align({{"lblTitle", -1}, {"optPick", 0}}, A::Tops);
  EXPECT_EQ(designer::Document::rectOf(*doc->form().findControl("optPick", 0)), inFrame);
}
