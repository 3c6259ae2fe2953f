#include "forms/formfile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>
#include <iostream>
#include <map>

#include "forms/collection.h"
#include "forms/error.h"
#include "forms/simple_controls.h"
#include "forms/standard_classes.h"
#include "forms/units.h"
#include "forms/usercontrol.h"
#include "json_values.h"

namespace forms {

namespace {

// Keys of a control's entry that are not properties.
bool isReservedKey(const QString& key) {
  for (const char* k : {"class", "name", "index", "controls", "bag"})
    if (key == QLatin1String(k)) return true;
  return false;
}

// Properties that are never saved: identity, links and what follows from the size. The
// scale's extent follows from the size too, unless the scale is the object's own (mode
// 0), which the positions inside are measured in.
bool isTransient(std::string_view name, Object& object) {
  for (const char* n : {"Name", "Index", "Container", "hWnd", "Parent", "ActiveControl", "Controls"})
    if (equalsNoCase(name, n)) return true;
  if (equalsNoCase(name, "ScaleWidth") || equalsNoCase(name, "ScaleHeight")) {
    Args none;
    return !object.hasMember("ScaleMode") || object.Object::invoke("ScaleMode", CallKind::Get, none).toInt16() != ScaleUser;
  }
  return false;
}

// Extender properties a user control's entry carries; its size is in the bag.
bool isExtenderProperty(std::string_view name, const ClassInfo& typeInfo) {
  for (const char* n : {"Left", "Top", "Visible", "TabIndex", "TabStop"})
    if (equalsNoCase(name, n)) return true;
  for (const char* n : {"Enabled", "ToolTipText"})
    if (equalsNoCase(name, n)) return !typeInfo.find(name);
  return false;
}

// HIMETRIC extent of a user control, kept in its bag by the host.
constexpr const char* kExtentX = "_extentx";
constexpr const char* kExtentY = "_extenty";

// Where a parse error's byte offset falls, as an editor shows it: 1-based, columns in
// characters, not bytes.
std::string lineAndColumn(const QByteArray& text, qsizetype offset) {
  int line = 1, column = 1;
  for (qsizetype i = 0; i < std::min(offset, text.size()); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {  // not inside a UTF-8 sequence
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

class Loader {
 public:
  Loader(std::string path, bool designMode) : m_path(std::move(path)), m_dir(QFileInfo(QString::fromStdString(m_path)).absoluteDir()), m_designMode(designMode) {}

  // One entry, with what it holds, into a form that is already there. Errors leave
  // nothing of the entry behind.
  ControlPtr loadEntry(Form& form, const QJsonObject& entry, Window* container, std::size_t position,
                       std::vector<LoadWarning>* warnings) {
    const std::size_t before = form.controls().size();
    ControlPtr control;
    try {
      control = loadControl(form, entry, container);
    } catch (...) {
      if (form.controls().size() > before) form.removeControl(*form.controls()[before]);
      throw;
    }
    // What was made sits at the end of the form's order: it moves to its place as one block.
    form.placeInOrder(before, position);
    reportWarnings(warnings);
    return control;
  }

  FormPtr load(const QByteArray& text, std::vector<LoadWarning>* warnings) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError)
      throw Error(err::BadFormFile, m_path + ": not a form file: " + parseError.errorString().toStdString() + " at " +
                                        lineAndColumn(text, parseError.offset));
    if (!doc.isObject()) throw Error(err::BadFormFile, m_path + ": not a form file: the top level must be an object");
    const QJsonObject root = doc.object();
    const std::string name = root.value("name").toString().toStdString();
    if (name.empty()) throw Error(err::BadFormFile, m_path + ": the form has no \"name\"");
    if (root.contains("class") && root.value("class").toString() != QLatin1String("Form"))
      throw Error(err::BadFormFile, m_path + ": the top level must be a \"Form\"");
    FormPtr form = Form::create(name, m_designMode);
    try {
      applyProperties(*form, form->classInfo(), root, name, {});
      loadControls(*form, root.value("controls"), form.get(), name);
    } catch (...) {
      form->Unload();  // nothing half-loaded stays behind
      throw;
    }
    // Only a form that loaded has warnings: a failed load reports its error alone.
    reportWarnings(warnings);
    return form;
  }

 private:
  void reportWarnings(std::vector<LoadWarning>* warnings) const {
    for (const LoadWarning& w : m_warnings) std::cerr << "warning: " << w.message << '\n';
    if (warnings) warnings->insert(warnings->end(), m_warnings.begin(), m_warnings.end());
  }

  [[noreturn]] void fail(const Error& e, const std::string& control, const std::string& property) const {
    std::string where = m_path + ": control '" + control + "'";
    if (!property.empty()) where += ", property '" + property + "'";
    throw Error(e.number(), where + ": " + e.description());
  }

  // Applies the entry's properties in the class's member order, so that a file gives
  // the same result whatever order its keys are in.
  void applyProperties(Object& target, const ClassInfo& info, const QJsonObject& entry, const std::string& control,
                       const std::function<bool(const std::string&)>& skip) {
    // By folded name, each with the key as the file spells it, for the error.
    std::map<std::string, std::pair<std::string, QJsonValue>> pending;
    for (auto it = entry.begin(); it != entry.end(); ++it) {
      const std::string key = it.key().toStdString();
      if (!isReservedKey(it.key()) && !(skip && skip(key))) pending[lowerCase(key)] = {key, it.value()};
    }
    for (const MemberInfo& m : info.members) {
      auto it = pending.find(lowerCase(m.name));
      if (it == pending.end()) continue;
      try {
        applyProperty(target, m, it->second.second);
      } catch (const Error& e) {
        fail(e, control, m.name);
      }
      pending.erase(it);
    }
    if (!pending.empty()) fail(Error(err::NoSuchMember, "no such property"), control, pending.begin()->second.first);
  }

  void applyProperty(Object& target, const MemberInfo& m, const QJsonValue& value) {
    if (equalsNoCase(m.name, "Font")) {
      if (!value.isObject()) throw Error(err::TypeMismatch, "a font must be an object");
      Args none;
      ObjectPtr font = target.Object::invoke(m.name, CallKind::Get, none).toObject();
      const QJsonObject o = value.toObject();
      applyProperties(*font, font->classInfo(), o, "Font", {});
      return;
    }
    Args args{variantFromJson(value, m_dir)};
    const bool object = args[0].isObject();
    target.Object::invoke(m.name, object && m.has(CallKind::Set) ? CallKind::Set : CallKind::Let, args);
  }

  void loadControls(Form& form, const QJsonValue& list, Window* container, const std::string& parentName) {
    if (list.isUndefined() || list.isNull()) return;
    if (!list.isArray()) fail(Error(err::TypeMismatch, "\"controls\" must be a list"), parentName, "controls");
    for (const QJsonValue& v : list.toArray()) {
      if (!v.isObject()) fail(Error(err::TypeMismatch, "a control must be an object"), parentName, "controls");
      loadControl(form, v.toObject(), container);
    }
  }

  ControlPtr loadControl(Form& form, const QJsonObject& entry, Window* container) {
    const std::string name = entry.value("name").toString().toStdString();
    const std::string classId = entry.value("class").toString().toStdString();
    if (name.empty()) fail(Error(err::BadFormFile, "a control has no \"name\""), "?", "name");
    if (classId.empty()) fail(Error(err::BadFormFile, "no \"class\""), name, "class");
    Form::AddOptions options;
    std::string label = name;
    if (entry.contains("index")) {
      const QJsonValue index = entry.value("index");
      if (!index.isDouble() || index.toDouble() < 0 || index.toDouble() > 32767 || index.toDouble() != std::trunc(index.toDouble()))
        fail(Error(err::InvalidPropertyValue, "an index must be a whole number from 0 to 32767"), name, "index");
      options.index = static_cast<int16_t>(index.toInt());
      label = name + "(" + std::to_string(options.index) + ")";
    }
    if (entry.contains("MultiLine")) options.multiLine = entry.value("MultiLine").toBool();

    PropertyBag bag;
    const bool custom = !isStandardClass(classId);
    if (custom) {
      const QJsonValue bagValue = entry.value("bag");
      if (!bagValue.isUndefined() && !bagValue.isObject()) fail(Error(err::TypeMismatch, "\"bag\" must be an object"), label, "bag");
      const QJsonObject o = bagValue.toObject();
      for (auto it = o.begin(); it != o.end(); ++it) {
        try {
          bag.WriteProperty(it.key().toStdString(), variantFromJson(it.value(), m_dir));
        } catch (const Error& e) {
          fail(e, label, it.key().toStdString());
        }
      }
      options.bag = &bag;
    } else if (entry.contains("bag")) {
      fail(Error(err::InvalidCall, "only user controls have a property bag"), label, "bag");
    }
    options.site = [&](Control& c) {
      const ClassInfo& info = Control::commonClassInfo();
      if (auto* host = dynamic_cast<UserControlHost*>(&c)) {
        const Scale& s = container->contentScale();
        for (auto [key, axis] : {std::pair{kExtentX, Axis::X}, std::pair{kExtentY, Axis::Y}}) {
          if (!bag.contains(key)) continue;
          try {
            // The extent is whole pixels on screen, whatever HIMETRIC rounding left.
            const float pixels = static_cast<float>(roundHalfEven(scaleAxis(axis, bag.ReadProperty(key).toSingle(), ScaleHimetric, ScalePixels)));
            const double twips = scaleAxis(axis, pixels, ScalePixels, ScaleTwips);
            Args a{Variant(static_cast<float>(s.fromTwips(axis, twips)))};
            host->Object::invoke(axis == Axis::X ? "Width" : "Height", CallKind::Let, a);
          } catch (const Error& e) {
            fail(e, label, key);
          }
        }
        applyProperties(c, info, entry, label, [&](const std::string& key) { return equalsNoCase(key, "MultiLine"); });
      } else {
        applyProperties(c, c.classInfo(), entry, label, [&](const std::string& key) { return equalsNoCase(key, "MultiLine"); });
      }
    };
    ControlPtr control;
    try {
      control = form.addControl(classId, name, container, options);
    } catch (const Error& e) {
      if (e.description().rfind(m_path, 0) == 0) throw;  // already names the file
      fail(e, label, "");
    }
    if (custom) warnUnread(bag, classId, label);
    if (entry.contains("controls")) {
      if (!control->isContainer()) fail(Error(err::InvalidCall, "this control cannot hold controls"), label, "controls");
      loadControls(form, entry.value("controls"), control.get(), label);
    }
    return control;
  }

  // The host read its own extent keys while siting the control, so they never show here.
  void warnUnread(const PropertyBag& bag, const std::string& classId, const std::string& label) {
    for (const std::string& key : bag.unread())
      m_warnings.push_back({label, key,
                            m_path + ": control '" + label + "': " + classId + " did not read the bag entry '" + key +
                                "', so it has no effect and a save leaves it out"});
  }

  std::string m_path;
  QDir m_dir;
  bool m_designMode;
  std::vector<LoadWarning> m_warnings;
};

class Saver {
 public:
  Saver(const Form& form, const std::string& path) : m_form(form), m_dir(QFileInfo(QString::fromStdString(path)).absoluteDir()) {}

  QJsonObject entry(const Control& c) { return saveControl(const_cast<Control&>(c)); }

  QJsonObject save() {
    QJsonObject root;
    root["class"] = "Form";
    root["name"] = QString::fromStdString(m_form.name());
    Form& form = const_cast<Form&>(m_form);
    for (const MemberInfo& m : form.classInfo().members) {
      if (!m.has(CallKind::Let) || isTransient(m.name, form)) continue;
      Args none;
      root[QString::fromStdString(m.name)] = jsonFromVariant(form.invoke(m.name, CallKind::Get, none), m_dir);
    }
    root["controls"] = childrenOf(&form);
    return root;
  }

 private:
  QJsonArray childrenOf(Window* container) {
    QJsonArray out;
    appendChildren(container, out);
    return out;
  }

  // A control a program added at run time (a scrolling layer, say) is left out, and
  // what it holds is saved where it stands, with the same Left and Top numbers.
  void appendChildren(Window* container, QJsonArray& out) {
    for (const ControlPtr& c : m_form.controls()) {
      if (c->containerWindow() != container) continue;
      if (c->addedAtRunTime()) appendChildren(c.get(), out);
      else out.append(saveControl(*c));
    }
  }

  QJsonObject saveControl(Control& c) {
    QJsonObject entry;
    entry["class"] = QString::fromStdString(c.classId());
    entry["name"] = QString::fromStdString(c.name());
    if (c.inArray()) entry["index"] = c.index();
    auto* host = dynamic_cast<UserControlHost*>(&c);
    const ClassInfo& info = host ? Control::commonClassInfo() : c.classInfo();
    Control& proto = prototype(c.classId());
    for (const MemberInfo& m : info.members) {
      if (!m.get || !(m.let || m.set) || isTransient(m.name, c)) continue;
      if (host && !isExtenderProperty(m.name, host->typeInfo())) continue;
      Args none;
      const Variant value = c.Object::invoke(m.name, CallKind::Get, none);
      const bool size = equalsNoCase(m.name, "Width") || equalsNoCase(m.name, "Height");
      if (equalsNoCase(m.name, "Font")) {
        if (auto json = saveFont(value.toObject(), proto); !json.isEmpty()) entry["Font"] = json;
        continue;
      }
      if (!size && value.equals(proto.Object::invoke(m.name, CallKind::Get, none))) continue;
      entry[QString::fromStdString(m.name)] = jsonFromVariant(value, m_dir);
    }
    if (auto* text = dynamic_cast<const TextBox*>(&c); text && text->get_MultiLine()) entry["MultiLine"] = true;
    if (host) {
      PropertyBag bag;
      host->writeProperties(bag);
      bag.WriteProperty(kExtentX, Variant(toInt32(scaleX(static_cast<float>(c.twips(Axis::X, true)), ScaleTwips, ScaleHimetric))));
      bag.WriteProperty(kExtentY, Variant(toInt32(scaleY(static_cast<float>(c.twips(Axis::Y, true)), ScaleTwips, ScaleHimetric))));
      QJsonObject b;
      for (const auto& [key, value] : bag.entries()) b[QString::fromStdString(key)] = jsonFromVariant(value, m_dir);
      entry["bag"] = b;
    }
    if (c.isContainer()) {
      QJsonArray children = childrenOf(&c);
      if (!children.isEmpty()) entry["controls"] = children;
    }
    return entry;
  }

  QJsonObject saveFont(const ObjectPtr& font, Control& proto) {
    auto* f = dynamic_cast<Font*>(font.get());
    auto* d = dynamic_cast<Font*>(proto.get_Font().get());
    if (!f || !d || f->sameAs(*d)) return {};
    QJsonObject o;
    o["Name"] = QString::fromStdString(f->get_Name());
    o["Size"] = static_cast<double>(f->get_Size());
    if (f->get_Bold()) o["Bold"] = true;
    if (f->get_Italic()) o["Italic"] = true;
    if (f->get_Underline()) o["Underline"] = true;
    return o;
  }

  // A fresh control of the class gives the defaults that need not be written; user
  // controls compare their extender properties with a plain picture box.
  Control& prototype(const std::string& classId) {
    const std::string id = isStandardClass(classId) ? classId : std::string(kPictureBoxClass);
    if (!m_scratch) m_scratch = Form::create("scratch", true);
    if (ControlPtr c = m_scratch->findControl(id)) return *c;
    return *m_scratch->addControl(id, id);
  }

  const Form& m_form;
  QDir m_dir;
  FormPtr m_scratch;
};

}  // namespace

QJsonObject saveControlEntry(const Control& control, const std::string& formPath) {
  return Saver(Form::live(control.form()), formPath).entry(control);
}

ControlPtr loadControlEntry(Form& form, const QJsonObject& entry, Window* container, const std::string& formPath,
                            std::size_t position, std::vector<LoadWarning>* warnings) {
  Form::live(&form);
  return Loader(formPath, form.designMode()).loadEntry(form, entry, container ? container : &form, position, warnings);
}

FormPtr loadFormFromJson(const std::string& json, const std::string& path, bool designMode, std::vector<LoadWarning>* warnings) {
  return Loader(path, designMode).load(QByteArray::fromStdString(json), warnings);
}

FormPtr loadForm(const std::string& path, bool designMode, std::vector<LoadWarning>* warnings) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) throw Error(err::FileNotFound, path + ": cannot open the form file: " + file.errorString().toStdString());
  return Loader(path, designMode).load(file.readAll(), warnings);
}

std::string saveFormToJson(const Form& form, const std::string& path) {
  return QJsonDocument(Saver(form, path).save()).toJson(QJsonDocument::Indented).toStdString();
}

void saveForm(const Form& form, const std::string& path) {
  const std::string json = saveFormToJson(form, path);
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly) || file.write(json.data(), static_cast<qint64>(json.size())) != static_cast<qint64>(json.size()) ||
      !file.commit())
    throw Error(err::FileNotFound, path + ": cannot write the form file: " + file.errorString().toStdString());
}

}  // namespace forms
