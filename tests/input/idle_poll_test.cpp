// Pacing of input polls that come without frames or waits.
#include <gtest/gtest.h>

#include "engine/input/idle_poll.h"

namespace zrb::input {
namespace {

TEST(IdlePolicy, HeadlessPollsAfterTheFirstMoveTheClockByAFixedStep) {
  IdlePolicy policy;
  policy.NoteWait(100);
  PollStep first = policy.OnPoll(100, true);
  EXPECT_TRUE(first.pump);
  EXPECT_EQ(first.advanceMs, 0);  // one poll in a frame costs nothing
  double advanced = 0;
  for (int i = 0; i < 256; ++i) {
    const PollStep step = policy.OnPoll(100, true);
    EXPECT_TRUE(step.pump);
    EXPECT_EQ(step.sleepMs, 0);
    advanced += step.advanceMs;
  }
  EXPECT_EQ(advanced, 1.0);  // a whole scan of 256 codes: exactly one millisecond
  policy.NoteWait(200);
  EXPECT_EQ(policy.OnPoll(200, true).advanceMs, 0);
}

TEST(IdlePolicy, RealPollsSoonAfterAFramePumpAtMostOncePerMillisecondAndNeverSleep) {
  IdlePolicy policy;
  policy.NoteWait(1000);
  EXPECT_TRUE(policy.OnPoll(1000.0, false).pump);
  EXPECT_FALSE(policy.OnPoll(1000.5, false).pump);
  EXPECT_TRUE(policy.OnPoll(1001.0, false).pump);
  for (double t = 1001.0; t < 1000 + IdlePolicy::kIdleAfterMs; t += 0.01) {
    EXPECT_EQ(policy.OnPoll(t, false).sleepMs, 0) << t;
  }
}

TEST(IdlePolicy, RealIdlePollsRunInShortBurstsBetweenSleeps) {
  IdlePolicy policy;
  policy.NoteWait(0);
  double now = IdlePolicy::kIdleAfterMs;
  PollStep step = policy.OnPoll(now, false);
  EXPECT_EQ(step.sleepMs, IdlePolicy::kIdleSleepMs);
  EXPECT_TRUE(step.pump);
  now += step.sleepMs + 0.05;  // the sleep overshot a little
  policy.NoteWoke(now);
  // Polls within the burst answer from the last sample.
  int polls = 0;
  for (double t = now; t < now + IdlePolicy::kBurstMs; t += 0.001, ++polls) {
    step = policy.OnPoll(t, false);
    ASSERT_EQ(step.sleepMs, 0) << t;
    ASSERT_FALSE(step.pump) << t;
  }
  EXPECT_GT(polls, 50);
  step = policy.OnPoll(now + IdlePolicy::kBurstMs, false);
  EXPECT_EQ(step.sleepMs, IdlePolicy::kIdleSleepMs);
  // The share of time spent polling: at most a burst per sleep.
  EXPECT_LT(IdlePolicy::kBurstMs / (IdlePolicy::kBurstMs + IdlePolicy::kIdleSleepMs), 0.05);
  // A frame ends the idleness.
  policy.NoteWait(now + 1);
  EXPECT_EQ(policy.OnPoll(now + 2, false).sleepMs, 0);
}

}  // namespace
}  // namespace zrb::input
