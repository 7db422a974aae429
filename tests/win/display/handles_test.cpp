#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "diagnostics/handles_win.h"

namespace {

std::vector<int> g_released;

void Record(int* handle) { g_released.push_back(*handle); }

using Counted = UniqueHandle<int*, &Record>;

}  // namespace

// Whatever path a handle takes through its owners, it is released exactly once,
// and a failure value is never released.
TEST(UniqueHandle, ReleasesEachHandleOnceWhicheverWayItLeaves) {
  int a = 1, b = 2, c = 3;
  g_released.clear();
  {
    Counted first(&a);
    Counted second(std::move(first));  // moved: only `second` holds a
    EXPECT_FALSE(first);
    Counted third(&b);
    third = std::move(second);  // b released, a moves on
    EXPECT_EQ(g_released, std::vector<int>{2});
    third.reset(&c);  // a released
    EXPECT_EQ(g_released, (std::vector<int>{2, 1}));
    int* kept = third.release();  // c handed out: not released here
    EXPECT_EQ(kept, &c);
    Counted empty;
    empty.reset();
    *empty.put() = &a;  // a creation call writes a new handle
  }
  EXPECT_EQ(g_released, (std::vector<int>{2, 1, 1}));
}

TEST(UniqueHandle, FileOwnerTreatsInvalidHandleValueAsEmpty) {
  UniqueFile none(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(none);
  UniqueFile file(CreateFileA("NUL", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(file);
  HANDLE handle = file.get();
  file.reset();
  EXPECT_FALSE(file);
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(handle, &flags)) << "closed";
}
