#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Timer.h"
#include "forms/error.h"
#include "test_support.h"
#include "win32/runtime.h"

namespace {

std::vector<std::string> g_calls;

class Listener : public CTimerListener {
 public:
  explicit Listener(std::string name) : m_name(std::move(name)) {}
  void OnTimerNotification() override {
    g_calls.push_back(m_name);
    if (action) action();
  }
  std::function<void()> action;

 private:
  std::string m_name;
};

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override { g_calls.clear(); }
  void TearDown() override {
    for (const char* k : {"a", "b", "c", "d"}) Timer::UnregisterTimerListener(k);
    testsupport::advance(400);  // lets a tick that found nobody stop the timer
  }
};

}  // namespace

TEST_F(TimerTest, ArmsOnceTicksEvery200msAndStopsWithTheLastListener) {
  const int armedBefore = win32::runtime::armedTimerCount();
  Timer::RegisterTimerListener(std::make_shared<Listener>("a"), "a");
  const auto first = Timer::TimerID();
  EXPECT_NE(first, 0u);
  Timer::RegisterTimerListener(std::make_shared<Listener>("b"), "b");
  EXPECT_EQ(Timer::TimerID(), first);  // no second timer
  EXPECT_EQ(win32::runtime::armedTimerCount(), armedBefore + 1);

  testsupport::advance(199);
  EXPECT_TRUE(g_calls.empty());
  testsupport::advance(1);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"a", "b"}));
  testsupport::advance(200);
  EXPECT_EQ(g_calls.size(), 4u);

  Timer::UnregisterTimerListener("a");
  Timer::UnregisterTimerListener("b");
  EXPECT_EQ(Timer::TimerID(), 0u);
  EXPECT_EQ(win32::runtime::armedTimerCount(), armedBefore);
  testsupport::advance(1000);
  EXPECT_EQ(g_calls.size(), 4u);

  Timer::RegisterTimerListener(std::make_shared<Listener>("c"), "c");
  EXPECT_NE(Timer::TimerID(), 0u);
  EXPECT_NE(Timer::TimerID(), first);
}

TEST_F(TimerTest, DuplicateKeyKeepsTheFirstListenerAndUnknownKeysAreIgnored) {
  Timer::RegisterTimerListener(std::make_shared<Listener>("first"), "a");
  Timer::RegisterTimerListener(std::make_shared<Listener>("second"), "A");  // keys compare without case
  EXPECT_EQ(Timer::ListenerCount(), 1u);
  EXPECT_NO_THROW(Timer::UnregisterTimerListener("nobody"));
  testsupport::advance(200);
  EXPECT_EQ(g_calls, std::vector<std::string>{"first"});
}

TEST_F(TimerTest, UnregisteringDuringATickShiftsTheLaterListeners) {
  auto a = std::make_shared<Listener>("a");
  a->action = [] { Timer::UnregisterTimerListener("a"); };
  Timer::RegisterTimerListener(a, "a");
  Timer::RegisterTimerListener(std::make_shared<Listener>("b"), "b");
  Timer::RegisterTimerListener(std::make_shared<Listener>("c"), "c");
  a.reset();
  testsupport::advance(200);
  // "b" moved into position 1, already visited: it misses this tick.
  EXPECT_EQ(g_calls, (std::vector<std::string>{"a", "c"}));
  g_calls.clear();
  testsupport::advance(200);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"b", "c"}));
}

TEST_F(TimerTest, ListenerAddedDuringATickWaitsAndAFailingOneDoesNotStopTheRest) {
  auto a = std::make_shared<Listener>("a");
  a->action = [] {
    if (!Timer::IsRegistered("d")) Timer::RegisterTimerListener(std::make_shared<Listener>("d"), "d");
    throw forms::Error(forms::err::InvalidCall);
  };
  Timer::RegisterTimerListener(a, "a");
  Timer::RegisterTimerListener(std::make_shared<Listener>("b"), "b");
  testsupport::advance(200);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"a", "b"}));
  g_calls.clear();
  testsupport::advance(200);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"a", "b", "d"}));
}

TEST_F(TimerTest, AnyExceptionFromAListenerLeavesTheOthersAndTheTickingAlone) {
  auto a = std::make_shared<Listener>("a");
  a->action = [] { throw std::runtime_error("not a run-time error"); };
  Timer::RegisterTimerListener(a, "a");
  Timer::RegisterTimerListener(std::make_shared<Listener>("b"), "b");
  testsupport::advance(200);
  testsupport::advance(200);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"a", "b", "a", "b"}));
  EXPECT_NE(Timer::TimerID(), 0u);
}

TEST_F(TimerTest, ReplacingTheLastListenerDuringATickLeavesOneTimer) {
  const int armedBefore = win32::runtime::armedTimerCount();
  auto a = std::make_shared<Listener>("a");
  a->action = [] {
    Timer::UnregisterTimerListener("a");
    Timer::RegisterTimerListener(std::make_shared<Listener>("b"), "b");
  };
  Timer::RegisterTimerListener(a, "a");
  a.reset();
  testsupport::advance(200);
  EXPECT_EQ(win32::runtime::armedTimerCount(), armedBefore + 1);
  g_calls.clear();
  testsupport::advance(1000);
  EXPECT_EQ(g_calls.size(), 5u);  // one tick every 200 ms, not two
  Timer::UnregisterTimerListener("b");
  EXPECT_EQ(win32::runtime::armedTimerCount(), armedBefore);
}

TEST_F(TimerTest, NoTickBeginsWhileOneRunsAndTheNextComesAnIntervalAfter) {
  auto a = std::make_shared<Listener>("a");
  int depth = 0;
  a->action = [&] {
    ++depth;
    // A nested loop inside a tick delivers no further tick.
    testsupport::advance(500);
    EXPECT_EQ(depth, 1);
    --depth;
  };
  Timer::RegisterTimerListener(a, "a");
  testsupport::advance(200);
  EXPECT_EQ(g_calls.size(), 1u);
  a->action = nullptr;
  testsupport::advance(199);
  EXPECT_EQ(g_calls.size(), 1u);
  testsupport::advance(1);
  EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(TimerTest, ATickWithNoListenersStopsTheTimer) {
  auto a = std::make_shared<Listener>("a");
  Timer::RegisterTimerListener(a, "a");
  const auto id = Timer::TimerID();
  // Gone behind the registry's back: the tick finds nobody and disarms.
  a->action = [] { Timer::UnregisterTimerListener("a"); };
  testsupport::advance(200);
  EXPECT_NE(Timer::TimerID(), 0u);  // armed again: a listener ran in this tick
  testsupport::advance(200);
  EXPECT_EQ(Timer::TimerID(), 0u);
  (void)id;
}
