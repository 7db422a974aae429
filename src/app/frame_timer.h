#pragma once
#include <windows.h>

#include <cstdint>

#include "diagnostics/handles_win.h"

// Paces the frame loop on a periodic waitable timer. Each Wait blocks until the
// next tick and reports the milliseconds since Start, so the caller can hand the
// frame its own duration (Elapsed() - PreviousElapsed()). The system timer
// resolution is raised to 1 ms for the object's whole life so that 33 ms ticks
// arrive on time. One thread at a time.
class FrameTimer {
 public:
  using Clock = std::uint32_t (*)();

  // `clock` is replaceable for tests; the program uses the multimedia clock.
  explicit FrameTimer(Clock clock = nullptr);
  virtual ~FrameTimer();
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;

  // Ignored once started: the period of a running timer cannot change. 0 makes
  // Wait return at once.
  void SetPeriod(int milliseconds);

  // Arms the timer so that its first tick is due at once. False when it cannot
  // be armed; Wait then never blocks. A second Start changes nothing.
  bool Start();

  // Blocks until the next tick (not before Start, not while paused), counts it
  // and returns the milliseconds since Start. A frame that overran its period
  // finds the timer already signalled; at most one tick is ever pending.
  int Wait();

  // Stops the ticks while no frame is wanted (nobody sees them): the timer is
  // cancelled, and Wait returns at once without counting until Resume.
  void Pause();
  // Ticks again every `periodMs` (the rate may change here), the first tick
  // due at once. Returns the milliseconds since the last counted tick, which
  // no frame will be handed: Elapsed() moves on to now, so that the next
  // frame's step is its own duration only. 0 when not started.
  std::uint32_t Resume(int periodMs);

  int Elapsed() const { return elapsed_; }
  int PreviousElapsed() const { return previousElapsed_; }
  int Ticks() const { return ticks_; }
  bool IsStarted() const { return started_ != 0; }
  bool IsPaused() const { return paused_ != 0; }
  int Period() const { return period_; }

 private:
  std::uint32_t Now() const;
  // Sets the timer to tick every period from now; false when it cannot.
  bool Arm();

  int period_ = 0;
  UniqueKernelHandle timer_;
  int ticks_ = 0;
  int elapsed_ = 0;
  std::uint32_t startTime_ = 0;
  int previousElapsed_ = 0;
  std::uint8_t started_ = 0;
  std::uint8_t paused_ = 0;
  Clock clock_ = nullptr;
};
