#pragma once
// Horizontal and vertical scrollbars. Min, Max, Value, SmallChange and LargeChange are
// 16-bit and kept here; the Qt scrollbar is only a view. Max may lie below Min.
#include "forms/control.h"

class QScrollBar;

namespace forms {

class ScrollBar : public Control {
 public:
  ScrollBar(const Init& init, Qt::Orientation orientation);
  const ClassInfo& classInfo() const override;

  int16_t get_Min() const { return m_min; }
  void put_Min(int16_t v);
  int16_t get_Max() const { return m_max; }
  void put_Max(int16_t v);
  int16_t get_Value() const { return m_value; }
  // Error 380 outside Min..Max; raises Change inside the assignment when it differs.
  void put_Value(int16_t v);
  int16_t get_SmallChange() const { return m_small; }
  void put_SmallChange(int16_t v);
  int16_t get_LargeChange() const { return m_large; }
  void put_LargeChange(int16_t v);

  int16_t low() const { return std::min(m_min, m_max); }
  int16_t high() const { return std::max(m_min, m_max); }

  // A user action (arrow, page, thumb release, key, wheel) asking for a new value.
  void userSetsValue(int value);
  QScrollBar* bar() const;

 private:
  void clampValueToRange();
  void syncView();
  int16_t m_min = 0;
  int16_t m_max = 32767;
  int16_t m_value = 0;
  int16_t m_small = 1;
  int16_t m_large = 1;
};

}  // namespace forms
