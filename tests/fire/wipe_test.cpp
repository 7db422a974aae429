#include "fire/wipe.h"

#include <gtest/gtest.h>

#include <vector>

#include "image/byte_image.h"

namespace {

// A copied pixel (from a source of 7s) is told apart from an untouched one (0).
void Fill(ByteImage& image, std::uint8_t value) {
  for (std::int32_t y = 0; y < image.height; ++y) {
    for (std::int32_t x = 0; x < image.width; ++x) image.Row(y)[x] = value;
  }
}

// Columns (or rows) of `destination` that differ from `before`.
std::vector<int> ChangedLines(const ByteImage& destination, const std::vector<std::uint8_t>& before, bool columns) {
  std::vector<int> lines;
  const int count = columns ? destination.width : destination.height;
  for (int i = 0; i < count; ++i) {
    const int x = columns ? i : 0;
    const int y = columns ? 0 : i;
    if (destination.data[y * destination.pitch + x] != before[static_cast<std::size_t>(y * destination.pitch + x)]) {
      lines.push_back(i);
    }
  }
  return lines;
}

std::vector<std::uint8_t> Snapshot(const ByteImage& image) {
  return std::vector<std::uint8_t>(image.data, image.data + image.pitch * image.height);
}

struct WipeCase {
  const char* name;
  StripWipe::Direction direction;
  bool columns;
  std::vector<int> firstLines;
  std::vector<int> lastLines;
  int steps;
};

class WipeOnScreen : public testing::TestWithParam<WipeCase> {};

TEST_P(WipeOnScreen, CopiesStripsInOrderAndEndsOnSchedule) {
  const WipeCase& c = GetParam();
  ByteImage source, destination;
  source.Create(1024, 768);
  destination.Create(1024, 768);
  Fill(source, 7);
  StripWipe wipe(c.direction);

  std::vector<int> first, last;
  int progress = 0;
  int steps = 0;
  while (steps < 1000) {
    const auto before = Snapshot(destination);
    wipe.Step(destination, source, progress);
    ++steps;
    const auto changed = ChangedLines(destination, before, c.columns);
    if (steps == 1) first = changed;
    last = changed;
    if (progress > 99) break;
    ASSERT_GE(progress, 0);
  }
  EXPECT_EQ(steps, c.steps);
  EXPECT_EQ(progress, 100);
  EXPECT_EQ(first, c.firstLines);
  EXPECT_EQ(last, c.lastLines);
  EXPECT_EQ(Snapshot(destination), Snapshot(source));
  EXPECT_EQ(wipe.Position(), 0) << "a finished wipe starts again from its edge";
}

INSTANTIATE_TEST_SUITE_P(
    AllFour, WipeOnScreen,
    testing::Values(
        WipeCase{
            "LeftToRight", StripWipe::Direction::kLeftToRight, true, {0, 1, 2, 3, 4}, {1020, 1021, 1022, 1023}, 205},
        WipeCase{
            "RightToLeft", StripWipe::Direction::kRightToLeft, true, {1019, 1020, 1021, 1022, 1023}, {0, 1, 2, 3}, 205},
        WipeCase{"TopToBottom", StripWipe::Direction::kTopToBottom, false, {0, 1, 2, 3, 4}, {765, 766, 767}, 154},
        WipeCase{"BottomToTop", StripWipe::Direction::kBottomToTop, false, {763, 764, 765, 766, 767}, {0, 1, 2}, 154}),
    [](const testing::TestParamInfo<WipeCase>& info) { return info.param.name; });

std::vector<int> ProgressSequence(Wipe& wipe, std::int32_t width) {
  ByteImage source, destination;
  source.Create(width, 2);
  destination.Create(width, 2);
  std::vector<int> sequence;
  int progress = 0;
  do {
    wipe.Step(destination, source, progress);
    sequence.push_back(progress);
  } while (progress < 100 && sequence.size() < 1000);
  return sequence;
}

TEST(WipeProgress, ForwardWipeTruncatesAndOnlyTheLastStepReportsHundred) {
  StripWipe wipe(StripWipe::Direction::kLeftToRight);
  const auto sequence = ProgressSequence(wipe, 1024);
  ASSERT_EQ(sequence.size(), 205u);
  EXPECT_EQ(sequence[0], 0);      // p = 5: 500 / 1024
  EXPECT_EQ(sequence[1], 0);      // p = 10: 1000 / 1024
  EXPECT_EQ(sequence[2], 1);      // p = 15
  EXPECT_EQ(sequence[202], 99);   // p = 1015
  EXPECT_EQ(sequence[203], 99);   // p = 1020
  EXPECT_EQ(sequence[204], 100);  // p would be 1025
  for (std::size_t i = 1; i < sequence.size(); ++i) EXPECT_GE(sequence[i], sequence[i - 1]);
}

TEST(WipeProgress, BackwardWipeCountsTheUncoveredStrip) {
  StripWipe wipe(StripWipe::Direction::kRightToLeft);
  const auto sequence = ProgressSequence(wipe, 1024);
  ASSERT_EQ(sequence.size(), 205u);
  EXPECT_EQ(sequence[0], 0);     // (1029 - 1024) × 100 / 1024
  EXPECT_EQ(sequence[20], 10);   // p = 924: 105 × 100 / 1024
  EXPECT_EQ(sequence[203], 99);  // p = 9
  EXPECT_EQ(sequence[204], 100);
}

TEST(WipeProgress, ExtentsNoWiderThanAStripEndInOneStep) {
  for (const std::int32_t width : {0, 1, 4, 5}) {
    StripWipe forward(StripWipe::Direction::kLeftToRight);
    StripWipe backward(StripWipe::Direction::kRightToLeft);
    EXPECT_EQ(ProgressSequence(forward, width), std::vector<int>{100}) << width;
    EXPECT_EQ(ProgressSequence(backward, width), std::vector<int>{100}) << width;
  }
  StripWipe backward(StripWipe::Direction::kRightToLeft);
  EXPECT_EQ(ProgressSequence(backward, 6), (std::vector<int>{83, 100}));  // 5 × 100 / 6, then the last column
}

TEST(WipeProgress, ResetRestartsAHalfDoneWipeFromItsEdge) {
  ByteImage source, destination;
  source.Create(20, 1);
  destination.Create(20, 1);
  Fill(source, 9);
  StripWipe wipe(StripWipe::Direction::kRightToLeft);
  int progress = 0;
  wipe.Step(destination, source, progress);
  wipe.Step(destination, source, progress);
  wipe.Reset();
  Fill(destination, 0);
  wipe.Step(destination, source, progress);
  EXPECT_EQ(destination.Row(0)[15], 9);
  EXPECT_EQ(destination.Row(0)[14], 0);
  EXPECT_EQ(progress, 25);
}

}  // namespace
