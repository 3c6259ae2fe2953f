// The periodic tick: the layer is made here, its contents and the extent are kept up
// to date, and a newly focused child of the layer is brought into view.
#include "Scrollbay.h"
#include "forms/form.h"

void Scrollbay::OnTimerNotification() {
  // Each step that fails is passed over; nothing reaches the timer service.
  forms::resumeNext([&] {
    if (UserMode() && !m_bgLayer) {
      CreateBackgroundLayer();
      LayoutScrollbars();
    }
  });
  if (!m_bgLayer) return;
  forms::resumeNext([&] {
    if (m_AutoAdjustExtent) AdjustExtent();
    else AdoptContainedControls();
  });
  if (m_AutoScroll) forms::resumeNext([&] { FollowFocus(); });
}

void Scrollbay::FollowFocus() {
  forms::ObjectPtr ctl;
  forms::resumeNext([&] { ctl = FindLayerChild(forms::get(userControl().get_Parent(), "ActiveControl").toObject()); });
  // Only a move to another child scrolls: while the focus stays in one child the user
  // may scroll freely. Leaving the control is remembered too, so coming back scrolls.
  bool changed = false;
  if (!m_LastActiveControl || m_LastActiveControl != ctl) {
    m_LastActiveControl = ctl;
    changed = true;
  }
  if (m_LastActiveControl && changed) ScrollIntoView(m_LastActiveControl);
}

forms::ObjectPtr Scrollbay::FindLayerChild(const forms::ObjectPtr& start) const {
  // Walks up the containers by name until the layer; a form ends the walk with nothing.
  // The host may have destroyed the layer earlier in this tick: then nothing is found.
  if (!m_bgLayer) return nullptr;
  const std::string layerName = m_bgLayer->name();
  auto isForm = [](const forms::ObjectPtr& o) { return dynamic_cast<forms::Form*>(o.get()) != nullptr; };
  forms::ObjectPtr x = start;
  while (x && !isForm(x)) {
    forms::ObjectPtr p;
    // A container that cannot be read ends the walk with nothing.
    if (!forms::resumeNext([&] { p = forms::get(x, "Container").toObject(); })) return nullptr;
    if (!p) return nullptr;
    std::string name;
    // A container whose name cannot be read ends the walk with the current object.
    if (!forms::resumeNext([&] { name = forms::get(p, "Name").toString(); })) break;
    if (name == layerName) break;
    x = p;
  }
  return isForm(x) ? nullptr : x;
}
