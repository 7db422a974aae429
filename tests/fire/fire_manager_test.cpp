#include "fire/fire_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "fake_background_source.h"
#include "fire/c_runtime_random.h"
#include "fire/frame_step.h"
#include "fire/scalar_fire_manager.h"
#include "image/memory_surface.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace {

constexpr std::int32_t kWidth = 64;
constexpr std::int32_t kHeight = 48;

PaletteRecord Ramp(int red, int green, int blue) {
  PaletteRecord p;
  const int ends[3] = {red, green, blue};
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 4; ++i) {
      PalettePoint& point = p.points[c * 4 + i];
      point.x = 85 * i;
      point.y = ends[c] * i / 3;
    }
  }
  return p;
}

class FireManagerTest : public testing::Test {
 protected:
  FireManagerTest() : source(kWidth, kHeight), guard(dir.path()) {
    PerformanceMonitor::Init(false, false, "mf.pm.log");
    // Other tests of this program share the process-wide log (all of them run in
    // one process under Wine), so it is handed back as it was found.
    savedOutputs = TraceLog().Outputs();
    savedLogName = TraceLog().FileName();
    TraceLog().SetOutputs(DebugLog::kFile);
    TraceLog().SetFileName("log.txt");  // the current folder is the temporary one
    source.Add("a", 40, true);
    source.Add("b", 88, true);
    source.Add("gone", 10);
  }
  ~FireManagerTest() override {
    TraceLog().SetOutputs(savedOutputs);
    TraceLog().SetFileName(savedLogName.c_str());
    PerformanceMonitor::WriteReport();
  }

  int Create(int bpp) {
    FireParameters parameters;
    parameters.width = kWidth;
    parameters.height = kHeight;
    parameters.bitsPerPixel = bpp;
    return fire.Create(parameters, source);
  }
  void Periods(std::uint32_t ms) {
    fire.SetBackgroundPeriod(ms);
    fire.SetPalettePeriod(ms);
    fire.SetStylePeriod(ms);
  }
  void Frame(Surface& surface) {
    fire.Update(40);
    fire.Render();
    fire.CopyToSurface(surface);
  }
  std::string Log() const {
    std::ifstream in(dir / "log.txt");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Every index of the output image, looked up in `table`, as stored at 32 bits.
  bool SurfaceShows(const MemorySurface& surface, const std::uint8_t* table) const {
    const ByteImage& out = fire.OutputImage();
    for (std::int32_t y = 0; y < kHeight; ++y) {
      for (std::int32_t x = 0; x < kWidth; ++x) {
        const std::uint8_t* pixel = surface.Bytes().data() + y * surface.PitchBytes() + x * 4;
        if (std::memcmp(pixel, table + 4 * out.Row(y)[x], 4) != 0) return false;
      }
    }
    return true;
  }

  int savedOutputs = 0;
  std::string savedLogName;
  TempDir dir;
  FakeBackgroundSource source;
  CurrentDirGuard guard;
  Settings settings;
  FireManager fire{settings};
};

TEST_F(FireManagerTest, CreationAcceptsOnlyTheScreenDepths) {
  struct Case {
    int bpp;
    int code;
  };
  for (const Case c : {Case{8, -10}, Case{15, -10}, Case{0, -10}, Case{16, 0}, Case{24, 0}, Case{32, 0}}) {
    TraceLog().DeleteLogFile();
    EXPECT_EQ(Create(c.bpp), c.code) << c.bpp;
    EXPECT_EQ(fire.IsCreated(), c.code == 0);
    const std::string log = Log();
    const std::string first = "FireManager::Create x = 0, y = 0, bpp = " + std::to_string(c.bpp) + ", w = 64, h = 48\n";
    EXPECT_NE(log.find(first), std::string::npos) << log;
    const bool success = log.find("FireManager::Create success\n") != std::string::npos;
    EXPECT_EQ(success, c.code == 0) << log;
    if (c.code != 0) {
      EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    }
    fire.Release();
  }
}

TEST_F(FireManagerTest, CreationShowsTheCurrentBackgroundPaletteAndStyle) {
  settings.SetBackgrounds({"a", "b"}, 1);
  ASSERT_EQ(Create(32), 0);
  EXPECT_EQ(source.loads, std::vector<std::string>{"b"});
  EXPECT_EQ(fire.BackgroundGrey().Row(0)[0], 88);
  EXPECT_EQ(fire.BackgroundGrey().Row(kHeight / 2)[kWidth / 2], 240);
  // The default palette is built: its hottest entry is bright.
  const std::uint8_t* hottest = fire.ColorTableData() + 4 * 254;
  EXPECT_GT(hottest[0] + hottest[1] + hottest[2], 600);
}

TEST_F(FireManagerTest, AllThreeChangesFallDueOnTheSameFrameInOrder) {
  settings.SetBackgrounds({"a", "b"}, 0);
  settings.AddPalette(Ramp(255, 0, 0));
  settings.AddPalette(Ramp(0, 255, 0));
  settings.SetPaletteIndex(0);
  settings.SetStyles({"200,1|180,0|150,2|100,0|75,1|50,2|255,0|255,2", "0,255"}, 0);
  ASSERT_EQ(Create(24), 0);
  Periods(5000);
  EXPECT_TRUE(fire.TakeChanges().background);

  // The background is handled first: when it loads, palette and style have not moved.
  std::vector<std::uint32_t> indicesAtLoad;
  source.onLoad = [&](const std::string&) { indicesAtLoad = {settings.GetPaletteIndex(), settings.GetStyleIndex()}; };
  MemorySurface surface(kWidth, kHeight, 24);
  for (int frame = 1; frame < 125; ++frame) Frame(surface);
  FireChanges changes = fire.TakeChanges();
  EXPECT_FALSE(changes.background || changes.palette || changes.style);
  EXPECT_EQ(settings.GetBackgroundIndex(), 0u);

  Frame(surface);
  changes = fire.TakeChanges();
  EXPECT_TRUE(changes.background && changes.palette && changes.style);
  EXPECT_EQ(source.loads, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(indicesAtLoad, (std::vector<std::uint32_t>{0, 0}));
  EXPECT_EQ(settings.GetBackgroundIndex(), 1u);
  EXPECT_EQ(settings.GetPaletteIndex(), 1u);
  EXPECT_EQ(settings.GetStyleIndex(), 1u);
  // At 24 bits the new palette (green) is in at once.
  const std::uint8_t* hottest = fire.ColorTableData() + 4 * 255;
  EXPECT_EQ(hottest[1], 255);
  EXPECT_EQ(hottest[2], 0);
  // The second style takes every heat to 0 at each step.
  Frame(surface);
  const ByteImage& heat = fire.HeatImage();
  for (std::int32_t i = 0; i < heat.pitch * heat.height; ++i) ASSERT_EQ(heat.data[i], 0);
}

TEST_F(FireManagerTest, EmptyBackgroundListKeepsTheFireDarkWhileTheRestChanges) {
  settings.AddPalette(Ramp(255, 0, 0));
  settings.AddPalette(Ramp(0, 0, 255));
  ASSERT_EQ(Create(32), 0);
  Periods(400);
  fire.TakeChanges();
  MemorySurface surface(kWidth, kHeight, 32);
  int paletteChanges = 0, styleChanges = 0;
  for (int frame = 0; frame < 60; ++frame) {
    Frame(surface);
    const FireChanges changes = fire.TakeChanges();
    EXPECT_FALSE(changes.background);
    paletteChanges += changes.palette;
    styleChanges += changes.style;
  }
  EXPECT_GT(paletteChanges, 0);
  EXPECT_EQ(styleChanges, 6);
  const ByteImage& out = fire.OutputImage();
  for (std::int32_t i = 0; i < out.pitch * out.height; ++i) ASSERT_EQ(out.data[i], 0);
}

TEST_F(FireManagerTest, OutsideTableHidesTimedPaletteChangesUntilRestored) {
  settings.SetBackgrounds({"a"}, 0);
  settings.AddPalette(Ramp(255, 0, 0));
  settings.AddPalette(Ramp(0, 0, 255));
  ASSERT_EQ(Create(32), 0);
  Periods(200);
  MemorySurface surface(kWidth, kHeight, 32);
  std::uint8_t outside[1024];
  std::memset(outside, 0xAB, sizeof outside);

  fire.UseColorTable(outside);
  for (int frame = 0; frame < 20; ++frame) {
    Frame(surface);
    ASSERT_TRUE(SurfaceShows(surface, outside));
  }
  EXPECT_GT(settings.GetPaletteIndex(), 0u) << "the timed change went on meanwhile";
  std::uint8_t current[1024];
  std::memcpy(current, fire.ColorTableData(), sizeof current);

  fire.RestoreColorTable();
  fire.CopyToSurface(surface);
  EXPECT_TRUE(SurfaceShows(surface, current));
}

TEST_F(FireManagerTest, ChangedFlagsAreTakenOnce) {
  const FireChanges first = fire.TakeChanges();
  EXPECT_TRUE(first.background && first.palette && first.style);
  const FireChanges second = fire.TakeChanges();
  EXPECT_FALSE(second.background || second.palette || second.style);
}

TEST_F(FireManagerTest, PictureThatVanishedIsSkippedAtTheNextFrame) {
  settings.SetBackgrounds({"a", "gone", "b"}, 0);
  source.SetDepth(16);
  source.Add("a", 40, true);
  source.Add("b", 88, true);
  ASSERT_EQ(Create(16), 0);
  Periods(40);
  source.Remove("gone");
  MemorySurface surface(kWidth, kHeight, 16);
  fire.TakeChanges();

  Frame(surface);
  EXPECT_FALSE(fire.TakeChanges().background) << "the start failed";
  EXPECT_EQ(fire.BackgroundGrey().Row(0)[0], 40);
  Frame(surface);
  EXPECT_TRUE(fire.TakeChanges().background);
  EXPECT_EQ(source.loads, (std::vector<std::string>{"a", "gone", "b"}));
  for (int frame = 0; frame < kWidth / 5 + 2; ++frame) Frame(surface);
  EXPECT_EQ(fire.BackgroundGrey().Row(0)[0], 88);
}

TEST_F(FireManagerTest, SettingsEntryPointsReachThePieces) {
  settings.SetBackgrounds({"a"}, 0);
  ASSERT_EQ(Create(32), 0);
  fire.ShowBackground("b");
  EXPECT_EQ(fire.BackgroundGrey().Row(0)[0], 88);
  fire.ShowPalette(Ramp(0, 0, 255));
  EXPECT_EQ(fire.ColorTableData()[4 * 255], 255);  // blue byte of the hottest entry

  Periods(0);
  fire.EnableBackgroundChange(false);
  fire.EnablePaletteChange(false);
  fire.EnableStyleChange(false);
  fire.TakeChanges();
  MemorySurface surface(kWidth, kHeight, 32);
  for (int frame = 0; frame < 5; ++frame) Frame(surface);
  const FireChanges changes = fire.TakeChanges();
  EXPECT_FALSE(changes.background || changes.palette || changes.style);

  const std::uint8_t clear[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  const std::uint8_t all[8] = {255, 255, 255, 255, 255, 255, 255, 255};
  fire.ShowStyle(clear, all);
  Frame(surface);
  const ByteImage& heat = fire.HeatImage();
  for (std::int32_t i = 0; i < heat.pitch * heat.height; ++i) ASSERT_EQ(heat.data[i], 0);
}

TEST_F(FireManagerTest, ReleaseIsSafeTwiceAndStopsTheFrame) {
  settings.SetBackgrounds({"a"}, 0);
  ASSERT_EQ(Create(32), 0);
  fire.Release();
  fire.Release();
  MemorySurface surface(kWidth, kHeight, 32);
  Frame(surface);
  fire.ShowBackground("b");
  EXPECT_FALSE(fire.IsCreated());
  EXPECT_EQ(fire.ColorTableData(), nullptr);
  for (const std::uint8_t byte : surface.Bytes()) ASSERT_EQ(byte, 0);
}

// The optimised fire against the plain reference, which seeds, steps, renders
// and copies one image after the other through the index image: every surface
// byte of every frame and the indices of every other frame must agree. Sizes
// are chosen around the edges of the fused walks: heights around the row pairs
// and the rows the spread leaves out, widths around the groups of 8 and 16 and
// the rows of indices made in runs of 1024.
TEST_F(FireManagerTest, OptimisedFireMatchesTheScalarReferenceFrameForFrame) {
  struct Case {
    std::int32_t width, height;
    int frames;
  };
  const Case cases[] = {{64, 48, 300}, {1, 1, 40},  {3, 3, 40},     {7, 5, 60},    {9, 4, 60},    {10, 4, 60},
                        {17, 6, 80},   {18, 7, 80}, {25, 8, 100},   {33, 9, 100},  {40, 2, 40},   {41, 3, 60},
                        {63, 10, 120}, {66, 5, 80}, {127, 33, 200}, {1025, 6, 60}, {1366, 11, 60}};
  settings.AddPalette(Ramp(255, 128, 0));
  settings.AddPalette(Ramp(0, 128, 255));
  settings.SetStyles({"", "230,3|120,1|60,1|255,0|255,0|255,0|255,0|255,0", "0,1|90,4"}, 0);
  for (const int bpp : {32, 24, 16}) {
    for (const Case& c : cases) {
      FakeBackgroundSource pictures(c.width, c.height, bpp);
      pictures.AddNoise("noise", 7);
      pictures.AddNoise("grain", 99);
      pictures.Add("flat", 88, true);
      // Every change falls due as soon as it can: wipes and fades run most of the time.
      auto run = [&](FireManager& manager) {
        settings.SetBackgrounds({"noise", "grain", "flat"}, 0);
        settings.SetPaletteIndex(0);
        settings.SelectStyle(0);
        CRuntimeRandom::Seed(1);
        FireParameters parameters;
        parameters.width = c.width;
        parameters.height = c.height;
        parameters.bitsPerPixel = bpp;
        EXPECT_EQ(manager.Create(parameters, pictures), 0);
        manager.SetBackgroundPeriod(0);
        manager.SetPalettePeriod(200);
        manager.SetStylePeriod(300);
        MemorySurface surface(c.width, c.height, bpp);
        std::vector<std::uint8_t> frames;
        for (int frame = 0; frame < c.frames; ++frame) {
          manager.Update(40);
          manager.Render();
          manager.CopyToSurface(surface);
          frames.insert(frames.end(), surface.Bytes().begin(), surface.Bytes().end());
          if (frame % 2 == 1) {
            const ByteImage& out = manager.OutputImage();
            frames.insert(frames.end(), out.data, out.data + out.pitch * out.height);
          }
        }
        manager.Release();
        return frames;
      };
      const auto optimised = run(fire);
      ScalarFireManager reference(settings);
      const auto expected = run(reference);
      ASSERT_EQ(optimised.size(), expected.size());
      ASSERT_TRUE(optimised == expected) << c.width << "x" << c.height << " at " << bpp;
    }
  }
}

// Render leaves the indices to CopyToSurface; whatever happens between the two
// (a background shown at once, another copy, asking for the index image, an
// Update that comes before any copy) the surface shows the indices of the last
// Render, as with the reference that writes them into the index image.
TEST_F(FireManagerTest, CopyDrawsTheIndicesOfTheLastRenderWhateverCameBetween) {
  source.AddNoise("noise", 5);
  struct Case {
    const char* name;
    const char* steps;  // U Update, R Render, C copy (compared), B ShowBackground, O OutputImage
  };
  const Case cases[] = {{"copy twice", "URCC"},
                        {"background between", "URBC"},
                        {"background after a copy", "URCBC"},
                        {"update before the copy", "URUC"},
                        {"index image asked first", "UROC"},
                        {"copy again after a frame", "C"}};
  for (const Case& c : cases) {
    auto run = [&](FireManager& manager) {
      settings.SetBackgrounds({"noise"}, 0);
      CRuntimeRandom::Seed(1);
      FireParameters parameters;
      parameters.width = kWidth;
      parameters.height = kHeight;
      EXPECT_EQ(manager.Create(parameters, source), 0);
      MemorySurface surface(kWidth, kHeight, 32);
      for (int warm = 0; warm < 20; ++warm) {
        manager.Update(40);
        manager.Render();
        manager.CopyToSurface(surface);
      }
      std::vector<std::uint8_t> shown;
      for (const char* step = c.steps; *step != 0; ++step) {
        switch (*step) {
          case 'U':
            manager.Update(40);
            break;
          case 'R':
            manager.Render();
            break;
          case 'B':
            manager.ShowBackground("b");
            break;
          case 'O':
            manager.OutputImage();
            break;
          default:
            std::fill(surface.Bytes().begin(), surface.Bytes().end(), 0x5A);
            manager.CopyToSurface(surface);
            shown.insert(shown.end(), surface.Bytes().begin(), surface.Bytes().end());
        }
      }
      manager.Release();
      return shown;
    };
    const auto optimised = run(fire);
    ScalarFireManager reference(settings);
    EXPECT_TRUE(run(reference) == optimised) << c.name;
  }
}

// A surface whose locks throw, as a broken display surface might.
class ThrowingSurface : public MemorySurface {
 public:
  enum Throws { kNothing, kStandard, kOther };
  using MemorySurface::MemorySurface;
  int Lock() override {
    if (throws == kStandard) throw std::runtime_error("surface gone");
    if (throws == kOther) throw 7;
    return MemorySurface::Lock();
  }
  Throws throws = kNothing;
};

// The frame step guards each stage: a copy that throws (of any kind) is logged
// under the caller's name, and the next frame draws as if nothing had happened.
TEST_F(FireManagerTest, FrameStepLogsAFailedStageAndTheNextFrameDraws) {
  settings.SetBackgrounds({"a"}, 0);
  ASSERT_EQ(Create(32), 0);
  ThrowingSurface surface(kWidth, kHeight, 32);
  for (const ThrowingSurface::Throws kind : {ThrowingSurface::kStandard, ThrowingSurface::kOther}) {
    surface.throws = kind;
    StepFire(fire, surface, 40, "Test::Frame()");
    surface.throws = ThrowingSurface::kNothing;
    StepFire(fire, surface, 40, "Test::Frame()");
    EXPECT_TRUE(SurfaceShows(surface, fire.ColorTableData())) << kind;
  }
  const std::string log = Log();
  std::size_t failures = 0;
  for (std::size_t at = 0;
       (at = log.find("Test::Frame() fire CopyToSurface get an exception", at)) != std::string::npos; ++at) {
    ++failures;
  }
  EXPECT_EQ(failures, 2u);
  EXPECT_EQ(log.find("fire Update get"), std::string::npos);
  EXPECT_EQ(log.find("fire Render get"), std::string::npos);
}

}  // namespace

TEST_F(FireManagerTest, UnseenTimeMovesTheListsOnByTheClockAndShowsTheLastAtOnce) {
  source.Add("c", 120, true);
  settings.SetBackgrounds({"a", "b", "c"}, 0);
  settings.AddPalette(Ramp(255, 0, 0));
  settings.AddPalette(Ramp(0, 255, 0));
  settings.AddPalette(Ramp(0, 0, 255));
  settings.SetPaletteIndex(0);
  settings.SetStyles({"200,1|180,0|150,2|100,0|75,1|50,2|255,0|255,2", "0,255"}, 0);
  ASSERT_EQ(Create(32), 0);
  fire.SetBackgroundPeriod(5000);
  fire.SetPalettePeriod(7000);
  fire.SetStylePeriod(3000);
  MemorySurface surface(kWidth, kHeight, 32);
  Frame(surface);  // 40 ms counted by every timer
  fire.TakeChanges();

  // Each step's time adds to what the timers hold; a day and a bit goes round
  // each list thousands of times and ends where the clock says.
  struct Step {
    std::uint32_t unseenMs;
    std::uint32_t background, palette, style;
  };
  for (const Step step : {Step{4900, 0, 0, 1}, Step{60, 1, 0, 1}, Step{86'405'000, 2, 2, 1}, Step{0, 2, 2, 1}}) {
    const ByteImage& heat = fire.HeatImage();
    const std::vector<std::uint8_t> heatBefore(heat.data, heat.data + heat.pitch * heat.height);
    fire.PassUnseen(step.unseenMs);
    EXPECT_EQ(settings.GetBackgroundIndex(), step.background) << step.unseenMs;
    EXPECT_EQ(settings.GetPaletteIndex(), step.palette) << step.unseenMs;
    EXPECT_EQ(settings.GetStyleIndex(), step.style) << step.unseenMs;
    EXPECT_TRUE(std::equal(heatBefore.begin(), heatBefore.end(), fire.HeatImage().data)) << "the heat moved";
  }
  // Only the last background was loaded, straight in; the last palette too, without a fade.
  EXPECT_EQ(source.loads, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(fire.BackgroundGrey().Row(0)[0], 120);
  const std::uint8_t* hottest = fire.ColorTableData() + 4 * 255;
  EXPECT_EQ(hottest[0], 255);
  EXPECT_EQ(hottest[1], 0);
  const FireChanges changes = fire.TakeChanges();
  EXPECT_TRUE(changes.background && changes.palette && changes.style);

  // The remainders carry on: 2000 ms of the palette's 7000 were counted.
  fire.Update(4999);
  EXPECT_FALSE(fire.TakeChanges().palette);
  fire.Update(1);
  EXPECT_TRUE(fire.TakeChanges().palette);

  // That frame began a wipe to "a"; one under way when the sleep begins ends
  // with its target wholly in.
  fire.Update(40);
  ASSERT_EQ(settings.GetBackgroundIndex(), 0u);
  const auto rowIsA = [this] {
    const std::uint8_t* row = fire.BackgroundGrey().Row(0);
    return std::all_of(row, row + kWidth, [](std::uint8_t grey) { return grey == 40; });
  };
  EXPECT_FALSE(rowIsA());
  fire.PassUnseen(0);
  EXPECT_TRUE(rowIsA());
  EXPECT_EQ(fire.BackgroundGrey().Row(kHeight / 2)[kWidth / 2], 240);
}
