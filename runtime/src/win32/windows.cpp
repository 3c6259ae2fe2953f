// Window records behind the handles, the procedure chain and the messages the
// runtime sends on its own.
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QPointer>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "forms/clock.h"
#include "timers.h"
#include "win32/runtime.h"
#include "win32/win32.h"

namespace win32 {

namespace {

struct WindowRecord {
  QPointer<QWidget> widget;
  const QWidget* key = nullptr;  // the widget's entry in the index, kept after it goes
  int inset = 0;
  HWND parent = 0;
  LONG_PTR proc = 0;
  runtime::ClassHandler handler;
  runtime::WheelRole wheel = runtime::WheelRole::PassToParent;
  int reportedWidth = -1;
  int reportedHeight = -1;
  WPARAM reportedState = SIZE_RESTORED;
};

// Windows belong to the user-interface thread; one table serves it.
std::unordered_map<HWND, WindowRecord>& table() {
  static std::unordered_map<HWND, WindowRecord> windows;
  return windows;
}

// The window of each widget that has one, read on every input event. An entry may
// outlive its widget: a reader checks the record still holds the same widget.
std::unordered_map<const QWidget*, HWND>& widgetIndex() {
  static std::unordered_map<const QWidget*, HWND> index;
  return index;
}

void unlinkWidget(const QWidget* widget, HWND hWnd) {
  auto it = widgetIndex().find(widget);
  if (it != widgetIndex().end() && it->second == hWnd) widgetIndex().erase(it);
}

// Each window's children, in creation order (handles only grow), so that walking a
// tree of windows never scans every window there is.
std::map<HWND, std::set<HWND>>& childIndex() {
  static std::map<HWND, std::set<HWND>> children;
  return children;
}

void unlinkChild(HWND parent, HWND child) {
  auto it = childIndex().find(parent);
  if (it == childIndex().end()) return;
  it->second.erase(child);
  if (it->second.empty()) childIndex().erase(it);
}

HWND g_nextHandle = 0x10010;
void (*g_placedHook)(HWND) = nullptr;
uint64_t g_destroyedCount = 0;

WindowRecord* record(HWND hWnd) {
  auto it = table().find(hWnd);
  return it == table().end() ? nullptr : &it->second;
}

// The wheel delivery in progress: set when a widget that scrolls itself is reached.
struct WheelDispatch {
  bool native = false;
};
WheelDispatch* g_wheel = nullptr;

// Whether a widget that scrolls itself with the wheel has anywhere to go that way: an
// empty text box or a scrollbar without a range leaves the wheel to its parent.
bool scrollsNatively(const QWidget* widget, bool sideways) {
  if (!widget) return false;
  if (auto* area = qobject_cast<const QAbstractScrollArea*>(widget)) {
    const QScrollBar* bar = sideways ? area->horizontalScrollBar() : area->verticalScrollBar();
    return bar->maximum() > bar->minimum();
  }
  if (auto* slider = qobject_cast<const QAbstractSlider*>(widget)) return slider->maximum() > slider->minimum();
  return true;
}

LRESULT ClassWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  WindowRecord* rec = record(hWnd);
  if (!rec) return 0;
  if (Msg == WM_MOUSEWHEEL || Msg == WM_MOUSEHWHEEL) {
    runtime::WheelRole role = rec->wheel;
    if (role == runtime::WheelRole::Native && !scrollsNatively(rec->widget, Msg == WM_MOUSEHWHEEL))
      role = runtime::WheelRole::PassToParent;
    switch (role) {
      case runtime::WheelRole::Native:
        if (g_wheel) g_wheel->native = true;
        return 0;
      case runtime::WheelRole::PassToParent:
        return rec->parent ? SendMessageA(rec->parent, Msg, wParam, lParam) : 0;
      case runtime::WheelRole::EndWalk:
        break;
    }
  }
  if (rec->handler) {
    auto handler = rec->handler;  // the handler may replace itself
    return handler(hWnd, Msg, wParam, lParam);
  }
  return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

void sendDestroy(HWND hWnd) {
  SendMessageA(hWnd, WM_DESTROY, 0, 0);
  for (HWND child : runtime::childrenOf(hWnd)) sendDestroy(child);
}

void sendNcDestroy(HWND hWnd) {
  for (HWND child : runtime::childrenOf(hWnd)) sendNcDestroy(child);
  SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
  if (auto it = table().find(hWnd); it != table().end()) {
    unlinkWidget(it->second.key, hWnd);
    unlinkChild(it->second.parent, hWnd);
    table().erase(it);
    ++g_destroyedCount;
  }
  detail::killWindowTimers(hWnd);
}

}  // namespace

BOOL IsWindow(HWND hWnd) { return record(hWnd) ? TRUE : FALSE; }

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex) {
  WindowRecord* rec = record(hWnd);
  if (!rec || nIndex != GWLP_WNDPROC) return 0;
  return rec->proc;
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  WindowRecord* rec = record(hWnd);
  if (!rec || nIndex != GWLP_WNDPROC || dwNewLong == 0) return 0;
  const LONG_PTR old = rec->proc;
  rec->proc = dwNewLong;
  return old;
}

LRESULT CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!lpPrevWndFunc) return 0;
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  WindowRecord* rec = record(hWnd);
  if (!rec) return 0;
  auto proc = reinterpret_cast<WNDPROC>(rec->proc);
  return proc(hWnd, Msg, wParam, lParam);
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(hWnd)) return FALSE;
  forms::Clock::instance().post([=] { SendMessageA(hWnd, Msg, wParam, lParam); });
  return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  WindowRecord* rec = record(hWnd);
  if (!rec || !rec->widget) return FALSE;
  QWidget* w = rec->widget;
  if (!(uFlags & SWP_NOMOVE)) w->move(X, Y);
  if (!(uFlags & SWP_NOSIZE)) w->resize(std::max(0, cx), std::max(0, cy));
  if (!(uFlags & SWP_NOZORDER)) {
    if (hWndInsertAfter == HWND_TOP || hWndInsertAfter == HWND_TOPMOST) {
      w->raise();
    } else if (hWndInsertAfter == HWND_BOTTOM) {
      w->lower();
    } else if (QWidget* other = runtime::widgetOf(hWndInsertAfter)) {
      w->stackUnder(other);
    }
  }
  if (g_placedHook && !((uFlags & SWP_NOMOVE) && (uFlags & SWP_NOSIZE))) g_placedHook(hWnd);
  runtime::notifySize(hWnd);
  return TRUE;
}

BOOL GetClientRect(HWND hWnd, RECT* lpRect) {
  WindowRecord* rec = record(hWnd);
  if (!rec || !rec->widget || !lpRect) return FALSE;
  int width = 0, height = 0;
  runtime::clientSize(hWnd, &width, &height);
  *lpRect = RECT{0, 0, width, height};
  return TRUE;
}

namespace runtime {

HWND createWindow(QWidget* widget, HWND parent, WheelRole wheel, ClassHandler handler) {
  const HWND h = g_nextHandle;
  g_nextHandle += 4;
  WindowRecord rec;
  rec.widget = widget;
  rec.parent = parent;
  rec.proc = reinterpret_cast<LONG_PTR>(&ClassWindowProc);
  rec.handler = std::move(handler);
  rec.wheel = wheel;
  if (widget) {
    // The size the window is born with is not a change.
    rec.reportedWidth = widget->width();
    rec.reportedHeight = widget->height();
    rec.key = widget;
    widgetIndex()[widget] = h;
  }
  table().emplace(h, std::move(rec));
  childIndex()[parent].insert(h);
  return h;
}

void setClassHandler(HWND hWnd, ClassHandler handler) {
  if (auto it = table().find(hWnd); it != table().end()) it->second.handler = std::move(handler);
}

void setWindowParent(HWND hWnd, HWND parent) {
  WindowRecord* rec = record(hWnd);
  if (!rec || rec->parent == parent) return;
  unlinkChild(rec->parent, hWnd);
  rec->parent = parent;
  childIndex()[parent].insert(hWnd);
}

HWND parentOf(HWND hWnd) {
  WindowRecord* rec = record(hWnd);
  return rec ? rec->parent : 0;
}

std::vector<HWND> childrenOf(HWND hWnd) {
  std::vector<HWND> out;
  if (auto it = childIndex().find(hWnd); it != childIndex().end())
    for (HWND h : it->second)
      if (h != hWnd && record(h)) out.push_back(h);
  return out;
}

uint64_t destroyedWindowCount() { return g_destroyedCount; }

QWidget* widgetOf(HWND hWnd) {
  WindowRecord* rec = record(hWnd);
  return rec ? rec->widget.data() : nullptr;
}

void setClientInset(HWND hWnd, int inset) {
  if (WindowRecord* rec = record(hWnd)) rec->inset = inset;
}

void clientSize(HWND hWnd, int* width, int* height) {
  WindowRecord* rec = record(hWnd);
  const QWidget* w = rec ? rec->widget.data() : nullptr;
  *width = w ? std::max(0, w->width() - 2 * rec->inset) : 0;
  *height = w ? std::max(0, w->height() - 2 * rec->inset) : 0;
}

HWND hwndOf(const QWidget* widget) {
  if (!widget) return 0;
  auto it = widgetIndex().find(widget);
  if (it == widgetIndex().end()) return 0;
  // A widget born where a deleted one was is not that one's window.
  const WindowRecord* rec = record(it->second);
  return rec && rec->widget.data() == widget ? it->second : 0;
}

HWND windowContaining(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget())
    if (HWND h = hwndOf(w)) return h;
  return 0;
}

std::vector<HWND> topLevelWindows() { return childrenOf(0); }

int liveWindowCount() {
  return static_cast<int>(table().size());
}

void destroyWindow(HWND hWnd) {
  if (!IsWindow(hWnd)) return;
  sendDestroy(hWnd);
  sendNcDestroy(hWnd);
}

void setPlacedHook(void (*hook)(HWND)) { g_placedHook = hook; }

void notifySize(HWND hWnd) {
  WindowRecord* rec = record(hWnd);
  if (!rec || !rec->widget) return;
  QWidget* w = rec->widget;
  int clientWidth = 0, clientHeight = 0;
  clientSize(hWnd, &clientWidth, &clientHeight);
  WPARAM state = SIZE_RESTORED;
  if (w->isWindow()) {
    if (w->isMinimized()) state = SIZE_MINIMIZED;
    else if (w->isMaximized()) state = SIZE_MAXIMIZED;
  }
  const int width = state == SIZE_MINIMIZED ? 0 : clientWidth;
  const int height = state == SIZE_MINIMIZED ? 0 : clientHeight;
  if (width == rec->reportedWidth && height == rec->reportedHeight && state == rec->reportedState) return;
  rec->reportedWidth = width;
  rec->reportedHeight = height;
  rec->reportedState = state;
  SendMessageA(hWnd, WM_SIZE, state, static_cast<LPARAM>(MAKELONG(static_cast<uint16_t>(width), static_cast<uint16_t>(height))));
}

bool dispatchWheel(QWidget* widget, UINT msg, int delta, int x, int y, uint16_t keys) {
  const HWND h = windowContaining(widget);
  if (!h) return true;
  if (delta == 0) return false;  // no movement, no message
  WheelDispatch dispatch;
  WheelDispatch* outer = g_wheel;
  g_wheel = &dispatch;
  SendMessageA(h, msg, MAKELONG(keys, static_cast<uint16_t>(static_cast<int16_t>(delta))),
               static_cast<LPARAM>(MAKELONG(static_cast<uint16_t>(x), static_cast<uint16_t>(y))));
  g_wheel = outer;
  return dispatch.native;
}

}  // namespace runtime
}  // namespace win32
