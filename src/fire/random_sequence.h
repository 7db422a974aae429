#pragma once
#include <cstdint>

#include "fire/c_runtime_random.h"

// A random sequence that belongs to one piece of work rather than to a thread.
// The generator's state is the calling thread's, so two fires stepped by one
// thread would share (and split) one sequence, and a fire stepped by different
// threads on different frames would jump between sequences. Running each fire's
// frame through its own RandomSequence gives every fire the sequence it would
// draw alone on a fresh thread, whichever thread runs it.
class RandomSequence {
 public:
  // Runs `work` with this sequence as the calling thread's, then gives the
  // thread its own sequence back where it was.
  template <typename Work>
  void Run(Work&& work) {
    const std::uint32_t threadState = CRuntimeRandom::State();
    CRuntimeRandom::Seed(state_);
    work();
    state_ = CRuntimeRandom::State();
    CRuntimeRandom::Seed(threadState);
  }

 private:
  std::uint32_t state_ = 1;  // where an unseeded thread starts
};
