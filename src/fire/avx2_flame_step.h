#pragma once
#include <cstdint>

#include "fire/heat_seeder.h"
#include "image/byte_image.h"

// True when the processor and the system run AVX2 code (checked once).
bool Avx2Available();

// The heat step's one walk (seeding, upward spread, attenuation; see
// Sse2FlameFilter::Step) with 32-byte vectors, the remainder of each row with
// the SSE2 kernels. The style comes as the SSE2 filter prepares it: a base
// amount and `stepCount` thresholds (top bit flipped) with their amounts.
// Call only when Avx2Available(); gives the same bytes as the SSE2 walk. Does
// not swap the buffers.
void Avx2StepInOneWalk(ByteImage& heat, std::uint8_t* other, HeatSeeder* seeder, std::uint8_t baseAmount, int stepCount,
                       const std::uint8_t* thresholds, const std::uint8_t* amounts);
