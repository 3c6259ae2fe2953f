#pragma once
// Objects reached by name: get, let (value), set (object) and call, case-insensitive,
// error 438 for a member the object lacks. Type information drives the binding.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "forms/error.h"
#include "forms/variant.h"

namespace forms {

enum class CallKind : int { Get = 1, Method = 2, Let = 4, Set = 8 };
constexpr int operator|(CallKind a, CallKind b) { return static_cast<int>(a) | static_cast<int>(b); }
constexpr int operator|(int a, CallKind b) { return a | static_cast<int>(b); }

using Args = std::vector<Variant>;
using Thunk = std::function<Variant(Object&, Args&)>;

enum class TypeKind { Void, Boolean, Integer, Long, Single, Double, String, Variant, Object, Color, Picture, Enum };

struct TypeRef {
  TypeKind kind = TypeKind::Void;
  std::string name;  // the enumeration's or interface's name where it has one
};

struct ParamInfo {
  std::string name;
  TypeRef type;
  bool byRef = false;
};

struct MemberInfo {
  std::string name;
  int dispid = 0;
  int kinds = 0;  // CallKind bits
  TypeRef type;
  std::vector<ParamInfo> params;
  std::string description;
  bool hidden = false;
  bool nonBrowsable = false;
  Thunk get, let, set, call;

  bool has(CallKind k) const { return (kinds & static_cast<int>(k)) != 0; }
};

struct EventInfo {
  std::string name;
  int dispid = 0;
  std::vector<ParamInfo> params;
};

struct EnumMember {
  std::string name;
  int32_t value = 0;
  std::string description;
};

struct EnumInfo {
  std::string name;
  std::vector<EnumMember> members;
};

class ClassInfo {
 public:
  std::string name;
  std::string description;  // what a toolbox says of the class; may be empty
  std::string defaultInterface;
  std::string eventInterface;
  bool isControl = false;
  std::vector<MemberInfo> members;  // slot order
  std::vector<EventInfo> events;

  const MemberInfo* find(std::string_view member) const;
  const EventInfo* findEvent(std::string_view event) const;
  // Appends a member with the next dispatch id unless one is given.
  MemberInfo& add(MemberInfo member);
  // Copies another class's members in front of this class's own.
  void inherit(const ClassInfo& base);

 private:
  // Positions of the members by folded name, made at the first lookup: every call by
  // name goes through find.
  mutable std::unordered_map<std::string, std::size_t> m_index;
};

struct LibraryInfo {
  std::string name;
  std::string description;
  int major = 1;
  int minor = 0;
  int revision = 0;
  int32_t lcid = 0;
  std::vector<const ClassInfo*> classes;
  std::vector<EnumInfo> enums;
};

using EventHandler = std::function<void(Args&)>;

class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object();
  virtual const ClassInfo& classInfo() const = 0;

  // Late binding by name; error 438 when the member or the kind of call is missing.
  virtual Variant invoke(std::string_view member, CallKind kind, Args& args);
  bool hasMember(std::string_view member) const;

  // Events: handlers run synchronously in connection order with the arguments by
  // reference.
  int connect(std::string_view event, EventHandler handler);
  void disconnect(int connection);
  virtual void raiseEvent(std::string_view event, Args& args);

 protected:
  void raiseToHandlers(std::string_view event, Args& args);

 private:
  struct Connection {
    int id;
    std::string event;  // folded
    EventHandler handler;
  };
  std::vector<Connection> m_connections;
  int m_nextConnection = 1;
};

// Late-bound access; error 91 when the object is not set.
Variant get(const ObjectPtr& object, std::string_view member, Args args = {});
void let(const ObjectPtr& object, std::string_view member, Variant value);
void set(const ObjectPtr& object, std::string_view member, ObjectPtr value);
Variant call(const ObjectPtr& object, std::string_view member, Args args = {});
Variant get(Object& object, std::string_view member, Args args = {});
void let(Object& object, std::string_view member, Variant value);

// Typed conversion between Variants and C++ values for binding thunks.
template <class T>
T fromVariant(const Variant& v);
template <> inline Variant fromVariant<Variant>(const Variant& v) { return v; }
template <> inline bool fromVariant<bool>(const Variant& v) { return v.toBool(); }
template <> inline int16_t fromVariant<int16_t>(const Variant& v) { return v.toInt16(); }
template <> inline int32_t fromVariant<int32_t>(const Variant& v) { return v.toInt32(); }
template <> inline float fromVariant<float>(const Variant& v) { return v.toSingle(); }
template <> inline double fromVariant<double>(const Variant& v) { return v.toDouble(); }
template <> inline std::string fromVariant<std::string>(const Variant& v) { return v.toString(); }
template <> inline ObjectPtr fromVariant<ObjectPtr>(const Variant& v) { return v.toObject(); }

inline Variant toVariant(Variant v) { return v; }
inline Variant toVariant(bool v) { return Variant(v); }
inline Variant toVariant(int16_t v) { return Variant(v); }
inline Variant toVariant(int32_t v) { return Variant(v); }
inline Variant toVariant(uint32_t v) { return Variant(static_cast<int32_t>(v)); }
inline Variant toVariant(float v) { return Variant(v); }
inline Variant toVariant(double v) { return Variant(v); }
inline Variant toVariant(std::string v) { return Variant(std::move(v)); }
template <class T>
Variant toVariant(std::shared_ptr<T> v) { return Variant(ObjectPtr(std::move(v))); }

// The type a member shows in type information, from the C++ type it reads.
template <class R>
TypeRef typeRefOf() {
  using V = std::decay_t<R>;
  if constexpr (std::is_same_v<V, bool>) return {TypeKind::Boolean, {}};
  else if constexpr (std::is_same_v<V, int16_t>) return {TypeKind::Integer, {}};
  else if constexpr (std::is_same_v<V, int32_t> || std::is_same_v<V, uint32_t>) return {TypeKind::Long, {}};
  else if constexpr (std::is_same_v<V, float>) return {TypeKind::Single, {}};
  else if constexpr (std::is_same_v<V, double>) return {TypeKind::Double, {}};
  else if constexpr (std::is_same_v<V, std::string>) return {TypeKind::String, {}};
  else if constexpr (std::is_same_v<V, Variant>) return {TypeKind::Variant, {}};
  else return {TypeKind::Object, {}};
}

// Builds a class's members from member functions of T.
template <class T>
class ClassBuilder {
 public:
  explicit ClassBuilder(ClassInfo& info) : m_info(info) {}

  template <class R>
  MemberInfo& getter(std::string name, R (T::*g)() const) {
    MemberInfo m;
    m.name = std::move(name);
    m.kinds = static_cast<int>(CallKind::Get);
    m.type = typeRefOf<R>();
    m.get = [g](Object& o, Args&) { return toVariant((static_cast<T&>(o).*g)()); };
    return m_info.add(std::move(m));
  }

  template <class R, class A>
  MemberInfo& property(std::string name, R (T::*g)() const, void (T::*p)(A)) {
    MemberInfo& m = getter(std::move(name), g);
    m.kinds |= static_cast<int>(CallKind::Let);
    m.let = [p](Object& o, Args& args) {
      if (args.empty()) throw Error(err::InvalidCall);
      (static_cast<T&>(o).*p)(fromVariant<std::decay_t<A>>(args.back()));
      return Variant();
    };
    return m;
  }

  template <class R, class A>
  MemberInfo& objectProperty(std::string name, R (T::*g)() const, void (T::*p)(A)) {
    MemberInfo& m = getter(std::move(name), g);
    m.kinds |= static_cast<int>(CallKind::Set);
    m.set = [p](Object& o, Args& args) {
      if (args.empty()) throw Error(err::InvalidCall);
      (static_cast<T&>(o).*p)(args.back().toObject());
      return Variant();
    };
    return m;
  }

  MemberInfo& method(std::string name, std::function<Variant(T&, Args&)> f) {
    MemberInfo m;
    m.name = std::move(name);
    m.kinds = static_cast<int>(CallKind::Method);
    m.call = [f](Object& o, Args& args) { return f(static_cast<T&>(o), args); };
    return m_info.add(std::move(m));
  }

 private:
  ClassInfo& m_info;
};

}  // namespace forms
