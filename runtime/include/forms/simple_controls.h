#pragma once
// Text boxes, labels, frames, option buttons, check boxes and command buttons.
#include "forms/control.h"

namespace forms {

class TextBox : public Control {
 public:
  TextBox(const Init& init, bool multiLine);
  const ClassInfo& classInfo() const override;
  std::string get_Text() const;
  void put_Text(std::string text);
  bool get_MultiLine() const { return m_multiLine; }
  int32_t get_BackColor() const { return static_cast<int32_t>(m_backColor); }
  void put_BackColor(int32_t color);

 private:
  bool m_multiLine;
  uint32_t m_backColor = 0x80000005;
};

class Label : public Control {
 public:
  explicit Label(const Init& init);
  const ClassInfo& classInfo() const override;
  bool takesFocus() const override { return false; }
  std::string get_Caption() const;
  void put_Caption(std::string caption);
  int32_t get_BackColor() const { return static_cast<int32_t>(m_backColor); }
  void put_BackColor(int32_t color);

 private:
  uint32_t m_backColor = 0x8000000F;
};

class Frame : public Control {
 public:
  explicit Frame(const Init& init);
  const ClassInfo& classInfo() const override;
  bool isContainer() const override { return true; }
  bool takesFocus() const override { return false; }
  QWidget* clientWidget() const override;
  std::string get_Caption() const;
  void put_Caption(std::string caption);
};

// Option buttons, check boxes and command buttons share a caption and a Value.
class ButtonControl : public Control {
 public:
  enum class Kind { Option, Check, Command };
  ButtonControl(const Init& init, Kind kind);
  const ClassInfo& classInfo() const override;
  std::string get_Caption() const;
  void put_Caption(std::string caption);
  // Option buttons: a Boolean; check boxes: 0 unchecked, 1 checked, 2 greyed.
  Variant get_Value() const;
  void put_Value(Variant value);
  Kind kind() const { return m_kind; }
  // Option buttons of one container are one group; false for any other control.
  bool groupedWith(const Control& other) const;
  // Checks an option button as a click does, Click included.
  void select();

 private:
  Kind m_kind;
};

}  // namespace forms
