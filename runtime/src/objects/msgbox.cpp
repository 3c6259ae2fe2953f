#include "forms/msgbox.h"

#include <QMessageBox>

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

void setMsgBoxRecorder(std::function<int(const MsgBoxCall&)> r) { recorder() = std::move(r); }

}  // namespace forms
