#pragma once
// Whether a program can open windows. Header-only, so that plain Qt programs that take
// the same options as the runtime's do not link the runtime for it.
#include <cstdlib>
#include <string_view>

namespace forms {

// A display is named and Qt is not told to draw offscreen.
inline bool haveDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && std::string_view(platform) == "offscreen") return false;
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

}  // namespace forms
