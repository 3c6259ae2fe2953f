#include "SubclassWnd.h"

#include <map>
#include <string>

#include "forms/error.h"

namespace SubclassWnd {

namespace {

using Registry = forms::Collection<std::shared_ptr<cSubclassInfo>>;

// Once per thread, made on first use.
thread_local std::unique_ptr<Registry> m_SubclassedWindows;
// Listeners by identity, held weakly so that a listener that went away reads as none.
thread_local std::map<win32::LONG_PTR, std::weak_ptr<cSubclassListener>> t_listeners;

Registry& registry() {
  if (!m_SubclassedWindows) m_SubclassedWindows = std::make_unique<Registry>();
  return *m_SubclassedWindows;
}

bool registryEmpty() { return !m_SubclassedWindows || m_SubclassedWindows->empty(); }

std::string windowKey(win32::HWND hwnd) { return std::to_string(static_cast<int32_t>(hwnd)); }

void forgetListenerUnlessUsed(win32::LONG_PTR ptr) {
  bool used = false;
  if (m_SubclassedWindows) m_SubclassedWindows->forEach([&](auto& r) { used = used || r->ListenerPtr == ptr; });
  if (!used) t_listeners.erase(ptr);
}

}  // namespace

void SubclassWindow(win32::HWND hwnd, cSubclassListener* listener) {
  if (hwnd == 0) return;
  if (!listener) throw forms::Error(forms::err::InvalidCall, "SubclassWindow needs a listener");
  UnsubclassWindow(hwnd);
  auto record = std::make_shared<cSubclassInfo>();
  record->hwnd = hwnd;
  record->ListenerPtr = PtrFromObject(listener);
  record->oldWndProc = win32::GetWindowLongPtrA(hwnd, win32::GWLP_WNDPROC);
  if (record->oldWndProc == 0) throw forms::Error(forms::err::InvalidCall, "Not a window: " + windowKey(hwnd));
  win32::SetWindowLongPtrA(hwnd, win32::GWLP_WNDPROC, reinterpret_cast<win32::LONG_PTR>(&SubclassWndProc));
  registry().add(record, windowKey(hwnd));
}

void UnsubclassWindow(win32::HWND hwnd) {
  if (registryEmpty()) return;
  std::shared_ptr<cSubclassInfo> record;
  if (!forms::resumeNext([&] { record = registry().item(windowKey(hwnd)); })) return;
  // The stored procedure goes back whatever the window has now.
  win32::SetWindowLongPtrA(hwnd, win32::GWLP_WNDPROC, record->oldWndProc);
  forms::resumeNext([&] { registry().remove(windowKey(hwnd)); });
  forgetListenerUnlessUsed(record->ListenerPtr);
}

void HookMessage(win32::HWND hwnd, int32_t Msg) {
  if (registryEmpty()) return;
  std::shared_ptr<cSubclassInfo> record = registry().item(windowKey(hwnd));  // error 5 when missing
  if (!record->IsMessageHooked(Msg)) record->AddMessage(Msg);
}

void UnhookMessage(win32::HWND hwnd, int32_t Msg) {
  if (registryEmpty()) return;
  forms::resumeNext([&] {
    std::shared_ptr<cSubclassInfo> record = registry().item(windowKey(hwnd));
    if (record->IsMessageHooked(Msg)) record->RemoveMessage(Msg);
  });
}

win32::LRESULT SubclassWndProc(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM lParam) {
  bool route = false;
  win32::LRESULT result = 0;
  // Counted references: the record and the listener outlive this call even when the
  // listener unsubclasses the window, or a nested WM_NCDESTROY does, meanwhile.
  std::shared_ptr<cSubclassInfo> record;
  std::shared_ptr<cSubclassListener> listener;
  if (!registryEmpty()) {
    forms::resumeNext([&] { record = registry().item(windowKey(hwnd)); });
    if (record) listener = ObjectFromPtr(record->ListenerPtr);
    if (listener && record->IsMessageHooked(static_cast<int32_t>(Msg))) {
      route = true;
      forms::resumeNext([&] { result = listener->WindowMsgListener(hwnd, Msg, wParam, lParam, route); });
    } else {
      // Unhooked messages, and every message of a window whose listener has gone, pass through.
      route = true;
    }
    if (record && Msg == win32::WM_NCDESTROY) {
      UnsubclassWindow(hwnd);
      route = true;
    }
  }
  if (route && record) result = win32::CallWindowProcA(reinterpret_cast<win32::WNDPROC>(record->oldWndProc), hwnd, Msg, wParam, lParam);
  return result;
}

win32::LONG_PTR PtrFromObject(cSubclassListener* listener) {
  const auto ptr = reinterpret_cast<win32::LONG_PTR>(listener);
  if (listener) t_listeners[ptr] = listener->ListenerRef();
  return ptr;
}

std::shared_ptr<cSubclassListener> ObjectFromPtr(win32::LONG_PTR ptr) {
  auto it = t_listeners.find(ptr);
  if (it == t_listeners.end()) return nullptr;
  std::shared_ptr<cSubclassListener> listener = it->second.lock();
  if (!listener) t_listeners.erase(it);
  return listener;
}

int32_t HiWord(int32_t value) {
  // An arithmetic shift of the high word: 0xFF88xxxx gives -120.
  return static_cast<int32_t>(static_cast<int16_t>(static_cast<uint32_t>(value) >> 16));
}

std::size_t SubclassedWindowCount() { return registryEmpty() ? 0 : m_SubclassedWindows->count(); }

std::shared_ptr<cSubclassInfo> FindRecord(win32::HWND hwnd) {
  std::shared_ptr<cSubclassInfo> record;
  if (!registryEmpty()) forms::resumeNext([&] { record = registry().item(windowKey(hwnd)); });
  return record;
}

}  // namespace SubclassWnd
