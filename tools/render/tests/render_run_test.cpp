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

}  // namespace
