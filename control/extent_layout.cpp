// The virtual extent, the layer's size, the scrollbars' ranges, steps and visibility,
// and where the scrollbars and the corner square sit.
#include <algorithm>
#include <cstdint>

#include "Scrollbay.h"
#include "forms/collection.h"
#include "forms/units.h"

using forms::Axis;

namespace {

// Resizes without moving: the layer's position is the scroll position.
constexpr win32::UINT kSizeOnlyFlags = win32::SWP_NOMOVE | win32::SWP_NOZORDER | win32::SWP_NOACTIVATE;

// How many controls ahead the extent scan asks the memory for.
constexpr std::size_t kLookAhead = 8;

// Controls of the control's own make-up, which never move onto the layer.
bool isOwnPiece(const std::string& name) {
  return name == "m_HScroll" || name == "m_VScroll" || name == "m_plug" || name == "m_Timer";
}

}  // namespace

int Scrollbay::CrossBarPixels(Axis axis) {
  return win32::GetSystemMetrics(axis == Axis::X ? win32::SM_CXVSCROLL : win32::SM_CYHSCROLL);
}

void Scrollbay::Resize() { ResizeSequence(); }

void Scrollbay::ResizeSequence() {
  if (!m_bgLayer) return;
  AdoptContainedControls();
  if (m_AutoAdjustExtent) {
    ComputeVirtualExtent();
    SizeLayer(m_VirtualWidth, m_VirtualHeight);
  }
  UpdateScrollRanges();
  bool changed = false;
  ApplyScrollbarVisibility(m_Scrollbars, changed);
  UpdateScrollSteps();
  LayoutScrollbars();
  forms::Args none;
  userControl().RaiseEvent("Resize", none);
}

void Scrollbay::AdjustExtent() {
  if (!m_bgLayer) return;
  AdoptContainedControls();
  ComputeVirtualExtent();
  SizeLayer(m_VirtualWidth, m_VirtualHeight);
  UpdateScrollRanges();
  UpdateScrollSteps();
  if (m_Scrollbars == vpAuto) {
    bool changed = false;
    ApplyScrollbarVisibility(vpAuto, changed);
    if (changed) LayoutScrollbars();
  }
}

void Scrollbay::AdoptContainedControls() {
  const std::string layerName = m_bgLayer->name();
  for (const forms::ControlPtr& c : userControl().ContainedControls()) {
    const std::string name = forms::get(c, "Name").toString();
    if (isOwnPiece(name) || name == layerName) continue;
    // A control keeps its Left and Top numbers, so (x, y) in the control becomes
    // (x, y) of the virtual area.
    forms::set(c, "Container", m_bgLayer);
  }
}

void Scrollbay::ComputeVirtualExtent() {
  if (!m_bgLayer) return;
  const forms::Window* layer = m_bgLayer.get();
  // A child's Left, Top, Width and Height, in the scale of the layer it sits in.
  const forms::Scale& scale = layer->contentScale();
  auto inLayer = [&scale](const forms::Control& c, Axis axis, bool size) {
    return static_cast<float>(scale.fromTwips(axis, c.twips(axis, size)));
  };
  float maxX = 0, maxY = 0;  // in the layer's scale
  // The controls are read directly rather than by name, and in place: the tick scans
  // every control of the form, and nothing read here runs host code.
  const std::vector<forms::ControlPtr>& controls = userControl().parentControlsInPlace();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    // The controls lie all over the heap: asking for one a few places ahead lets
    // the memory fetch it while this one is read.
    if (i + kLookAhead < controls.size() && controls[i + kLookAhead]) controls[i + kLookAhead]->prefetchForScan();
    const forms::ControlPtr& c = controls[i];
    // Only the layer's own children: a frame on the layer counts, not what is in it.
    // Names are unique in a form, so the layer's name stands for the layer itself.
    if (!c || c->containerWindow() != layer || !c->get_Visible()) continue;
    // A control that cannot be read is left out; the scan goes on.
    forms::resumeNext([&] {
      const float right = static_cast<float>(forms::toInt32(inLayer(*c, Axis::X, false) + inLayer(*c, Axis::X, true)));
      const float bottom = static_cast<float>(forms::toInt32(inLayer(*c, Axis::Y, false) + inLayer(*c, Axis::Y, true)));
      if (maxX < right) maxX = right;
      if (maxY < bottom) maxY = bottom;
    });
  }
  const int16_t layerMode = m_bgLayer->get_ScaleMode();
  const float twipsX = m_bgLayer->scaleConvert(Axis::X, maxX, layerMode, forms::ScaleTwips);
  const float twipsY = m_bgLayer->scaleConvert(Axis::Y, maxY, layerMode, forms::ScaleTwips);
  // A margin that takes the sum beyond 32 bits stops it at the limit, so no resize fails
  // on it; the layer stops far sooner anyway.
  auto extent = [](float children, int32_t margin) {
    return forms::toInt32(std::clamp(static_cast<double>(children) + margin, double{INT32_MIN}, double{INT32_MAX}));
  };
  m_VirtualWidth = extent(twipsX, m_RightMargin);
  m_VirtualHeight = extent(twipsY, m_BottomMargin);
}

void Scrollbay::SizeLayer(int32_t width, int32_t height) {
  if (!m_bgLayer) return;
  const forms::UserControl& uc = userControl();
  // Never fails: each statement that does is skipped.
  int32_t minW = 0, minH = 0, cx = 0, cy = 0;
  forms::resumeNext([&] { minW = ScaleRounded(Axis::X, uc.get_ScaleWidth(), uc.get_ScaleMode(), forms::ScaleTwips); });
  forms::resumeNext([&] { minH = ScaleRounded(Axis::Y, uc.get_ScaleHeight(), uc.get_ScaleMode(), forms::ScaleTwips); });
  if (height < minH) height = minH;
  if (width < minW) width = minW;
  forms::resumeNext([&] { cx = ScaleRounded(Axis::X, static_cast<float>(width), forms::ScaleTwips, forms::ScalePixels); });
  forms::resumeNext([&] { cy = ScaleRounded(Axis::Y, static_cast<float>(height), forms::ScaleTwips, forms::ScalePixels); });
  // The layer is a window: an extent beyond the largest one is cut there.
  cx = std::min(cx, forms::kMaxWindowPixels);
  cy = std::min(cy, forms::kMaxWindowPixels);
  win32::SetWindowPos(m_hLayerWnd, 0, 0, 0, cx, cy, kSizeOnlyFlags);
}

void Scrollbay::UpdateScrollRanges() {
  if (!m_bgLayer) return;
  const forms::UserControl& uc = userControl();
  for (Axis axis : {Axis::X, Axis::Y}) {
    const float inner = axis == Axis::X ? uc.get_ScaleWidth() : uc.get_ScaleHeight();
    const int32_t virtualTwips = axis == Axis::X ? m_VirtualWidth : m_VirtualHeight;
    forms::resumeNext([&] {
      // The other scrollbar's thickness is taken off whether or not it is shown.
      const int32_t visible = forms::toInt32(Scale(axis, inner, uc.get_ScaleMode(), forms::ScalePixels) - CrossBarPixels(axis));
      const int32_t virtualPixels = ScaleRounded(axis, static_cast<float>(virtualTwips), forms::ScaleTwips, forms::ScalePixels);
      // A range beyond 16 bits scrolls as far as 16-bit positions reach: left unassigned,
      // an area that tall could not scroll at all.
      Bar(axis).put_Max(forms::saturateToInt16(static_cast<double>(virtualPixels) - visible));
    });
  }
}

void Scrollbay::UpdateScrollSteps() {
  const forms::UserControl& uc = userControl();
  for (Axis axis : {Axis::X, Axis::Y}) {
    // One step is a hundredth of the visible size, one page ten steps.
    const float inner = axis == Axis::X ? uc.get_ScaleWidth() : uc.get_ScaleHeight();
    int32_t step = forms::toInt32(Scale(axis, inner, uc.get_ScaleMode(), forms::ScalePixels) / 100);
    if (step == 0) step = 1;
    Bar(axis).put_SmallChange(forms::toInt16(step));
    Bar(axis).put_LargeChange(forms::toInt16(10.0 * step));
  }
}

void Scrollbay::ApplyScrollbarVisibility(int32_t mode, bool& changed) {
  changed = false;
  bool showH = false, showV = false;
  switch (mode) {
    case vpBoth: showH = showV = true; break;
    case vpHorizontal: showH = true; break;
    case vpVertical: showV = true; break;
    case vpNone: break;
    default:  // vpAuto and any other value
      showH = m_HScroll->get_Min() < m_HScroll->get_Max();
      showV = m_VScroll->get_Min() < m_VScroll->get_Max();
      break;
  }
  for (auto [bar, show] : {std::pair{m_HScroll.get(), showH}, std::pair{m_VScroll.get(), showV}}) {
    if (bar->get_Visible() != show) {
      bar->put_Visible(show);
      changed = true;
    }
  }
  if (!UserMode()) {
    m_HScroll->put_Visible(false);
    m_VScroll->put_Visible(false);
  }
  m_plug->put_Visible(m_HScroll->get_Visible() && m_VScroll->get_Visible());
}

void Scrollbay::LayoutScrollbars() {
  forms::UserControl& uc = userControl();
  const int16_t mode = uc.get_ScaleMode();
  const float width = uc.get_ScaleWidth();
  const float height = uc.get_ScaleHeight();
  const float vbw = static_cast<float>(ScaleRounded(Axis::X, static_cast<float>(CrossBarPixels(Axis::X)), forms::ScalePixels, mode));
  const float hbh = static_cast<float>(ScaleRounded(Axis::Y, static_cast<float>(CrossBarPixels(Axis::Y)), forms::ScalePixels, mode));

  m_HScroll->put_Left(0);
  m_HScroll->put_Height(hbh);
  m_VScroll->put_Top(0);
  m_VScroll->put_Width(vbw);
  m_HScroll->put_Top(height - hbh);
  // A control smaller than the scrollbars' thickness leaves them no length, not a negative one.
  m_HScroll->put_Width(std::max(0.0f, m_VScroll->get_Visible() ? width - vbw : width));
  m_VScroll->put_Left(width - vbw);
  m_VScroll->put_Height(std::max(0.0f, m_HScroll->get_Visible() ? height - hbh : height));
  if (m_HScroll->get_Visible() && m_VScroll->get_Visible()) {
    m_plug->put_Left(m_HScroll->get_Left() + m_HScroll->get_Width());
    m_plug->put_Top(m_VScroll->get_Top() + m_VScroll->get_Height());
    m_plug->put_Width(vbw);
    m_plug->put_Height(hbh);
    m_plug->put_Visible(true);
    m_plug->ZOrder(0);
  } else {
    m_plug->put_Visible(false);
  }
  KeepPiecesOnTop();
  // The layer shows only beside the scrollbars, with nothing over it, which lets the
  // window system scroll it by copying what is already drawn.
  uc.ClipContents(m_VScroll->get_Visible() ? CrossBarPixels(Axis::X) : 0, m_HScroll->get_Visible() ? CrossBarPixels(Axis::Y) : 0);
}
