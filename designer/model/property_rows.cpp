#include "property_rows.h"

#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <functional>
#include <set>

#include "forms/collection.h"
#include "forms/control.h"
#include "forms/error.h"
#include "forms/font.h"
#include "forms/form.h"
#include "forms/library.h"
#include "forms/picture.h"
#include "forms/standard_classes.h"
#include "forms/units.h"
#include "forms/usercontrol.h"
#include "win32/win32.h"

namespace designer {

namespace {

bool readAndWritten(const forms::MemberInfo& m) {
  return m.has(forms::CallKind::Get) && (m.has(forms::CallKind::Let) || m.has(forms::CallKind::Set)) && !m.has(forms::CallKind::Method);
}

bool browsable(const forms::MemberInfo& m) { return !m.hidden && !m.nonBrowsable; }

bool isPlacement(const std::string& name) {
  // A form's size, and the scale that follows it, are where it lies too.
  for (const char* n : {"Name", "Index", "Left", "Top", "Width", "Height", "TabIndex", "Container", "ClientWidth", "ClientHeight",
                        "ScaleWidth", "ScaleHeight"})
    if (forms::equalsNoCase(name, n)) return true;
  return false;
}

const forms::EnumInfo* findEnum(const std::string& classId, const std::string& name) {
  if (name.empty()) return nullptr;
  const auto dot = classId.find('.');
  if (dot == std::string::npos) return nullptr;
  const std::string library = classId.substr(0, dot);
  const forms::LibraryInfo& info = forms::isStandardLibrary(library) ? forms::standardLibraryInfo() : forms::controlLibraryInfo(library);
  for (const forms::EnumInfo& e : info.enums)
    if (forms::equalsNoCase(e.name, name)) return &e;
  return nullptr;
}

PropertyRow rowOf(const forms::MemberInfo& m, const std::string& classId) {
  PropertyRow row;
  row.name = m.name;
  row.type = m.type;
  row.description = m.description;
  row.placement = isPlacement(m.name);
  switch (m.type.kind) {
    case forms::TypeKind::Boolean: row.editor = Editor::Boolean; break;
    case forms::TypeKind::Integer:
    case forms::TypeKind::Long:
    case forms::TypeKind::Single:
    case forms::TypeKind::Double: row.editor = Editor::Number; break;
    case forms::TypeKind::String:
    case forms::TypeKind::Variant: row.editor = Editor::Text; break;
    case forms::TypeKind::Color: row.editor = Editor::Colour; break;
    case forms::TypeKind::Picture: row.editor = Editor::Picture; break;
    case forms::TypeKind::Enum:
      row.enumeration = findEnum(classId, m.type.name);
      // An enumeration nobody publishes is edited as its number.
      row.editor = row.enumeration ? Editor::Enumeration : Editor::Number;
      break;
    case forms::TypeKind::Object: row.editor = forms::equalsNoCase(m.type.name, "Font") ? Editor::Font : Editor::ReadOnly; break;
    case forms::TypeKind::Void: row.editor = Editor::ReadOnly; break;
  }
  if (forms::equalsNoCase(m.name, "Container")) row.editor = Editor::ReadOnly;
  return row;
}

// Name and Index are read by name only: the designer renames, and an index is the
// array's.
void addIdentity(std::vector<PropertyRow>& rows, const forms::ClassInfo& info, const std::string& classId, bool control) {
  if (const forms::MemberInfo* name = info.find("Name")) {
    rows.push_back(rowOf(*name, classId));
    rows.back().editor = control ? Editor::Text : Editor::ReadOnly;
  }
  if (!control) return;
  if (const forms::MemberInfo* index = info.find("Index")) {
    rows.push_back(rowOf(*index, classId));
    rows.back().editor = Editor::ReadOnly;
  }
}

void addMembers(std::vector<PropertyRow>& rows, const forms::ClassInfo& info, const std::string& classId,
                const std::function<bool(const forms::MemberInfo&)>& take) {
  for (const forms::MemberInfo& m : info.members) {
    if (!readAndWritten(m) || !browsable(m) || !take(m)) continue;
    rows.push_back(rowOf(m, classId));
  }
}

QString numberText(double value) {
  return QLocale::c().toString(value, 'g', 9);
}

}  // namespace

std::string classIdOf(const forms::Window& target) {
  auto* control = dynamic_cast<const forms::Control*>(&target);
  return control ? control->classId() : std::string();
}

std::vector<PropertyRow> propertyRows(forms::Window& target) {
  std::vector<PropertyRow> rows;
  auto* control = dynamic_cast<forms::Control*>(&target);
  const std::string classId = classIdOf(target);
  if (auto* host = dynamic_cast<forms::UserControlHost*>(&target)) {
    const forms::ClassInfo& extender = forms::Control::commonClassInfo();
    addIdentity(rows, extender, classId, true);
    addMembers(rows, extender, classId, [&](const forms::MemberInfo& m) { return host->extenderAnswers(m.name); });
    addMembers(rows, host->typeInfo(), classId, [&](const forms::MemberInfo& m) { return !host->extenderAnswers(m.name); });
    return rows;
  }
  const forms::ClassInfo& info = target.classInfo();
  addIdentity(rows, info, classId, control != nullptr);
  addMembers(rows, info, classId, [](const forms::MemberInfo&) { return true; });
  return rows;
}

std::vector<PropertyRow> sharedRows(const std::vector<forms::Window*>& targets) {
  if (targets.empty()) return {};
  std::vector<PropertyRow> rows = propertyRows(*targets.front());
  if (targets.size() == 1) return rows;
  std::erase_if(rows, [](const PropertyRow& r) { return forms::equalsNoCase(r.name, "Name") || forms::equalsNoCase(r.name, "Index"); });
  // The rows are the class's: each class met once.
  std::set<std::string> classes{classIdOf(*targets.front())};
  for (std::size_t i = 1; i < targets.size(); ++i) {
    if (!classes.insert(classIdOf(*targets[i])).second) continue;
    const std::vector<PropertyRow> other = propertyRows(*targets[i]);
    std::erase_if(rows, [&](const PropertyRow& r) {
      return std::none_of(other.begin(), other.end(), [&](const PropertyRow& o) { return forms::equalsNoCase(o.name, r.name) && o.editor == r.editor; });
    });
  }
  return rows;
}

const std::vector<SystemColour>& systemColours() {
  static const std::vector<SystemColour> colours = {
      {0, "Scrollbar"},           {1, "Desktop"},
      {2, "Active title bar"},    {3, "Inactive title bar"},
      {4, "Menu"},                {5, "Window background"},
      {6, "Window frame"},        {7, "Menu text"},
      {8, "Window text"},         {9, "Active title text"},
      {10, "Active border"},      {11, "Inactive border"},
      {12, "Workspace"},          {13, "Highlight"},
      {14, "Highlight text"},     {15, "Button face"},
      {16, "Button shadow"},      {17, "Disabled text"},
      {18, "Button text"},        {19, "Inactive title text"},
      {20, "Button highlight"},   {21, "Button dark shadow"},
      {22, "Button light"},       {23, "Tip text"},
      {24, "Tip background"},
  };
  return colours;
}

QString colourName(uint32_t ole) {
  if (ole & 0x80000000u) {
    const int index = static_cast<int>(ole & 0x7FFFFFFFu);
    for (const SystemColour& c : systemColours())
      if (c.index == index) return QString::fromLatin1(c.name);
    return QStringLiteral("System colour %1").arg(index);
  }
  return QStringLiteral("#%1%2%3")
      .arg(ole & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((ole >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((ole >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
      .toUpper();
}

QString valueText(const PropertyRow& row, const forms::Variant& value) {
  if (value.isObject() || row.editor == Editor::Font || row.editor == Editor::Picture) {
    const forms::ObjectPtr object = value.toObject();
    if (!object) return QStringLiteral("(none)");
    if (auto* font = dynamic_cast<forms::Font*>(object.get())) {
      QString text = QStringLiteral("%1, %2 pt").arg(QString::fromStdString(font->get_Name()), numberText(font->get_Size()));
      if (font->get_Bold()) text += QStringLiteral(", bold");
      if (font->get_Italic()) text += QStringLiteral(", italic");
      if (font->get_Underline()) text += QStringLiteral(", underlined");
      return text;
    }
    if (auto* picture = dynamic_cast<forms::Picture*>(object.get()))
      return picture->path().empty() ? QStringLiteral("(picture)") : QFileInfo(QString::fromStdString(picture->path())).fileName();
    if (auto* control = dynamic_cast<forms::Control*>(object.get())) return QString::fromStdString(ControlRef::of(*control).text());
    if (auto* form = dynamic_cast<forms::Form*>(object.get())) return QString::fromStdString(form->name());
    return QStringLiteral("(%1)").arg(QString::fromStdString(object->classInfo().name));
  }
  if (value.isEmpty()) return {};
  switch (row.editor) {
    case Editor::Boolean: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Editor::Colour: return colourName(static_cast<uint32_t>(value.toInt32()));
    case Editor::Enumeration: {
      const int32_t v = value.toInt32();
      for (const forms::EnumMember& m : row.enumeration->members)
        if (m.value == v) return QStringLiteral("%1 - %2").arg(v).arg(QString::fromStdString(m.name));
      return QString::number(v);
    }
    case Editor::Number:
      if (value.type() == forms::VarType::Single || value.type() == forms::VarType::Double) return numberText(value.toDouble());
      return QString::fromStdString(value.toString());
    default: return QString::fromStdString(value.toString());
  }
}

QString readText(const PropertyRow& row, forms::Window& target) {
  try {
    return valueText(row, forms::get(target, row.name));
  } catch (const forms::Error& e) {
    // An index outside a control array: nothing to show.
    if (forms::equalsNoCase(row.name, "Index")) return {};
    return QString::fromStdString(e.description());
  }
}

forms::Variant parseValue(const PropertyRow& row, const QString& typed) {
  const QString text = typed.trimmed();
  bool ok = false;
  switch (row.editor) {
    case Editor::Boolean:
      if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return forms::Variant(true);
      if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return forms::Variant(false);
      break;
    case Editor::Enumeration: {
      // "1 - vpBoth", "1" or "vpBoth".
      const QString head = text.section(QLatin1Char(' '), 0, 0);
      const int value = head.toInt(&ok);
      if (ok) return forms::Variant(static_cast<int32_t>(value));
      for (const forms::EnumMember& m : row.enumeration->members)
        if (text.compare(QString::fromStdString(m.name), Qt::CaseInsensitive) == 0) return forms::Variant(m.value);
      break;
    }
    case Editor::Colour: {
      // A colour goes as a Long: above 31 bits, the signed value the same bits give.
      auto colour = [](uint32_t ole) { return forms::Variant(static_cast<int32_t>(ole)); };
      if (text.startsWith(QLatin1Char('#')) && text.size() == 7) {
        const uint rgb = text.mid(1).toUInt(&ok, 16);
        if (ok) return colour(win32::RGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)));
      }
      for (const SystemColour& c : systemColours())
        if (text.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) return colour(systemColour(c.index));
      const qlonglong number = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toLongLong(&ok, 16) : text.toLongLong(&ok);
      if (ok && number >= 0 && number <= 0xFFFFFFFFLL) return colour(static_cast<uint32_t>(number));
      break;
    }
    case Editor::Number: {
      const double number = QLocale::c().toDouble(text, &ok);
      if (ok) return forms::Variant(number);
      break;
    }
    default: break;
  }
  return forms::Variant(typed.toStdString());
}

QString unitOfLengths(forms::Window& target) {
  forms::Window* container = target.containerWindow();
  const forms::Scale& scale = (container ? *container : target).contentScale();
  switch (scale.mode()) {
    case forms::ScaleUser: return QStringLiteral("the container's own units");
    case forms::ScaleTwips: return QStringLiteral("twips");
    case forms::ScalePoints: return QStringLiteral("points");
    case forms::ScalePixels: return QStringLiteral("pixels");
    case forms::ScaleCharacters: return QStringLiteral("characters");
    case forms::ScaleInches: return QStringLiteral("inches");
    case forms::ScaleMillimeters: return QStringLiteral("millimetres");
    case forms::ScaleCentimeters: return QStringLiteral("centimetres");
    default: return QStringLiteral("HIMETRIC");
  }
}

}  // namespace designer
