// The faces controls show for the classic face names forms give, and how a frame draws
// its caption and top line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <string>
#include <utility>

#include "forms/form.h"
#include "test_support.h"

namespace {

using forms::Variant;

forms::ObjectPtr fontOf(const forms::ObjectPtr& c) { return forms::get(c, "Font").toObject(); }

// The face is the one fontconfig really gives; the Name stays as the form gave it.
TEST(FontFaceTest, ClassicFaceNamesShowTheirInstalledFaces) {
  auto form = forms::Form::create("frmFaces");
  auto label = std::dynamic_pointer_cast<forms::Control>(form->addControl("Forms.Label", "Label1"));
  for (auto [name, face] : {std::pair{"ms sans serif", "Liberation Sans"}, {"Times New Roman", "Liberation Serif"},
                            {"COURIER", "Liberation Mono"}, {"DejaVu Serif", "DejaVu Serif"}}) {
    forms::let(fontOf(label), "Name", Variant(std::string(name)));
    EXPECT_EQ(QFontInfo(label->widget()->font()).family().toStdString(), face);
    EXPECT_EQ(forms::get(fontOf(label), "Name").toString(), name);
  }
  EXPECT_EQ(QFontInfo(QApplication::font()).family().toStdString(), "Liberation Sans") << "the standard font";
  form->Unload();
}

// The top line runs through the middle of the caption, broken behind it, so the first
// row of what the frame holds (a hint label 240 twips down) stays clear of it.
TEST(FrameTest, TheTopLineRunsThroughTheCaptionClearOfTheFirstRow) {
  auto form = forms::Form::create("frmFrame");
  form->put_ClientWidth(260 * 15);
  form->put_ClientHeight(160 * 15);
  auto frame = std::dynamic_pointer_cast<forms::Control>(form->addControl("Forms.Frame", "Frame1"));
  frame->Move(10 * 15, 10 * 15, 200 * 15, 120 * 15);
  const std::string caption = "Business Activities";
  forms::let(frame, "Caption", Variant(caption));
  forms::let(fontOf(frame), "Name", Variant(std::string("Times New Roman")));
  forms::let(fontOf(frame), "Size", Variant(9.75f));
  auto label = std::dynamic_pointer_cast<forms::Control>(form->addControl("Forms.Label", "Label1", frame.get()));
  label->Move(120, 240, 180 * 15, 195);  // no caption: nothing of its own to paint
  form->Show();

  QWidget* box = frame->widget();
  const QImage image = form->widget()->grab().toImage().copy(QRect(box->mapTo(form->widget(), QPoint()), box->size()));
  const QColor face(212, 208, 200);
  auto inked = [&](const QRect& r, const QColor& unlike) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += image.pixelColor(x, y) != unlike;
    return n;
  };
  const int lineTop = box->fontMetrics().height() / 2;
  const int clear = box->width() - 20;  // a column past the caption
  EXPECT_EQ(inked(QRect(clear, 0, 1, lineTop), face), 0);
  EXPECT_NE(image.pixelColor(clear, lineTop), face) << "the top line";
  EXPECT_EQ(inked(label->widget()->geometry(), face), 0) << "frame pixels on the first row";

  // The line's light row, which no caption pixel matches, is broken behind the caption.
  const int lightRow = image.pixelColor(clear, lineTop + 1).lightness() > face.lightness() ? lineTop + 1 : lineTop;
  const QColor light = image.pixelColor(clear, lightRow);
  const int unlit = inked(QRect(0, lightRow, box->width(), 1), light);
  EXPECT_GE(unlit, box->fontMetrics().horizontalAdvance(QString::fromStdString(caption))) << "the line runs behind the caption";
  form->Unload();
}

}  // namespace
