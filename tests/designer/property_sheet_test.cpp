// The property sheet against the type information it reads, with real clicks and keys
// in its editors, and against the file the edits end up in.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QJsonDocument>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "designer_fixture.h"
#include "forms/control.h"
#include "forms/font.h"
#include "forms/standard_classes.h"
#include "forms/usercontrol.h"
#include "property_sheet.h"
#include "test_support.h"

using designer::ControlRef;
using designer::Editor;
using designer::PropertySheet;

namespace {

std::vector<std::string> rowNames(const PropertySheet& sheet) {
  std::vector<std::string> out;
  for (const designer::PropertyRow& r : sheet.rows()) out.push_back(r.name);
  return out;
}

QString entryOf(designer::Document& doc, const std::string& name) {
  const QJsonArray entries = doc.entries({ControlRef{name, -1}});
  return entries.isEmpty() ? QString() : QString::fromUtf8(QJsonDocument(entries[0].toObject()).toJson(QJsonDocument::Compact));
}

class PropertySheetTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    openSample();
    sheet = std::make_unique<PropertySheet>();
    sheet->resize(420, 900);
    sheet->tree().setColumnWidth(0, 150);
    sheet->show();
    QApplication::setActiveWindow(sheet.get());
    sheet->setDocument(doc.get());
  }
  void TearDown() override {
    sheet.reset();
    DesignerTest::TearDown();
  }
  void choose(std::vector<ControlRef> controls) {
    doc->select(std::move(controls));
    sheet->refresh();
  }
  // Clicks a row's value, which opens its editor; the editor's focused part.
  QWidget* openEditor(const QString& name) {
    QTreeWidgetItem* item = sheet->itemOf(name);
    if (!item) return nullptr;
    QTreeWidget& tree = sheet->tree();
    tree.scrollToItem(item);
    const QRect r = tree.visualItemRect(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(tree.header()->sectionPosition(1) + 20, r.center().y()));
    testsupport::processQtEvents();
    return QApplication::focusWidget();
  }
  void settle() {
    testsupport::processQtEvents();
    sheet->refresh();
  }

  std::unique_ptr<PropertySheet> sheet;
};

}  // namespace

// A Scrollbay lists the extender's properties, then its own that can be read and
// written and are shown, in slot order; each with a description says it word for word.
TEST_F(PropertySheetTest, ScrollbayRowsAreItsBrowsableMembersWithTheirDescriptions) {
  choose({{"Scrollbay1", -1}});
  const std::vector<std::string> expected = {
      "Name", "Index", "Container", "Left", "Top", "Width", "Height", "Visible", "TabIndex", "TabStop", "Font",
      "Appearance", "BackColor", "ScrollbarBackColor", "Enabled", "BorderStyle", "AutoAdjustExtent", "RightMargin",
      "BottomMargin", "VirtualHeight", "VirtualWidth", "Scrollbars", "ToolTipText", "AutoFillContainer", "LeftFillMargin",
      "TopFillMargin", "RightFillMargin", "BottomFillMargin", "AutoScroll", "Picture", "Tag", "MousePointer", "MouseIcon"};
  EXPECT_EQ(rowNames(*sheet), expected);
  const auto* host = dynamic_cast<forms::UserControlHost*>(ControlRef{"Scrollbay1", -1}.control(doc->form()));
  ASSERT_NE(host, nullptr);
  int described = 0;
  for (const forms::MemberInfo& m : host->typeInfo().members) {
    if (m.description.empty() || !sheet->itemOf(QString::fromStdString(m.name))) continue;
    sheet->tree().setCurrentItem(sheet->itemOf(QString::fromStdString(m.name)));
    EXPECT_TRUE(sheet->description().contains(QString::fromStdString(m.description))) << m.name;
    ++described;
  }
  EXPECT_GE(described, 20);
  // An enumeration's value names its member, and the pane describes the member too.
  EXPECT_EQ(sheet->shownValue("Scrollbars"), "0 - vpAuto");
  sheet->tree().setCurrentItem(sheet->itemOf("Scrollbars"));
  EXPECT_TRUE(sheet->description().contains("vpAuto: vpAuto")) << sheet->description().toStdString();
  // Editors by type.
  EXPECT_EQ(sheet->rowOf("Scrollbars")->editor, Editor::Enumeration);
  EXPECT_EQ(sheet->rowOf("BackColor")->editor, Editor::Colour);
  EXPECT_EQ(sheet->rowOf("Picture")->editor, Editor::Picture);
  EXPECT_EQ(sheet->rowOf("Font")->editor, Editor::Font);
  EXPECT_EQ(sheet->rowOf("Container")->editor, Editor::ReadOnly);
  EXPECT_EQ(sheet->rowOf("Index")->editor, Editor::ReadOnly);
  EXPECT_EQ(sheet->rowOf("AutoScroll")->editor, Editor::Boolean);
  EXPECT_EQ(sheet->shownValue("BackColor"), "Button face");
  // Lengths say their unit.
  sheet->tree().setCurrentItem(sheet->itemOf("Left"));
  EXPECT_TRUE(sheet->description().contains("twips")) << sheet->description().toStdString();

  // A library's class: its hidden method, its non-browsable and its read-only members stay out.
  choose({{"Probe1", -1}});
  const std::vector<std::string> probe = rowNames(*sheet);
  EXPECT_NE(std::find(probe.begin(), probe.end(), "Caption"), probe.end());
  for (const char* absent : {"Number", "Log", "FireChanged", "hWnd", "Parent"})
    EXPECT_EQ(std::find(probe.begin(), probe.end(), absent), probe.end()) << absent;
}

// The standard classes and the form: every member their class information lists as
// read and written and shown is a row, in slot order, and nothing else is.
TEST_F(PropertySheetTest, StandardClassesAndTheFormListTheirClassInformation) {
  auto check = [&](forms::Window& target, const std::string& what) {
    const std::vector<designer::PropertyRow> rows = designer::propertyRows(target);
    const forms::ClassInfo& info = target.classInfo();
    std::vector<std::string> expected;
    for (const forms::MemberInfo& m : info.members) {
      const bool rw = m.has(forms::CallKind::Get) && (m.has(forms::CallKind::Let) || m.has(forms::CallKind::Set));
      const bool identity = m.name == "Name" || (m.name == "Index" && dynamic_cast<forms::Control*>(&target));
      if ((rw && !m.hidden && !m.nonBrowsable && !m.has(forms::CallKind::Method)) || identity) expected.push_back(m.name);
    }
    std::vector<std::string> got;
    for (const designer::PropertyRow& r : rows) got.push_back(r.name);
    EXPECT_EQ(got, expected) << what;
  };
  for (const std::string& id : forms::standardClassIds()) {
    const ControlRef made = doc->insert(id, {}, QRectF(120, 4800, 0, 0));
    check(*made.control(doc->form()), id);
  }
  check(doc->form(), "the form");
  choose({});
  EXPECT_EQ(rowNames(*sheet), (std::vector<std::string>{"Name", "Caption", "ClientWidth", "ClientHeight", "ScaleMode", "ScaleWidth",
                                                         "ScaleHeight", "KeyPreview"}));
  EXPECT_EQ(sheet->rowOf("Name")->editor, Editor::ReadOnly);
  // Text boxes show their colour as a colour.
  choose({{"txtTitle", -1}});
  EXPECT_EQ(sheet->rowOf("BackColor")->editor, Editor::Colour);
}

// Through the editors with real input: a Scrollbay's Scrollbars from its list, a colour
// typed, a margin typed; each one step, found in the control's bag, undone one by one.
TEST_F(PropertySheetTest, EditorsSetValuesAsOneStepEach) {
  choose({{"Scrollbay1", -1}});
  const std::string opened = doc->bytes();
  auto* list = qobject_cast<QComboBox*>(openEditor("Scrollbars"));
  ASSERT_NE(list, nullptr) << "a list for an enumeration";
  EXPECT_EQ(list->count(), 5);
  QTest::keyClick(list, Qt::Key_Down);
  settle();
  EXPECT_EQ(sheet->shownValue("Scrollbars"), "1 - vpBoth");
  EXPECT_TRUE(entryOf(*doc, "Scrollbay1").contains("\"Scrollbars\":1")) << entryOf(*doc, "Scrollbay1").toStdString();
  EXPECT_EQ(doc->history().count(), 1);

  auto* colour = qobject_cast<QComboBox*>(openEditor("BackColor"));
  ASSERT_NE(colour, nullptr);
  ASSERT_TRUE(colour->isEditable()) << "a colour can be typed";
  colour->lineEdit()->selectAll();
  QTest::keyClicks(colour, "#FF8000");
  QTest::keyClick(colour, Qt::Key_Return);
  settle();
  EXPECT_EQ(sheet->shownValue("BackColor"), "#FF8000");
  EXPECT_TRUE(entryOf(*doc, "Scrollbay1").contains(QStringLiteral("\"BackColor\":%1").arg(0x0080FF)));
  EXPECT_EQ(doc->history().count(), 2);

  auto* margin = qobject_cast<QLineEdit*>(openEditor("RightMargin"));
  ASSERT_NE(margin, nullptr);
  margin->selectAll();
  QTest::keyClicks(margin, "450");
  QTest::keyClick(margin, Qt::Key_Return);
  settle();
  EXPECT_EQ(sheet->shownValue("RightMargin"), "450");
  EXPECT_EQ(doc->history().count(), 3);
  EXPECT_TRUE(sheet->isNonDefault("RightMargin"));
  EXPECT_FALSE(sheet->isNonDefault("Left")) << "where a control lies has no default";

  // The system colours by name, from the same list.
  auto* colours = qobject_cast<QComboBox*>(openEditor("ScrollbarBackColor"));
  ASSERT_NE(colours, nullptr);
  colours->setCurrentIndex(colours->findText("Window background"));
  emit colours->activated(colours->currentIndex());
  settle();
  EXPECT_EQ(sheet->shownValue("ScrollbarBackColor"), "Window background");
  EXPECT_EQ(doc->history().count(), 4);

  for (int i = 0; i < 4; ++i) doc->history().undo();
  settle();
  EXPECT_EQ(doc->bytes(), opened);
  EXPECT_EQ(sheet->shownValue("Scrollbars"), "0 - vpAuto");
}

// A value the runtime refuses shows its message on the row and changes nothing; the
// next good value clears it.
TEST_F(PropertySheetTest, ARefusedValueShowsTheRuntimesMessageAndChangesNothing) {
  choose({{"Scrollbay1", -1}});
  const std::string opened = doc->bytes();
  struct Case {
    const char* row;
    const char* typed;
    int number;
  };
  for (const Case& c : {Case{"Appearance", "5", 380}, Case{"Left", "far", 13}, Case{"TabIndex", "70000", 6}, Case{"Name", "2nd", 5}}) {
    EXPECT_FALSE(sheet->applyText(c.row, c.typed)) << c.row;
    settle();
    EXPECT_TRUE(sheet->errorOf(c.row).contains(QStringLiteral("error %1").arg(c.number))) << c.row << ": " << sheet->errorOf(c.row).toStdString();
    EXPECT_EQ(sheet->itemOf(c.row)->text(1), sheet->errorOf(c.row));
    EXPECT_TRUE(doc->bytes() == opened) << c.row;
    EXPECT_EQ(doc->history().count(), 0) << c.row;
  }
  EXPECT_FALSE(sheet->applyText("Name", "txtTitle"));
  EXPECT_TRUE(sheet->errorOf("Name").contains("error 457"));
  EXPECT_TRUE(sheet->applyText("Scrollbars", "vpVertical"));
  settle();
  EXPECT_TRUE(sheet->errorOf("Name").isEmpty());
  EXPECT_EQ(sheet->shownValue("Scrollbars"), "3 - vpVertical");

  // The form's own, and a picture file that is not there.
  choose({});
  EXPECT_FALSE(sheet->applyText("ClientWidth", "-5"));
  EXPECT_TRUE(sheet->errorOf("ClientWidth").contains("error 380"));
  choose({{"Scrollbay1", -1}});
  EXPECT_FALSE(sheet->applyText("Picture", "missing.png"));
  EXPECT_TRUE(sheet->errorOf("Picture").contains("error 53")) << sheet->errorOf("Picture").toStdString();
  EXPECT_EQ(doc->history().count(), 1);
}

// Several controls: what they share, blank where they differ, one step for an edit; a
// rename from the sheet keeps the control chosen.
TEST_F(PropertySheetTest, SeveralControlsShowWhatTheyShareAndAreEditedAsOne) {
  choose({{"lblTitle", -1}, {"txtTitle", -1}});
  const std::vector<std::string> shared = rowNames(*sheet);
  for (const char* absent : {"Name", "Index", "Caption", "Text"})
    EXPECT_EQ(std::find(shared.begin(), shared.end(), absent), shared.end()) << absent;
  for (const char* present : {"Left", "Top", "Width", "BackColor", "Visible"})
    EXPECT_NE(std::find(shared.begin(), shared.end(), present), shared.end()) << present;
  EXPECT_EQ(sheet->shownValue("Left"), "") << "120 and 1440";
  EXPECT_EQ(sheet->shownValue("Top"), "120");
  ASSERT_TRUE(sheet->applyText("Left", "600"));
  settle();
  EXPECT_EQ(sheet->shownValue("Left"), "600");
  EXPECT_EQ(doc->history().count(), 1);
  doc->history().undo();
  settle();
  EXPECT_EQ(sheet->shownValue("Left"), "");
  EXPECT_EQ(forms::get(*ControlRef{"txtTitle", -1}.control(doc->form()), "Left").toInt32(), 1440);

  choose({{"txtTitle", -1}});
  ASSERT_TRUE(sheet->applyText("Name", "txtHeading"));
  settle();
  EXPECT_EQ(doc->selection(), (std::vector<ControlRef>{{"txtHeading", -1}}));
  EXPECT_EQ(sheet->shownValue("Name"), "txtHeading");
}

// Bold where a value is not the class's default, and reset to it; a new control's
// caption, which is its name, is not counted as changed.
TEST_F(PropertySheetTest, ValuesOffTheDefaultAreBoldAndResetToIt) {
  const ControlRef label = doc->insert("Forms.Label", {}, QRectF(120, 4800, 1200, 240));
  choose({label});
  EXPECT_FALSE(sheet->isNonDefault("Caption")) << sheet->shownValue("Caption").toStdString();
  // The form's caption starts as its name too, and its size has no default.
  choose({});
  EXPECT_FALSE(sheet->isNonDefault("Caption"));
  EXPECT_FALSE(sheet->isNonDefault("ClientWidth"));
  ASSERT_TRUE(sheet->applyText("Caption", "Survey"));
  settle();
  EXPECT_TRUE(sheet->isNonDefault("Caption"));
  EXPECT_FALSE(sheet->canReset("Caption")) << "no caption to go back to but the name";
  choose({{"Scrollbay1", -1}});
  EXPECT_FALSE(sheet->isNonDefault("Scrollbars"));
  EXPECT_FALSE(sheet->canReset("Scrollbars"));
  const QString before = entryOf(*doc, "Scrollbay1");
  ASSERT_TRUE(sheet->applyText("Scrollbars", "4"));
  ASSERT_TRUE(sheet->applyText("AutoScroll", "False"));
  settle();
  EXPECT_TRUE(sheet->isNonDefault("Scrollbars"));
  EXPECT_TRUE(sheet->itemOf("Scrollbars")->font(0).bold());
  EXPECT_FALSE(sheet->itemOf("Enabled")->font(0).bold());
  // The button under the filter, for the current row.
  auto* reset = sheet->findChild<QToolButton*>("propertyReset");
  ASSERT_NE(reset, nullptr);
  sheet->tree().setCurrentItem(sheet->itemOf("Enabled"));
  EXPECT_FALSE(reset->isEnabled());
  sheet->tree().setCurrentItem(sheet->itemOf("Scrollbars"));
  ASSERT_TRUE(reset->isEnabled());
  QTest::mouseClick(reset, Qt::LeftButton);
  sheet->resetToDefault("AutoScroll");
  settle();
  EXPECT_EQ(sheet->shownValue("Scrollbars"), "0 - vpAuto");
  EXPECT_FALSE(sheet->itemOf("Scrollbars")->font(0).bold());
  EXPECT_EQ(entryOf(*doc, "Scrollbay1"), before) << "the default is what the bag leaves out";

  // A picture from a file beside the form is saved by a path relative to the form, and
  // a reset takes it away again.
  QImage tile(8, 8, QImage::Format_RGB32);
  tile.fill(Qt::darkCyan);
  ASSERT_TRUE(tile.save(path("tile.png")));
  ASSERT_TRUE(sheet->applyText("Picture", path("tile.png")));
  settle();
  EXPECT_EQ(sheet->shownValue("Picture"), "tile.png");
  EXPECT_TRUE(sheet->isNonDefault("Picture"));
  EXPECT_NE(doc->bytes().find(R"("picture": "tile.png")"), std::string::npos);
  sheet->resetToDefault("Picture");
  settle();
  EXPECT_EQ(sheet->shownValue("Picture"), "(none)");
  EXPECT_EQ(entryOf(*doc, "Scrollbay1"), before);

  // A font, as its dialog gives one, on a text box; reset makes a font of its own again.
  choose({{"txtTitle", -1}});
  auto font = std::make_shared<forms::Font>();
  font->put_Name("Liberation Serif");
  font->put_Size(12);
  font->put_Bold(true);
  ASSERT_TRUE(sheet->apply(*sheet->rowOf("Font"), forms::Variant(forms::ObjectPtr(font))));
  settle();
  EXPECT_EQ(sheet->shownValue("Font"), "Liberation Serif, 12 pt, bold");
  EXPECT_TRUE(sheet->isNonDefault("Font"));
  sheet->resetToDefault("Font");
  settle();
  EXPECT_EQ(sheet->shownValue("Font"), "MS Sans Serif, 8.25 pt");
  EXPECT_FALSE(sheet->isNonDefault("Font"));
  EXPECT_NE(forms::get(*ControlRef{"txtTitle", -1}.control(doc->form()), "Font").toObject(), font);
}

// A control that changes its own settings in design mode: the sheet follows, and its
// undo too. Filter and A-Z order keep the rows' values.
TEST_F(PropertySheetTest, AControlsOwnChangeShowsAndTheRowsFilterAndSort) {
  choose({{"Probe1", -1}});
  const QString was = sheet->shownValue("Caption");
  forms::let(*ControlRef{"Probe1", -1}.control(doc->form()), "Caption", forms::Variant("said by itself"));
  testsupport::processQtEvents();
  EXPECT_EQ(sheet->shownValue("Caption"), "said by itself");
  doc->history().undo();
  testsupport::processQtEvents();
  EXPECT_EQ(sheet->shownValue("Caption"), was);

  choose({{"Scrollbay1", -1}});
  sheet->setFilter("margin");
  int shown = 0;
  for (int i = 0; i < sheet->tree().topLevelItemCount(); ++i)
    if (!sheet->tree().topLevelItem(i)->isHidden()) {
      EXPECT_TRUE(sheet->tree().topLevelItem(i)->text(0).contains("Margin")) << sheet->tree().topLevelItem(i)->text(0).toStdString();
      ++shown;
    }
  EXPECT_EQ(shown, 6);
  sheet->setFilter({});
  sheet->setAlphabetical(true);
  EXPECT_EQ(sheet->tree().topLevelItem(0)->text(0), "Appearance");
  EXPECT_EQ(sheet->itemOf("Scrollbars")->text(1), "0 - vpAuto");
}
