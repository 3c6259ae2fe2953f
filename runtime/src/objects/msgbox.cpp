#include "forms/msgbox.h"

#include <QMessageBox>
#include <exception>

#include "forms/error.h"

namespace forms {

namespace {
std::function<int(const MsgBoxCall&)>& recorder() {
  static std::function<int(const MsgBoxCall&)> r;
  return r;
}
}  // namespace

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
  if (recorder()) return recorder()(MsgBoxCall{prompt, buttons, title});
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(prompt), QMessageBox::Ok);
  box.exec();
  return MsgBoxOk;
}

void reportUnhandledError(int number, const std::string& description) {
  MsgBox("Run-time error '" + std::to_string(number) + "':\n\n" + description, MsgBoxOkOnly);
}

void reportCurrentException() {
  try {
    throw;
  } catch (const Error& e) {
    reportUnhandledError(e.number(), e.description());
  } catch (const std::exception& e) {
    reportUnhandledError(err::InternalError, std::string("Internal error: ") + e.what());
  } catch (...) {
    reportUnhandledError(err::InternalError, "Internal error: an exception of unknown type");
  }
}

void setMsgBoxRecorder(std::function<int(const MsgBoxCall&)> r) { recorder() = std::move(r); }

}  // namespace forms
