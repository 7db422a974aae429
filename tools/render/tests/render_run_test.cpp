#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(HEARTHMOOR_SOURCE_DIR) + "/tests/data/fire/";

// Runs the renderer; gives its exit status and leaves its stderr in `errors`.
int Render(const TempDir& dir, const std::string& arguments, std::string& errors) {
  const fs::path errFile = dir / "stderr.txt";
  const std::string command = std::string(HEARTHMOOR_RENDER_BINARY) + " " + arguments + " 2>" + errFile.string();
  const int status = std::system(command.c_str());
  errors = ReadFileBytes(errFile);
  fs::remove(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::size_t FileCount(const fs::path& folder) {
  std::size_t count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) count += entry.is_regular_file();
  return count;
}

TEST(RenderRun, RefusalsExitWithTwoNameTheProblemAndWriteNothing) {
  TempDir dir;
  fs::create_directory(dir / "out");
  fs::create_directory(dir / "locked");
  chmod((dir / "locked").c_str(), 0500);
  WriteFileBytes(dir / "plain-file", "x");
  const std::string out = " --out " + (dir / "out").string();
  struct Case {
    std::string arguments;
    const char* mention;
  };
  const Case cases[] = {
      {"--frames 3" + out, "--settings"},
      {"--settings " + kSample + "sample-settings --bpp 8" + out, "--bpp"},
      {"--settings " + (dir / "nowhere").string() + out, "does not exist"},
      {"--settings " + (dir / "plain-file").string() + out, "not a folder"},
      {"--settings " + kSample + "sample-settings --desktop " + (dir / "plain-file").string() + out, "desktop"},
      {"--settings " + kSample + "sample-settings --out " + (dir / "plain-file").string(), "not a folder"},
  };
  for (const Case& c : cases) {
    std::string errors;
    EXPECT_EQ(Render(dir, c.arguments, errors), 2) << c.arguments;
    EXPECT_NE(errors.find(c.mention), std::string::npos) << errors;
    EXPECT_EQ(FileCount(dir / "out"), 0u) << c.arguments;
  }
  if (geteuid() != 0) {  // root writes anywhere
    std::string errors;
    EXPECT_EQ(Render(dir, "--settings " + kSample + "sample-settings --out " + (dir / "locked").string(), errors), 2);
    EXPECT_NE(errors.find("not writable"), std::string::npos) << errors;
  }
  chmod((dir / "locked").c_str(), 0700);
}

TEST(RenderRun, FolderWithoutConfigRunsWithDefaultsAndDumpsEveryFrame) {
  TempDir dir;
  fs::create_directory(dir / "empty-settings");
  std::string errors;
  ASSERT_EQ(Render(dir,
                   "--settings " + (dir / "empty-settings").string() + " --out " + (dir / "out").string() +
                       " --size 40x30 --bpp 24 --frames 4 --png 2 --dump-indices --dump-surface --quiet",
                   errors),
            0)
      << errors;
  EXPECT_TRUE(errors.empty()) << errors;
  for (const char* name : {"frame-00002.png", "frame-00004.png", "indices-00001.pgm", "indices-00004.pgm",
                           "surface-00001.raw", "surface-00004.raw"}) {
    EXPECT_TRUE(fs::exists(dir / "out" / name)) << name;
  }
  EXPECT_FALSE(fs::exists(dir / "out" / "frame-00001.png"));
  EXPECT_EQ(fs::file_size(dir / "out" / "surface-00003.raw"), 40u * 30u * 3u);
  EXPECT_EQ(fs::file_size(dir / "out" / "indices-00003.pgm"), std::string("P5\n40 30\n255\n").size() + 40u * 30u);
  EXPECT_EQ(FileCount(dir / "empty-settings"), 0u) << "the settings folder is left as it was";
}

TEST(RenderRun, RelativeOutputIsResolvedBeforeTheSettingsFolderBecomesCurrent) {
  TempDir dir;
  CurrentDirGuard guard(dir.path());
  std::string errors;
  ASSERT_EQ(Render(dir,
                   "--settings " + kSample + "sample-settings --desktop " + kSample +
                       "sample-hearth.bmp --out rel --size 64x48 --frames 2 --quiet",
                   errors),
            0)
      << errors;
  EXPECT_TRUE(fs::exists(dir / "rel" / "frame-00002.png"));
}

// A 24-bit top-down TGA of `width` × `height` pixels, pixel (x, y) coloured by
// `color` from the full desktop's coordinates (x0 + x, y0 + y): blocks with
// sharp edges, so that the fire has sparks to seed.
void WriteDesktopPart(const fs::path& file, int x0, int y0, int width, int height) {
  std::string bytes(18, '\0');
  bytes[2] = 2;  // uncompressed true colour
  bytes[12] = static_cast<char>(width & 0xFF);
  bytes[13] = static_cast<char>(width >> 8);
  bytes[14] = static_cast<char>(height & 0xFF);
  bytes[15] = static_cast<char>(height >> 8);
  bytes[16] = 24;
  bytes[17] = 0x20;  // top row first
  for (int y = y0; y < y0 + height; ++y) {
    for (int x = x0; x < x0 + width; ++x) {
      const bool bright = ((x / 9) + (y / 7)) % 2 == 0;
      bytes += static_cast<char>(bright ? 40 + x : 10);
      bytes += static_cast<char>(bright ? 200 : 20 + y);
      bytes += static_cast<char>(bright ? 250 - x : 30);
    }
  }
  bytes += std::string(8, '\0') + "TRUEVISION-XFILE." + std::string(1, '\0');  // the footer that names the format
  WriteFileBytes(file, bytes);
}

// Each monitor of a layout (one at a negative origin; more monitors than this
// machine's two cores, so that threads take turns) draws, frame by frame, the
// very bytes that monitor alone would draw over its part of the desktop, and the
// PNG shows the whole virtual screen.
TEST(RenderRun, EachMonitorDrawsWhatItWouldDrawAlone) {
  TempDir dir;
  // Virtual screen: x -40..88, y 0..40 (128 x 40).
  WriteDesktopPart(dir / "desktop.tga", 0, 0, 128, 40);
  WriteDesktopPart(dir / "primary.tga", 40, 0, 64, 40);
  WriteDesktopPart(dir / "left.tga", 0, 5, 40, 30);
  WriteDesktopPart(dir / "right.tga", 104, 0, 24, 20);
  const std::string common = "--settings " + kSample + "sample-settings --bpp 24 --frames 6 --dump-surface --quiet";
  std::string errors;
  ASSERT_EQ(Render(dir,
                   common + " --monitors 64x40+0+0,40x30-40+5,24x20+64+0 --desktop " + (dir / "desktop.tga").string() +
                       " --out " + (dir / "both").string(),
                   errors),
            0)
      << errors;
  struct Alone {
    const char* size;
    const char* desktop;
    const char* prefix;
  };
  for (const Alone& alone :
       {Alone{"64x40", "primary.tga", "monitor1-surface"}, Alone{"40x30", "left.tga", "monitor2-surface"},
        Alone{"24x20", "right.tga", "monitor3-surface"}}) {
    ASSERT_EQ(Render(dir,
                     common + " --size " + alone.size + " --desktop " + (dir / alone.desktop).string() + " --out " +
                         (dir / alone.size).string(),
                     errors),
              0)
        << errors;
    for (int frame = 1; frame <= 6; ++frame) {
      const std::string number = "-0000" + std::to_string(frame) + ".raw";
      const std::string together = ReadFileBytes(dir / "both" / (alone.prefix + number));
      ASSERT_FALSE(together.empty()) << alone.prefix << number;
      const std::string single = ReadFileBytes(dir / alone.size / ("surface" + number));
      EXPECT_TRUE(together == single) << alone.prefix << number << " " << together.size() << " " << single.size();
    }
  }
  EXPECT_TRUE(ReadFileBytes(dir / "both" / "monitor1-surface-00001.raw") !=
              ReadFileBytes(dir / "both" / "monitor1-surface-00006.raw"));
  const std::string png = ReadFileBytes(dir / "both" / "frame-00006.png");
  ASSERT_GT(png.size(), 24u);
  // The IHDR's width and height, big-endian at bytes 16 and 20.
  EXPECT_EQ(static_cast<unsigned char>(png[18]) * 256 + static_cast<unsigned char>(png[19]), 128);
  EXPECT_EQ(static_cast<unsigned char>(png[22]) * 256 + static_cast<unsigned char>(png[23]), 40);
}

}  // namespace
