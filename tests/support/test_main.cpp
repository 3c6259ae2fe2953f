#include <gtest/gtest.h>

#include <QCoreApplication>

#include "forms/application.h"
#include "forms/error.h"
#include "test_support.h"

namespace testsupport {

std::vector<forms::MsgBoxCall>& msgBoxes() {
  static std::vector<forms::MsgBoxCall> boxes;
  return boxes;
}

int errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const forms::Error& e) {
    return e.number();
  }
  return 0;
}

void processQtEvents() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace testsupport

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  forms::Application app(argc, argv, forms::Application::ClockMode::Manual);
  forms::setMsgBoxRecorder([](const forms::MsgBoxCall& call) {
    testsupport::msgBoxes().push_back(call);
    return forms::MsgBoxOk;
  });
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
