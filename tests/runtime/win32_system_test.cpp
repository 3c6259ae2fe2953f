// Drawing objects, system colours, metrics, parameters, registered messages, version.
#include <gtest/gtest.h>

#include <QWidget>
#include <cstring>
#include <set>
#include <vector>

#include "test_support.h"
#include "win32/runtime.h"
#include "win32/win32.h"

using namespace win32;
namespace rt = win32::runtime;

TEST(Win32Gdi, BrushesAreCountedUntilDeleted) {
  const int live = rt::liveObjectCount();
  const HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  const HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  EXPECT_NE(red, 0);
  EXPECT_NE(red, blue);
  EXPECT_EQ(rt::liveObjectCount(), live + 2);
  COLORREF colour = 0;
  ASSERT_TRUE(rt::brushColor(blue, &colour));
  EXPECT_EQ(colour, RGB(0, 0, 255));

  EXPECT_EQ(DeleteObject(red), TRUE);
  EXPECT_EQ(DeleteObject(red), FALSE);
  EXPECT_FALSE(rt::brushColor(red, &colour));
  EXPECT_EQ(DeleteObject(0), FALSE);
  EXPECT_EQ(DeleteObject(blue), TRUE);
  EXPECT_EQ(rt::liveObjectCount(), live);
}

TEST(Win32Gdi, SystemColoursAreTheClassicScheme) {
  const std::pair<int, COLORREF> expected[] = {
      {COLOR_SCROLLBAR, RGB(212, 208, 200)}, {COLOR_BACKGROUND, RGB(58, 110, 165)},
      {COLOR_WINDOW, RGB(255, 255, 255)},    {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
      {COLOR_BTNFACE, RGB(212, 208, 200)},   {16, RGB(128, 128, 128)},  // button shadow
      {20, RGB(255, 255, 255)},              {21, RGB(64, 64, 64)},     // highlight, dark shadow
      {24, RGB(255, 255, 225)},              {13, RGB(10, 36, 106)},    // info background, highlight
  };
  for (auto [index, colour] : expected) EXPECT_EQ(GetSysColor(index), colour) << index;
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(1000), 0u);
}

TEST(Win32System, MetricsFollowTheRuntimeSettings) {
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(12345), 0);
  const rt::Settings saved = rt::settings();
  rt::settings().cyHScroll = 19;
  EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 19);
  rt::settings() = saved;
}

TEST(Win32System, WheelLinesAndSettingChangeToEveryTopLevelWindow) {
  std::vector<std::pair<HWND, WPARAM>> told;
  auto recorder = [&](HWND h, UINT msg, WPARAM w, LPARAM) -> LRESULT {
    if (msg == WM_SETTINGCHANGE) told.push_back({h, w});
    return 0;
  };
  QWidget first, second;
  auto* child = new QWidget(&first);
  const HWND h1 = rt::createWindow(&first, 0, rt::WheelRole::EndWalk, recorder);
  const HWND h2 = rt::createWindow(&second, 0, rt::WheelRole::EndWalk, recorder);
  const HWND hc = rt::createWindow(child, h1, rt::WheelRole::PassToParent, recorder);
  const UINT saved = rt::settings().wheelScrollLines;

  UINT lines = 0;
  ASSERT_EQ(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0), TRUE);
  EXPECT_EQ(lines, saved);
  EXPECT_EQ(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, nullptr, 0), FALSE);
  EXPECT_EQ(SystemParametersInfoA(0x7777, 0, &lines, 0), FALSE);

  struct Step {
    UINT lines;
    UINT flags;
    bool announced;
  };
  for (const Step s : {Step{5, 0, false}, Step{7, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE, true}, Step{1, SPIF_UPDATEINIFILE, false}}) {
    told.clear();
    EXPECT_EQ(SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, s.lines, nullptr, s.flags), TRUE);
    ASSERT_EQ(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0), TRUE);
    EXPECT_EQ(lines, s.lines);
    using Told = std::vector<std::pair<HWND, WPARAM>>;
    const Told expected = s.announced ? Told{{h1, SPI_SETWHEELSCROLLLINES}, {h2, SPI_SETWHEELSCROLLLINES}} : Told{};
    EXPECT_EQ(told, expected) << s.lines;
  }
  SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, saved, nullptr, 0);
  for (HWND h : {hc, h1, h2}) rt::destroyWindow(h);
}

TEST(Win32System, RegisteredMessagesAreStablePerNameIgnoringCase) {
  const UINT a = RegisterWindowMessageA("Scrollbay.Test.Alpha");
  const UINT b = RegisterWindowMessageA("Scrollbay.Test.Beta");
  EXPECT_GE(a, 0xC000u);
  EXPECT_LE(a, 0xFFFFu);
  EXPECT_GE(b, 0xC000u);
  EXPECT_LE(b, 0xFFFFu);
  EXPECT_NE(a, b);
  EXPECT_EQ(RegisterWindowMessageA("SCROLLBAY.TEST.ALPHA"), a);
  EXPECT_EQ(RegisterWindowMessageA("scrollbay.test.beta"), b);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
  EXPECT_EQ(RegisterWindowMessageA(nullptr), 0u);
}

TEST(Win32System, GetVersionExChecksTheStructureSize) {
  OSVERSIONINFOA info;
  for (DWORD size : {DWORD{0}, DWORD{sizeof info - 1}, DWORD{sizeof info + 4}}) {
    info = {};
    info.dwOSVersionInfoSize = size;
    EXPECT_EQ(GetVersionExA(&info), FALSE) << size;
    EXPECT_EQ(info.dwMajorVersion, 0u);
  }
  EXPECT_EQ(GetVersionExA(nullptr), FALSE);

  info = {};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_EQ(GetVersionExA(&info), TRUE);
  EXPECT_EQ(info.dwOSVersionInfoSize, sizeof info);
  EXPECT_EQ(info.dwMajorVersion, 10u);
  EXPECT_EQ(info.dwMinorVersion, 0u);
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);

  const rt::Settings saved = rt::settings();
  rt::settings().versionCallFails = true;
  EXPECT_EQ(GetVersionExA(&info), FALSE);
  rt::settings() = saved;
}

TEST(Win32System, HideCaretIsCountedPerWindow) {
  QWidget a, b;
  const HWND ha = rt::createWindow(&a, 0, rt::WheelRole::EndWalk);
  const HWND hb = rt::createWindow(&b, 0, rt::WheelRole::EndWalk);
  EXPECT_EQ(HideCaret(ha), TRUE);
  EXPECT_EQ(HideCaret(ha), TRUE);
  EXPECT_EQ(HideCaret(hb), TRUE);
  EXPECT_EQ(rt::hideCaretCount(ha), 2);
  EXPECT_EQ(rt::hideCaretCount(hb), 1);
  rt::destroyWindow(ha);
  EXPECT_EQ(HideCaret(ha), FALSE);
  EXPECT_EQ(rt::hideCaretCount(ha), 2);
  rt::destroyWindow(hb);
}
