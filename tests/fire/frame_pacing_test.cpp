#include "fire/frame_pacing.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Each case applies what the saver was told, in order, to a fresh pacing.
TEST(FramePacingTest, WhatTheSaverIsToldDecidesSleepAndRate) {
  using Tell = std::function<void(FramePacing&)>;
  const Tell displayOff = [](FramePacing& p) { p.SetDisplay(DisplayState::kOff); };
  const Tell displayDimmed = [](FramePacing& p) { p.SetDisplay(DisplayState::kDimmed); };
  const Tell displayOn = [](FramePacing& p) { p.SetDisplay(DisplayState::kOn); };
  const auto session = [](SessionChange change) { return [change](FramePacing& p) { p.OnSessionChange(change); }; };
  const Tell covered = [](FramePacing& p) { p.SetWindowCovered(true); };
  const Tell uncovered = [](FramePacing& p) { p.SetWindowCovered(false); };
  const Tell minimised = [](FramePacing& p) { p.SetWindowMinimised(true); };
  const Tell battery = [](FramePacing& p) { p.SetPowerSource(PowerSource::kBattery); };
  const Tell ups = [](FramePacing& p) { p.SetPowerSource(PowerSource::kShortTerm); };
  const Tell mains = [](FramePacing& p) { p.SetPowerSource(PowerSource::kMains); };
  const Tell saverOn = [](FramePacing& p) { p.SetEnergySaver(true); };
  const Tell saverOff = [](FramePacing& p) { p.SetEnergySaver(false); };
  const Tell suspend = [](FramePacing& p) { p.SetSystemSuspended(true); };
  const Tell resume = [](FramePacing& p) { p.SetSystemSuspended(false); };
  const Tell logon = [](FramePacing& p) { p.OnSessionChange(static_cast<SessionChange>(5)); };

  struct Case {
    const char* name;
    std::vector<Tell> told;
    std::string sleepReason;  // "" awake
    bool windowOnly;
    int framesPerSecond;
    std::string rateReason;
  };
  const Case cases[] = {
      {"nothing told", {}, "", false, 30, "on mains"},
      {"suspended", {suspend, displayOff}, "system suspended", false, 30, "on mains"},
      {"resumed", {suspend, resume}, "", false, 30, "on mains"},
      {"display off", {displayOff}, "display off", false, 30, "on mains"},
      {"display dimmed", {displayDimmed}, "display dimmed", false, 30, "on mains"},
      {"display back on", {displayOff, displayOn}, "", false, 30, "on mains"},
      {"locked", {session(SessionChange::kLocked)}, "session locked", false, 30, "on mains"},
      {"unlocked", {session(SessionChange::kLocked), session(SessionChange::kUnlocked)}, "", false, 30, "on mains"},
      {"remote session left",
       {session(SessionChange::kRemoteDisconnected)},
       "session disconnected",
       false,
       30,
       "on mains"},
      {"remote session back",
       {session(SessionChange::kRemoteDisconnected), session(SessionChange::kRemoteConnected)},
       "",
       false,
       30,
       "on mains"},
      {"console taken away",
       {session(SessionChange::kConsoleDisconnected)},
       "session disconnected",
       false,
       30,
       "on mains"},
      {"unlocked but still disconnected",
       {session(SessionChange::kLocked), session(SessionChange::kRemoteDisconnected),
        session(SessionChange::kUnlocked)},
       "session disconnected",
       false,
       30,
       "on mains"},
      {"a logon changes nothing", {session(SessionChange::kLocked), logon}, "session locked", false, 30, "on mains"},
      {"covered", {covered}, "window covered", true, 30, "on mains"},
      {"uncovered", {covered, uncovered}, "", false, 30, "on mains"},
      {"minimised", {minimised}, "window minimised", true, 30, "on mains"},
      {"covered while the display is off", {covered, displayOff}, "display off", false, 30, "on mains"},
      {"on battery", {battery}, "", false, 15, "on battery"},
      {"on a UPS", {ups}, "", false, 15, "on battery"},
      {"back on mains", {battery, mains}, "", false, 30, "on mains"},
      {"energy saver", {saverOn}, "", false, 15, "energy saver on"},
      {"energy saver off", {saverOn, saverOff}, "", false, 30, "on mains"},
      {"mains with the energy saver", {battery, saverOn, mains}, "", false, 15, "energy saver on"},
      {"asleep on battery", {battery, displayOff}, "display off", false, 15, "on battery"},
  };
  for (const Case& c : cases) {
    FramePacing pacing;
    for (const Tell& tell : c.told) tell(pacing);
    EXPECT_EQ(pacing.SleepReason(), c.sleepReason) << c.name;
    EXPECT_EQ(pacing.Asleep(), !c.sleepReason.empty()) << c.name;
    EXPECT_EQ(pacing.AsleepForWindowOnly(), c.windowOnly) << c.name;
    EXPECT_EQ(pacing.FramesPerSecond(), c.framesPerSecond) << c.name;
    EXPECT_EQ(pacing.RateReason(), c.rateReason) << c.name;
  }
}
