#include "app/mode_selector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/small_app.h"

// Records which mode Select chose instead of running it.
class RecordingSelector : public ModeSelector {
 public:
  std::string ran;
  int RunSettingsMode(int, char**) override { return Record("settings", 1); }
  int RunPreviewMode(int, char**) override { return Record("preview", 2); }
  int RunFullScreenMode(int, char**) override { return Record("full", 3); }

 private:
  int Record(const char* mode, int result) {
    ran = mode;
    return result;
  }
};

static std::string SelectWith(std::vector<std::string> args, int* result = nullptr) {
  args.insert(args.begin(), "Hearthmoor.scr");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  RecordingSelector selector;
  const int r = selector.Select(static_cast<int>(args.size()), argv.data());
  if (result != nullptr) *result = r;
  return selector.ran;
}

TEST(ModeSelector, FirstArgumentChoosesTheMode) {
  struct Case {
    std::vector<std::string> args;
    const char* mode;
  };
  const Case cases[] = {
      {{"/p", "4460"}, "preview"},
      {{"/P"}, "preview"},
      {{"-p", "12"}, "preview"},
      {{"/s"}, "full"},
      {{"-S"}, "full"},
      {{"/S"}, "full"},
      {{"/c:4460"}, "settings"},
      {{"/c"}, "settings"},
      {{"/a"}, "settings"},
      {{}, "settings"},
      {{""}, "settings"},
      // Only the last character counts, and the preview is tested first.
      {{"/sp"}, "preview"},
      {{"/ps"}, "full"},
      {{"/p:4460"}, "settings"},
      {{"/s "}, "settings"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args[0]);
    EXPECT_EQ(SelectWith(c.args), c.mode);
  }
}

TEST(ModeSelector, SelectReturnsTheModesResult) {
  int result = 0;
  SelectWith({"/s"}, &result);
  EXPECT_EQ(result, 3);
  SelectWith({"/p", "1"}, &result);
  EXPECT_EQ(result, 2);
}

TEST(SmallApp, HostWindowIsReadAsADecimalNumber) {
  struct Case {
    const char* text;
    std::uintptr_t handle;
  };
  const Case cases[] = {
      {"4460", 4460}, {"0", 0}, {"", 0}, {"abc", 0}, {"4460abc", 4460}, {" 77", 77}, {"4294967295", 4294967295u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(SmallApp::ParseHostWindow(c.text)), c.handle);
  }
  EXPECT_EQ(SmallApp::ParseHostWindow(nullptr), nullptr);
}
