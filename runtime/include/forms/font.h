#pragma once
// A font object shared by a control and whoever holds it.
#include <QFont>
#include <functional>
#include <string>

#include "forms/object.h"

namespace forms {

class Font : public Object {
 public:
  const ClassInfo& classInfo() const override;

  std::string get_Name() const { return m_name; }
  void put_Name(std::string name);
  float get_Size() const { return m_size; }
  void put_Size(float size);
  bool get_Bold() const { return m_bold; }
  void put_Bold(bool bold);
  bool get_Italic() const { return m_italic; }
  void put_Italic(bool italic);
  bool get_Underline() const { return m_underline; }
  void put_Underline(bool underline);

  // Shows the Name's installed face: a classic face name stays the Name, as the form gave it.
  QFont toQFont() const;
  bool sameAs(const Font& other) const;
  // The font every control starts with, which is also the application's font.
  bool isStandard() const;
  void copyFrom(const Font& other);
  // Called after any change, so the owning widget can follow.
  std::function<void()> changed;

 private:
  void notify();
  std::string m_name = "MS Sans Serif";
  float m_size = 8.25f;
  bool m_bold = false;
  bool m_italic = false;
  bool m_underline = false;
};

}  // namespace forms
