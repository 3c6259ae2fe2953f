#pragma once
// Conversion between JSON values in form files and Variants. Pictures are stored as
// {"picture": "path relative to the form file"}.
#include <QDir>
#include <QJsonValue>

#include "forms/variant.h"

namespace forms {

// Error 13 for arrays and objects that are not pictures; pictures are loaded here.
Variant variantFromJson(const QJsonValue& value, const QDir& formDir);
// Error 13 for objects that are not pictures.
QJsonValue jsonFromVariant(const Variant& value, const QDir& formDir);

}  // namespace forms
