#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "fire/palette_builder.h"
#include "settings/controller_fixture.h"

namespace {

enum class Op { kUp, kDown, kRemove, kAdd, kSelect };

struct PaletteCase {
  const char* name;
  SettingsController::Index current;  // before
  Op op;
  SettingsController::Index arg;  // the row, or the new palette's tag for kAdd
  bool done;
  std::vector<int> tags;  // after
  SettingsController::Index currentAfter;
  std::vector<std::string> calls;
};

const PaletteCase kPaletteCases[] = {
    {"up on the first row", 0, Op::kUp, 0, false, {10, 20, 30, 40, 50, 60}, 0, {}},
    {"up", 2, Op::kUp, 2, true, {10, 30, 20, 40, 50, 60}, 1, {"redraw 2 20", "redraw 1 30", "select 1"}},
    {"up past the current one",
     1,
     Op::kUp,
     2,
     true,
     {10, 30, 20, 40, 50, 60},
     2,
     {"redraw 2 20", "redraw 1 30", "select 2"}},
    {"down on the last row", 5, Op::kDown, 5, false, {10, 20, 30, 40, 50, 60}, 5, {}},
    {"down", 1, Op::kDown, 1, true, {10, 30, 20, 40, 50, 60}, 2, {"redraw 1 30", "redraw 2 20", "select 2"}},
    {"down past the current one",
     2,
     Op::kDown,
     1,
     true,
     {10, 30, 20, 40, 50, 60},
     1,
     {"redraw 1 30", "redraw 2 20", "select 1"}},
    {"remove the first", 0, Op::kRemove, 0, true, {20, 30, 40, 50, 60}, 0, {"remove 0", "select 0"}},
    {"remove before the current one", 3, Op::kRemove, 0, true, {20, 30, 40, 50, 60}, 2, {"remove 0", "select 2"}},
    {"remove the current last", 5, Op::kRemove, 5, true, {10, 20, 30, 40, 50}, 4, {"remove 5", "select 4"}},
    {"remove past the end", 0, Op::kRemove, 6, false, {10, 20, 30, 40, 50, 60}, 0, {}},
    {"add", 0, Op::kAdd, 70, true, {10, 20, 30, 40, 50, 60, 70}, 6, {"append 70", "select 6"}},
    {"select", 0, Op::kSelect, 4, true, {10, 20, 30, 40, 50, 60}, 4, {}},
    {"select past the end", 1, Op::kSelect, 6, false, {10, 20, 30, 40, 50, 60}, 1, {}},
};

class PaletteEditTest : public ControllerTest, public ::testing::WithParamInterface<PaletteCase> {};

TEST_P(PaletteEditTest, ListDialogAndFireAgree) {
  const PaletteCase& c = GetParam();
  ASSERT_TRUE(controller_->Select(Rotation::kPalette, c.current));
  view_.Take();
  bool done = false;
  switch (c.op) {
    case Op::kUp:
      done = controller_->MovePaletteUp(c.arg);
      break;
    case Op::kDown:
      done = controller_->MovePaletteDown(c.arg);
      break;
    case Op::kRemove:
      done = controller_->RemovePalette(c.arg);
      break;
    case Op::kAdd: {
      PaletteRecord record = Settings::DefaultPalette();
      record.points[0].x = static_cast<std::int32_t>(c.arg);
      done = controller_->AddPalette(record);
      break;
    }
    case Op::kSelect:
      done = controller_->Select(Rotation::kPalette, c.arg);
      break;
  }
  EXPECT_EQ(done, c.done);
  EXPECT_EQ(PaletteTags(), c.tags);
  EXPECT_EQ(controller_->GetCurrentPaletteIndex(), c.currentAfter);
  EXPECT_EQ(view_.Take(), c.calls);
  if (c.done) {
    // The fire draws the current palette.
    std::uint8_t expected[PaletteBuilder::kTable32Bytes] = {};
    PaletteBuilder().BuildTable32(settings_.CurrentPalette(), expected);
    EXPECT_EQ(std::memcmp(fire_->ColorTableData(), expected, sizeof expected), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Palettes, PaletteEditTest, ::testing::ValuesIn(kPaletteCases), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name) {
    if (ch == ' ') ch = '_';
  }
  return name;
});

TEST_F(ControllerTest, PalettesStopAtTheLimit) {
  while (settings_.PaletteCount() < Settings::MaxPalettes()) settings_.AddPalette(Settings::DefaultPalette());
  EXPECT_FALSE(controller_->AddPalette(Settings::DefaultPalette()));
  EXPECT_EQ(settings_.PaletteCount(), controller_->GetMaxPalettes());
  EXPECT_TRUE(view_.Take().empty());
}

TEST_F(ControllerTest, SelectionsReachTheFireAndIgnoreRowsPastTheEnd) {
  source_.loads.clear();
  EXPECT_TRUE(controller_->Select(Rotation::kBackground, 1));
  EXPECT_FALSE(controller_->Select(Rotation::kBackground, 3));
  // "Nothing selected" arrives as -1: the first entry is shown.
  controller_->SetBackgrounds({"c", "a"}, static_cast<SettingsController::Index>(-1));
  EXPECT_EQ(source_.loads, (std::vector<std::string>{"b", "c"}));

  EXPECT_TRUE(controller_->Select(Rotation::kStyle, 2));
  EXPECT_FALSE(controller_->Select(Rotation::kStyle, 4));
  EXPECT_EQ(settings_.GetStyleIndex(), 2u);
  controller_->SetStyles({"100,0|90,1|80,2|70,3|60,4|50,5|40,0|30,0"}, 7);
  std::uint8_t temperatures[8];
  std::uint8_t modes[8];
  controller_->GetCurrentStyle(temperatures, modes);
  EXPECT_EQ(temperatures[0], 100);
  EXPECT_EQ(modes[5], 5);

  controller_->SetInterval(Rotation::kPalette, 1500);
  EXPECT_EQ(controller_->Interval(Rotation::kPalette), 1000u);
  EXPECT_EQ(controller_->IntervalText(Rotation::kPalette), settings_.IntervalText(Rotation::kPalette));

  controller_->SetShowFire(false);
  EXPECT_FALSE(controller_->GetShowFire());
  EXPECT_EQ(controller_->windowShown.load(), 0);
}

// With every interval at its shortest, a fire run long enough changes all three
// entries by itself; the view is told each new current row.
TEST_F(ControllerTest, TheViewFollowsTimedChanges) {
  controller_->SetInterval(Rotation::kBackground, 0);
  controller_->SetInterval(Rotation::kPalette, 0);
  controller_->SetInterval(Rotation::kStyle, 0);
  for (int frame = 0; frame < 40; ++frame) {
    controller_->RunFrame([&] {
      fire_->Update(1000);
      fire_->Render();
    });
    controller_->FollowTimedChanges();
  }
  std::vector<std::string> calls = view_.Take();
  for (const char* kind : {"background", "palette", "style"}) {
    const std::string prefix = std::string("follow ") + kind + " ";
    std::string last;
    for (const std::string& call : calls) {
      if (call.rfind(prefix, 0) == 0) last = call.substr(prefix.size());
    }
    ASSERT_FALSE(last.empty()) << kind;
    const Settings::Index current = kind[0] == 'b'   ? settings_.GetBackgroundIndex()
                                    : kind[0] == 'p' ? settings_.GetPaletteIndex()
                                                     : settings_.GetStyleIndex();
    EXPECT_EQ(last, std::to_string(current)) << kind;
  }
}

// Every operation's enter line has its leave line, also when the work throws, and
// the lock is free afterwards; a call-back may call the controller again.
TEST_F(ControllerTest, TheLockIsBalancedReentrantAndReleasedByExceptions) {
  class ReenteringView : public RecordingView {
   public:
    SettingsController* controller = nullptr;
    void SelectPaletteRow(Index row) override {
      RecordingView::SelectPaletteRow(row);
      palettesSeen = controller->GetPalettes().size();
    }
    std::size_t palettesSeen = 0;
  } view;
  view.controller = controller_.get();
  controller_->SetView(&view);

  EXPECT_TRUE(controller_->MovePaletteDown(0));
  EXPECT_EQ(view.palettesSeen, 6u);
  EXPECT_THROW(controller_->UnderFrameLock([] { throw std::runtime_error("work failed"); }), std::runtime_error);
  bool ran = false;
  std::thread other([&] { controller_->RunFrame([&] { ran = true; }); });
  other.join();
  EXPECT_TRUE(ran);
  controller_->SetView(nullptr);

  const std::string log = LogText();
  std::size_t enters = 0, leaves = 0;
  for (std::size_t at = 0; (at = log.find("Enter Critical Section", at)) != std::string::npos; ++at) ++enters;
  for (std::size_t at = 0; (at = log.find("Leave Critical Section", at)) != std::string::npos; ++at) ++leaves;
  EXPECT_GE(enters, 4u);
  EXPECT_EQ(enters, leaves);
}

// The settings mode frees the fire once JoinRenderThread returns, so it must
// return only after the render thread's last frame: also when Cancel comes
// before the thread's first look at the running flag (the flag is set before
// the thread starts, else the thread would run on and the join would hang until
// the test's timeout), and when it comes in the middle of a frame.
TEST_F(ControllerTest, JoiningWaitsForTheRenderThreadsLastFrame) {
  std::atomic<int> frames{0};
  for (int round = 0; round < 50; ++round) {
    ASSERT_TRUE(controller_->StartRenderThread([&] { ++frames; }));
    controller_->Close();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const bool stillRunning = controller_->IsRunning();
    controller_->StopRunning();  // so that the join below returns in any case
    controller_->JoinRenderThread();
    ASSERT_FALSE(stillRunning) << "the render thread ran on after Cancel, round " << round;
  }
  const int framesBefore = frames.load();

  std::atomic<bool> inFrame{false};
  ASSERT_TRUE(controller_->StartRenderThread([&] {
    inFrame = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ++frames;
    inFrame = false;
  }));
  while (!inFrame.load()) std::this_thread::yield();
  controller_->Close();
  controller_->JoinRenderThread();
  EXPECT_FALSE(inFrame.load());
  EXPECT_EQ(frames.load(), framesBefore + 1);
  EXPECT_FALSE(controller_->IsRunning());
}

TEST_F(ControllerTest, SaveAndCloseWritesWhatCloseDoesNot) {
  const std::string before = ReadFileBytes(dir_ / "config.ini");
  controller_->BeginRunning();
  controller_->SetBackgrounds({"a", "Desktop", "b"}, 2);
  controller_->SetInterval(Rotation::kStyle, 700);
  controller_->Close();
  EXPECT_FALSE(controller_->IsRunning());
  EXPECT_EQ(ReadFileBytes(dir_ / "config.ini"), before);

  controller_->BeginRunning();
  EXPECT_TRUE(controller_->SaveAndClose());
  EXPECT_FALSE(controller_->IsRunning());
  Settings reloaded;
  ASSERT_TRUE(reloaded.LoadFromFolder(dir_.path().string()));
  Settings::TextList list;
  Settings::Index current = 0;
  reloaded.GetBackgrounds(list, current);
  EXPECT_EQ(list, (Settings::TextList{"a", "Desktop", "b"}));
  EXPECT_EQ(current, 2u);
  EXPECT_EQ(reloaded.Interval(Rotation::kStyle), 700u);
  EXPECT_EQ(reloaded.PaletteCount(), 6u);
}

// A settings folder that cannot take config.ini: OK says so and the mode goes on.
TEST_F(ControllerTest, SaveAndCloseThatCannotWriteKeepsRunning) {
  std::filesystem::remove(dir_ / "config.ini");
  std::filesystem::create_directory(dir_ / "config.ini");
  controller_->BeginRunning();
  EXPECT_FALSE(controller_->SaveAndClose());
  EXPECT_TRUE(controller_->IsRunning());
  EXPECT_NE(LogText().find("SettingsController::SaveAndClose can not write"), std::string::npos);
}

}  // namespace
