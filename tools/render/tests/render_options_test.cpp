#include "render_options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> Args(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

// The values the parser sets, in one line that a table row can state.
std::string Describe(const RenderOptions& o) {
  std::ostringstream out;
  out << o.settingsDir << ' ' << o.width << 'x' << o.height << 'x' << o.bitsPerPixel << " monitors "
      << o.monitors.size() << " frames " << o.frames << " every " << o.frameMs << "ms desktop '" << o.desktopFile
      << "' out " << o.outDir << " png " << o.pngEvery << (o.dumpIndices ? " indices" : "")
      << (o.dumpSurface ? " surface" : "") << (o.quiet ? " quiet" : "") << (o.help ? " help" : "");
  return out.str();
}

TEST(RenderOptions, DefaultsNeedOnlyTheSettingsFolderOrHelpAndEveryOptionHasBothSpellings) {
  struct Case {
    std::vector<std::string> args;
    const char* expected;
  };
  const Case cases[] = {
      {Args({"--settings", "cfg"}), "cfg 800x600x32 monitors 0 frames 90 every 33ms desktop '' out . png 0"},
      {Args({"--settings=s", "--size", "1024x768", "--bpp=16", "--frames", "7", "--frame-ms=40", "--desktop", "d.bmp",
             "--out=o", "--png", "3", "--dump-indices", "--dump-surface", "--quiet"}),
       "s 1024x768x16 monitors 0 frames 7 every 40ms desktop 'd.bmp' out o png 3 indices surface quiet"},
      {Args({"--help"}), " 800x600x32 monitors 0 frames 90 every 33ms desktop '' out . png 0 help"},
  };
  for (const Case& c : cases) {
    const ParsedOptions parsed = ParseRenderOptions(c.args);
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(Describe(*parsed.options), c.expected);
  }
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
