#include "fire/c_runtime_random.h"

namespace {

thread_local std::uint32_t t_state = 1;

inline int Advance(std::uint32_t& state) {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFFu);
}

}  // namespace

int CRuntimeRandom::Next() { return Advance(t_state); }

void CRuntimeRandom::Next(int* values, std::int32_t count) {
  std::uint32_t& state = t_state;
  for (std::int32_t i = 0; i < count; ++i) values[i] = Advance(state);
}

void CRuntimeRandom::Seed(std::uint32_t seed) { t_state = seed; }

std::uint32_t CRuntimeRandom::State() { return t_state; }
