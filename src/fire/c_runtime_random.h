#pragma once
#include <cstdint>

// The C runtime's standard generator, reproduced so that every platform draws
// the same sequence: state = state * 214013 + 2531011, result bits 16..30.
// Like the runtime's, the state belongs to the calling thread and starts at 1,
// so an unseeded thread always begins the same sequence.
class CRuntimeRandom {
 public:
  static constexpr int kMax = 0x7FFF;

  // The next value 0..32767 of the calling thread's sequence.
  static int Next();
  // Restarts the calling thread's sequence (as srand does).
  static void Seed(std::uint32_t seed);
};
