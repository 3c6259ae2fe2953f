// What the control paints, read back from offscreen screenshots: the tiled picture,
// the background colour and the scrollbars' colour.
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "control_fixture.h"
#include "forms/picture.h"

namespace {

const QColor kMark(255, 0, 0);    // a tile's top-left pixel
const QColor kFill(0, 0, 255);    // the rest of a tile
const QColor kInner(0, 255, 0);   // one pixel inside a large picture

class PaintingTest : public ScrollbayTest {
 protected:
  // A picture of size x size pixels: its top-left pixel marks where a tile starts.
  forms::ObjectPtr picture(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(kFill);
    image.setPixelColor(0, 0, kMark);
    if (size > 300) image.setPixelColor(250, 150, kInner);
    const QString path = dir.filePath(QStringLiteral("tile%1.png").arg(size));
    EXPECT_TRUE(image.save(path));
    return forms::LoadPicture(path.toStdString());
  }
  // With SCROLLBAY_SHOTS set to a folder, each shot is kept there for a person to look at.
  QImage shot(QWidget* w, const char* name) {
    testsupport::processQtEvents();
    QImage image = w->grab().toImage();
    if (const char* folder = std::getenv("SCROLLBAY_SHOTS")) image.save(QDir(folder).filePath(QString::fromLatin1(name) + ".png"));
    return image;
  }
  QTemporaryDir dir;
};

}  // namespace

TEST_F(PaintingTest, ASmallPictureTilesTheWholeVirtualAreaAndScrollsWithIt) {
  makeControl(4500, 3000);
  addChild("Forms.Label", "Corner", 14600, 14600, 100, 100);  // a 1000 x 1000 pixel area
  showAndTick();
  forms::set(host, "Picture", picture(8));
  const QImage layer = shot(bay->Layer()->widget(), "tiles-layer");
  ASSERT_EQ(layer.size(), QSize(1000, 1000));
  for (QPoint p : {QPoint(0, 0), QPoint(8, 0), QPoint(400, 640), QPoint(992, 984)}) {
    EXPECT_EQ(layer.pixelColor(p), kMark) << p.x() << "," << p.y();
    EXPECT_EQ(layer.pixelColor(p + QPoint(1, 1)), kFill) << p.x() << "," << p.y();
  }
  // Scrolled by 5 pixels the marks sit 5 pixels higher in the window.
  forms::let(host, "VScrollValue", 5 * 15);
  const QImage window = shot(host->widget(), "tiles-scrolled");
  EXPECT_EQ(window.pixelColor(16, 3), kMark);
  EXPECT_EQ(window.pixelColor(16, 0), kFill);
  // The same picture again changes nothing; none at all takes the tiles away.
  const size_t changes = host->propertyChanges().size();
  forms::set(host, "Picture", bay->get_Picture());
  EXPECT_EQ(host->propertyChanges().size(), changes);
  forms::set(host, "Picture", nullptr);
  EXPECT_EQ(host->propertyChanges().back(), "Picture");
  EXPECT_NE(shot(bay->Layer()->widget(), "tiles-cleared").pixelColor(0, 0), kMark);
}

TEST_F(PaintingTest, APictureLargerThanTheSurfaceIsPaintedOnceAtTheOrigin) {
  makeControl(4500, 3000);
  showAndTick();
  forms::set(host, "Picture", picture(2000));
  const QImage layer = shot(bay->Layer()->widget(), "large-picture");
  EXPECT_EQ(layer.pixelColor(0, 0), kMark);
  EXPECT_EQ(layer.pixelColor(250, 150), kInner);
  EXPECT_EQ(layer.pixelColor(layer.width() - 1, layer.height() - 1), kFill);
}

TEST_F(PaintingTest, InCoarseUnitsTilesStepByWholeUnitsAndASmallPictureVanishes) {
  // In the designer the control's own surface shows the picture, in its scale mode.
  makeControl(4500, 3000, /*designMode=*/true);
  form->Show();
  bay->userControl().put_ScaleMode(forms::ScaleInches);
  // 48 pixels are half an inch, which rounds to an even 0: nothing is painted.
  forms::set(host, "Picture", picture(48));
  QImage surface = shot(host->widget(), "coarse-none");
  EXPECT_NE(surface.pixelColor(0, 0), kMark);
  EXPECT_NE(surface.pixelColor(5, 5), kFill);
  // 60 pixels are 0.625 inches: tiles one inch (96 pixels) apart, with gaps between.
  forms::set(host, "Picture", picture(60));
  surface = shot(host->widget(), "coarse-tiles");
  EXPECT_EQ(surface.pixelColor(0, 0), kMark);
  EXPECT_EQ(surface.pixelColor(96, 96), kMark);
  EXPECT_EQ(surface.pixelColor(59, 5), kFill);
  EXPECT_NE(surface.pixelColor(70, 5), kFill);
}

TEST_F(PaintingTest, ScrollbarsShowTheirColourAndTheLayerTheBackColour) {
  makeControl(4500, 3000);
  addChild("Forms.Label", "Corner", 14600, 14600, 100, 100);
  showAndTick();
  forms::let(host, "ScrollbarBackColor", forms::Variant(int32_t{0x0000FF}));  // red
  QScrollBar* bar = bay->VScroll()->bar();
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.orientation = Qt::Vertical;
  option.maximum = bar->maximum();
  option.pageStep = bar->pageStep();
  const QRect track = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddPage, bar);
  const QImage window = shot(host->widget(), "red-track");
  EXPECT_EQ(window.pixelColor(bar->geometry().topLeft() + track.center()), QColor(255, 0, 0));

  EXPECT_EQ(forms::get(host, "TranslatedSysColor", {forms::Variant(static_cast<int32_t>(0x8000000Fu))}).toInt32(),
            static_cast<int32_t>(win32::GetSysColor(15)));
  EXPECT_EQ(forms::get(host, "TranslatedSysColor", {forms::Variant(int32_t{0xFF})}).toInt32(), 0xFF);

  const size_t changes = host->propertyChanges().size();
  forms::let(host, "BackColor", forms::Variant(int32_t{0x00FF00}));
  EXPECT_EQ(bay->Layer()->get_BackColor(), 0x00FF00);
  EXPECT_EQ(shot(bay->Layer()->widget(), "green-layer").pixelColor(500, 500), QColor(0, 255, 0));
  forms::let(host, "BackColor", forms::Variant(int32_t{0x00FF00}));
  EXPECT_EQ(host->propertyChanges().size(), changes + 1);
}
