#include "forms/scrollbar.h"

#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "forms/msgbox.h"
#include "forms/picturebox.h"
#include "win32/win32.h"

namespace forms {

namespace {

// The view: asks its parent window for a brush before it paints, as scrollbars do.
class BarWidget : public QScrollBar {
 public:
  BarWidget(Qt::Orientation o, ScrollBar* owner) : QScrollBar(o), m_owner(owner) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    const win32::HWND self = m_owner->hWnd();
    const win32::HWND parent = win32::runtime::parentOf(self);
    const auto brush = static_cast<win32::HBRUSH>(
        win32::SendMessageA(parent, win32::WM_CTLCOLORSCROLLBAR, 0, static_cast<win32::LPARAM>(self)));
    win32::COLORREF rgb = 0;
    QPalette pal = palette();
    if (brush != 0 && win32::runtime::brushColor(brush, &rgb)) {
      const QColor c(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
      for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase})
        pal.setColor(role, c);
    } else {
      pal = QPalette();
    }
    if (pal != palette()) setPalette(pal);
    QScrollBar::paintEvent(event);
  }

 private:
  ScrollBar* m_owner;
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
    guarded([&] {
      int target = m_value;
      switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: target = m_value + m_small; break;
        case QAbstractSlider::SliderSingleStepSub: target = m_value - m_small; break;
        case QAbstractSlider::SliderPageStepAdd: target = m_value + m_large; break;
        case QAbstractSlider::SliderPageStepSub: target = m_value - m_large; break;
        case QAbstractSlider::SliderToMinimum: target = m_min; break;
        case QAbstractSlider::SliderToMaximum: target = m_max; break;
        case QAbstractSlider::SliderMove:
          if (bar->isSliderDown()) return;  // the thumb is being dragged: nothing until it is let go
          target = bar->sliderPosition();
          break;
        default: return;
      }
      if (m_max < m_min && action != QAbstractSlider::SliderMove) target = m_value - (target - m_value);
      userSetsValue(target);
      bar->setSliderPosition(m_value);
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
  b->setRange(low(), high());
  b->setInvertedAppearance(m_max < m_min);
  b->setInvertedControls(m_max < m_min);
  b->setSingleStep(std::max<int>(1, m_small));
  b->setPageStep(m_large);
  b->setValue(m_value);
  b->setSliderPosition(m_value);
}

}  // namespace forms
