#include "APIDeclare.h"

#include <cstring>

#include "win32/win32.h"

namespace APIDeclare {

namespace {

// A failed call reads as no version at all, which neither probe recognises.
bool readVersion(win32::OSVERSIONINFOA& info) {
  info = {};
  info.dwOSVersionInfoSize = sizeof(win32::OSVERSIONINFOA);
  std::memset(info.szCSDVersion, ' ', sizeof info.szCSDVersion);
  // The result is a BOOL; success is a positive value in its low 16 bits.
  return static_cast<int16_t>(win32::GetVersionExA(&info)) > 0;
}

}  // namespace

bool IsWindows95() {
  win32::OSVERSIONINFOA info;
  return readVersion(info) && info.dwPlatformId == win32::VER_PLATFORM_WIN32_WINDOWS && info.dwMinorVersion == 0;
}

bool IsWindowsNT3() {
  win32::OSVERSIONINFOA info;
  return readVersion(info) && info.dwPlatformId == win32::VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 3;
}

}  // namespace APIDeclare
