// A control library for tests: one class, "Probe.Recorder", that records every
// notification it gets, the messages of its own window and every late-bound call it
// makes. The log is read back by name ("Log").
#include <map>
#include <sstream>
#include <string>

#include "forms/library.h"
#include "forms/usercontrol.h"
#include "win32/win32.h"

namespace {

using namespace forms;

class Recorder;
std::map<win32::HWND, std::pair<Recorder*, win32::LONG_PTR>>& watched() {
  static std::map<win32::HWND, std::pair<Recorder*, win32::LONG_PTR>> m;
  return m;
}

win32::LRESULT ProbeWndProc(win32::HWND, win32::UINT, win32::WPARAM, win32::LPARAM);

class Recorder : public ControlClass {
 public:
  const ClassInfo& classInfo() const override;
  bool isContainerClass() const override { return true; }

  void log(const std::string& entry) { m_log.push_back(entry); }
  std::string get_Log() const {
    std::string out;
    for (const auto& e : m_log) out += (out.empty() ? "" : ";") + e;
    return out;
  }
  std::string get_Caption() const { return m_caption; }
  void put_Caption(std::string c) {
    m_caption = std::move(c);
    userControl().PropertyChanged("Caption");
  }
  int32_t get_Number() const { return m_number; }
  void put_Number(int32_t n) {
    m_number = n;
    userControl().PropertyChanged("Number");
  }

  // A late-bound read, recorded with its result or its error.
  Variant lateGet(const ObjectPtr& target, const std::string& path, const std::string& member) {
    try {
      Variant v = get(target, member);
      log("get " + path + "." + member + "=" + (v.isObject() ? std::string("<object>") : v.toString()));
      return v;
    } catch (const Error& e) {
      log("get " + path + "." + member + " error " + std::to_string(e.number()));
      throw;
    }
  }

  void watchWindow() {
    const win32::HWND h = userControl().get_hWnd();
    if (watched().count(h)) return;
    const win32::LONG_PTR old =
        win32::SetWindowLongPtrA(h, win32::GWLP_WNDPROC, reinterpret_cast<win32::LONG_PTR>(&ProbeWndProc));
    watched()[h] = {this, old};
  }

  void Initialize() override { log("Initialize"); }
  void InitProperties() override {
    log("InitProperties");
    m_caption = "new";
    lateGet(userControl().get_Ambient(), "Ambient", "UserMode");
    watchWindow();
  }
  void ReadProperties(PropertyBag& bag) override {
    m_caption = bag.ReadProperty("Caption", "new").toString();
    m_number = bag.ReadProperty("Number", Variant(int32_t{0})).toInt32();
    log("ReadProperties Caption=" + m_caption + " Number=" + std::to_string(m_number));
    lateGet(userControl().get_Ambient(), "Ambient", "UserMode");
    watchWindow();
  }
  void WriteProperties(PropertyBag& bag) override {
    log("WriteProperties");
    bag.WriteProperty("Caption", m_caption, "new");
    bag.WriteProperty("Number", Variant(m_number), Variant(int32_t{0}));
  }
  void Show() override {
    log("Show");
    lateGet(userControl().get_Extender(), "Extender", "Name");
  }
  void Hide() override { log("Hide"); }
  void Resize() override {
    std::ostringstream s;
    s << "Resize " << userControl().get_ScaleWidth() << "x" << userControl().get_ScaleHeight();
    log(s.str());
  }
  void Paint() override { log("Paint"); }
  void AmbientChanged(const std::string& name) override { log("AmbientChanged " + name); }
  void Click() override { log("Click"); }
  void DblClick() override { log("DblClick"); }
  void KeyDown(int16_t& code, int16_t& shift) override { log("KeyDown " + std::to_string(code) + " " + std::to_string(shift)); }
  void KeyPress(int16_t& ascii) override { log("KeyPress " + std::to_string(ascii)); }
  void KeyUp(int16_t& code, int16_t& shift) override { log("KeyUp " + std::to_string(code) + " " + std::to_string(shift)); }
  void MouseDown(int16_t& b, int16_t& s, float& x, float& y) override { logMouse("MouseDown", b, s, x, y); }
  void MouseUp(int16_t& b, int16_t& s, float& x, float& y) override { logMouse("MouseUp", b, s, x, y); }
  void Terminate() override {
    log("Terminate IsWindow=" + std::to_string(win32::IsWindow(userControl().get_hWnd())));
  }

  // Raises "Changed" with its argument by reference and returns what the handler left.
  Variant FireChanged(Variant value) {
    Args args{std::move(value)};
    userControl().RaiseEvent("Changed", args);
    return args[0];
  }

 private:
  void logMouse(const char* what, int16_t b, int16_t s, float x, float y) {
    std::ostringstream o;
    o << what << " " << b << " " << s << " " << x << " " << y;
    log(o.str());
  }
  std::vector<std::string> m_log;
  std::string m_caption = "new";
  int32_t m_number = 0;
};

win32::LRESULT ProbeWndProc(win32::HWND h, win32::UINT msg, win32::WPARAM w, win32::LPARAM l) {
  auto it = watched().find(h);
  if (it == watched().end()) return 0;
  auto [probe, old] = it->second;
  if (msg == win32::WM_DESTROY) probe->log("WM_DESTROY");
  if (msg == win32::WM_SIZE) probe->log("WM_SIZE " + std::to_string(win32::LOWORD(l)) + "x" + std::to_string(l >> 16));
  if (msg == win32::WM_NCDESTROY) {
    probe->log("WM_NCDESTROY");
    win32::SetWindowLongPtrA(h, win32::GWLP_WNDPROC, old);
    watched().erase(it);
  }
  return win32::CallWindowProcA(reinterpret_cast<win32::WNDPROC>(old), h, msg, w, l);
}

const ClassInfo& recorderInfo() {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "Recorder";
    c.defaultInterface = "_Recorder";
    c.eventInterface = "__Recorder";
    c.isControl = true;
    ClassBuilder<Recorder> b(c);
    b.getter("Log", &Recorder::get_Log).description = "Everything the probe saw, separated by semicolons";
    auto& caption = b.property("Caption", &Recorder::get_Caption, &Recorder::put_Caption);
    caption.type = {TypeKind::String, {}};
    caption.params = {{"sCaption", {TypeKind::String, {}}, false}};
    caption.description = "Returns or sets the probe's caption";
    auto& number = b.property("Number", &Recorder::get_Number, &Recorder::put_Number);
    number.type = {TypeKind::Long, {}};
    number.nonBrowsable = true;
    b.method("FireChanged", [](Recorder& r, Args& a) {
      if (a.size() != 1) throw Error(err::InvalidCall);
      return r.FireChanged(a[0]);
    }).hidden = true;
    c.events.push_back({"Changed", 1, {{"Value", {TypeKind::Variant, {}}, true}}});
    return c;
  }();
  return info;
}

const ClassInfo& Recorder::classInfo() const { return recorderInfo(); }

}  // namespace

extern "C" __attribute__((visibility("default"))) const forms::ControlLibraryEntry* forms_control_library() {
  static const forms::LibraryInfo library = [] {
    forms::LibraryInfo l;
    l.name = "Probe";
    l.description = "Recording control for the runtime's tests";
    l.major = 1;
    l.minor = 2;
    l.revision = 3;
    l.lcid = 1033;
    l.classes = {&recorderInfo()};
    l.enums = {{"ProbeMode", {{"pmQuiet", 0, "pmQuiet"}, {"pmLoud", 1, "pmLoud"}}}};
    return l;
  }();
  static const forms::ControlLibraryEntry entry{&library, {{&recorderInfo(), [] { return std::make_shared<Recorder>(); }}}};
  return &entry;
}
