#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "image/memory_surface.h"
#include "settings/controller_fixture.h"

namespace {

// How long the stress run lasts: HEARTHMOOR_STRESS_SECONDS, else 2 s (the
// ThreadSanitizer preset runs it for 20 s).
int StressSeconds() {
  const char* text = std::getenv("HEARTHMOOR_STRESS_SECONDS");
  const int seconds = text != nullptr ? std::atoi(text) : 0;
  return seconds > 0 ? seconds : 2;
}

// The settings mode's two threads at full speed: a render thread drawing frames
// with every change interval at its shortest, and the UI thread changing
// selections, moving and replacing palettes, setting intervals and toggling
// Show Fire as fast as it can. Under ThreadSanitizer this reports any data race;
// anywhere it must end without deadlock or crash, with the lock's log lines
// paired, and with settings that save and load again.
TEST_F(ControllerTest, TwoThreadsChangeAndDrawAtOnce) {
  MemorySurface surface(kWidth, kHeight, 32);
  controller_->SetInterval(Rotation::kBackground, 0);
  controller_->SetInterval(Rotation::kPalette, 0);
  controller_->SetInterval(Rotation::kStyle, 0);
  long frames = 0;
  ASSERT_TRUE(controller_->StartRenderThread([&] {
    controller_->RunFrame([&] {
      fire_->Update(1000);
      fire_->Render();
      fire_->CopyToSurface(surface);
    });
    controller_->FollowTimedChanges();
    ++frames;
    // The frame timer's wait, shortened.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }));

  std::mt19937 random(7);
  const auto pick = [&random](std::uint32_t bound) { return static_cast<std::uint32_t>(random() % bound); };
  long operations = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(StressSeconds());
  while (std::chrono::steady_clock::now() < end) {
    switch (pick(9)) {
      case 0:
        controller_->Select(Rotation::kBackground, pick(4));
        break;
      case 1:
        controller_->Select(Rotation::kPalette, pick(8));
        break;
      case 2:
        controller_->Select(Rotation::kStyle, pick(5));
        break;
      case 3:
        pick(2) == 0 ? controller_->MovePaletteUp(pick(7)) : controller_->MovePaletteDown(pick(7));
        break;
      case 4:
        controller_->SetInterval(Rotation::kPalette, pick(1001));
        controller_->SetInterval(Rotation::kStyle, pick(1001));
        break;
      case 5:
        controller_->SetShowFire(pick(2) == 0);
        break;
      case 6:
        controller_->SetBackgrounds({"c", "a", "b"}, pick(4));
        break;
      case 7:
        if (controller_->GetPalettes().size() < 8) {
          controller_->AddPalette(controller_->GetCurrentPaletteRecord());
        } else {
          controller_->RemovePalette(pick(8));
        }
        break;
      default: {
        SettingsController::TextList styles;
        SettingsController::Index current = 0;
        controller_->GetStyles(styles, current);
        controller_->SetStyles(styles, pick(5));
        break;
      }
    }
    ++operations;
    if (operations % 256 == 0) view_.Take();
  }
  controller_->SaveAndClose();
  controller_->JoinRenderThread();
  EXPECT_GT(frames, 100);
  EXPECT_GT(operations, 100);

  const std::string log = LogText();
  std::size_t enters = 0, leaves = 0;
  for (std::size_t at = 0; (at = log.find("Enter Critical Section", at)) != std::string::npos; ++at) ++enters;
  for (std::size_t at = 0; (at = log.find("Leave Critical Section", at)) != std::string::npos; ++at) ++leaves;
  // Every enter line has its leave line. A long run moves the log aside more
  // than once, and what is kept then begins at an arbitrary line: up to two
  // leave lines (the holder's and a waiter's) may have lost their enter lines.
  EXPECT_GE(leaves, enters);
  EXPECT_LE(leaves, enters + 2);

  Settings reloaded;
  ASSERT_TRUE(reloaded.LoadFromFolder(dir_.path().string()));
  EXPECT_EQ(reloaded.PaletteCount(), settings_.PaletteCount());
  Settings::TextList backgrounds;
  Settings::Index current = 0;
  reloaded.GetBackgrounds(backgrounds, current);
  EXPECT_EQ(backgrounds.size(), 3u);
}

}  // namespace
