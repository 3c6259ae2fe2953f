#pragma once
// What the property sheet lists for the form or the chosen controls, read from type
// information: which members, how each is edited, and their values as text. Values
// are read and written by name, as a program would.
#include <QString>
#include <string>
#include <vector>

#include "control_ref.h"
#include "forms/object.h"

namespace designer {

enum class Editor { Boolean, Enumeration, Text, Number, Colour, Font, Picture, ReadOnly };

struct PropertyRow {
  std::string name;  // as the type information spells it
  forms::TypeRef type;
  Editor editor = Editor::ReadOnly;
  const forms::EnumInfo* enumeration = nullptr;  // for Editor::Enumeration
  std::string description;                        // word for word
  bool placement = false;                         // Name, Index, position, size, Tab order: no class default
};

// Members that can be read and written, neither hidden nor non-browsable, in slot
// order. A control of a library lists the extender's first (Name, Index, Left, ...),
// then its class's own; a standard control or the form lists its class information.
// Name is listed though only read by name (the designer renames), Index read only.
std::vector<PropertyRow> propertyRows(forms::Window& target);
// A control's class id; empty for the form.
std::string classIdOf(const forms::Window& target);
// The rows every one of the targets has, in the first one's order; Name and Index only
// for a single target.
std::vector<PropertyRow> sharedRows(const std::vector<forms::Window*>& targets);

// A value as the sheet shows it: True/False, "1 - vpBoth", a colour as a system
// colour's name or #RRGGBB, a font as "Name, 8.25 pt, bold", a picture by its file.
QString valueText(const PropertyRow& row, const forms::Variant& value);
// The row's value read by name; a member that fails to read shows its error's words.
QString readText(const PropertyRow& row, forms::Window& target);

// What a typed text sets: an enumeration by value or name, a colour as #RRGGBB, a
// system colour's name or a number; anything else goes as typed, for the runtime to
// convert or refuse as it would a program's value.
forms::Variant parseValue(const PropertyRow& row, const QString& text);

// The system colours by index (OLE_COLOR 0x80000000 | index), with the names shown.
struct SystemColour {
  int index;
  const char* name;
};
const std::vector<SystemColour>& systemColours();
// The OLE_COLOR of a system colour.
constexpr uint32_t systemColour(int index) { return 0x80000000u | static_cast<uint32_t>(index); }
// An OLE_COLOR as the sheet names it: a system colour's name, or #RRGGBB.
QString colourName(uint32_t oleColour);

// The unit a length of this target is measured in, as words ("twips").
QString unitOfLengths(forms::Window& target);

}  // namespace designer
