#pragma once
#include <cstdint>

#include "fire/heat_seeder.h"
#include "image/byte_image.h"

// True when the processor and the system run AVX2 code (checked once).
bool Avx2Available();

// The heat step's walk in place (seeding, upward spread, attenuation; see
// StepInPlace in flame_step_kernels.h) with 32-byte vectors, the remainder of
// each row with the SSE2 kernels. The style comes as the SSE2 filter prepares
// it: a base amount and `stepCount` thresholds (top bit flipped) with their
// amounts. `scratch` holds at least one row of the pitch. Call only when
// Avx2Available(); gives the same bytes as the SSE2 walk.
void Avx2StepInPlace(ByteImage& heat, std::uint8_t* other, std::uint8_t* scratch, HeatSeeder* seeder,
                     std::uint8_t baseAmount, int stepCount, const std::uint8_t* thresholds,
                     const std::uint8_t* amounts);

// heat[i] = max(heat[i], lit[i]) for `count` bytes, a multiple of 8: the
// spark merge of the seeding, 32 bytes at a time. Call only when Avx2Available().
void Avx2MergeBrighter(std::uint8_t* heat, const std::uint8_t* lit, std::int32_t count);
