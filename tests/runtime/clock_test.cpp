// The manual clock: what runs when, and in which order.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/clock.h"
#include "forms/error.h"
#include "test_support.h"

namespace {

using forms::Clock;

struct ClockTest : ::testing::Test {
  void SetUp() override { pendingBefore = clock().pending(); }
  void TearDown() override { EXPECT_EQ(clock().pending(), pendingBefore); }
  static Clock& clock() { return Clock::instance(); }
  // Records the callback's name and the time it ran at, relative to the test's start.
  Clock::Callback note(std::string name) {
    return [this, name] { runs.push_back(name + "@" + std::to_string(clock().now() - start)); };
  }
  std::size_t pendingBefore = 0;
  uint32_t start = clock().now();
  std::vector<std::string> runs;
};

using Runs = std::vector<std::string>;

}  // namespace

TEST_F(ClockTest, PeriodicCallbacksRunAtTheirTimesOnlyWhenAdvanced) {
  const uint32_t tick = clock().schedule(200, 200, note("tick"));
  const uint32_t once = clock().schedule(50, 0, note("once"));
  EXPECT_NE(tick, 0u);
  EXPECT_NE(once, tick);
  testsupport::processQtEvents();
  EXPECT_TRUE(runs.empty());
  clock().advance(1000);
  EXPECT_EQ(runs, (Runs{"once@50", "tick@200", "tick@400", "tick@600", "tick@800", "tick@1000"}));
  EXPECT_EQ(clock().now() - start, 1000u);
  EXPECT_FALSE(clock().cancel(once));
  EXPECT_TRUE(clock().cancel(tick));
  EXPECT_FALSE(clock().cancel(tick));
}

TEST_F(ClockTest, CallbacksDueTogetherRunInTheOrderTheyWereSet) {
  clock().schedule(100, 0, note("a"));
  clock().advance(40);
  clock().schedule(60, 0, note("b"));  // due at 100 too
  const uint32_t c = clock().schedule(100, 100, note("c"));
  const uint32_t d = clock().schedule(100, 100, note("d"));
  clock().advance(260);
  EXPECT_EQ(runs, (Runs{"a@100", "b@100", "c@140", "d@140", "c@240", "d@240"}));
  clock().cancel(c);
  clock().cancel(d);
}

TEST_F(ClockTest, PostedWorkRunsAfterWhatIsAlreadyDue) {
  clock().schedule(10, 0, [this] {
    note("first")();
    clock().post(note("posted"));
  });
  clock().schedule(10, 0, note("second"));
  clock().schedule(11, 0, note("later"));
  clock().post(note("posted-now"));
  clock().advance(0);
  EXPECT_EQ(runs, Runs{"posted-now@0"});
  clock().advance(20);
  EXPECT_EQ(runs, (Runs{"posted-now@0", "first@10", "second@10", "posted@10", "later@11"}));
}

TEST_F(ClockTest, CancelInsideACallback) {
  uint32_t victim = 0, self = 0;
  int selfRuns = 0;
  clock().schedule(100, 0, [&] {
    note("killer")();
    EXPECT_TRUE(clock().cancel(victim));
  });
  victim = clock().schedule(100, 0, note("victim"));
  self = clock().schedule(30, 30, [&] {
    if (++selfRuns == 2) {
      EXPECT_TRUE(clock().cancel(self));
    }
  });
  clock().advance(500);
  EXPECT_EQ(runs, Runs{"killer@100"});
  EXPECT_EQ(selfRuns, 2);
  EXPECT_FALSE(clock().cancel(victim));
}

TEST_F(ClockTest, WhateverACallbackThrowsIsShownAndTheRestStillRun) {
  testsupport::msgBoxes().clear();
  clock().schedule(10, 0, [] { throw forms::Error(forms::err::Overflow); });
  clock().schedule(10, 0, [] { throw std::length_error("too long"); });
  clock().post([] { throw 42; });
  const uint32_t tick = clock().schedule(10, 10, note("tick"));
  clock().advance(20);
  clock().cancel(tick);
  EXPECT_EQ(runs, (Runs{"tick@10", "tick@20"}));
  Runs prompts;
  for (const auto& box : testsupport::msgBoxes()) prompts.push_back(box.prompt);
  EXPECT_EQ(prompts, (Runs{"Run-time error '51':\n\nInternal error: an exception of unknown type",
                           "Run-time error '6':\n\nOverflow", "Run-time error '51':\n\nInternal error: too long"}));
}
