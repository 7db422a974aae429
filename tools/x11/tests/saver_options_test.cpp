#include "saver_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct TargetCase {
  std::vector<std::string> arguments;
  const char* xscreensaverWindow;
  DrawTarget target;
  unsigned long windowId;
  bool underXscreensaver;
};

TEST(SaverOptions, PrecedenceOfRootWindowIdVariableAndOwnWindow) {
  const TargetCase cases[] = {
      {{}, nullptr, DrawTarget::kOwnWindow, 0, false},
      {{"-window"}, nullptr, DrawTarget::kOwnWindow, 0, false},
      {{"-root"}, nullptr, DrawTarget::kRoot, 0, false},
      {{"--root"}, "", DrawTarget::kRoot, 0, false},
      {{"-window-id", "1234"}, nullptr, DrawTarget::kWindow, 1234, false},
      {{"--window-id", "0x4a0000C"}, nullptr, DrawTarget::kWindow, 0x4a0000C, false},
      {{}, "0x800008", DrawTarget::kWindow, 0x800008, true},
      // xscreensaver starts hacks with -root: its window stands in for the root.
      {{"--root"}, "0x800008", DrawTarget::kWindow, 0x800008, true},
      {{"-root", "-window-id", "77"}, nullptr, DrawTarget::kRoot, 0, false},
      {{"-window-id", "77"}, "0x800008", DrawTarget::kWindow, 77, false},
      {{"-window"}, "0x800008", DrawTarget::kOwnWindow, 0, false},
      // A garbled variable does not matter when an option decides.
      {{"-window-id", "77"}, "junk", DrawTarget::kWindow, 77, false},
      {{"-window"}, "junk", DrawTarget::kOwnWindow, 0, false},
  };
  for (const TargetCase& c : cases) {
    const std::string label = ::testing::PrintToString(c.arguments) +
                              " XSCREENSAVER_WINDOW=" + (c.xscreensaverWindow ? c.xscreensaverWindow : "(unset)");
    const ParsedSaverOptions parsed = ParseSaverOptions(c.arguments, c.xscreensaverWindow);
    ASSERT_TRUE(parsed.options) << label << ": " << parsed.error;
    EXPECT_EQ(parsed.options->target, c.target) << label;
    EXPECT_EQ(parsed.options->windowId, c.windowId) << label;
    EXPECT_EQ(parsed.options->underXscreensaver, c.underXscreensaver) << label;
  }
}

TEST(SaverOptions, RefusesWhatCannotBeUsed) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"-window-id"}, nullptr},
      {{"-window-id", "0"}, nullptr},
      {{"-window-id", "12ab"}, nullptr},
      {{"-window-id", "0x"}, nullptr},
      {{"-window-id", "-5"}, nullptr},
      {{"-window-id", "010x"}, nullptr},
      {{"-window-id", "0x20000000"}, nullptr},
      {{"-window-id", "99999999999999999999"}, nullptr},
      {{"-settings"}, nullptr},
      {{"-settings", ""}, nullptr},
      {{"-fps"}, nullptr},
      {{"root"}, nullptr},
      {{}, "junk"},
      {{"-root"}, "0"},
  };
  for (const auto& [arguments, variable] : cases) {
    const ParsedSaverOptions parsed = ParseSaverOptions(arguments, variable);
    EXPECT_FALSE(parsed.options) << ::testing::PrintToString(arguments);
    EXPECT_FALSE(parsed.error.empty());
  }
}

TEST(SaverOptions, SettingsFolderAndHelp) {
  const ParsedSaverOptions parsed = ParseSaverOptions({"--settings", "/tmp/x y", "-h"}, nullptr);
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->settingsDir, "/tmp/x y");
  EXPECT_TRUE(parsed.options->help);
}

}  // namespace
