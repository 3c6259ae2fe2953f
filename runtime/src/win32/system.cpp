// System metrics, parameters, registered messages and the version.
#include <cstring>
#include <map>
#include <string>

#include "forms/collection.h"
#include "win32/runtime.h"
#include "win32/win32.h"

namespace win32 {

namespace {
std::map<std::string, UINT>& registeredMessages() {
  static std::map<std::string, UINT> m;
  return m;
}
std::map<HWND, int>& caretHides() {
  static std::map<HWND, int> m;
  return m;
}
}  // namespace

int GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXVSCROLL: return runtime::settings().cxVScroll;
    case SM_CYHSCROLL: return runtime::settings().cyHScroll;
    default: return 0;
  }
}

BOOL SystemParametersInfoA(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni) {
  switch (uiAction) {
    case SPI_GETWHEELSCROLLLINES:
      if (!pvParam) return FALSE;
      *static_cast<UINT*>(pvParam) = runtime::settings().wheelScrollLines;
      return TRUE;
    case SPI_SETWHEELSCROLLLINES:
      runtime::settings().wheelScrollLines = uiParam;
      if (fWinIni & SPIF_SENDCHANGE)
        for (HWND h : runtime::topLevelWindows()) SendMessageA(h, WM_SETTINGCHANGE, SPI_SETWHEELSCROLLLINES, 0);
      return TRUE;
    default: return FALSE;
  }
}

UINT RegisterWindowMessageA(const char* lpString) {
  if (!lpString || !*lpString) return 0;
  const std::string key = forms::lowerCase(lpString);
  auto& m = registeredMessages();
  if (auto it = m.find(key); it != m.end()) return it->second;
  const UINT id = 0xC000 + static_cast<UINT>(m.size());
  if (id > 0xFFFF) return 0;
  m.emplace(key, id);
  return id;
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return FALSE;
  if (runtime::settings().versionCallFails) return FALSE;
  const OSVERSIONINFOA& v = runtime::settings().version;
  info->dwMajorVersion = v.dwMajorVersion;
  info->dwMinorVersion = v.dwMinorVersion;
  info->dwBuildNumber = v.dwBuildNumber;
  info->dwPlatformId = v.dwPlatformId;
  std::memcpy(info->szCSDVersion, v.szCSDVersion, sizeof info->szCSDVersion);
  return TRUE;
}

BOOL HideCaret(HWND hWnd) {
  if (!IsWindow(hWnd)) return FALSE;
  ++caretHides()[hWnd];
  return TRUE;
}

namespace runtime {

Settings& settings() {
  static Settings s;
  return s;
}

int hideCaretCount(HWND hWnd) {
  auto it = caretHides().find(hWnd);
  return it == caretHides().end() ? 0 : it->second;
}

}  // namespace runtime
}  // namespace win32
