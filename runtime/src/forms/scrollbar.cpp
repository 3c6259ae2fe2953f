#include "forms/scrollbar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionSlider>
#include <algorithm>

#include "forms/msgbox.h"
#include "forms/picturebox.h"
#include "win32/win32.h"

namespace forms {

namespace {

// Qt's style stops paging two pages short of the pointer and then draws the thumb
// under it without changing the value; here a held track pages until the thumb
// reaches the pointer (see BarWidget::stopPagingAtPointer).
class PagingStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* data) const override {
    if (hint == SH_Slider_StopMouseOverSlider) return 0;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

QStyle* pagingStyle() {
  static QPointer<PagingStyle> style;
  if (!style) {
    style = new PagingStyle;
    style->setParent(qApp);  // goes with the application, before its fonts
  }
  return style;
}

// The view: asks its parent window for a brush before it paints, as scrollbars do.
class BarWidget : public QScrollBar {
 public:
  BarWidget(Qt::Orientation o, ScrollBar* owner) : QScrollBar(o), m_owner(owner) { setStyle(pagingStyle()); }

  // After each page of a held press: once the thumb has come under the pointer the
  // paging stops, as it would if the pointer had moved off the track.
  void stopPagingAtPointer() {
    const SliderAction action = repeatAction();
    if (action != SliderPageStepAdd && action != SliderPageStepSub) return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QStyle::SubControl under = style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, m_pointer, this);
    if (under != QStyle::SC_ScrollBarAddPage && under != QStyle::SC_ScrollBarSubPage) setRepeatAction(SliderNoAction);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    const win32::HWND self = m_owner->hWnd();
    const auto brush = static_cast<win32::HBRUSH>(win32::SendMessageA(
        win32::runtime::parentOf(self), win32::WM_CTLCOLORSCROLLBAR, 0, static_cast<win32::LPARAM>(self)));
    QScrollBar::paintEvent(event);
    win32::COLORREF rgb = 0;
    if (brush == 0 || !win32::runtime::brushColor(brush, &rgb)) return;
    // The brush is the track's background: the pages either side of the thumb. The
    // style draws its groove from its own colours, so the track is painted over it.
    QStyleOptionSlider option;
    initStyleOption(&option);
    QPainter painter(this);
    const QColor colour(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    for (auto page : {QStyle::SC_ScrollBarSubPage, QStyle::SC_ScrollBarAddPage})
      painter.fillRect(style()->subControlRect(QStyle::CC_ScrollBar, &option, page, this), colour);
  }

  bool event(QEvent* event) override {
    if (event->type() != QEvent::Wheel || !invertedAppearance()) return QScrollBar::event(event);
    // Drawn upside down (Max below Min): the wheel moves the thumb the way it turns.
    setInvertedControls(false);
    const bool handled = QScrollBar::event(event);
    setInvertedControls(true);
    return handled;
  }

  void mousePressEvent(QMouseEvent* event) override {
    m_pointer = event->position().toPoint();
    QScrollBar::mousePressEvent(event);
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    m_pointer = event->position().toPoint();
    QScrollBar::mouseMoveEvent(event);
  }

  void keyPressEvent(QKeyEvent* event) override {
    // Qt's scrollbars invert their controls so the wheel scrolls down, which also turns
    // Left and Right round on a horizontal bar; here Left steps back and Right forward.
    const int key = event->key();
    if (orientation() == Qt::Horizontal && (key == Qt::Key_Left || key == Qt::Key_Right)) {
      triggerAction(key == Qt::Key_Left ? SliderSingleStepSub : SliderSingleStepAdd);
      event->accept();
      return;
    }
    QScrollBar::keyPressEvent(event);
  }

 private:
  ScrollBar* m_owner;
  QPoint m_pointer;  // where the left button went down or has moved to since
};

}  // namespace

ScrollBar::ScrollBar(const Init& init, Qt::Orientation orientation) : Control(init) {
  auto* bar = new BarWidget(orientation, this);
  bar->setTracking(false);
  bar->setFocusPolicy(Qt::StrongFocus);
  const int thickness = orientation == Qt::Horizontal ? win32::GetSystemMetrics(win32::SM_CYHSCROLL)
                                                      : win32::GetSystemMetrics(win32::SM_CXVSCROLL);
  if (orientation == Qt::Horizontal) bar->resize(120, thickness);
  else bar->resize(thickness, 120);
  QObject::connect(bar, &QAbstractSlider::actionTriggered, [this, bar](int action) {
    // A Change handler may unload the form, which releases this scrollbar: it lasts
    // until the action is dealt with.
    const std::shared_ptr<Object> keep = weak_from_this().lock();
    guarded([&] {
      int target = m_value;
      bool step = true;  // relative to the value, as opposed to an end or a thumb position
      switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: target = m_value + m_small; break;
        case QAbstractSlider::SliderSingleStepSub: target = m_value - m_small; break;
        case QAbstractSlider::SliderPageStepAdd: target = m_value + m_large; break;
        case QAbstractSlider::SliderPageStepSub: target = m_value - m_large; break;
        case QAbstractSlider::SliderToMinimum: target = m_min; step = false; break;
        case QAbstractSlider::SliderToMaximum: target = m_max; step = false; break;
        case QAbstractSlider::SliderMove:
          if (bar->isSliderDown()) return;  // the thumb is being dragged: nothing until it is let go
          target = bar->sliderPosition();  // a wheel turn, already the right way round
          step = false;
          break;
        default: return;
      }
      // With Max below Min the bar is drawn upside down: a step down goes towards Max.
      if (m_max < m_min && step) target = m_value - (target - m_value);
      userSetsValue(target);
      bar->setSliderPosition(m_value);
      bar->stopPagingAtPointer();
    });
  });
  QObject::connect(bar, &QAbstractSlider::sliderReleased, [this, bar] { guarded([&] { userSetsValue(bar->sliderPosition()); }); });
  attachControlWidget(bar, win32::runtime::WheelRole::Native);
  syncView();
}

QScrollBar* ScrollBar::bar() const { return static_cast<QScrollBar*>(widget()); }

const ClassInfo& ScrollBar::classInfo() const {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "ScrollBar";
    c.isControl = true;
    ClassBuilder<ScrollBar> b(c);
    b.property("Min", &ScrollBar::get_Min, &ScrollBar::put_Min);
    b.property("Max", &ScrollBar::get_Max, &ScrollBar::put_Max);
    b.property("Value", &ScrollBar::get_Value, &ScrollBar::put_Value);
    b.property("SmallChange", &ScrollBar::get_SmallChange, &ScrollBar::put_SmallChange);
    b.property("LargeChange", &ScrollBar::get_LargeChange, &ScrollBar::put_LargeChange);
    c.inherit(Control::commonClassInfo());
    return c;
  }();
  return info;
}

void ScrollBar::put_Min(int16_t v) {
  m_min = v;
  clampValueToRange();
}

void ScrollBar::put_Max(int16_t v) {
  m_max = v;
  clampValueToRange();
}

void ScrollBar::put_Value(int16_t v) {
  if (v < low() || v > high()) throw Error(err::InvalidPropertyValue);
  if (v == m_value) return;
  m_value = v;
  syncView();
  Args args;
  raiseEvent("Change", args);
}

void ScrollBar::put_SmallChange(int16_t v) {
  if (v < 0) throw Error(err::InvalidPropertyValue);
  m_small = v;
  syncView();
}

void ScrollBar::put_LargeChange(int16_t v) {
  if (v < 1) throw Error(err::InvalidPropertyValue);
  m_large = v;
  syncView();
}

void ScrollBar::userSetsValue(int value) { put_Value(static_cast<int16_t>(std::clamp(value, int{low()}, int{high()}))); }

void ScrollBar::clampValueToRange() {
  syncView();
  const int16_t clamped = std::clamp(m_value, low(), high());
  if (clamped != m_value) put_Value(clamped);
}

void ScrollBar::syncView() {
  QScrollBar* b = bar();
  if (!b) return;
  const QSignalBlocker block(b);
  // A thumb the user holds stays where the user has it (within the range): the value
  // it stands for is taken when it is let go.
  const bool held = b->isSliderDown();
  const int heldAt = b->sliderPosition();
  b->setRange(low(), high());
  b->setInvertedAppearance(m_max < m_min);
  b->setInvertedControls(true);  // Qt's scrollbar default: the wheel and Down move forwards
  b->setSingleStep(std::max<int>(1, m_small));
  b->setPageStep(m_large);
  b->setValue(m_value);
  b->setSliderPosition(held ? std::clamp(heldAt, int{low()}, int{high()}) : int{m_value});
}

}  // namespace forms
