#include <QImage>
#include <QPixmap>

#include "control_fixture.h"

// What a person sees: the scrollbars and the corner square over the scrolled layer.
TEST_F(ScrollbayTest, RendersScrollbarsOverTheScrolledLayer) {
  makeControl(4500, 3000);
  host->Move(300, 300, 4500, 3000);
  auto text = addChild("Forms.TextBox", "Text1", 300, 4200, 1200, 840);
  forms::let(text, "Text", "bottom field");
  addChild("Forms.TextBox", "Text2", 3900, 600, 2400, 360);
  showAndTick();
  forms::let(host, "VScrollValue", 172 * 15);
  testsupport::processQtEvents();
  const QImage shot = form->widget()->grab().toImage();
  if (const char* out = std::getenv("SCROLLBAY_RENDER_PNG")) shot.save(out);

  // The vertical scrollbar runs down the right edge, the corner square sits below it,
  // and the field scrolled into the window shows its white face.
  const QPoint origin(20, 20);
  const QColor face = form->widget()->palette().color(QPalette::Window);
  // Their tracks take the system's scrollbar colour, the face's grey; the arrows and
  // the thumb's edges are drawn over it.
  auto drawn = [&](const QRect& strip) {
    for (int y = strip.top(); y <= strip.bottom(); ++y)
      for (int x = strip.left(); x <= strip.right(); ++x)
        if (shot.pixelColor(x, y) != face) return true;
    return false;
  };
  EXPECT_TRUE(drawn(QRect(origin + QPoint(284, 0), QSize(16, 184)))) << "no vertical scrollbar";
  EXPECT_TRUE(drawn(QRect(origin + QPoint(0, 184), QSize(284, 16)))) << "no horizontal scrollbar";
  const QPoint fieldInView = origin + QPoint(20 + 5, (4200 / 15) - 172 + 20);
  EXPECT_EQ(shot.pixelColor(fieldInView), QColor(Qt::white));
}
