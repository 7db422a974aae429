#include "app/frame_timer.h"

#include <gtest/gtest.h>

#include <cstdint>

// A clock the test moves by hand, so that the elapsed arithmetic is exact.
static std::uint32_t fakeNow = 0;
static std::uint32_t FakeClock() { return fakeNow; }

class FrameTimerTest : public ::testing::Test {
 protected:
  void SetUp() override { fakeNow = 5000; }
};

TEST_F(FrameTimerTest, WaitBeforeStartNeitherBlocksNorCounts) {
  FrameTimer timer(&FakeClock);
  timer.SetPeriod(33);
  fakeNow += 700;
  EXPECT_EQ(timer.Wait(), 0);
  EXPECT_EQ(timer.Ticks(), 0);
  EXPECT_FALSE(timer.IsStarted());
}

TEST_F(FrameTimerTest, FirstTickIsDueAtOnceAndElapsedCountsFromStart) {
  FrameTimer timer(&FakeClock);
  timer.SetPeriod(33);
  ASSERT_TRUE(timer.Start());
  // The first signal is due at once: this returns without waiting a period.
  EXPECT_EQ(timer.Wait(), 0);
  fakeNow += 40;
  EXPECT_EQ(timer.Wait(), 40);  // the real timer ticks after ~33 ms
  EXPECT_EQ(timer.PreviousElapsed(), 0);
  EXPECT_EQ(timer.Elapsed(), 40);
  EXPECT_EQ(timer.Ticks(), 2);
}

TEST_F(FrameTimerTest, PeriodZeroNeverBlocksWhileElapsedFollowsTheClock) {
  FrameTimer timer(&FakeClock);
  ASSERT_TRUE(timer.Start());
  for (int i = 1; i <= 100; ++i) {
    fakeNow += 7;
    EXPECT_EQ(timer.Wait(), 7 * i);
  }
  EXPECT_EQ(timer.Ticks(), 100);
  EXPECT_EQ(timer.Elapsed() - timer.PreviousElapsed(), 7);
}

TEST_F(FrameTimerTest, PeriodIsFixedOnceStartedAndStartTwiceChangesNothing) {
  FrameTimer timer(&FakeClock);
  ASSERT_TRUE(timer.Start());  // period 0
  timer.SetPeriod(10000);      // ignored: a 10 s wait would show below as a hang
  fakeNow += 3;
  EXPECT_EQ(timer.Wait(), 3);
  fakeNow += 100;
  EXPECT_TRUE(timer.Start());  // no restart: start time and ticks stay
  fakeNow += 1;
  EXPECT_EQ(timer.Wait(), 104);
  EXPECT_EQ(timer.Ticks(), 2);
}

TEST_F(FrameTimerTest, ElapsedSurvivesTheClockWrapping) {
  fakeNow = 0xFFFFFFF0u;
  FrameTimer timer(&FakeClock);
  ASSERT_TRUE(timer.Start());
  fakeNow += 0x20;  // wraps past zero
  EXPECT_EQ(timer.Wait(), 0x20);
}

TEST_F(FrameTimerTest, PausedTimeIsHandedOverOnceAndNoFrameIsGivenIt) {
  FrameTimer timer(&FakeClock);
  timer.SetPeriod(10000);  // a real wait would show as a hang
  ASSERT_TRUE(timer.Start());
  EXPECT_EQ(timer.Wait(), 0);  // due at once
  fakeNow += 50;
  timer.Pause();
  fakeNow += 60000;
  EXPECT_EQ(timer.Wait(), 0) << "a paused timer neither blocks nor counts";
  EXPECT_EQ(timer.Ticks(), 1);
  EXPECT_EQ(timer.Resume(66), 60050u);  // since the last counted tick
  EXPECT_EQ(timer.Period(), 66);
  fakeNow += 70;
  EXPECT_EQ(timer.Wait(), 60120);  // the new period's first tick is due at once
  EXPECT_EQ(timer.Elapsed() - timer.PreviousElapsed(), 70) << "the frame's own duration only";
  EXPECT_EQ(timer.Resume(33), 0u) << "nothing unseen right after a tick";
}

TEST(FrameTimerRealClock, RepeatingTimerPacesWaits) {
  // The third tick of a 20 ms timer cannot come before 40 ms after Start,
  // however late the waits are made. Checks that Wait really blocks, not its
  // accuracy (a little slack for the clock's granularity).
  FrameTimer timer;
  timer.SetPeriod(20);
  ASSERT_TRUE(timer.Start());
  timer.Wait();
  timer.Wait();
  EXPECT_GE(timer.Wait(), 30);
  EXPECT_EQ(timer.Ticks(), 3);
}
