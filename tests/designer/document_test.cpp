// The document's steps: every kind of change undone and done again gives the bytes of
// each state it passed through, and the journal gives them back in a new document.
#include <QJsonArray>
#include <QStringList>
#include <random>
#include <set>

#include "designer_fixture.h"
#include "forms/collection.h"
#include "forms/formfile.h"
#include "forms/usercontrol.h"
#include "naming.h"

using designer::ControlRef;
using designer::Placement;

namespace {

std::vector<ControlRef> allControls(forms::Form& form) {
  std::vector<ControlRef> out;
  for (const forms::ControlPtr& c : form.controls()) out.push_back(ControlRef::of(*c));
  return out;
}

std::vector<ControlRef> containers(forms::Form& form) {
  std::vector<ControlRef> out{ControlRef{}};
  for (const forms::ControlPtr& c : form.controls())
    if (c->isContainer()) out.push_back(ControlRef::of(*c));
  return out;
}

bool inside(const forms::Window* w, const forms::Window* container) {
  for (; w; w = w->containerWindow())
    if (w == container) return true;
  return false;
}

}  // namespace

// 500 seeded steps of every kind, some undone on the way: then the history walked back
// to the start and forward to the end passes through each state's bytes.
TEST_F(DesignerTest, RandomStepsUndoToTheOriginalBytesAndRedoToTheFinalOnes) {
  openSample();
  forms::Form& form = doc->form();
  std::mt19937 random(20261209);
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  auto coin = [&](int in) { return pick(static_cast<std::size_t>(in)) == 0; };
  std::vector<std::string> at{doc->bytes()};  // the bytes at each index of the history
  int stepNow = 0;
  // An undo or redo the runtime refuses is reported, never thrown into the history.
  QObject::connect(doc.get(), &designer::Document::problem,
                   [&](const QString& m) { ADD_FAILURE() << "at step " << stepNow << ": " << m.toStdString(); });
  std::map<std::string, int> kinds;
  const std::vector<std::string> classes{"Forms.Label", "Forms.TextBox", "Forms.Frame", "Forms.CheckBox", "Forms.OptionButton",
                                         "Forms.PictureBox", "Probe.Recorder", "ScrollbayCtl.Scrollbay"};
  for (int step = 0; step < 500; ++step) {
    stepNow = step;
    std::vector<ControlRef> controls = allControls(form);
    const std::size_t kind = controls.size() < 4 ? 0 : pick(9);
    std::string name;
    switch (kind) {
      case 0: {
        name = "insert";
        const std::string& classId = classes[pick(classes.size())];
        const auto into = containers(form);
        doc->insert(classId, into[pick(into.size())], QRectF(120.0 * pick(20), 120.0 * pick(20), coin(3) ? 0 : 1200, 360));
        break;
      }
      case 1: {
        name = "delete";
        std::vector<ControlRef> some{controls[pick(controls.size())]};
        if (coin(2)) some.push_back(controls[pick(controls.size())]);
        doc->remove(some);
        break;
      }
      case 2:
      case 3: {
        name = kind == 2 ? "move" : "resize";
        // A burst: the same controls nudged again merge into one step.
        const ControlRef c = controls[pick(controls.size())];
        const QString key = coin(2) ? QStringLiteral("burst") : QString();
        for (int n = 0; n < (key.isEmpty() ? 1 : 3); ++n) {
          const QRectF now = designer::Document::rectOf(*c.control(form));
          QRectF next = now;
          if (kind == 2) next.translate(120.0 * (static_cast<int>(pick(5)) - 2), 120.0 * (static_cast<int>(pick(5)) - 2));
          else next.setSize(QSizeF(std::max(120.0, now.width() + 120.0 * (static_cast<int>(pick(5)) - 2)), now.height() + 15 * pick(3)));
          doc->setGeometry({Placement{c, now, next}}, QStringLiteral("Move"), key);
        }
        break;
      }
      case 4: {
        name = "paste";
        const QJsonArray copied = doc->entries({controls[pick(controls.size())], controls[pick(controls.size())]});
        const auto into = containers(form);
        doc->paste(copied, into[pick(into.size())], QPointF(120, 120));
        break;
      }
      case 5: {
        name = "reparent";
        const ControlRef c = controls[pick(controls.size())];
        std::vector<ControlRef> into;
        for (const ControlRef& k : containers(form))
          if (!inside(k.resolve(form), c.control(form))) into.push_back(k);
        doc->reparent({c}, into[pick(into.size())], {QPointF(120.0 * pick(10), 120.0 * pick(10))});
        break;
      }
      case 6: {
        name = "own change";
        std::vector<forms::Control*> probes;
        for (const forms::ControlPtr& c : form.controls())
          if (c->classId() == "Probe.Recorder") probes.push_back(c.get());
        if (probes.empty()) continue;
        // As the control's own code would, outside any step of the designer's.
        forms::let(*probes[pick(probes.size())], "Number", forms::Variant(static_cast<int32_t>(pick(1000)) + 1));
        break;
      }
      case 7:
        name = "undo";
        doc->history().undo();
        break;
      default:
        name = "redo";
        doc->history().redo();
        break;
    }
    ++kinds[name];
    at.resize(static_cast<std::size_t>(doc->history().index()) + 1);
    at.back() = doc->bytes();
  }
  for (const char* k : {"insert", "delete", "move", "resize", "paste", "reparent", "own change", "undo"})
    EXPECT_GT(kinds[k], 10) << k;
  const int end = doc->history().index();
  ASSERT_GT(end, 200);
  ASSERT_EQ(static_cast<std::size_t>(end), at.size() - 1);

  // The journal, read back into a new document, is the same work and the same history.
  {
    const auto journals = designer::Journal::findRecoverable();
    ASSERT_EQ(journals.size(), 0u) << "this designer is running: not offered";
    // A copy: a recovered journal becomes the recovered document's, and goes.
    ASSERT_TRUE(QFile::copy(doc->journal()->filePath(), path("copy.journal")));
    std::unique_ptr<designer::Document> copy = designer::Document::recover(designer::Journal::read(path("copy.journal")));
    EXPECT_EQ(copy->bytes(), at.back());
    EXPECT_EQ(copy->history().index(), end);
    EXPECT_EQ(copy->history().count(), doc->history().count());
    copy->close();
  }

  for (int i = end; i >= 0; --i) {
    doc->history().setIndex(i);
    ASSERT_EQ(doc->bytes(), at[static_cast<std::size_t>(i)]) << "undone to " << i;
  }
  EXPECT_FALSE(doc->isModified());
  for (int i = 1; i <= end; ++i) {
    doc->history().setIndex(i);
    ASSERT_EQ(doc->bytes(), at[static_cast<std::size_t>(i)]) << "done again to " << i;
  }
  // Nothing broke on the way: every name is one control's, the file loads again.
  std::set<std::pair<std::string, int16_t>> names;
  for (const forms::ControlPtr& c : form.controls()) EXPECT_TRUE(names.insert({forms::lowerCase(c->name()), c->index()}).second) << c->name();
  forms::FormPtr again = forms::loadFormFromJson(at.back(), path("design.json").toStdString(), true);
  EXPECT_EQ(forms::saveFormToJson(*again, path("design.json").toStdString()), at.back());
  again->Unload();
}

// Pasted twice: a frame and its option group get names and indexes of their own.
TEST_F(DesignerTest, PastedControlsGetFreeNamesAndArrayIndexes) {
  openSample();
  const QJsonArray frame = doc->entries({ControlRef{"fraChoice", -1}});
  const QJsonArray option = doc->entries({ControlRef{"optPick", 1}});
  const auto first = doc->paste(frame, {}, QPointF(0, 2400));
  const auto second = doc->paste(frame, {}, QPointF(0, 4800));
  const auto third = doc->paste(option, {"fraChoice", -1});
  EXPECT_EQ(first, (std::vector<ControlRef>{{"fraChoice1", -1}}));
  EXPECT_EQ(second, (std::vector<ControlRef>{{"fraChoice2", -1}}));
  EXPECT_EQ(third, (std::vector<ControlRef>{{"optPick", 6}})) << "the next free index of the array";
  forms::Form& form = doc->form();
  for (int16_t i = 0; i < 7; ++i) EXPECT_TRUE(form.findControl("optPick", i)) << i;
  EXPECT_EQ(form.findControl("optPick", 2)->containerWindow(), form.findControl("fraChoice1").get());
  // A name taken by a single control: a fresh one with the same stem.
  const auto label = doc->paste(doc->entries({ControlRef{"lblTitle", -1}}), {});
  EXPECT_EQ(label, (std::vector<ControlRef>{{"lblTitle1", -1}}));
  designer::Naming naming(form);
  EXPECT_EQ(naming.freshName(designer::baseNameFor("ScrollbayCtl.Scrollbay")), "Scrollbay2");
  EXPECT_EQ(naming.freshName(designer::baseNameFor("Forms.TextBox")), "Text1");
}

// A control changing its own settings is one step, which undo takes back; what a control
// says of itself while the designer makes it is part of that step.
TEST_F(DesignerTest, AControlsOwnChangeIsOneStepAndAStepsOwnChangesAreNotMore) {
  openSample();
  const std::string opened = doc->bytes();
  const ControlRef probe = doc->insert("Probe.Recorder", {"picArea", -1}, QRectF(120, 120, 0, 0));
  EXPECT_EQ(doc->history().count(), 1) << "its InitProperties is the insert's";
  const std::string inserted = doc->bytes();
  forms::let(*probe.control(doc->form()), "Caption", forms::Variant("mine"));
  forms::let(*probe.control(doc->form()), "Caption", forms::Variant("mine"));  // no change, no step
  EXPECT_EQ(doc->history().count(), 2);
  EXPECT_NE(doc->bytes().find("\"mine\""), std::string::npos);
  doc->history().undo();
  EXPECT_EQ(doc->bytes(), inserted);
  EXPECT_EQ(forms::get(*probe.control(doc->form()), "Caption").toString(), "new");
  doc->history().undo();
  EXPECT_EQ(doc->bytes(), opened);
}

// Saved, a move changes only the moved control's Left and Top lines; moved back and
// saved again, the file is as it was.
TEST_F(DesignerTest, AMoveChangesOnlyThatControlsPositionInTheFile) {
  openSample();
  doc->save();
  QFile file(path("design.json"));
  auto read = [&] {
    file.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    return text.split('\n');
  };
  const QStringList saved = read();
  EXPECT_EQ(saved.join('\n').toStdString(), doc->bytes()) << "a file saved with no edit is the saver's bytes";
  EXPECT_FALSE(doc->isModified());
  const ControlRef field{"txtInside", -1};
  const QRectF at = designer::Document::rectOf(*field.control(doc->form()));
  doc->setGeometry({Placement{field, at, at.translated(240, 120)}}, "Move", "nudge");
  doc->setGeometry({Placement{field, at.translated(240, 120), at.translated(360, 240)}}, "Move", "nudge");
  EXPECT_EQ(doc->history().count(), 1) << "a burst is one step";
  EXPECT_TRUE(doc->isModified());
  doc->save();
  const QStringList moved = read();
  ASSERT_EQ(moved.size(), saved.size());
  QStringList changed;
  for (qsizetype i = 0; i < saved.size(); ++i)
    if (saved[i] != moved[i]) changed << moved[i].trimmed();
  EXPECT_EQ(changed, (QStringList{"\"Left\": 480,", "\"Top\": 360,"}));
  doc->setGeometry({Placement{field, at.translated(360, 240), at}}, "Move");
  doc->save();
  EXPECT_EQ(read(), saved);
}
