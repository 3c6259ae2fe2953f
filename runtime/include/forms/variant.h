#pragma once
// The runtime's dynamically typed value.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace forms {

class Object;
using ObjectPtr = std::shared_ptr<Object>;

enum class VarType : int { Empty = 0, Integer = 2, Long = 3, Single = 4, Double = 5, String = 8, Object = 9, Boolean = 11 };

// Booleans are 16-bit: true is -1.
inline constexpr int16_t BoolTrue = -1;
inline constexpr int16_t BoolFalse = 0;

class Variant {
 public:
  Variant() = default;
  Variant(bool b) : m_value(BoolTag{b}) {}
  Variant(int16_t i) : m_value(i) {}
  Variant(int32_t l) : m_value(l) {}
  Variant(float f) : m_value(f) {}
  Variant(double d) : m_value(d) {}
  Variant(std::string s) : m_value(std::move(s)) {}
  Variant(const char* s) : m_value(std::string(s)) {}
  Variant(ObjectPtr o) : m_value(std::move(o)) {}
  // Plain int and unsigned literals would be ambiguous; make them explicit Longs.
  static Variant fromLong(int64_t value);

  VarType type() const;
  bool isEmpty() const { return type() == VarType::Empty; }
  bool isObject() const { return type() == VarType::Object; }

  // Conversions raise error 13 (type mismatch) or 6 (overflow).
  bool toBool() const;
  int16_t toInt16() const;
  int32_t toInt32() const;
  float toSingle() const;
  double toDouble() const;
  std::string toString() const;
  ObjectPtr toObject() const;  // Empty and a null object give nullptr

  // Equality as the property comparisons use it: numbers by value, strings exactly,
  // objects by identity.
  bool equals(const Variant& other) const;

  // Name of the type as a program sees it ("Integer", "String", ...).
  std::string typeName() const;

 private:
  struct BoolTag {
    bool value;
  };
  std::variant<std::monostate, BoolTag, int16_t, int32_t, float, double, std::string, ObjectPtr> m_value;
};

}  // namespace forms
