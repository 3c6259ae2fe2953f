#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "SubclassWnd.h"
#include "win32/runtime.h"

namespace {

using namespace win32;

// Records what reaches it; optionally answers a message itself.
class RecordingListener : public cSubclassListener, public std::enable_shared_from_this<RecordingListener> {
 public:
  LRESULT WindowMsgListener(HWND hwnd, UINT Msg, WPARAM, LPARAM, bool& route) override {
    seen.push_back(Msg);
    if (onMessage) onMessage(hwnd, Msg);
    if (Msg == answerMsg) {
      route = false;
      return answer;
    }
    return 999;  // discarded whenever the message is routed on
  }
  std::shared_ptr<cSubclassListener> ListenerRef() override { return shared_from_this(); }

  std::vector<UINT> seen;
  UINT answerMsg = 0;
  LRESULT answer = 0;
  std::function<void(HWND, UINT)> onMessage;
};

// A window whose class procedure records its messages and answers 7.
struct TestWindow {
  TestWindow() {
    hwnd = runtime::createWindow(&widget, 0, runtime::WheelRole::EndWalk, [this](HWND, UINT msg, WPARAM, LPARAM) {
      classSeen.push_back(msg);
      return LRESULT{7};
    });
  }
  ~TestWindow() { runtime::destroyWindow(hwnd); }
  QWidget widget;
  HWND hwnd = 0;
  std::vector<UINT> classSeen;
};

constexpr UINT kHooked = WM_USER + 1;
constexpr UINT kOther = WM_USER + 2;

}  // namespace

TEST(SubclassWnd, HookedMessagesReachTheListenerAndRoutingDecidesTheResult) {
  TestWindow w;
  auto listener = std::make_shared<RecordingListener>();
  SubclassWnd::SubclassWindow(w.hwnd, listener.get());
  SubclassWnd::HookMessage(w.hwnd, kHooked);

  // Left routed: the previous procedure still runs and its result wins.
  EXPECT_EQ(SendMessageA(w.hwnd, kHooked, 0, 0), 7);
  // Not hooked: straight through, the listener never sees it.
  EXPECT_EQ(SendMessageA(w.hwnd, kOther, 0, 0), 7);
  EXPECT_EQ(listener->seen, std::vector<UINT>{kHooked});
  EXPECT_EQ(w.classSeen, (std::vector<UINT>{kHooked, kOther}));

  // Routing switched off: the listener's value, and the previous procedure never runs.
  listener->answerMsg = kHooked;
  listener->answer = 42;
  EXPECT_EQ(SendMessageA(w.hwnd, kHooked, 0, 0), 42);
  EXPECT_EQ(w.classSeen.size(), 2u);
  SubclassWnd::UnsubclassWindow(w.hwnd);
}

TEST(SubclassWnd, SecondSubclassReplacesTheFirstAndTheFirstProcedureComesBack) {
  TestWindow w;
  const LONG_PTR original = GetWindowLongPtrA(w.hwnd, GWLP_WNDPROC);
  auto first = std::make_shared<RecordingListener>();
  auto second = std::make_shared<RecordingListener>();
  SubclassWnd::SubclassWindow(w.hwnd, first.get());
  SubclassWnd::HookMessage(w.hwnd, kHooked);
  SubclassWnd::SubclassWindow(w.hwnd, second.get());

  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 1u);
  auto record = SubclassWnd::FindRecord(w.hwnd);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->oldWndProc, original);
  EXPECT_FALSE(record->IsMessageHooked(kHooked));  // the hooked list starts empty

  // The first object's later calls act on the second object's record.
  SubclassWnd::HookMessage(w.hwnd, kHooked);
  SendMessageA(w.hwnd, kHooked, 0, 0);
  EXPECT_TRUE(first->seen.empty());
  EXPECT_EQ(second->seen.size(), 1u);
  SubclassWnd::UnsubclassWindow(w.hwnd);
  EXPECT_EQ(GetWindowLongPtrA(w.hwnd, GWLP_WNDPROC), original);
  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u);
}

TEST(SubclassWnd, HookBookkeeping) {
  TestWindow a, b;
  auto listener = std::make_shared<RecordingListener>();

  // Nothing registered: hooking an unknown window does nothing; window 0 is ignored.
  EXPECT_NO_THROW(SubclassWnd::HookMessage(a.hwnd, kHooked));
  SubclassWnd::SubclassWindow(0, listener.get());
  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u);

  SubclassWnd::SubclassWindow(a.hwnd, listener.get());
  try {
    SubclassWnd::HookMessage(b.hwnd, kHooked);  // others are registered: error 5
    ADD_FAILURE() << "no error";
  } catch (const forms::Error& e) {
    EXPECT_EQ(e.number(), 5);
  }
  EXPECT_NO_THROW(SubclassWnd::UnhookMessage(b.hwnd, kHooked));

  auto record = SubclassWnd::FindRecord(a.hwnd);
  SubclassWnd::HookMessage(a.hwnd, kHooked);
  SubclassWnd::HookMessage(a.hwnd, kHooked);
  SubclassWnd::HookMessage(a.hwnd, 0);
  EXPECT_EQ(record->msgList->count(), 1u);  // stored once, message 0 never
  EXPECT_TRUE(record->msgList->contains("HOOK_" + std::to_string(kHooked)));
  SubclassWnd::UnhookMessage(a.hwnd, kOther);  // never hooked: nothing
  EXPECT_EQ(record->msgList->count(), 1u);
  SubclassWnd::UnhookMessage(a.hwnd, kHooked);
  EXPECT_EQ(record->msgList->count(), 0u);
  // A record whose last message went stays registered; everything passes through.
  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 1u);
  SubclassWnd::UnsubclassWindow(a.hwnd);
}

TEST(SubclassWnd, NcDestroyEndsTheSubclassingAfterThePreviousProcedureSawIt) {
  auto w = std::make_unique<TestWindow>();
  auto listener = std::make_shared<RecordingListener>();
  SubclassWnd::SubclassWindow(w->hwnd, listener.get());
  SubclassWnd::HookMessage(w->hwnd, WM_DESTROY);
  listener->answerMsg = WM_NCDESTROY;  // even a listener that stops it cannot keep it from the window
  SubclassWnd::HookMessage(w->hwnd, WM_NCDESTROY);
  runtime::destroyWindow(w->hwnd);
  EXPECT_EQ(listener->seen, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  EXPECT_EQ(w->classSeen, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u);
}

TEST(SubclassWnd, ListenerMayUnsubclassDuringItsOwnMessage) {
  TestWindow w;
  auto listener = std::make_shared<RecordingListener>();
  SubclassWnd::SubclassWindow(w.hwnd, listener.get());
  SubclassWnd::HookMessage(w.hwnd, kHooked);
  listener->onMessage = [](HWND h, UINT) { SubclassWnd::UnsubclassWindow(h); };
  // The record outlives the call, so the message still reaches the previous procedure.
  EXPECT_EQ(SendMessageA(w.hwnd, kHooked, 0, 0), 7);
  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u);
  EXPECT_EQ(w.classSeen, std::vector<UINT>{kHooked});
}

TEST(SubclassWnd, MessagesOfAWindowWhoseListenerWentPassThrough) {
  TestWindow w;
  auto listener = std::make_shared<RecordingListener>();
  SubclassWnd::SubclassWindow(w.hwnd, listener.get());
  SubclassWnd::HookMessage(w.hwnd, kHooked);
  listener.reset();
  EXPECT_EQ(SendMessageA(w.hwnd, kHooked, 0, 0), 7);
  EXPECT_EQ(w.classSeen, std::vector<UINT>{kHooked});
  SubclassWnd::UnsubclassWindow(w.hwnd);
}

TEST(SubclassWnd, RefusesWhatIsNotAWindowOrHasNoListener) {
  auto listener = std::make_shared<RecordingListener>();
  EXPECT_THROW(SubclassWnd::SubclassWindow(123456, listener.get()), forms::Error);
  TestWindow w;
  EXPECT_THROW(SubclassWnd::SubclassWindow(w.hwnd, nullptr), forms::Error);
  EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u);
}

TEST(SubclassWnd, HiWordIsTheSignedHighHalf) {
  EXPECT_EQ(SubclassWnd::HiWord(static_cast<int32_t>(0xFF880000u)), -120);
  EXPECT_EQ(SubclassWnd::HiWord(0x00780000), 120);
  EXPECT_EQ(SubclassWnd::HiWord(0x0000FFFF), 0);
  EXPECT_EQ(SubclassWnd::HiWord(static_cast<int32_t>(0x8000FFFFu)), -32768);
}
