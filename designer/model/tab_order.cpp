#include "tab_order.h"

#include <algorithm>
#include <cmath>

#include "forms/form.h"
#include "forms/simple_controls.h"

namespace designer {

namespace {

const forms::ButtonControl* asOption(const forms::Control* c) {
  auto* b = dynamic_cast<const forms::ButtonControl*>(c);
  return b && b->kind() == forms::ButtonControl::Kind::Option ? b : nullptr;
}

// Rows are told apart by more than this, in twips: fields a few twips out of line are one row.
constexpr double kRowSlack = 60;

}  // namespace

std::vector<TabStop> tabStopsOf(forms::Form& form) {
  const std::vector<forms::Control*> all = form.tabOrder();
  std::vector<TabStop> out;
  for (forms::Control* stop : form.tabStops()) {
    TabStop s{stop, {}};
    if (const forms::ButtonControl* option = asOption(stop)) {
      for (forms::Control* c : all)
        if (c == stop || option->groupedWith(*c)) s.members.push_back(c);
    } else {
      s.members.push_back(stop);
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::vector<TabStop> byPosition(forms::Form& form) {
  const std::vector<TabStop> stops = tabStopsOf(form);
  std::vector<TabStop> out;
  // Depth first from the form: each container's children by rows, then columns; a stop
  // that holds others (a Scrollbay) goes before what it holds.
  std::function<void(forms::Window&)> visit = [&](forms::Window& container) {
    std::vector<forms::ControlPtr> children = container.childControls();
    auto twips = [](const forms::Control& c, bool x) { return c.twips(x ? forms::Axis::X : forms::Axis::Y, false); };
    std::stable_sort(children.begin(), children.end(), [&](const forms::ControlPtr& a, const forms::ControlPtr& b) {
      const double dy = twips(*a, false) - twips(*b, false);
      if (std::abs(dy) > kRowSlack) return dy < 0;
      return twips(*a, true) < twips(*b, true);
    });
    for (const forms::ControlPtr& c : children) {
      const int at = stopIndexOf(stops, c.get());
      if (at >= 0 && std::none_of(out.begin(), out.end(), [&](const TabStop& s) { return s.stop == stops[static_cast<std::size_t>(at)].stop; }))
        out.push_back(stops[static_cast<std::size_t>(at)]);
      if (c->isContainer()) visit(*c);
    }
  };
  visit(form);
  return out;
}

std::vector<std::pair<ControlRef, int16_t>> numbered(const std::vector<TabStop>& order) {
  std::vector<std::pair<ControlRef, int16_t>> out;
  int16_t next = 0;
  for (const TabStop& s : order)
    for (forms::Control* c : s.members) out.emplace_back(ControlRef::of(*c), next < 32767 ? next++ : next);
  return out;
}

std::vector<TabStop> movedAfter(std::vector<TabStop> order, const forms::Control* stop, const forms::Control* after) {
  auto it = std::find_if(order.begin(), order.end(), [&](const TabStop& s) { return s.stop == stop; });
  if (it == order.end() || stop == after) return order;
  TabStop moving = *it;
  order.erase(it);
  auto anchor = std::find_if(order.begin(), order.end(), [&](const TabStop& s) { return s.stop == after; });
  order.insert(anchor == order.end() ? order.begin() : anchor + 1, moving);
  return order;
}

int stopIndexOf(const std::vector<TabStop>& order, const forms::Control* control) {
  for (std::size_t i = 0; i < order.size(); ++i)
    if (std::find(order[i].members.begin(), order[i].members.end(), control) != order[i].members.end()) return static_cast<int>(i);
  return -1;
}

}  // namespace designer
