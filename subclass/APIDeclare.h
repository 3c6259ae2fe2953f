#pragma once
// Probes of the running system's version, asked when a control decides how it hears
// the mouse wheel. They keep no state: every call asks the system again.
namespace APIDeclare {

// The first member of the older consumer family (platform 1, minor version 0).
bool IsWindows95();
// The third major version of the NT family (platform 2, major version 3).
bool IsWindowsNT3();

}  // namespace APIDeclare
