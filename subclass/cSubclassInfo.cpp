#include "cSubclassInfo.h"

#include <string>

namespace {
std::string hookKey(int32_t Msg) { return "HOOK_" + std::to_string(Msg); }
}  // namespace

void cSubclassInfo::AddMessage(int32_t Msg) {
  forms::resumeNext([&] {
    if (Msg == 0) return;
    if (!msgList) msgList = std::make_unique<forms::Collection<int32_t>>();
    msgList->add(Msg, hookKey(Msg));  // a second add of the same message is refused
  });
}

void cSubclassInfo::RemoveMessage(int32_t Msg) {
  forms::resumeNext([&] {
    if (Msg == 0 || !msgList) return;
    msgList->remove(hookKey(Msg));
  });
}

bool cSubclassInfo::IsMessageHooked(int32_t Msg) {
  bool hooked = false;
  forms::resumeNext([&] {
    if (!msgList) return;
    hooked = msgList->item(hookKey(Msg)) != 0;
  });
  return hooked;
}
