// Scroll positions, the layer following the scrollbars, keyboard scrolling and
// bringing a child of the layer into view.
#include <algorithm>

#include "Scrollbay.h"
#include "forms/keyboard.h"

using forms::Axis;

int32_t Scrollbay::get_HScrollValue() const {
  return ScaleRounded(Axis::X, m_HScroll->get_Value(), forms::ScalePixels, userControl().get_ScaleMode());
}

int32_t Scrollbay::get_VScrollValue() const {
  return ScaleRounded(Axis::Y, m_VScroll->get_Value(), forms::ScalePixels, userControl().get_ScaleMode());
}

int16_t Scrollbay::ScrollPosition(const forms::ScrollBar& bar, int target) {
  // Worked out in full integers, so no step can wrap. A bar whose Max lies below its Min
  // has nothing to scroll and stays at Min.
  const int low = bar.get_Min();
  return static_cast<int16_t>(std::clamp(target, low, std::max(low, int{bar.get_Max()})));
}

namespace {
// Assigns only a different position, so an equal one raises no Change. A position
// the scrollbar refuses, or one beyond 16 bits, fails and changes nothing.
void assignPosition(forms::ScrollBar& bar, int32_t pixels) {
  if (pixels != bar.get_Value()) bar.put_Value(forms::toInt16(pixels));
}
}  // namespace

void Scrollbay::put_HScrollValue(int32_t nValue) {
  assignPosition(*m_HScroll, ScaleRounded(Axis::X, static_cast<float>(nValue), userControl().get_ScaleMode(), forms::ScalePixels));
}

void Scrollbay::put_VScrollValue(int32_t nValue) {
  assignPosition(*m_VScroll, ScaleRounded(Axis::Y, static_cast<float>(nValue), userControl().get_ScaleMode(), forms::ScalePixels));
}

void Scrollbay::OnScrollChange(Axis axis) {
  // The only place the layer moves once it exists; each step that fails is passed over.
  if (!m_bgLayer) return;
  int32_t pos = 0;
  forms::resumeNext([&] { pos = axis == Axis::X ? get_HScrollValue() : get_VScrollValue(); });
  forms::resumeNext([&] {
    if (axis == Axis::X) m_bgLayer->put_Left(static_cast<float>(-pos));
    else m_bgLayer->put_Top(static_cast<float>(-pos));
  });
  forms::resumeNext([&] {
    forms::Args args{forms::Variant(pos)};  // a copy: what the handler does with it is dropped
    userControl().RaiseEvent(axis == Axis::X ? "HScrollChange" : "VScrollChange", args);
  });
}

void Scrollbay::OnLayerKeyDown(int16_t& KeyCode, int16_t& Shift) {
  // With Shift, Ctrl or Alt held nothing scrolls, but the key is still reported.
  if (Shift == 0) {
    auto step = [](forms::ScrollBar& bar, int delta) { bar.put_Value(ScrollPosition(bar, int{bar.get_Value()} + delta)); };
    if (m_HScroll->get_Visible()) {
      if (KeyCode == forms::keycode::Left) step(*m_HScroll, -m_HScroll->get_SmallChange());
      else if (KeyCode == forms::keycode::Right) step(*m_HScroll, m_HScroll->get_SmallChange());
    }
    if (m_VScroll->get_Visible()) {
      switch (KeyCode) {
        case forms::keycode::Up: step(*m_VScroll, -m_VScroll->get_SmallChange()); break;
        case forms::keycode::PageUp: step(*m_VScroll, -m_VScroll->get_LargeChange()); break;
        case forms::keycode::Down: step(*m_VScroll, m_VScroll->get_SmallChange()); break;
        case forms::keycode::PageDown: step(*m_VScroll, m_VScroll->get_LargeChange()); break;
        default: break;
      }
    }
  }
  // A Change handler that unloaded the form ended the control: no KeyDown follows.
  if (!hosted()) return;
  forms::Args args{forms::Variant(KeyCode), forms::Variant(Shift)};
  userControl().RaiseEvent("KeyDown", args);
  KeyCode = args[0].toInt16();
  Shift = args[1].toInt16();
}

void Scrollbay::ScrollIntoView(const forms::ObjectPtr& ctl) {
  // Never fails: a step that does is skipped, a measure that cannot be read counts as 0.
  const forms::UserControl& uc = userControl();
  const int16_t mode = uc.get_ScaleMode();
  struct AxisView {
    Axis axis;
    const char* position;  // the child's Left or Top
    const char* extent;    // its Width or Height
    forms::ScrollBar* crossBar;  // the scrollbar whose thickness narrows this axis
  };
  const AxisView axes[] = {{Axis::X, "Left", "Width", m_VScroll.get()}, {Axis::Y, "Top", "Height", m_HScroll.get()}};
  for (const AxisView& a : axes) {
    int32_t pos = 0, view = 0, near = 0, size = 0;
    forms::resumeNext([&] { pos = a.axis == Axis::X ? get_HScrollValue() : get_VScrollValue(); });
    forms::resumeNext([&] {
      view = forms::toInt32(a.axis == Axis::X ? uc.get_ScaleWidth() : uc.get_ScaleHeight());
      if (a.crossBar->get_Visible())
        view = forms::toInt32(view - Scale(a.axis, static_cast<float>(CrossBarPixels(a.axis)), forms::ScalePixels, mode));
    });
    forms::resumeNext([&] { near = forms::toInt32(forms::get(ctl, a.position).toSingle() - pos); });
    forms::resumeNext([&] { size = forms::toInt32(forms::get(ctl, a.extent).toSingle()); });
    const int32_t far = near + size;
    forms::resumeNext([&] {
      auto scrollTo = [&](int32_t value) {
        if (a.axis == Axis::X) put_HScrollValue(value);
        else put_VScrollValue(value);
      };
      if (near < 0) scrollTo(pos + near);                 // near edge to the window's near edge
      else if (far > view) scrollTo(size < view ? pos + far - view  // far edge to the far edge
                                                : pos + near);      // too big: align the near edge
    });
  }
}
