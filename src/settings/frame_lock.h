#pragma once
#include <mutex>

#include "diagnostics/thread_annotations.h"

// The settings mode's one lock: the render thread holds it for each whole frame,
// the UI thread for each settings-controller operation, so that a change is never
// made while a frame is being computed. Re-entrant for the thread that holds it:
// a controller operation may call another one (directly, or through the dialog
// it calls back) without deadlocking. Lockable, so std::lock_guard and
// std::unique_lock take it.
class CAPABILITY("mutex") FrameLock {
 public:
  void lock() ACQUIRE() { mutex_.lock(); }
  void unlock() RELEASE() { mutex_.unlock(); }
  bool try_lock() TRY_ACQUIRE(true) { return mutex_.try_lock(); }

 private:
  std::recursive_mutex mutex_;
};

// std::lock_guard over the frame lock, as the standard one but annotated:
// libstdc++'s carries no annotations, and without them clang's analysis would
// not know that the lock is held in a guard's scope.
template <>
class SCOPED_CAPABILITY std::lock_guard<FrameLock> {
 public:
  using mutex_type = FrameLock;
  explicit lock_guard(FrameLock& lock) ACQUIRE(lock) : lock_(lock) { lock_.lock(); }
  lock_guard(FrameLock& lock, std::adopt_lock_t) REQUIRES(lock) : lock_(lock) {}
  ~lock_guard() RELEASE() { lock_.unlock(); }
  lock_guard(const lock_guard&) = delete;
  lock_guard& operator=(const lock_guard&) = delete;

 private:
  FrameLock& lock_;
};

// A controller operation's hold of the frame lock: logs "Enter Critical Section"
// and enters, and on leaving scope (also when an exception passes) logs "Leave
// Critical Section" and leaves, so every enter line has its leave line.
class SCOPED_CAPABILITY FrameLockScope {
 public:
  explicit FrameLockScope(FrameLock& lock) ACQUIRE(lock);
  ~FrameLockScope() RELEASE();
  FrameLockScope(const FrameLockScope&) = delete;
  FrameLockScope& operator=(const FrameLockScope&) = delete;

 private:
  FrameLock& lock_;
};
