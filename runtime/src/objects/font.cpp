#include "forms/font.h"

namespace forms {

namespace {

// The classic faces forms name, each with the installed face of its metrics
// (fonts-liberation). Left to fontconfig, "MS Sans Serif" would get a face some 11 %
// wider and captions laid out for it would lose their ends.
struct Face {
  const char* classic;
  const char* installed;
};
constexpr Face kFaces[] = {
    {"MS Sans Serif", "Liberation Sans"},     {"Microsoft Sans Serif", "Liberation Sans"},
    {"Arial", "Liberation Sans"},             {"Helvetica", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"}, {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},            {"MS Serif", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},       {"Courier", "Liberation Mono"},
};

QString installedFace(const std::string& name) {
  const QString asked = QString::fromStdString(name);
  for (const Face& face : kFaces)
    if (asked.compare(QLatin1String(face.classic), Qt::CaseInsensitive) == 0) return QString::fromLatin1(face.installed);
  return asked;
}

}  // namespace

const ClassInfo& Font::classInfo() const {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "Font";
    ClassBuilder<Font> b(c);
    b.property("Name", &Font::get_Name, &Font::put_Name);
    b.property("Size", &Font::get_Size, &Font::put_Size);
    b.property("Bold", &Font::get_Bold, &Font::put_Bold);
    b.property("Italic", &Font::get_Italic, &Font::put_Italic);
    b.property("Underline", &Font::get_Underline, &Font::put_Underline);
    return c;
  }();
  return info;
}

void Font::notify() {
  if (changed) changed();
}

void Font::put_Name(std::string name) {
  m_name = std::move(name);
  notify();
}
void Font::put_Size(float size) {
  if (!(size > 0)) throw Error(err::InvalidPropertyValue);
  m_size = size;
  notify();
}
void Font::put_Bold(bool bold) {
  m_bold = bold;
  notify();
}
void Font::put_Italic(bool italic) {
  m_italic = italic;
  notify();
}
void Font::put_Underline(bool underline) {
  m_underline = underline;
  notify();
}

QFont Font::toQFont() const {
  // Most controls of a form share one font: the last one made is made again for free.
  // Kept for the life of the process: a QFont must not outlive the application's fonts
  // in a static's destructor.
  struct Made {
    Font from;
    QFont font;
  };
  static Made* last = nullptr;
  if (last && sameAs(last->from)) return last->font;
  QFont f(installedFace(m_name));
  f.setPointSizeF(m_size);
  f.setBold(m_bold);
  f.setItalic(m_italic);
  f.setUnderline(m_underline);
  if (!last) last = new Made;
  last->from.copyFrom(*this);  // tells nobody: the copy has no owner
  last->font = f;
  return f;
}

bool Font::sameAs(const Font& o) const {
  return m_name == o.m_name && m_size == o.m_size && m_bold == o.m_bold && m_italic == o.m_italic &&
         m_underline == o.m_underline;
}

bool Font::isStandard() const {
  static const Font standard;
  return sameAs(standard);
}

void Font::copyFrom(const Font& o) {
  m_name = o.m_name;
  m_size = o.m_size;
  m_bold = o.m_bold;
  m_italic = o.m_italic;
  m_underline = o.m_underline;
  notify();
}

}  // namespace forms
