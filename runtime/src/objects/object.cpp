#include "forms/object.h"

#include <algorithm>

#include "forms/collection.h"
#include "forms/error.h"

namespace forms {

const MemberInfo* ClassInfo::find(std::string_view member) const {
  if (m_index.empty() && !members.empty())
    for (std::size_t i = members.size(); i-- > 0;) m_index[lowerCase(members[i].name)] = i;  // the first of a name wins
  auto it = m_index.find(lowerCase(member));
  return it == m_index.end() ? nullptr : &members[it->second];
}

const EventInfo* ClassInfo::findEvent(std::string_view event) const {
  for (const auto& e : events)
    if (equalsNoCase(e.name, event)) return &e;
  return nullptr;
}

MemberInfo& ClassInfo::add(MemberInfo member) {
  if (member.dispid == 0) {
    int highest = 0;
    for (const auto& m : members) highest = std::max(highest, m.dispid);
    member.dispid = highest + 1;
  }
  m_index.clear();
  members.push_back(std::move(member));
  return members.back();
}

void ClassInfo::inherit(const ClassInfo& base) {
  std::vector<MemberInfo> merged = base.members;
  int highest = 0;
  for (const auto& m : base.members) highest = std::max(highest, m.dispid);
  for (const auto& m : members) highest = std::max(highest, m.dispid);
  auto taken = [&](int dispid) {
    return std::any_of(merged.begin(), merged.end(), [&](const MemberInfo& o) { return o.dispid == dispid; });
  };
  for (auto& m : members) {
    if (base.find(m.name)) continue;
    // Own members were numbered from 1 too: move the ones the base already uses.
    if (taken(m.dispid)) m.dispid = ++highest;
    merged.push_back(std::move(m));
  }
  members = std::move(merged);
  m_index.clear();
}

Object::~Object() = default;

Variant Object::invoke(std::string_view member, CallKind kind, Args& args) {
  const MemberInfo* m = classInfo().find(member);
  if (!m) throw Error(err::NoSuchMember);
  switch (kind) {
    case CallKind::Get:
      if (m->get) return m->get(*this, args);
      if (m->call) return m->call(*this, args);  // a function read like a property
      break;
    case CallKind::Method:
      if (m->call) return m->call(*this, args);
      if (m->get) return m->get(*this, args);
      break;
    case CallKind::Let:
      if (m->let) return m->let(*this, args);
      break;
    case CallKind::Set:
      if (m->set) return m->set(*this, args);
      break;
  }
  throw Error(err::NoSuchMember);
}

bool Object::hasMember(std::string_view member) const { return classInfo().find(member) != nullptr; }

int Object::connect(std::string_view event, EventHandler handler) {
  const int id = m_nextConnection++;
  m_connections.push_back({id, lowerCase(event), std::move(handler)});
  return id;
}

void Object::disconnect(int connection) {
  std::erase_if(m_connections, [connection](const Connection& c) { return c.id == connection; });
}

void Object::raiseEvent(std::string_view event, Args& args) { raiseToHandlers(event, args); }

void Object::raiseToHandlers(std::string_view event, Args& args) {
  const std::string folded = lowerCase(event);
  // Handlers may connect or disconnect while the event runs.
  std::vector<EventHandler> handlers;
  for (const auto& c : m_connections)
    if (c.event == folded) handlers.push_back(c.handler);
  for (auto& h : handlers) h(args);
}

Variant get(Object& object, std::string_view member, Args args) { return object.invoke(member, CallKind::Get, args); }

void let(Object& object, std::string_view member, Variant value) {
  Args args{std::move(value)};
  object.invoke(member, CallKind::Let, args);
}

Variant get(const ObjectPtr& object, std::string_view member, Args args) {
  if (!object) throw Error(err::ObjectNotSet);
  return object->invoke(member, CallKind::Get, args);
}

void let(const ObjectPtr& object, std::string_view member, Variant value) {
  if (!object) throw Error(err::ObjectNotSet);
  let(*object, member, std::move(value));
}

void set(const ObjectPtr& object, std::string_view member, ObjectPtr value) {
  if (!object) throw Error(err::ObjectNotSet);
  Args args{Variant(std::move(value))};
  object->invoke(member, CallKind::Set, args);
}

Variant call(const ObjectPtr& object, std::string_view member, Args args) {
  if (!object) throw Error(err::ObjectNotSet);
  return object->invoke(member, CallKind::Method, args);
}

}  // namespace forms
