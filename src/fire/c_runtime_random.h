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
  // The next `count` values, as `count` calls of Next would give them, with
  // the thread's state looked up once: in the Windows build every look at a
  // thread's own variable is a function call, and the seeding draws tens of
  // thousands of values a frame.
  static void Next(int* values, std::int32_t count);
  // Restarts the calling thread's sequence (as srand does).
  static void Seed(std::uint32_t seed);
  // The calling thread's state: Seed with it continues the sequence from here.
  static std::uint32_t State();
};
