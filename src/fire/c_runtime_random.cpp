#include "fire/c_runtime_random.h"

namespace {
thread_local std::uint32_t t_state = 1;
}

int CRuntimeRandom::Next() {
  t_state = t_state * 214013u + 2531011u;
  return static_cast<int>((t_state >> 16) & 0x7FFFu);
}

void CRuntimeRandom::Seed(std::uint32_t seed) { t_state = seed; }
