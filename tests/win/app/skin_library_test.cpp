#include "app/skin_library.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "diagnostics/debug_log.h"
#include "support/temp_dir.h"

namespace {

// The Windows form of a path of the build tree (Wine shows the Unix root as Z:).
std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The log's lines without their time stamps ("123: ").
std::vector<std::string> LogMessages(const std::string& text) {
  std::vector<std::string> messages;
  for (std::string line : Lines(text)) {
    const std::string::size_type colon = line.find(": ");
    messages.push_back(colon == std::string::npos ? line : line.substr(colon + 2));
  }
  return messages;
}

}  // namespace

TEST(SkinLibrary, CallsTheLibraryAsFarAsItsEntryPointsGoAndLogsEachFailure) {
  const std::string skinFile = "C:\\Saver\\Hearthmoor.urf";
  const std::string started = "SkinStart " + skinFile + "|1|Hearthmoor|1|0|0";
  const std::string applied = "SkinWindowSetEx 0|660|0|206|0|0|0";
  const std::string startFailed = "face dll Start false." + skinFile;
  struct Case {
    const char* what;
    std::string library;
    const char* refuse;
    bool bound;
    std::vector<std::string> calls;  // what the library saw, through Remove and Unbind
    std::vector<std::string> log;
  };
  const Case cases[] = {
      // The test program's folder holds no appface.dll: a bare name looks only there.
      {"no library",
       SkinLibrary::kLibraryName,
       "",
       false,
       {},
       {"face dll init false", startFailed, "face dll skin false"}},
      {"whole library",
       WindowsPath(HEARTHMOOR_SKIN_LIBRARY),
       "",
       true,
       {"load", started, applied, "SkinRemove", "unload"},
       {}},
      {"library refusing both calls",
       WindowsPath(HEARTHMOOR_SKIN_LIBRARY),
       "SkinStart,SkinWindowSetEx",
       true,
       {"load", started, applied, "SkinRemove", "unload"},
       {startFailed, "face dll skin false"}},
      // Missing the entry point looked up last: the earlier ones are still called.
      {"library without SkinWindowSetEx",
       WindowsPath(HEARTHMOOR_PARTIAL_SKIN_LIBRARY),
       "",
       false,
       {"load", started, "SkinRemove", "unload"},
       {"face dll init false", "face dll skin false"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string previousLog = TraceLog().FileName();
    TraceLog().SetFileName((dir / "log.txt").string().c_str());
    SetEnvironmentVariableA("HEARTHMOOR_SKIN_CALLS", (dir / "calls.txt").string().c_str());
    SetEnvironmentVariableA("HEARTHMOOR_SKIN_REFUSE", c.refuse);
    {
      SkinLibrary skin;
      if (c.library == SkinLibrary::kLibraryName) {
        skin.BindAndStart(skinFile);
      } else {
        // BindAndStart with a library of the test's choosing.
        if (!skin.Bind(c.library.c_str())) TraceLog().Log("face dll init false");
        skin.StartAndApply(skinFile);
      }
      EXPECT_EQ(c.bound, skin.IsBound());
      EXPECT_EQ(c.bound, skin.Bind(c.library.c_str()));  // a second bind changes nothing
      skin.Remove();
    }  // destruction unbinds
    EXPECT_EQ(c.calls, Lines(ReadFileBytes(dir / "calls.txt")));
    EXPECT_EQ(c.log, LogMessages(ReadFileBytes(dir / "log.txt")));
    TraceLog().SetFileName(previousLog.c_str());
  }
  SetEnvironmentVariableA("HEARTHMOOR_SKIN_CALLS", nullptr);
  SetEnvironmentVariableA("HEARTHMOOR_SKIN_REFUSE", nullptr);
}

TEST(SkinLibrary, OnlyBareNamesAreLookedForInTheProgramFolder) {
  char program[MAX_PATH];
  const std::string path(program, GetModuleFileNameA(nullptr, program, MAX_PATH));
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  EXPECT_EQ(folder + "appface.dll", ResolveLibraryPath("appface.dll"));
  for (const char* named : {"C:\\skins\\appface.dll", "skins\\appface.dll", "./appface.dll", "C:appface.dll"}) {
    EXPECT_EQ(named, ResolveLibraryPath(named));
  }
  SkinLibrary skin;
  EXPECT_FALSE(skin.Bind(""));
  EXPECT_FALSE(skin.IsBound());
}
