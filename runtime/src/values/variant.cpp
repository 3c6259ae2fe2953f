#include "forms/variant.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "forms/collection.h"
#include "forms/error.h"
#include "forms/units.h"

namespace forms {

namespace {

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

// Text that is not a number raises error 13.
double parseNumber(const std::string& text) {
  const std::string t = trim(text);
  if (t.empty()) throw Error(err::TypeMismatch);
  if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
    uint32_t v = 0;
    auto [p, ec] = std::from_chars(t.data() + 2, t.data() + t.size(), v, 16);
    if (p != t.data() + t.size() || ec == std::errc::invalid_argument) throw Error(err::TypeMismatch);
    if (ec == std::errc::result_out_of_range) throw Error(err::Overflow);
    return static_cast<double>(static_cast<int32_t>(v));
  }
  if (equalsNoCase(t, "true")) return -1;
  if (equalsNoCase(t, "false")) return 0;
  // from_chars takes "inf" and "nan", and a '-' after our own '+': none of them is a number here.
  const std::size_t start = t[0] == '+' ? 1 : 0;
  if (start == t.size() || !(std::isdigit(static_cast<unsigned char>(t[start])) || t[start] == '.' || t[start] == '-'))
    throw Error(err::TypeMismatch);
  if (t[start] == '-' && start == 1) throw Error(err::TypeMismatch);
  double v = 0;
  auto [p, ec] = std::from_chars(t.data() + start, t.data() + t.size(), v);
  if (p != t.data() + t.size() || ec == std::errc::invalid_argument || !std::isfinite(v)) throw Error(err::TypeMismatch);
  if (ec == std::errc::result_out_of_range) {
    // Too small for a double reads as 0; too large is an overflow.
    long double wide = 0;
    auto [wp, wec] = std::from_chars(t.data() + start, t.data() + t.size(), wide);
    if (wec == std::errc() && wp == p && std::fabs(wide) < 1) return 0;
    throw Error(err::Overflow);
  }
  return v;
}

// As the runtime prints numbers: at most 15 significant digits for a Double and 7 for a
// Single, exponent form ("1E+15", "1E-05") outside the plain range.
std::string formatNumber(double v, int digits) {
  if (v == 0) return "0";  // never "-0"
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, digits);
  std::string out = ec == std::errc() ? std::string(buf, p) : std::to_string(v);
  for (char& c : out)
    if (c == 'e') c = 'E';
  return out;
}

}  // namespace

Variant Variant::fromLong(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    throw Error(err::Overflow);
  return Variant(static_cast<int32_t>(value));
}

VarType Variant::type() const {
  switch (m_value.index()) {
    case 0: return VarType::Empty;
    case 1: return VarType::Boolean;
    case 2: return VarType::Integer;
    case 3: return VarType::Long;
    case 4: return VarType::Single;
    case 5: return VarType::Double;
    case 6: return VarType::String;
    default: return VarType::Object;
  }
}

double Variant::toDouble() const {
  switch (m_value.index()) {
    case 0: return 0;
    case 1: return std::get<BoolTag>(m_value).value ? -1 : 0;
    case 2: return std::get<int16_t>(m_value);
    case 3: return std::get<int32_t>(m_value);
    case 4: return std::get<float>(m_value);
    case 5: return std::get<double>(m_value);
    case 6: return parseNumber(std::get<std::string>(m_value));
    default: throw Error(err::TypeMismatch);
  }
}

float Variant::toSingle() const {
  const double d = toDouble();
  if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) throw Error(err::Overflow);
  return static_cast<float>(d);
}

int16_t Variant::toInt16() const { return forms::toInt16(toDouble()); }
int32_t Variant::toInt32() const { return forms::toInt32(toDouble()); }

bool Variant::toBool() const {
  if (m_value.index() == 1) return std::get<BoolTag>(m_value).value;
  return toDouble() != 0;
}

std::string Variant::toString() const {
  switch (m_value.index()) {
    case 0: return {};
    case 1: return std::get<BoolTag>(m_value).value ? "True" : "False";
    case 2: return std::to_string(std::get<int16_t>(m_value));
    case 3: return std::to_string(std::get<int32_t>(m_value));
    case 4: return formatNumber(std::get<float>(m_value), 7);
    case 5: return formatNumber(std::get<double>(m_value), 15);
    case 6: return std::get<std::string>(m_value);
    default: throw Error(err::TypeMismatch);
  }
}

ObjectPtr Variant::toObject() const {
  if (m_value.index() == 0) return nullptr;
  if (m_value.index() == 7) return std::get<ObjectPtr>(m_value);
  throw Error(err::TypeMismatch);
}

bool Variant::equals(const Variant& other) const {
  if (isObject() || other.isObject()) {
    if (isEmpty() || other.isEmpty()) return toObject() == other.toObject();
    return isObject() && other.isObject() && toObject() == other.toObject();
  }
  const bool text = type() == VarType::String, otherText = other.type() == VarType::String;
  if ((text && (otherText || other.isEmpty())) || (otherText && isEmpty())) return toString() == other.toString();
  // A number never equals text, even text that reads as that number.
  if (text || otherText) return false;
  // A Double compared with a Single is first rounded to single precision.
  const bool single = type() == VarType::Single || other.type() == VarType::Single;
  const bool wide = type() == VarType::Double || other.type() == VarType::Double;
  if (single && wide) return static_cast<float>(toDouble()) == static_cast<float>(other.toDouble());
  return toDouble() == other.toDouble();
}

std::string Variant::typeName() const {
  switch (type()) {
    case VarType::Empty: return "Empty";
    case VarType::Boolean: return "Boolean";
    case VarType::Integer: return "Integer";
    case VarType::Long: return "Long";
    case VarType::Single: return "Single";
    case VarType::Double: return "Double";
    case VarType::String: return "String";
    case VarType::Object: return "Object";
  }
  return "Unknown";
}

}  // namespace forms
