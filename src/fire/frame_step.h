#pragma once
#include <cstdint>

class FireManager;
class Surface;

// One frame of the fire into `target`: Update by `elapsedMs`, Render, then
// CopyToSurface. Each stage is guarded on its own, so that a stage that throws
// costs that stage of this frame and no more: the failure is logged as
// "<caller> fire <stage> get an exception" and the later stages still run.
// Presenting the surface is the caller's.
void StepFire(FireManager& fire, Surface& target, std::uint32_t elapsedMs, const char* caller);
