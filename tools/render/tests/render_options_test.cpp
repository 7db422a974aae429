#include "render_options.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Args(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

TEST(RenderOptions, DefaultsNeedOnlyTheSettingsFolder) {
  const ParsedOptions parsed = ParseRenderOptions(Args({"--settings", "cfg"}));
  ASSERT_TRUE(parsed.options) << parsed.error;
  const RenderOptions& o = *parsed.options;
  EXPECT_EQ(o.settingsDir, "cfg");
  EXPECT_EQ(o.width, 800);
  EXPECT_EQ(o.height, 600);
  EXPECT_EQ(o.bitsPerPixel, 32);
  EXPECT_EQ(o.frames, 90);
  EXPECT_EQ(o.frameMs, 33u);
  EXPECT_EQ(o.outDir, ".");
  EXPECT_EQ(o.pngEvery, 0);
  EXPECT_FALSE(o.dumpIndices || o.dumpSurface || o.quiet);
}

TEST(RenderOptions, EveryOptionInBothSpellings) {
  const ParsedOptions parsed = ParseRenderOptions(
      Args({"--settings=s", "--size", "1024x768", "--bpp=16", "--frames", "7", "--frame-ms=40", "--desktop", "d.bmp",
            "--out=o", "--png", "3", "--dump-indices", "--dump-surface", "--quiet"}));
  ASSERT_TRUE(parsed.options) << parsed.error;
  const RenderOptions& o = *parsed.options;
  EXPECT_EQ(o.settingsDir, "s");
  EXPECT_EQ(o.width, 1024);
  EXPECT_EQ(o.height, 768);
  EXPECT_EQ(o.bitsPerPixel, 16);
  EXPECT_EQ(o.frames, 7);
  EXPECT_EQ(o.frameMs, 40u);
  EXPECT_EQ(o.desktopFile, "d.bmp");
  EXPECT_EQ(o.outDir, "o");
  EXPECT_EQ(o.pngEvery, 3);
  EXPECT_TRUE(o.dumpIndices && o.dumpSurface && o.quiet);
}

TEST(RenderOptions, BadArgumentsAreNamed) {
  struct Case {
    std::vector<std::string> args;
    const char* mention;
  };
  const Case cases[] = {
      {{}, "--settings"},
      {{"--size", "10x10"}, "--settings"},
      {{"--settings"}, "--settings"},
      {{"--settings", "s", "--size", "800"}, "--size"},
      {{"--settings", "s", "--size", "0x600"}, "--size"},
      {{"--settings", "s", "--size", "800x-6"}, "--size"},
      {{"--settings", "s", "--size", "99999x600"}, "--size"},
      {{"--settings", "s", "--bpp", "8"}, "--bpp"},
      {{"--settings", "s", "--bpp", "20"}, "--bpp"},
      {{"--settings", "s", "--frames", "0"}, "--frames"},
      {{"--settings", "s", "--frames", "12abc"}, "--frames"},
      {{"--settings", "s", "--frame-ms", "-1"}, "--frame-ms"},
      {{"--settings", "s", "--png"}, "--png"},
      {{"--settings", "s", "--quiet=1"}, "--quiet"},
      {{"--settings", "s", "--colour"}, "--colour"},
      {{"--settings", "s", "extra"}, "extra"},
  };
  for (const Case& c : cases) {
    const ParsedOptions parsed = ParseRenderOptions(c.args);
    EXPECT_FALSE(parsed.options) << c.mention;
    EXPECT_NE(parsed.error.find(c.mention), std::string::npos) << parsed.error;
  }
}

TEST(RenderOptions, MonitorListsWithSignedOffsets) {
  struct Case {
    const char* text;
    std::vector<ScreenRect> areas;  // empty: refused
  };
  const Case cases[] = {
      {"1280x1024+0+0,1024x768+1280+0", {{0, 0, 1280, 1024}, {1280, 0, 1024, 768}}},
      {"1920x1080+0+0,1280x1024-1280-200", {{0, 0, 1920, 1080}, {-1280, -200, 1280, 1024}}},
      {"640x480-10+5", {{-10, 5, 640, 480}}},
      {"640x480+0", {}},
      {"640x480", {}},
      {"0x480+0+0", {}},
      {"640x480+0+0,", {}},
      {"640x480+0+0,640x480+0+0", {}},
      {"640x480++0+0", {}},
  };
  for (const Case& c : cases) {
    const ParsedOptions parsed = ParseRenderOptions(Args({"--settings", "s", "--monitors", c.text}));
    if (c.areas.empty()) {
      EXPECT_FALSE(parsed.options) << c.text;
      continue;
    }
    ASSERT_TRUE(parsed.options) << c.text << ": " << parsed.error;
    ASSERT_EQ(parsed.options->monitors.size(), c.areas.size()) << c.text;
    for (std::size_t i = 0; i < c.areas.size(); ++i) {
      EXPECT_EQ(parsed.options->monitors[i].area, c.areas[i]) << c.text << " " << i;
      EXPECT_EQ(parsed.options->monitors[i].primary, i == 0) << c.text << " " << i;
    }
  }
}

}  // namespace
