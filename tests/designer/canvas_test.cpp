// The canvas as a person uses it, offscreen: real mouse and keys on the overlay and in
// the main window, each gesture one step of the history.
#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>
#include <QTreeWidget>

#include "canvas.h"
#include "designer_fixture.h"
#include "main_window.h"
#include "overlay.h"
#include "test_support.h"
#include "toolbox.h"

using designer::ControlRef;
using designer::MainWindow;

namespace {

class CanvasTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    openSample();
    window = std::make_unique<MainWindow>();
    window->setUnsavedQuestion([this](designer::Document&) {
      ++asked;
      return answer;
    });
    window->adopt(std::move(doc));
    window->resize(1100, 800);
    window->show();
    QApplication::setActiveWindow(window.get());
    testsupport::processQtEvents();
  }
  void TearDown() override {
    if (window) window->setUnsavedQuestion([](designer::Document&) { return MainWindow::Unsaved::Discard; });
    window.reset();
    DesignerTest::TearDown();
  }
  designer::Document& document() { return *window->currentDocument(); }
  designer::Overlay& overlay() { return window->currentCanvas()->overlay(); }
  QPoint centreOf(const char* name, int16_t index = -1) {
    return overlay().pixelRect(*document().form().findControl(name, index)).center();
  }
  QRectF rectOf(const char* name, int16_t index = -1) { return designer::Document::rectOf(*document().form().findControl(name, index)); }
  // A slow drag, as a hand makes it, with keys held all the way.
  void drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = {}) {
    QTest::mousePress(&overlay(), Qt::LeftButton, keys, from);
    for (int i = 1; i <= 8; ++i) {
      const QPointF at = from + (to - from) * i / 8;
      QMouseEvent move(QEvent::MouseMove, at, overlay().mapToGlobal(at), Qt::NoButton, Qt::LeftButton, keys);
      QApplication::sendEvent(&overlay(), &move);
    }
    QTest::mouseRelease(&overlay(), Qt::LeftButton, keys, to);
  }

  std::unique_ptr<MainWindow> window;
  MainWindow::Unsaved answer = MainWindow::Unsaved::Cancel;
  int asked = 0;
};

}  // namespace

// Opened, the canvas has the keys. A click chooses, a drag moves on the grid, a drag
// into a frame makes the field the frame's, a handle sizes; each is one step, and
// arrows nudge as one step while they come in a burst.
TEST_F(CanvasTest, MouseAndKeysArrangeTheFormInSteps) {
  EXPECT_EQ(QApplication::focusWidget(), &overlay());
  QTest::mouseClick(&overlay(), Qt::LeftButton, {}, centreOf("txtTitle"));
  EXPECT_EQ(document().selection(), (std::vector<ControlRef>{{"txtTitle", -1}}));

  const QRectF title = rectOf("txtTitle");
  drag(centreOf("txtTitle"), centreOf("txtTitle") + QPoint(37, 13));
  // 37 x 13 pixels are 555 x 195 twips: the left goes on the 120-twip grid, the bottom
  // comes to the frame's top edge, a guide 45 twips (3 pixels) away.
  EXPECT_EQ(rectOf("txtTitle"), QRectF(title.left() + 600, 600 - title.height(), title.width(), title.height()));
  const QRectF guided = rectOf("txtTitle");
  drag(centreOf("txtTitle"), centreOf("txtTitle") + QPoint(12, -7), Qt::AltModifier);
  EXPECT_EQ(rectOf("txtTitle"), guided.translated(180, -105)) << "Alt: free of grid and guides";
  EXPECT_EQ(document().history().count(), 2);

  // Into the frame, clear of its options: the frame's now, where it was let go.
  const QRect frame = overlay().pixelRect(*document().form().findControl("fraChoice"));
  drag(centreOf("txtTitle"), frame.bottomRight() - QPoint(60, 20));
  EXPECT_EQ(document().form().findControl("txtTitle")->containerWindow(), document().form().findControl("fraChoice").get());
  EXPECT_EQ(document().history().count(), 3);
  const QRectF inFrame = rectOf("txtTitle");
  EXPECT_EQ(std::fmod(inFrame.left(), 120.0), 0) << inFrame.left();

  // The bottom right handle of the field, dragged: its size, on the grid.
  const QRect r = overlay().pixelRect(*document().form().findControl("txtTitle"));
  drag(r.bottomRight() + QPoint(1, 1), r.bottomRight() + QPoint(31, 17));
  EXPECT_EQ(rectOf("txtTitle").topLeft(), inFrame.topLeft());
  EXPECT_EQ(std::fmod(rectOf("txtTitle").right(), 120.0), 0);
  EXPECT_GT(rectOf("txtTitle").width(), inFrame.width());
  EXPECT_EQ(document().history().count(), 4);

  // Arrows: a burst is one step; Ctrl moves a pixel; Shift sizes.
  const QRectF before = rectOf("txtTitle");
  for (int i = 0; i < 3; ++i) QTest::keyClick(&overlay(), Qt::Key_Right);
  QTest::keyClick(&overlay(), Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(rectOf("txtTitle"), before.translated(360, 15));
  EXPECT_EQ(document().history().count(), 5);
  QTest::keyClick(&overlay(), Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(rectOf("txtTitle").width(), before.width() - 120);
  window->currentDocument()->history().setIndex(0);
  EXPECT_EQ(document().form().findControl("txtTitle")->containerWindow(), &document().form());
  EXPECT_EQ(rectOf("txtTitle"), title);
}

// A rubber band chooses what it touches in the container it began in; the toolbox's
// class is placed by a rectangle in the container under it; keys typed in the toolbox
// or the tree do nothing to the form.
TEST_F(CanvasTest, BandPlacementAndKeysThatStayInThePanels) {
  const QRect frame = overlay().pixelRect(*document().form().findControl("fraChoice"));
  // From the frame's empty middle, up and left over both options.
  drag(frame.topLeft() + QPoint(150, 100), frame.topLeft() + QPoint(20, 10));
  EXPECT_EQ(document().selection(), (std::vector<ControlRef>{{"optPick", 0}, {"optPick", 1}}));

  auto* tools = window->toolbox().findChild<QTreeWidget*>("toolbox");
  ASSERT_TRUE(tools);
  QTreeWidgetItem* bay = nullptr;
  for (QTreeWidgetItemIterator it(tools); *it; ++it)
    if ((*it)->data(0, Qt::UserRole).toString() == "ScrollbayCtl.Scrollbay") bay = *it;
  ASSERT_TRUE(bay);
  QTest::mouseClick(tools->viewport(), Qt::LeftButton, {}, tools->visualItemRect(bay).center());
  EXPECT_EQ(overlay().placing(), "ScrollbayCtl.Scrollbay");
  const QRect picture = overlay().pixelRect(*document().form().findControl("picArea"));
  drag(picture.topLeft() + QPoint(10, 10), picture.topLeft() + QPoint(90, 70));
  forms::ControlPtr made = document().form().findControl("Scrollbay2");
  ASSERT_TRUE(made);
  EXPECT_EQ(made->containerWindow(), document().form().findControl("picArea").get());
  EXPECT_EQ(designer::Document::rectOf(*made), QRectF(120, 120, 1200, 960));
  EXPECT_TRUE(overlay().placing().isEmpty()) << "the tool is done";
  EXPECT_TRUE(window->toolbox().armedClass().isEmpty());

  // Delete, Ctrl+A and arrows in the panels leave the form alone.
  const int steps = document().history().count();
  const std::string bytes = document().bytes();
  for (QWidget* panel : {static_cast<QWidget*>(tools), static_cast<QWidget*>(window->findChild<QTreeWidget*>("objectTree")),
                         window->findChild<QWidget*>("propertyFilter"), static_cast<QWidget*>(window->findChild<QTreeWidget*>("propertySheet"))}) {
    ASSERT_TRUE(panel);
    panel->setFocus();
    for (auto key : {Qt::Key_Delete, Qt::Key_Right, Qt::Key_Down}) QTest::keyClick(panel, key);
    QTest::keyClick(panel, Qt::Key_A, Qt::ControlModifier);
  }
  EXPECT_EQ(document().history().count(), steps);
  EXPECT_EQ(document().bytes(), bytes);
  // On the canvas Delete deletes.
  overlay().setFocus();
  QTest::keyClick(&overlay(), Qt::Key_Delete);
  EXPECT_FALSE(document().form().findControl("Scrollbay2"));
}

// A control below its Scrollbay's visible size, chosen in the tree, shows where it is
// and can be dragged back into view. Closing asks before changes are lost, and a No
// keeps the form open.
TEST_F(CanvasTest, HiddenControlsAreReachableAndClosingAsksFirst) {
  document().select({{"txtBelow", -1}});
  testsupport::processQtEvents();
  const QRect below = overlay().pixelRect(*document().form().findControl("txtBelow"));
  const QRect bay = overlay().pixelRect(*document().form().findControl("Scrollbay1"));
  ASSERT_GT(below.top(), bay.bottom()) << "it lies beyond what the Scrollbay shows";
  EXPECT_TRUE(overlay().rect().contains(below)) << "the surface makes room for it";
  drag(below.center(), QPoint(below.center().x(), bay.top() + 40));
  EXPECT_LT(rectOf("txtBelow").top(), 1200);
  EXPECT_EQ(document().form().findControl("txtBelow")->containerWindow(), document().form().findControl("Scrollbay1").get());

  answer = MainWindow::Unsaved::Cancel;
  EXPECT_FALSE(window->close());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(window->documentCount(), 1);
  answer = MainWindow::Unsaved::Discard;
  const QString journal = document().journal()->filePath();
  EXPECT_TRUE(window->close());
  EXPECT_EQ(window->documentCount(), 0);
  EXPECT_FALSE(QFile::exists(journal)) << "closed as the user wanted: nothing to recover";
}

// A step undone puts the chosen control back with its handles; the next drag repaints
// where they are, so none stay behind on the still picture it paints over.
TEST_F(CanvasTest, ADragAfterAnUndoRepaintsWhereTheHandlesWere) {
  const QPoint start = centreOf("txtTitle");
  drag(start, start + QPoint(48, 48));
  document().history().undo();
  testsupport::processQtEvents();
  const QRect handles = overlay().pixelRect(*document().form().findControl("txtTitle")).adjusted(-3, -3, 3, 3);

  QTest::mousePress(&overlay(), Qt::LeftButton, {}, start);
  for (int i = 1; i <= 4; ++i) {
    const QPointF at = start + QPoint(0, 40) * i / 4;
    QMouseEvent move(QEvent::MouseMove, at, overlay().mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&overlay(), &move);
  }
  // What reaches the screen: the still picture is taken during the moves, these come after.
  struct Recorder : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
      return false;
    }
  } recorder;
  overlay().installEventFilter(&recorder);
  testsupport::processQtEvents();
  EXPECT_TRUE(QRegion(handles).subtracted(recorder.painted).isEmpty()) << "the handles' place was not all painted over";
  overlay().removeEventFilter(&recorder);
  QTest::mouseRelease(&overlay(), Qt::LeftButton, {}, start + QPoint(0, 40));
}
