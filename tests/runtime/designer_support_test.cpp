// What a form designer takes from the runtime: a control to and from its entry, removal
// and the form's order, a form embedded in another widget, the control under a widget,
// design-time property changes, and the control libraries on the search path.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/formfile.h"
#include "forms/library.h"
#include "forms/usercontrol.h"
#include "test_support.h"

namespace {

using forms::Variant;

const char* kForm = R"({"class": "Form", "name": "frmEntries", "ClientWidth": 6000, "ClientHeight": 4500, "controls": [
  {"class": "Forms.Label", "name": "lblFirst", "Caption": "First", "Left": 120, "Top": 120, "Width": 1200, "Height": 255},
  {"class": "Forms.Frame", "name": "fraBox", "Caption": "Box", "Left": 120, "Top": 600, "Width": 3000, "Height": 1800,
   "controls": [
     {"class": "Forms.OptionButton", "name": "optPick", "index": 0, "Caption": "A", "Left": 120, "Top": 240, "Width": 1200, "Height": 255},
     {"class": "Probe.Recorder", "name": "Probe1", "Left": 120, "Top": 600, "bag": {"Caption": "inside", "_extentx": 2117, "_extenty": 1058},
      "controls": [{"class": "Forms.TextBox", "name": "txtDeep", "Left": 60, "Top": 60, "Width": 900, "Height": 285}]},
     {"class": "Forms.OptionButton", "name": "optPick", "index": 1, "Caption": "B", "Left": 1500, "Top": 240, "Width": 1200, "Height": 255}]},
  {"class": "Forms.TextBox", "name": "txtLast", "Left": 3300, "Top": 120, "Width": 1500, "Height": 285}]})";

// Taken out and put back, every control of the form leaves the saved bytes as they were:
// the entry is the saver's, the loader makes it again, and the order is the old one.
TEST(ControlEntryTest, RemovedAndPutBackEachControlSavesTheSameBytes) {
  for (bool design : {true, false}) {
    SCOPED_TRACE(design ? "design mode" : "run mode");
    forms::FormPtr form = forms::loadFormFromJson(kForm, "/tmp/entries.json", design);
    const std::string original = forms::saveFormToJson(*form, "/tmp/entries.json");
    std::vector<std::pair<std::string, int16_t>> names;
    for (const forms::ControlPtr& c : form->controls()) names.emplace_back(c->name(), c->index());
    for (const auto& [name, index] : names) {
      SCOPED_TRACE(name + "(" + std::to_string(index) + ")");
      forms::ControlPtr c = form->findControl(name, index);
      const QJsonObject entry = forms::saveControlEntry(*c, "/tmp/entries.json");
      forms::Window* container = c->containerWindow();
      const std::string containerName = container == form.get() ? "" : static_cast<forms::Control*>(container)->name();
      const int16_t containerIndex = container == form.get() ? -1 : static_cast<forms::Control*>(container)->index();
      const std::size_t position = form->orderOf(*c);
      form->removeControl(*c);
      // Gone: its name is free, and what still holds it hears error 91.
      EXPECT_EQ(form->findControl(name, index), nullptr);
      EXPECT_EQ(testsupport::errorOf([&] { forms::get(c, "Left"); }), 91);
      forms::Window* into = form.get();
      if (!containerName.empty()) into = form->findControl(containerName, containerIndex).get();
      forms::loadControlEntry(*form, entry, into, "/tmp/entries.json", position);
      EXPECT_EQ(forms::saveFormToJson(*form, "/tmp/entries.json"), original);
    }
    form->Unload();
  }
}

TEST(ControlEntryTest, ABadEntryFailsNamingItAndLeavesNothing) {
  forms::FormPtr form = forms::loadFormFromJson(kForm, "/tmp/entries.json", true);
  const std::size_t count = form->controls().size();
  const auto bad = QJsonDocument::fromJson(R"({"class": "Forms.Frame", "name": "fraNew", "controls": [
      {"class": "Forms.Label", "name": "lblOk"}, {"class": "Forms.Label", "name": "lblBad", "Wdith": 5}]})").object();
  try {
    forms::loadControlEntry(*form, bad, nullptr, "/tmp/entries.json");
    ADD_FAILURE() << "loaded";
  } catch (const forms::Error& e) {
    EXPECT_NE(e.description().find("'lblBad'"), std::string::npos) << e.description();
    EXPECT_NE(e.description().find("'Wdith'"), std::string::npos) << e.description();
  }
  EXPECT_EQ(form->controls().size(), count);
  EXPECT_EQ(form->findControl("fraNew"), nullptr);
  EXPECT_EQ(form->findControl("lblOk"), nullptr);
  // A name already taken is refused the same way.
  const auto twice = QJsonDocument::fromJson(R"({"class": "Forms.Label", "name": "lblFirst"})").object();
  EXPECT_EQ(testsupport::errorOf([&] { forms::loadControlEntry(*form, twice, nullptr, "/tmp/entries.json"); }), 457);
  form->Unload();
}

// The form a designer edits: inside the designer's own widget, design-time property
// changes reported, and every widget of a control leading back to it.
TEST(DesignedFormTest, EmbeddedFormReportsChangesAndTheControlUnderEachWidget) {
  forms::FormPtr form = forms::loadFormFromJson(kForm, "/tmp/entries.json", true);
  QWidget canvas;
  form->embedIn(&canvas);
  canvas.show();
  form->Show();
  EXPECT_EQ(form->widget()->parentWidget(), &canvas);
  EXPECT_FALSE(form->widget()->isWindow());
  EXPECT_TRUE(form->findControl("txtDeep")->widget()->isVisible());

  auto probe = std::dynamic_pointer_cast<forms::UserControlHost>(form->findControl("Probe1"));
  forms::ControlPtr inner = probe->userControl().addConstituent("Forms.Label", "lblPiece");
  EXPECT_EQ(forms::Control::ofWidget(inner->widget()), probe.get()) << "a piece gives its control";
  EXPECT_EQ(forms::Control::ofWidget(probe->contentWidget()), probe.get());
  EXPECT_EQ(forms::Control::ofWidget(form->findControl("txtDeep")->widget()), form->findControl("txtDeep").get());
  EXPECT_EQ(forms::Control::ofWidget(form->widget()), nullptr);
  EXPECT_EQ(forms::Control::ofWidget(&canvas), nullptr);

  std::vector<std::string> heard;
  form->setPropertyChangedHook([&](forms::Control& c, const std::string& name) { heard.push_back(c.name() + "." + name); });
  forms::let(probe, "Caption", Variant("changed"));
  forms::let(probe, "Left", Variant(240.0f));  // the host's own: no PropertyChanged
  EXPECT_EQ(heard, std::vector<std::string>{"Probe1.Caption"});
  form->Unload();

  // At run time nobody is told.
  forms::FormPtr running = forms::loadFormFromJson(kForm, "/tmp/entries.json", false);
  running->setPropertyChangedHook([&](forms::Control&, const std::string&) { heard.push_back("run"); });
  forms::let(running->findControl("Probe1"), "Caption", Variant("x"));
  EXPECT_EQ(heard.size(), 1u);
  running->Unload();
}

// Libraries found by their entry point, without loading anything else; one that fails
// shows why; one copied in later appears at the next listing.
TEST(ControlLibraryListingTest, ListsLibrariesWithTheirClassesOrTheirError) {
  QTemporaryDir extra;
  const QByteArray before = qgetenv("FORMS_LIBRARY_PATH");
  qputenv("FORMS_LIBRARY_PATH", QByteArray(UNLOADABLE_LIBRARY_DIR) + ":" + extra.path().toUtf8());
  auto find = [](const std::vector<forms::ControlLibraryListing>& all, const std::string& name) -> const forms::ControlLibraryListing* {
    for (const auto& l : all)
      if (l.name == name) return &l;
    return nullptr;
  };
  std::vector<forms::ControlLibraryListing> all = forms::listControlLibraries();
  const auto* probe = find(all, "Probe");
  ASSERT_TRUE(probe);
  EXPECT_TRUE(probe->error.empty());
  ASSERT_EQ(probe->classes.size(), 1u);
  EXPECT_EQ(probe->classes[0]->name, "Recorder");
  EXPECT_EQ(find(all, "forms"), nullptr) << "the runtime itself exports no entry point";
  const auto* broken = find(all, "Unresolved");
  ASSERT_TRUE(broken);
  EXPECT_EQ(broken->info, nullptr);
  EXPECT_NE(broken->error.find("forms_missing_dependency"), std::string::npos) << broken->error;
  EXPECT_EQ(find(all, "Added"), nullptr);

  ASSERT_TRUE(QFile::copy(QString::fromStdString(probe->path), extra.filePath("libAdded.so")));
  all = forms::listControlLibraries();
  const auto* added = find(all, "Added");
  ASSERT_TRUE(added);
  EXPECT_TRUE(added->error.empty()) << added->error;
  EXPECT_EQ(added->classes.size(), 1u);
  qputenv("FORMS_LIBRARY_PATH", before);
}

}  // namespace
