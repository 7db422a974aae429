#include "app/frame_timer.h"

#include <mmsystem.h>

FrameTimer::FrameTimer(Clock clock) : timer_(CreateWaitableTimerA(nullptr, FALSE, nullptr)), clock_(clock) {
  timeBeginPeriod(1);
  startTime_ = Now();
}

FrameTimer::~FrameTimer() {
  if (timer_ && started_ != 0 && period_ != 0) CancelWaitableTimer(timer_.get());
  timer_.reset();
  timeEndPeriod(1);
}

std::uint32_t FrameTimer::Now() const { return clock_ != nullptr ? clock_() : timeGetTime(); }

void FrameTimer::SetPeriod(int milliseconds) {
  if (started_ == 0) period_ = milliseconds;
}

bool FrameTimer::Arm() {
  // A due time of 0 signals the timer at once, so the first frame is not delayed.
  LARGE_INTEGER due{};
  due.QuadPart = 0;
  return timer_ && SetWaitableTimer(timer_.get(), &due, period_, nullptr, nullptr, FALSE) != FALSE;
}

bool FrameTimer::Start() {
  if (started_ != 0) return true;
  startTime_ = Now();
  ticks_ = 0;
  elapsed_ = 0;
  previousElapsed_ = 0;
  if (period_ == 0) {
    started_ = 1;
    return true;
  }
  const bool armed = Arm();
  started_ = armed ? 1 : 0;
  return armed;
}

void FrameTimer::Pause() {
  if (started_ == 0 || paused_ != 0) return;
  if (period_ != 0 && timer_) CancelWaitableTimer(timer_.get());
  paused_ = 1;
}

std::uint32_t FrameTimer::Resume(int periodMs) {
  if (started_ == 0) {
    period_ = periodMs;
    return 0;
  }
  if (period_ != 0 && timer_) CancelWaitableTimer(timer_.get());
  period_ = periodMs;
  paused_ = 0;
  if (period_ != 0) Arm();
  const int now = static_cast<int>(Now() - startTime_);
  const std::uint32_t unseen = static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(elapsed_);
  previousElapsed_ = elapsed_ = now;
  return unseen;
}

int FrameTimer::Wait() {
  if (started_ == 0 || paused_ != 0) return elapsed_;
  if (period_ != 0) WaitForSingleObject(timer_.get(), INFINITE);
  ++ticks_;
  previousElapsed_ = elapsed_;
  elapsed_ = static_cast<int>(Now() - startTime_);
  return elapsed_;
}
