// A live form with one Scrollbay, driven by a sequence of operations read from the
// input: late-bound gets, lets, sets and calls with awkward values, interleaved with
// ticks, keys and clicks on the layer, wheel messages, container resizes, focus moves
// and scale changes. The control's event handlers may write back odd values, raise
// errors, call the control again, or unload the form under it.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QTest>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "Scrollbay.h"
#include "forms/clock.h"
#include "forms/error.h"
#include "forms/form.h"
#include "forms/picture.h"
#include "forms/usercontrol.h"
#include "fuzz_support.h"
#include "win32/win32.h"

namespace fuzz {

namespace {

constexpr int kMaxOperations = 96;
constexpr int kMaxHandlerDepth = 2;

// The control's events, and those of the runtime's controls inside it.
const char* const kEvents[] = {"Resize",        "Click",         "DblClick", "KeyDown",  "KeyPress",  "KeyUp",
                               "MouseDown",     "MouseMove",     "MouseUp",  "GotFocus", "LostFocus", "Change",
                               "HScrollChange", "VScrollChange"};
const char* const kSources[] = {"Scrollbay1", "txtFirst", "txtFar", "fraGroup", "optOne"};

// The extender's members that a program uses most, besides the control's own.
const char* const kExtenderMembers[] = {"Left", "Top",     "Width",    "Height", "Visible", "Enabled",
                                        "Move", "ZOrder", "SetFocus", "Container", "Name", "hWnd"};

// Reads the input a byte at a time; past the end every read gives 0.
class Reader {
 public:
  Reader(const uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  bool more() const { return m_pos < m_size; }
  uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  template <class T, std::size_t N>
  const T& pick(const T (&table)[N]) { return table[byte() % N]; }

 private:
  const uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

enum class Kind { Get, Let, Set, Call };

struct MemberOp {
  std::string member;
  Kind kind = Kind::Get;
  std::vector<forms::Variant> args;
};

enum class Reaction { None, WriteBack, RaiseError, CallControl, UnloadForm };

class Session {
 public:
  explicit Session(forms::PicturePtr picture) : m_picture(std::move(picture)) {}

  void build() {
    m_form = forms::Form::create("frmFuzz");
    m_form->put_ClientWidth(6000);
    m_form->put_ClientHeight(4500);
    m_host = std::dynamic_pointer_cast<forms::UserControlHost>(m_form->addControl("ScrollbayCtl.Scrollbay", "Scrollbay1"));
    if (!m_host) throw forms::Error(forms::err::CannotCreateObject, "the Scrollbay is not a user control");
    m_bay = dynamic_cast<Scrollbay*>(&m_host->instance());
    m_host->Move(120, 120.0f, 4500, 3000);
    add("Forms.TextBox", "txtFirst", m_host.get(), 300, 300, 1500, 315);
    add("Forms.TextBox", "txtFar", m_host.get(), 300, 9000, 1500, 315);
    forms::ControlPtr frame = add("Forms.Frame", "fraGroup", m_host.get(), 6000, 600, 2500, 1500);
    add("Forms.OptionButton", "optOne", frame.get(), 120, 300, 2000, 255);
    for (const char* source : kSources)
      for (const char* event : kEvents) m_form->on(source, event, [this](forms::EventArgs& e) { react(e.args); });
    m_form->Show();
    tick();
  }

  void run(Reader& in) {
    for (int n = 0; n < kMaxOperations && in.more(); ++n) {
      const uint8_t op = in.byte();
      forms::resumeNext([&] { step(op % 16, in); });
    }
  }

  void end() {
    if (m_form) forms::resumeNext([&] { m_form->Unload(); });
    m_controls.clear();
    m_bay = nullptr;
    m_host.reset();
    m_form.reset();
  }

 private:
  forms::ControlPtr add(const char* classId, const char* name, forms::Window* container, float left, float top, float width,
                        float height) {
    forms::ControlPtr c = m_form->addControl(classId, name, container);
    c->Move(left, top, width, height);
    m_controls.push_back(c);
    return c;
  }

  void tick() {
    forms::Clock::instance().advance(kTickMs);
    processQtEvents();
  }

  forms::Variant value(Reader& in) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    switch (in.byte() % 24) {
      case 0: return forms::Variant(int32_t{0});
      case 1: return forms::Variant(int32_t{-1});
      case 2: return forms::Variant(int32_t{1});
      case 3: return forms::Variant(int32_t{32767});
      case 4: return forms::Variant(int32_t{-32768});
      case 5: return forms::Variant(int32_t{65536});
      case 6: return forms::Variant(std::numeric_limits<int32_t>::max());
      case 7: return forms::Variant(std::numeric_limits<int32_t>::min());
      case 8: return forms::Variant(1e10);
      case 9: return forms::Variant(-1e10);
      case 10: return forms::Variant(kNaN);
      case 11: return forms::Variant("");
      case 12: return forms::Variant("abc");
      case 13: return forms::Variant("12");
      case 14: return forms::Variant(true);
      case 15: return forms::Variant(false);
      case 16: return forms::Variant();
      case 17: return forms::Variant(forms::ObjectPtr(m_picture));
      case 18: return forms::Variant(forms::ObjectPtr(m_form));
      case 19: return forms::Variant(forms::ObjectPtr());
      case 20: return forms::Variant(int16_t{-1});
      case 21: return forms::Variant(std::numeric_limits<double>::infinity());
      case 22: return forms::Variant(0.5f);
      default: return forms::Variant(int32_t{1500});
    }
  }

  MemberOp memberOp(Reader& in) {
    MemberOp op;
    const auto& members = Scrollbay::typeInfo().members;
    const std::size_t which = in.byte() % (members.size() + std::size(kExtenderMembers));
    op.member = which < members.size() ? members[which].name : kExtenderMembers[which - members.size()];
    op.kind = static_cast<Kind>(in.byte() % 4);
    // Lets and sets take one value; gets and calls none, one or two.
    const int count = op.kind == Kind::Let || op.kind == Kind::Set ? 1 : in.byte() % 3;
    for (int i = 0; i < count; ++i) op.args.push_back(value(in));
    return op;
  }

  void perform(const MemberOp& op) {
    const forms::ObjectPtr target = m_host;
    switch (op.kind) {
      case Kind::Get: forms::get(target, op.member, op.args); break;
      case Kind::Let: forms::let(target, op.member, op.args.at(0)); break;
      case Kind::Set: {
        // Straight to the binding, so that a value that is no object reaches the member.
        forms::Args args = op.args;
        target->invoke(op.member, forms::CallKind::Set, args);
        break;
      }
      case Kind::Call: forms::call(target, op.member, op.args); break;
    }
  }

  // What the program's handler of any of the control's events does.
  void react(forms::Args& args) {
    if (m_depth >= kMaxHandlerDepth) return;
    ++m_depth;
    struct Leave {
      int& depth;
      ~Leave() { --depth; }
    } leave{m_depth};
    switch (m_reaction) {
      case Reaction::None: break;
      case Reaction::WriteBack:
        if (!args.empty()) args[0] = m_writeBack;
        break;
      case Reaction::RaiseError: throw forms::Error(forms::err::InvalidCall, "raised by the program's handler");
      case Reaction::CallControl: perform(m_handlerOp); break;
      case Reaction::UnloadForm: m_form->Unload(); break;
    }
  }

  // The layer's widget while the form is loaded and the layer stands.
  QWidget* layerWidget() const {
    if (!m_form->loaded() || !m_bay || !m_bay->Layer()) return nullptr;
    return m_bay->Layer()->widget();
  }

  void step(int op, Reader& in) {
    switch (op) {
      case 0: case 1: case 2: case 3: case 4: case 5: perform(memberOp(in)); break;
      case 6: tick(); break;
      case 7: {  // a key on the layer, with any of Shift, Ctrl and Alt
        static const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,  Qt::Key_Down,   Qt::Key_PageUp, Qt::Key_PageDown,
                                   Qt::Key_Home, Qt::Key_End,   Qt::Key_Tab, Qt::Key_Return, Qt::Key_A,      Qt::Key_Space};
        const int key = in.pick(keys);
        const uint8_t mods = in.byte();
        Qt::KeyboardModifiers m;
        if (mods & 1) m |= Qt::ShiftModifier;
        if (mods & 2) m |= Qt::ControlModifier;
        if (mods & 4) m |= Qt::AltModifier;
        if (QWidget* w = layerWidget()) {
          QKeyEvent press(QEvent::KeyPress, key, m, key == Qt::Key_A ? QStringLiteral("a") : QString());
          QCoreApplication::sendEvent(w, &press);
          QKeyEvent release(QEvent::KeyRelease, key, m);
          if ((w = layerWidget())) QCoreApplication::sendEvent(w, &release);
        }
        break;
      }
      case 8: {  // the wheel: a message to the layer, the control or its container, or Qt's event on the layer
        static const int deltas[] = {120, -120, 40, -40, 1, -1, 0, 32767, -32768, 240, -360};
        const int delta = in.pick(deltas);
        const uint8_t to = in.byte() % 4;
        if (!m_form->loaded()) break;
        if (to == 3) {
          if (QWidget* w = layerWidget()) {
            QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(w, &e);
          }
          break;
        }
        const win32::HWND target = to == 0 ? m_bay->LayerWnd() : to == 1 ? m_host->hWnd() : m_form->hWnd();
        win32::SendMessageA(target, win32::WM_MOUSEWHEEL, win32::MAKELONG(0, static_cast<uint16_t>(static_cast<int16_t>(delta))), 0);
        break;
      }
      case 9: {  // the container resized, minimised, or told that a setting changed
        // Within a screen: a huge top-level window would cost a huge backing store per paint.
        static const float sizes[] = {0, 15, 1500, 3000, 4500, 6000, 9000, 12000, -15};
        const float width = in.pick(sizes), height = in.pick(sizes);
        const uint8_t how = in.byte() % 4;
        if (!m_form->loaded()) break;
        if (how == 0) win32::SendMessageA(m_form->hWnd(), win32::WM_SIZE, win32::SIZE_MINIMIZED, 0);
        else if (how == 1) win32::SendMessageA(m_form->hWnd(), win32::WM_SETTINGCHANGE, 0, 0);
        m_form->put_ClientWidth(width);
        m_form->put_ClientHeight(height);
        break;
      }
      case 10: {  // the focus to a contained control
        if (m_controls.empty()) break;
        const forms::ControlPtr c = m_controls[in.byte() % m_controls.size()];
        forms::call(c, "SetFocus");
        break;
      }
      case 11: {  // a click or a double click on the layer or on a contained control
        const int x = in.byte() * 2, y = in.byte() * 2;
        const uint8_t how = in.byte();
        const bool twice = how & 1;
        const std::size_t on = (how >> 1) % (m_controls.size() + 1);
        QWidget* w = on == 0 ? layerWidget() : m_form->loaded() ? m_controls[on - 1]->widget() : nullptr;
        if (w) {
          if (twice) QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(x, y));
          else QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(x, y));
        }
        break;
      }
      case 12: {  // the form's scale, which the control follows
        static const int16_t modes[] = {0, 1, 2, 3, 4, 5, 6, 7, 99, -1};
        forms::let(m_form, "ScaleMode", forms::Variant(in.pick(modes)));
        break;
      }
      case 13: {  // a contained control moves, perhaps far away
        if (m_controls.empty()) break;
        const forms::ControlPtr c = m_controls[in.byte() % m_controls.size()];
        static const char* const props[] = {"Left", "Top", "Width", "Height", "Visible"};
        forms::let(c, in.pick(props), value(in));
        break;
      }
      case 14: {  // what the handlers do from now on
        m_reaction = static_cast<Reaction>(in.byte() % 5);
        m_writeBack = value(in);
        m_handlerOp = memberOp(in);
        break;
      }
      default:  // the form unloads under everything that follows
        if (in.byte() % 8 == 0) m_form->Unload();
        break;
    }
  }

  forms::PicturePtr m_picture;
  forms::FormPtr m_form;
  std::shared_ptr<forms::UserControlHost> m_host;
  Scrollbay* m_bay = nullptr;
  std::vector<forms::ControlPtr> m_controls;
  Reaction m_reaction = Reaction::None;
  forms::Variant m_writeBack;
  MemberOp m_handlerOp;
  int m_depth = 0;
};

}  // namespace

int runLateBinding(const uint8_t* data, std::size_t size) {
  if (size > kMaxLateBindingBytes) return 0;
  initialize();
  static const forms::PicturePtr picture = forms::LoadPicture(dataDir() + "/tile.png");
  Reader in(data, size);
  Session session(picture);
  // The starting form is the same for every input: an error while building it is a finding.
  session.build();
  session.run(in);
  session.end();
  checkNothingLeftBehind("latebinding");
  return 0;
}

}  // namespace fuzz
