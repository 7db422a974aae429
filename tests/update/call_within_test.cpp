#include "update/call_within.h"

#include <gtest/gtest.h>

#include <future>
#include <string>

// A work that answers in time gives its answer; one that is still blocked when
// the time is up gives none, and the caller does not wait for it.
TEST(CallWithin, GivesTheAnswerInTimeAndNoneAfterIt) {
  EXPECT_EQ(CallWithin<std::string>(10000, [] { return std::string("found"); }), "found");

  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  const std::optional<int> late = CallWithin<int>(50, [released] {
    released.wait();
    return 1;
  });
  EXPECT_FALSE(late.has_value());
  release.set_value();  // the abandoned thread ends and drops its answer
}
