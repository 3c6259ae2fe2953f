#pragma once
// The Tab order as the designer edits it: the runtime's own Tab walk, each stop with the
// controls that go where it goes (an option group's buttons), and new TabIndex values for
// the stops in a new order.
#include <utility>
#include <vector>

#include "control_ref.h"

namespace designer {

struct TabStop {
  forms::Control* stop;
  std::vector<forms::Control*> members;  // the stop itself, or its option group in Tab order
};

// In the order Tab takes them, as forms::Form::tabStops gives them.
std::vector<TabStop> tabStopsOf(forms::Form& form);
// By rows, then columns, within each container, a container's own stops after it.
std::vector<TabStop> byPosition(forms::Form& form);
// 0, 1, 2 ... across the stops' members in this order.
std::vector<std::pair<ControlRef, int16_t>> numbered(const std::vector<TabStop>& order);
// `stop` moved to just after `after` (to the front when it is null), the others keeping
// their order.
std::vector<TabStop> movedAfter(std::vector<TabStop> order, const forms::Control* stop, const forms::Control* after);
// The stop a control belongs to (an option button gives its group's), or -1.
int stopIndexOf(const std::vector<TabStop>& order, const forms::Control* control);

}  // namespace designer
