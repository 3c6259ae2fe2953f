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
  EXPECT_NE(shot.pixelColor(origin + QPoint(292, 100)), face) << "no vertical scrollbar";
  EXPECT_NE(shot.pixelColor(origin + QPoint(100, 192)), face) << "no horizontal scrollbar";
  const QPoint fieldInView = origin + QPoint(20 + 5, (4200 / 15) - 172 + 20);
  EXPECT_EQ(shot.pixelColor(fieldInView), QColor(Qt::white));
}
