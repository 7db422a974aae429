#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "fire/fake_background_source.h"
#include "fire/fire_manager.h"
#include "settings/locked_settings_controller.h"
#include "settings/settings.h"
#include "settings/settings_view.h"
#include "support/temp_dir.h"

// Records what the controller tells the dialog, one line per call ("select 2",
// "follow palette 3"). Thread-safe: the follow calls come from the render thread.
class RecordingView : public SettingsView {
 public:
  void RedrawPaletteImage(Index row, const PaletteRecord& record) override {
    Add("redraw " + std::to_string(row) + " " + std::to_string(record.points[0].x));
  }
  void RemovePaletteRow(Index row) override { Add("remove " + std::to_string(row)); }
  void AppendPaletteRow(const PaletteRecord& record) override { Add("append " + std::to_string(record.points[0].x)); }
  void SelectPaletteRow(Index row) override { Add("select " + std::to_string(row)); }
  void FollowBackground(Index row) override { Add("follow background " + std::to_string(row)); }
  void FollowPalette(Index row) override { Add("follow palette " + std::to_string(row)); }
  void FollowStyle(Index row) override { Add("follow style " + std::to_string(row)); }

  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> hold(mutex_);
    return std::exchange(calls_, {});
  }

 private:
  void Add(std::string call) {
    std::lock_guard<std::mutex> hold(mutex_);
    calls_.push_back(std::move(call));
  }
  std::mutex mutex_;
  std::vector<std::string> calls_;
};

// The controller over a real settings object and a real fire of 64 x 48 pixels
// drawing into memory; the fire window is a flag.
class TestController : public LockedSettingsController {
 public:
  TestController(Settings& settings, FireManager& fire) : settings_(settings), fire_(fire) {}
  std::string GetUpdateUrl() override { return "http://localhost/checkupdate.php"; }
  std::string GetProductName() override { return "Hearthmoor"; }
  std::string GetVersion() override { return "V1.00"; }

  std::atomic<int> windowShown{-1};

 protected:
  Settings* ControlledSettings() override { return &settings_; }
  FireManager* ControlledFire() override { return &fire_; }
  void ShowFireWindow(bool show) override { windowShown = show ? 1 : 0; }

 private:
  Settings& settings_;
  FireManager& fire_;
};

// A settings folder made from the installed defaults (six palettes, four
// styles), whose backgrounds are the fake source's pictures "a", "b", "c".
// Palettes are told apart by their first point's x, which the test sets to
// 10 x (row + 1) at the start.
class ControllerTest : public ::testing::Test {
 protected:
  static constexpr std::int32_t kWidth = 64;
  static constexpr std::int32_t kHeight = 48;

  void SetUp() override {
    TraceLog().SetFileName("log.txt");
    PerformanceMonitor::Init(false, false, "mf.pm.log");
    const std::string data = std::string(HEARTHMOOR_SOURCE_DIR) + "/data/";
    WriteFileBytes(dir_ / "config.ini", ReadFileBytes(data + "config.ini"));
    WriteFileBytes(dir_ / "store.ini", ReadFileBytes(data + "store.ini"));
    ASSERT_TRUE(settings_.LoadFromFolder(dir_.path().string()));
    // Backgrounds name files that exist (relative to the settings folder).
    for (const char* name : {"a", "b", "c"}) WriteFileBytes(dir_ / name, "");
    settings_.SetBackgrounds({"a", "b", "c"}, 0);
    Settings::PaletteList palettes = settings_.GetPalettes();
    while (settings_.PaletteCount() > 0) settings_.RemovePalette(0);
    for (std::size_t i = 0; i < palettes.size(); ++i) {
      palettes[i].points[0].x = static_cast<std::int32_t>(10 * (i + 1));
      settings_.AddPalette(palettes[i]);
    }
    settings_.SetPaletteIndex(0);
    fire_ = std::make_unique<FireManager>(settings_);
    source_.SetDepth(depth_);
    for (const char* name : {"a", "b", "c"}) source_.Add(name, 64, true);
    FireParameters parameters;
    parameters.width = kWidth;
    parameters.height = kHeight;
    parameters.bitsPerPixel = depth_;
    ASSERT_EQ(fire_->Create(parameters, source_), 0);
    controller_ = std::make_unique<TestController>(settings_, *fire_);
    controller_->SetView(&view_);
    fire_->TakeChanges();
    view_.Take();
  }
  void TearDown() override {
    controller_.reset();
    fire_.reset();
    if (PerformanceMonitor::IsInitialized()) PerformanceMonitor::WriteReport();
  }

  // The palette tags (first point's x) in list order.
  std::vector<int> PaletteTags() {
    std::vector<int> tags;
    for (const PaletteRecord& record : settings_.GetPalettes()) tags.push_back(record.points[0].x);
    return tags;
  }

  // The log as written, including the part moved aside when it reached its bound.
  std::string LogText() {
    std::string text;
    if (std::filesystem::exists(dir_ / "log.old.txt")) text = ReadFileBytes(dir_ / "log.old.txt");
    text += ReadFileBytes(dir_ / "log.txt");
    std::erase(text, '\r');
    return text;
  }

  // The screen's depth; a test's constructor may change it.
  int depth_ = 32;
  TempDir dir_;
  CurrentDirGuard cwd_{dir_.path()};
  Settings settings_;
  FakeBackgroundSource source_{kWidth, kHeight};
  std::unique_ptr<FireManager> fire_;
  RecordingView view_;
  std::unique_ptr<TestController> controller_;
};
