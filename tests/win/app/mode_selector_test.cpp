#include "app/mode_selector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "app/config_app.h"
#include "app/small_app.h"
#include "diagnostics/handles_win.h"

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

// A settings mode started while another one runs (its lock is held here) makes
// no second writer of the settings: it brings the first one's dialog to the
// front and ends with 0.
TEST(ModeSelector, ASecondSettingsModeBringsTheFirstOnesDialogForward) {
  const UniqueKernelHandle first(CreateMutexA(nullptr, FALSE, "Local\\Hearthmoor settings mode"));
  const UniqueWindow dialog(CreateWindowExA(0, "#32770", "Hearthmoor", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                            nullptr, nullptr, nullptr));
  const UniqueWindow other(CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 300, 0, 200, 100, nullptr,
                                           nullptr, nullptr, nullptr));
  SetForegroundWindow(other.get());
  ASSERT_EQ(GetForegroundWindow(), other.get());
  char name[] = "Hearthmoor.scr";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(ModeSelector().RunSettingsMode(1, argv), 0);
  EXPECT_EQ(GetForegroundWindow(), dialog.get());
}

// The settings mode's window thread is a single-threaded COM apartment from the
// start, as the shell's calls and the file dialog expect.
TEST(ConfigApp, MakesItsThreadASingleThreadedComApartment) {
  std::thread([] {
    const ConfigApp app;
    const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(again, RPC_E_CHANGED_MODE);
    if (SUCCEEDED(again)) CoUninitialize();
  }).join();
}
