// Scrollbars take their track colour from the brush their parent answers.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "forms/form.h"
#include "win32/runtime.h"
#include "win32/win32.h"

using namespace win32;
namespace rt = win32::runtime;

namespace {

LONG_PTR g_formProc = 0;
HBRUSH g_answer = 0;
int g_asked = 0;
LPARAM g_askedBy = 0;

LRESULT ColorProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_CTLCOLORSCROLLBAR) {
    ++g_asked;
    g_askedBy = l;
    if (g_answer) return g_answer;
  }
  return CallWindowProcA(reinterpret_cast<WNDPROC>(g_formProc), h, msg, w, l);
}

QRgb rgbOf(COLORREF c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

TEST(Win32CtlColor, ScrollbarAsksItsParentAndPaintsTheTrackWithTheBrush) {
  struct Case {
    const char* classId;
    float width, height;    // twips
    QPoint track, arrow;    // pixels
  };
  const Case cases[] = {
      {"Forms.HScrollBar", 3000, 240, {200 - 24, 8}, {4, 8}},
      {"Forms.VScrollBar", 240, 3000, {8, 200 - 24}, {8, 4}},
  };
  const COLORREF colour = RGB(255, 0, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.classId);
    auto form = forms::Form::create("frmColor");
    auto bar = form->addControl(c.classId, "Bar1");
    bar->Move(0, 0, c.width, c.height);
    form->Show();
    g_formProc = SetWindowLongPtrA(form->hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ColorProc));
    g_answer = CreateSolidBrush(colour);

    g_asked = 0;
    QImage painted = bar->widget()->grab().toImage();
    EXPECT_GE(g_asked, 1);
    EXPECT_EQ(g_askedBy, bar->hWnd());
    EXPECT_EQ(painted.pixel(c.track), rgbOf(colour));
    EXPECT_NE(painted.pixel(c.arrow), rgbOf(colour));  // only the track takes the brush

    // No answer: the bar's own look comes back.
    DeleteObject(g_answer);
    g_answer = 0;
    painted = bar->widget()->grab().toImage();
    EXPECT_NE(painted.pixel(c.track), rgbOf(colour));
    form->Unload();
  }
}
