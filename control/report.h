#pragma once
// The control's way of going on past a failure where the user must hear of it: the
// step's error is shown in a message box under a fixed tag, and the next step runs.
#include <string>

#include "forms/error.h"
#include "forms/msgbox.h"

template <class F>
void reportAndGoOn(const char* tag, F&& step) {
  try {
    step();
  } catch (const forms::Error& e) {
    forms::MsgBox(std::string(tag) + e.description() + " : " + std::to_string(e.number()), forms::MsgBoxOkOnly);
  }
}
