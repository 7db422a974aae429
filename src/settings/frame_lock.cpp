#include "settings/frame_lock.h"

#include "diagnostics/debug_log.h"

FrameLockScope::FrameLockScope(FrameLock& lock) : lock_(lock) {
  TraceLog().Log("Enter Critical Section");
  lock_.lock();
}

FrameLockScope::~FrameLockScope() {
  TraceLog().Log("Leave Critical Section");
  lock_.unlock();
}
