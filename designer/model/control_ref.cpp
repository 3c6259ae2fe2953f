#include "control_ref.h"

#include <charconv>

namespace designer {

ControlRef ControlRef::of(const forms::Window& window) {
  auto* c = dynamic_cast<const forms::Control*>(&window);
  if (!c) return {};
  return {c->name(), c->index()};
}

forms::Window* ControlRef::resolve(forms::Form& form) const {
  if (isForm()) return &form;
  return form.findControl(name, index).get();
}

forms::Control* ControlRef::control(forms::Form& form) const {
  return isForm() ? nullptr : form.findControl(name, index).get();
}

std::string ControlRef::text() const {
  if (index < 0) return name;
  return name + "(" + std::to_string(index) + ")";
}

ControlRef ControlRef::fromText(const std::string& text) {
  const auto open = text.find('(');
  if (open == std::string::npos || text.back() != ')') return {text, -1};
  int index = -1;
  const char* first = text.data() + open + 1;
  const char* last = text.data() + text.size() - 1;
  auto [end, ec] = std::from_chars(first, last, index);
  if (ec != std::errc() || end != last || index < 0 || index > 32767) return {text, -1};
  return {text.substr(0, open), static_cast<int16_t>(index)};
}

}  // namespace designer
