// The survey's captions fit their controls in the faces the runtime shows for the
// classic face names the form gives.
#include <gtest/gtest.h>

#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include "forms/formfile.h"
#include "forms/simple_controls.h"
#include "test_support.h"

namespace {

// The width a caption's text has in its control, from the control's own style.
int roomForCaption(const forms::Control& control, QWidget& w) {
  auto* button = dynamic_cast<const forms::ButtonControl*>(&control);
  if (!button) return w.contentsRect().width();
  QStyleOptionButton option;
  option.initFrom(&w);
  const auto contents = button->kind() == forms::ButtonControl::Kind::Check ? QStyle::SE_CheckBoxContents
                                                                            : QStyle::SE_RadioButtonContents;
  return w.style()->subElementRect(contents, &option, &w).width();
}

TEST(SampleCaptionsTest, EveryCaptionOfTheSurveyFitsItsControl) {
  forms::FormPtr form = forms::loadForm(SAMPLE_FORM);
  form->Show();
  testsupport::advance(200);  // the lists' controls move into their layers

  int checked = 0;
  for (const forms::ControlPtr& c : form->controls()) {
    std::string caption;
    int frameIndent = 0;
    if (auto* label = dynamic_cast<forms::Label*>(c.get())) {
      caption = label->get_Caption();
    } else if (auto* button = dynamic_cast<forms::ButtonControl*>(c.get())) {
      caption = button->get_Caption();
    } else if (auto* frame = dynamic_cast<forms::Frame*>(c.get())) {
      caption = frame->get_Caption();
      frameIndent = 16;  // the caption sits in the top line, clear of both corners
    } else {
      continue;
    }
    QWidget& w = *c->widget();
    const QString text = QString::fromStdString(caption);
    const int width = w.fontMetrics().horizontalAdvance(text);
    const int room = roomForCaption(*c, w) - frameIndent;
    EXPECT_LE(width, room) << c->get_Name() << " '" << caption << "' in " << w.font().family().toStdString() << " "
                           << w.font().pointSizeF() << " pt";
    if (dynamic_cast<forms::Label*>(c.get())) {
      EXPECT_LE(w.fontMetrics().height(), w.contentsRect().height()) << c->get_Name() << " '" << caption << "' on one line";
    }
    ++checked;
  }
  // 13 labels, 20 check boxes, 12 option buttons and 2 frames.
  EXPECT_EQ(checked, 47);
  form->Unload();
}

}  // namespace
