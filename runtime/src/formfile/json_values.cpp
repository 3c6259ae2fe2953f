#include "json_values.h"

#include <QJsonObject>
#include <cmath>
#include <limits>

#include "forms/error.h"
#include "forms/picture.h"

namespace forms {

Variant variantFromJson(const QJsonValue& value, const QDir& formDir) {
  switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined: return {};
    case QJsonValue::Bool: return Variant(value.toBool());
    case QJsonValue::Double: {
      const double d = value.toDouble();
      if (d == std::trunc(d) && d >= std::numeric_limits<int32_t>::min() && d <= std::numeric_limits<int32_t>::max())
        return Variant(static_cast<int32_t>(d));
      return Variant(d);
    }
    case QJsonValue::String: return Variant(value.toString().toStdString());
    case QJsonValue::Object: {
      const QJsonObject o = value.toObject();
      if (o.size() == 1 && o.value("picture").isString()) {
        const QString path = formDir.filePath(o.value("picture").toString());
        return Variant(ObjectPtr(LoadPicture(QDir::cleanPath(path).toStdString())));
      }
      throw Error(err::TypeMismatch, "Type mismatch: an object where a value was expected");
    }
    case QJsonValue::Array: throw Error(err::TypeMismatch, "Type mismatch: a list where a value was expected");
  }
  return {};
}

QJsonValue jsonFromVariant(const Variant& value, const QDir& formDir) {
  switch (value.type()) {
    case VarType::Empty: return QJsonValue::Null;
    case VarType::Boolean: return value.toBool();
    case VarType::Integer:
    case VarType::Long: return value.toInt32();
    case VarType::Single: return static_cast<double>(value.toSingle());
    case VarType::Double: return value.toDouble();
    case VarType::String: return QString::fromStdString(value.toString());
    case VarType::Object: {
      ObjectPtr o = value.toObject();
      if (!o) return QJsonValue::Null;
      auto* picture = dynamic_cast<Picture*>(o.get());
      if (!picture) throw Error(err::TypeMismatch, "Type mismatch: only pictures can be saved as objects");
      return QJsonObject{{"picture", formDir.relativeFilePath(QString::fromStdString(picture->path()))}};
    }
  }
  return QJsonValue::Null;
}

}  // namespace forms
