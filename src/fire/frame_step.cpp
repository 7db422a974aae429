#include "fire/frame_step.h"

#include "diagnostics/debug_log.h"
#include "fire/fire_manager.h"

void StepFire(FireManager& fire, Surface& target, std::uint32_t elapsedMs, const char* caller) {
  try {
    fire.Update(elapsedMs);
  } catch (...) {
    TraceLog().Log("%s fire Update get an exception", caller);
  }
  try {
    fire.Render();
  } catch (...) {
    TraceLog().Log("%s fire Render get an exception", caller);
  }
  try {
    fire.CopyToSurface(target);
  } catch (...) {
    TraceLog().Log("%s fire CopyToSurface get an exception", caller);
  }
}
