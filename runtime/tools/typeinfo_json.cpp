// Keys follow the fields of the structures in forms/object.h, in their order, so the
// output reads like the structures and a new field has an obvious place.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "typeinfo.h"

namespace forms::typeinfo {

namespace {

// Pretty-prints with two-space indents. A compact container, and everything in it,
// stays on one line: short things like a type or a parameter read better that way.
class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : m_out(out) {}

  void beginObject(bool compact = false) { open('{', compact); }
  void endObject() { close('}'); }
  void beginArray(bool compact = false) { open('[', compact); }
  void endArray() { close(']'); }

  JsonWriter& key(std::string_view name) {
    separate();
    m_out << quoted(name) << ": ";
    m_afterKey = true;
    return *this;
  }
  void value(std::string_view s) { scalar(quoted(s)); }
  void value(const char* s) { value(std::string_view(s)); }
  void value(bool b) { scalar(b ? "true" : "false"); }
  void value(int64_t n) { scalar(std::to_string(n)); }
  void value(int n) { value(int64_t{n}); }

  template <class T>
  void field(std::string_view name, const T& v) {
    key(name).value(v);
  }

 private:
  struct Frame {
    bool compact;
    bool empty = true;
  };

  void separate() {
    if (m_afterKey) {
      m_afterKey = false;
      return;
    }
    if (m_frames.empty()) return;
    Frame& f = m_frames.back();
    if (!f.empty) m_out << (f.compact ? ", " : ",");
    if (!f.compact) newline(m_frames.size());
    f.empty = false;
  }
  void scalar(const std::string& text) {
    separate();
    m_out << text;
  }
  void open(char bracket, bool compact) {
    separate();
    m_out << bracket;
    m_frames.push_back({compact || (!m_frames.empty() && m_frames.back().compact)});
  }
  void close(char bracket) {
    const Frame f = m_frames.back();
    m_frames.pop_back();
    if (!f.empty && !f.compact) newline(m_frames.size());
    m_out << bracket;
    if (m_frames.empty()) m_out << '\n';
  }
  void newline(size_t depth) { m_out << '\n' << std::string(2 * depth, ' '); }

  std::ostream& m_out;
  std::vector<Frame> m_frames;
  bool m_afterKey = false;
};

void writeType(JsonWriter& w, const TypeRef& type) {
  w.beginObject(true);
  w.field("kind", typeKindName(type.kind));
  w.field("name", type.name);
  w.endObject();
}

void writeParams(JsonWriter& w, const std::vector<ParamInfo>& params) {
  w.key("params").beginArray();
  for (const ParamInfo& p : params) {
    w.beginObject(true);
    w.field("name", p.name);
    writeType(w.key("type"), p.type);
    w.field("byRef", p.byRef);
    w.endObject();
  }
  w.endArray();
}

void writeMember(JsonWriter& w, const MemberInfo& m) {
  w.beginObject();
  w.field("name", m.name);
  w.field("dispid", m.dispid);
  w.key("kinds").beginArray(true);
  for (const std::string& kind : callKindNames(m.kinds)) w.value(kind);
  w.endArray();
  writeType(w.key("type"), m.type);
  writeParams(w, m.params);
  w.field("description", m.description);
  w.field("hidden", m.hidden);
  w.field("nonBrowsable", m.nonBrowsable);
  w.endObject();
}

void writeEvent(JsonWriter& w, const EventInfo& e) {
  w.beginObject();
  w.field("name", e.name);
  w.field("dispid", e.dispid);
  writeParams(w, e.params);
  w.endObject();
}

void writeClass(JsonWriter& w, const ClassInfo& c) {
  w.beginObject();
  w.field("name", c.name);
  if (!c.description.empty()) w.field("description", c.description);
  w.field("defaultInterface", c.defaultInterface);
  w.field("eventInterface", c.eventInterface);
  w.field("isControl", c.isControl);
  w.key("members").beginArray();
  for (const MemberInfo& m : c.members) writeMember(w, m);
  w.endArray();
  w.key("events").beginArray();
  for (const EventInfo& e : c.events) writeEvent(w, e);
  w.endArray();
  w.endObject();
}

void writeEnum(JsonWriter& w, const EnumInfo& e) {
  w.beginObject();
  w.field("name", e.name);
  w.key("members").beginArray();
  for (const EnumMember& m : e.members) {
    w.beginObject(true);
    w.field("name", m.name);
    w.field("value", m.value);
    w.field("description", m.description);
    w.endObject();
  }
  w.endArray();
  w.endObject();
}

}  // namespace

void writeJson(std::ostream& out, const Listing& listing) {
  const LibraryInfo& lib = *listing.library;
  JsonWriter w(out);
  w.beginObject();
  w.field("name", lib.name);
  w.field("description", lib.description);
  w.field("major", lib.major);
  w.field("minor", lib.minor);
  w.field("revision", lib.revision);
  w.field("lcid", lib.lcid);
  w.key("classes").beginArray();
  for (const ClassInfo* c : listing.classes)
    if (c) writeClass(w, *c);
  w.endArray();
  w.key("enums").beginArray();
  for (const EnumInfo& e : lib.enums) writeEnum(w, e);
  w.endArray();
  w.endObject();
}

}  // namespace forms::typeinfo
