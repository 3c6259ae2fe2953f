// Window records: destruction order, the procedure chain and SetWindowPos.
#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/usercontrol.h"
#include "test_support.h"
#include "win32/runtime.h"
#include "win32/win32.h"

using namespace win32;
namespace rt = win32::runtime;

namespace {

using Log = std::vector<std::string>;
Log& seen() {
  static Log log;
  return log;
}

std::string destroyName(UINT msg) { return msg == WM_DESTROY ? "WM_DESTROY" : "WM_NCDESTROY"; }

// A subclass procedure that records destruction and passes everything on.
std::map<HWND, std::pair<std::string, LONG_PTR>>& spies() {
  static std::map<HWND, std::pair<std::string, LONG_PTR>> m;
  return m;
}

LRESULT DestroySpyProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  const auto [name, previous] = spies().at(h);
  if (msg == WM_DESTROY || msg == WM_NCDESTROY) seen().push_back(name + " " + destroyName(msg));
  if (msg == WM_NCDESTROY) spies().erase(h);
  return CallWindowProcA(reinterpret_cast<WNDPROC>(previous), h, msg, w, l);
}

void spyOn(HWND h, const std::string& name) {
  spies()[h] = {name, SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DestroySpyProc))};
}

// A class procedure that records destruction with how many children are still there.
rt::ClassHandler destroyRecorder(std::string name) {
  return [name](HWND h, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg == WM_DESTROY || msg == WM_NCDESTROY)
      seen().push_back(name + " " + destroyName(msg) + " IsWindow=" + std::to_string(IsWindow(h)) +
                       " children=" + std::to_string(rt::childrenOf(h).size()));
    return 0;
  };
}

}  // namespace

TEST(Win32Destroy, ParentGetsDestroyFirstAndNcDestroyLast) {
  struct Case {
    const char* root;
    Log expected;
    std::vector<const char*> survivors;
  };
  const Case cases[] = {
      {"top",
       {"top WM_DESTROY IsWindow=1 children=2", "a WM_DESTROY IsWindow=1 children=1", "a1 WM_DESTROY IsWindow=1 children=0",
        "b WM_DESTROY IsWindow=1 children=0", "a1 WM_NCDESTROY IsWindow=1 children=0",
        "a WM_NCDESTROY IsWindow=1 children=0", "b WM_NCDESTROY IsWindow=1 children=0",
        "top WM_NCDESTROY IsWindow=1 children=0"},
       {}},
      {"a",
       {"a WM_DESTROY IsWindow=1 children=1", "a1 WM_DESTROY IsWindow=1 children=0",
        "a1 WM_NCDESTROY IsWindow=1 children=0", "a WM_NCDESTROY IsWindow=1 children=0"},
       {"top", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.root);
    const int before = rt::liveWindowCount();
    QWidget top;
    auto* a = new QWidget(&top);
    auto* a1 = new QWidget(a);
    auto* b = new QWidget(&top);
    std::map<std::string, HWND> h;
    h["top"] = rt::createWindow(&top, 0, rt::WheelRole::EndWalk, destroyRecorder("top"));
    h["a"] = rt::createWindow(a, h["top"], rt::WheelRole::PassToParent, destroyRecorder("a"));
    h["a1"] = rt::createWindow(a1, h["a"], rt::WheelRole::PassToParent, destroyRecorder("a1"));
    h["b"] = rt::createWindow(b, h["top"], rt::WheelRole::PassToParent, destroyRecorder("b"));
    seen().clear();

    rt::destroyWindow(h[c.root]);

    EXPECT_EQ(seen(), c.expected);
    for (auto& [name, hwnd] : h) {
      const bool survives = std::find(c.survivors.begin(), c.survivors.end(), name) != c.survivors.end();
      EXPECT_EQ(IsWindow(hwnd), survives ? TRUE : FALSE) << name;
    }
    EXPECT_EQ(rt::hwndOf(a), 0);  // the widget lives on without a window
    EXPECT_EQ(SendMessageA(h["a1"], WM_USER, 0, 0), 0);
    if (!c.survivors.empty()) {
      EXPECT_EQ(rt::childrenOf(h["top"]), std::vector<HWND>{h["b"]});
    }
    rt::destroyWindow(h["top"]);
    EXPECT_EQ(rt::liveWindowCount(), before);
  }
}

TEST(Win32Destroy, FormUnloadDestroysEveryWindowBeforeTerminate) {
  auto form = forms::Form::create("frmUnload");
  auto pic = form->addControl("Forms.PictureBox", "Picture1");
  auto label = form->addControl("Forms.Label", "Label1", pic.get());
  auto text = form->addControl("Forms.TextBox", "Text1");
  auto probe = form->addControl("Probe.Recorder", "Probe1", pic.get());
  auto instance = std::dynamic_pointer_cast<forms::UserControlHost>(probe)->instancePtr();
  form->on("frmUnload", "Unload", [](forms::EventArgs&) { seen().push_back("Unload"); });
  form->Show();
  const std::pair<forms::Window*, const char*> windows[] = {
      {form.get(), "form"}, {pic.get(), "pic"}, {label.get(), "label"}, {text.get(), "text"}, {probe.get(), "probe"}};
  std::vector<HWND> handles;
  for (auto [w, name] : windows) {
    handles.push_back(w->hWnd());
    spyOn(w->hWnd(), name);
  }
  seen().clear();

  form->Unload();

  const Log expected{"Unload",           "form WM_DESTROY",    "pic WM_DESTROY",   "label WM_DESTROY",
                     "probe WM_DESTROY", "text WM_DESTROY",    "label WM_NCDESTROY", "probe WM_NCDESTROY",
                     "pic WM_NCDESTROY", "text WM_NCDESTROY", "form WM_NCDESTROY"};
  EXPECT_EQ(seen(), expected);
  for (HWND h : handles) EXPECT_FALSE(IsWindow(h));
  const std::string log = forms::get(instance, "Log").toString();
  const std::string tail = "WM_DESTROY;WM_NCDESTROY;Terminate IsWindow=0";
  ASSERT_GE(log.size(), tail.size()) << log;
  EXPECT_EQ(log.substr(log.size() - tail.size()), tail) << log;
}

// Two subclass procedures over a class procedure; the later one keeps kKept to itself.
namespace {
constexpr UINT kKept = WM_USER + 1;
constexpr UINT kPassed = WM_USER + 2;
LONG_PTR g_previous[3] = {};

template <int N>
LRESULT ChainProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  seen().push_back("proc" + std::to_string(N));
  if (N == 2 && msg == kKept) return 7;
  return CallWindowProcA(reinterpret_cast<WNDPROC>(g_previous[N]), h, msg, w, l);
}
}  // namespace

TEST(Win32Chain, MessageNotPassedOnNeverReachesEarlierProcedures) {
  QWidget widget;
  const HWND h = rt::createWindow(&widget, 0, rt::WheelRole::EndWalk, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    seen().push_back("class");
    return 42;
  });
  const LONG_PTR classProc = GetWindowLongPtrA(h, GWLP_WNDPROC);
  g_previous[1] = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc<1>));
  g_previous[2] = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc<2>));
  EXPECT_EQ(g_previous[1], classProc);
  EXPECT_EQ(g_previous[2], reinterpret_cast<LONG_PTR>(&ChainProc<1>));
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ChainProc<2>));

  struct Case {
    const char* what;
    std::function<LRESULT()> call;
    LRESULT result;
    Log expected;
  };
  const Case cases[] = {
      {"kept", [&] { return SendMessageA(h, kKept, 0, 0); }, 7, {"proc2"}},
      {"passed", [&] { return SendMessageA(h, kPassed, 0, 0); }, 42, {"proc2", "proc1", "class"}},
      {"handed on by hand",
       [&] { return CallWindowProcA(reinterpret_cast<WNDPROC>(g_previous[2]), h, kKept, 0, 0); },
       42,
       {"proc1", "class"}},
  };
  for (const Case& c : cases) {
    seen().clear();
    EXPECT_EQ(c.call(), c.result) << c.what;
    EXPECT_EQ(seen(), c.expected) << c.what;
  }

  // Unhooking the later procedure lets the message through again.
  EXPECT_EQ(SetWindowLongPtrA(h, GWLP_WNDPROC, g_previous[2]), reinterpret_cast<LONG_PTR>(&ChainProc<2>));
  seen().clear();
  EXPECT_EQ(SendMessageA(h, kKept, 0, 0), 42);
  EXPECT_EQ(seen(), (Log{"proc1", "class"}));
  rt::destroyWindow(h);
}

TEST(Win32SetWindowPos, SizeChangeSendsWmSizeBeforeReturning) {
  for (const bool shown : {false, true}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    QWidget parent;
    parent.resize(300, 300);
    auto* child = new QWidget(&parent);
    child->setGeometry(0, 0, 100, 50);
    if (shown) parent.show();
    Log sizes;
    const HWND h = rt::createWindow(child, 0, rt::WheelRole::PassToParent, [&](HWND, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
      if (msg == WM_SIZE)
        sizes.push_back(std::to_string(w) + ":" + std::to_string(LOWORD(l)) + "x" + std::to_string(HIWORD_SIGNED(l)));
      return 0;
    });

    struct Step {
      int x, y, cx, cy;
      UINT flags;
      QRect geometry;
      const char* wmSize;  // nullptr: none
    };
    const Step steps[] = {
        {10, 20, 60, 40, 0, {10, 20, 60, 40}, "0:60x40"},
        {30, 40, 60, 40, 0, {30, 40, 60, 40}, nullptr},               // moved only
        {0, 0, 80, 90, SWP_NOMOVE, {30, 40, 80, 90}, "0:80x90"},
        {5, 6, 1, 1, SWP_NOSIZE, {5, 6, 80, 90}, nullptr},
        {7, 8, 9, 9, SWP_NOSIZE | SWP_NOMOVE, {5, 6, 80, 90}, nullptr},
        {0, 0, -5, -7, 0, {0, 0, 0, 0}, "0:0x0"},
        {0, 0, -1, 12, SWP_NOMOVE | SWP_NOACTIVATE, {0, 0, 0, 12}, "0:0x12"},
    };
    for (const Step& s : steps) {
      sizes.clear();
      EXPECT_EQ(SetWindowPos(h, HWND_TOP, s.x, s.y, s.cx, s.cy, s.flags | SWP_NOZORDER), TRUE);
      EXPECT_EQ(sizes, s.wmSize ? Log{s.wmSize} : Log{}) << s.x << "," << s.y << " " << s.cx << "x" << s.cy;
      EXPECT_EQ(child->geometry(), s.geometry);
      testsupport::processQtEvents();  // nothing arrives late or twice
      EXPECT_EQ(sizes, s.wmSize ? Log{s.wmSize} : Log{});
    }

    // WM_SIZE and GetClientRect report the client area inside the border.
    rt::setClientInset(h, 3);
    sizes.clear();
    SetWindowPos(h, 0, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(sizes, Log{"0:44x34"});
    RECT rc;
    ASSERT_EQ(GetClientRect(h, &rc), TRUE);
    EXPECT_EQ((std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}), (std::vector<LONG>{0, 0, 44, 34}));
    rt::destroyWindow(h);
    EXPECT_EQ(SetWindowPos(h, 0, 0, 0, 10, 10, 0), FALSE);
  }
}

TEST(Win32SetWindowPos, FormResizeRaisesResizeInsideTheCall) {
  auto form = forms::Form::create("frmPos");
  int resizes = 0;
  form->on("frmPos", "Resize", [&](forms::EventArgs&) { ++resizes; });
  form->Show();
  resizes = 0;
  SetWindowPos(form->hWnd(), 0, 0, 0, 410, 290, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(resizes, 1);
  int width = 0, height = 0;
  rt::clientSize(form->hWnd(), &width, &height);
  EXPECT_EQ(QSize(width, height), QSize(410, 290));
  testsupport::processQtEvents();
  EXPECT_EQ(resizes, 1);
  form->Unload();
}

TEST(Win32SetWindowPos, InsertAfterRestacksAmongSiblings) {
  QWidget parent;
  parent.resize(100, 100);
  std::map<std::string, HWND> h;
  std::map<const QObject*, std::string> names;
  for (const char* name : {"A", "B", "C"}) {
    auto* w = new QWidget(&parent);
    w->setGeometry(0, 0, 50, 50);
    names[w] = name;
    h[name] = rt::createWindow(w, 0, rt::WheelRole::PassToParent);
  }
  parent.show();
  auto stacking = [&] {  // bottom to top
    std::string out;
    for (const QObject* o : parent.children()) out += names[o];
    return out;
  };
  ASSERT_EQ(stacking(), "ABC");

  struct Step {
    const char* window;
    HWND insertAfter;  // -100: the window named in after
    const char* after;
    UINT flags;
    const char* expected;
  };
  const Step steps[] = {
      {"A", HWND_TOP, nullptr, 0, "BCA"},
      {"A", HWND_BOTTOM, nullptr, 0, "ABC"},
      {"A", HWND_TOPMOST, nullptr, 0, "BCA"},
      {"B", HWND_BOTTOM, nullptr, SWP_NOZORDER, "BCA"},
      {"C", HWND_BOTTOM, nullptr, 0, "CBA"},
      {"A", -100, "C", 0, "ACB"},  // directly below C
  };
  for (const Step& s : steps) {
    const HWND after = s.after ? h[s.after] : s.insertAfter;
    EXPECT_EQ(SetWindowPos(h[s.window], after, 0, 0, 0, 0, s.flags | SWP_NOMOVE | SWP_NOSIZE), TRUE);
    EXPECT_EQ(stacking(), s.expected) << s.window;
    EXPECT_EQ(names[parent.childAt(10, 10)], std::string(1, s.expected[2])) << s.window;
  }
  for (auto& [name, hwnd] : h) rt::destroyWindow(hwnd);
}

// The window of a widget is found from the widget and from anything inside it, and only
// while both the widget and the window live: a widget made where a deleted one stood
// (the allocator hands the same block straight back) is not the old one's window.
TEST(Win32Handles, WidgetFindsItsWindowOnlyWhileBothLive) {
  auto quiet = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
  QWidget top;
  auto* inner = new QWidget(&top);
  auto* leaf = new QWidget(inner);
  const HWND h = rt::createWindow(&top, 0, rt::WheelRole::EndWalk, quiet);
  const HWND hInner = rt::createWindow(inner, h, rt::WheelRole::PassToParent, quiet);
  EXPECT_EQ(rt::hwndOf(&top), h);
  EXPECT_EQ(rt::hwndOf(leaf), 0);
  EXPECT_EQ(rt::windowContaining(leaf), hInner);

  const void* oldAddress = inner;
  delete inner;  // behind the runtime's back: the window stays, its widget is gone
  EXPECT_TRUE(IsWindow(hInner));
  auto* reborn = new QWidget(&top);
  EXPECT_EQ(rt::hwndOf(reborn), 0) << (static_cast<const void*>(reborn) == oldAddress ? "same address" : "new address");
  EXPECT_EQ(rt::windowContaining(reborn), h);

  // A destroyed window is nobody's, and a new window for the same widget is found.
  rt::destroyWindow(hInner);
  const HWND again = rt::createWindow(reborn, h, rt::WheelRole::PassToParent, quiet);
  EXPECT_EQ(rt::hwndOf(reborn), again);
  rt::destroyWindow(h);
  EXPECT_EQ(rt::hwndOf(&top), 0);
  EXPECT_EQ(rt::hwndOf(reborn), 0);
  EXPECT_EQ(rt::windowContaining(reborn), 0);
}
