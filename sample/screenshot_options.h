#pragma once
// The options ScrollbayDemo shares with its plain Qt twin (bench/plain_survey): a
// screenshot taken offscreen after a while instead of a window, which is also what
// happens when there is no display.
#include <cstdlib>
#include <string>

#include "forms/display.h"

struct ScreenshotOptions {
  std::string screenshot;  // empty: run in a window
  int afterMs = 1000;
  bool afterGiven = false;
};

// Takes --screenshot FILE or --after MS at argv[i] and moves i past its value. False
// when argv[i] is neither; `error` says what is wrong with a value that is bad.
inline bool takeScreenshotOption(int argc, char** argv, int& i, ScreenshotOptions& options, std::string& error) {
  const std::string arg = argv[i];
  if (arg != "--screenshot" && arg != "--after") return false;
  const char* v = i + 1 < argc ? argv[++i] : nullptr;
  if (arg == "--screenshot") {
    if (!v || !*v) error = arg + " needs a file name";
    else options.screenshot = v;
    return true;
  }
  char* end = nullptr;
  const long ms = v ? std::strtol(v, &end, 10) : -1;
  if (!v || *end != '\0' || ms < 0 || ms > 600000) {
    error = "--after needs a number of milliseconds from 0 to 600000";
  } else {
    options.afterMs = static_cast<int>(ms);
    options.afterGiven = true;
  }
  return true;
}

// Once every argument is read: what is wrong with the options together, or "". With
// no display and no screenshot asked for, the screenshot goes to `fallback`.
inline std::string finishScreenshotOptions(ScreenshotOptions& options, const std::string& fallback) {
  if (options.afterGiven && options.screenshot.empty()) return "--after goes with --screenshot";
  if (options.screenshot.empty() && !forms::haveDisplay()) options.screenshot = fallback;
  return {};
}
