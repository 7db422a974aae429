#pragma once
#include <mutex>

// The settings mode's one lock: the render thread holds it for each whole frame,
// the UI thread for each settings-controller operation, so that a change is never
// made while a frame is being computed. Re-entrant for the thread that holds it:
// a controller operation may call another one (directly, or through the dialog
// it calls back) without deadlocking.
class FrameLock {
 public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }

 private:
  std::recursive_mutex mutex_;
};

// A controller operation's hold of the frame lock: logs "Enter Critical Section"
// and enters, and on leaving scope (also when an exception passes) logs "Leave
// Critical Section" and leaves, so every enter line has its leave line.
class FrameLockScope {
 public:
  explicit FrameLockScope(FrameLock& lock);
  ~FrameLockScope();
  FrameLockScope(const FrameLockScope&) = delete;
  FrameLockScope& operator=(const FrameLockScope&) = delete;

 private:
  FrameLock& lock_;
};
