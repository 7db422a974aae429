#pragma once
#include <cstdint>

// What the display and the session tell a saver, in the values the system
// reports them with (the Windows shell passes its numbers straight through).
enum class DisplayState : std::uint32_t { kOff = 0, kOn = 1, kDimmed = 2 };
enum class PowerSource : std::uint32_t { kMains = 0, kBattery = 1, kShortTerm = 2 };
enum class SessionChange : std::uint32_t {
  kConsoleConnected = 1,
  kConsoleDisconnected = 2,
  kRemoteConnected = 3,
  kRemoteDisconnected = 4,
  kLocked = 7,
  kUnlocked = 8,
};

// Decides from what a saver has been told whether anybody can see the fire
// and how often to draw it. Nobody sees it while the system is suspended, the
// display is off or dimmed, the session is locked or has no display of its own
// (disconnected), or the saver's window is covered or minimised: then it
// sleeps, and the time it slept goes to the timed changes by the clock (not as
// one long frame, which would run every missed change through its wipe or fade). On battery
// (mains lost, or a short-term source such as a UPS) or with the energy saver
// on, it draws half as often. Starts awake, on mains, at the full rate.
class FramePacing {
 public:
  static constexpr int kFramesPerSecond = 30;
  static constexpr int kSavingFramesPerSecond = 15;

  void SetSystemSuspended(bool suspended) { suspended_ = suspended; }
  void SetDisplay(DisplayState state) { display_ = state; }
  // Other changes (logon, logoff, ...) leave the state as it is.
  void OnSessionChange(SessionChange change);
  void SetWindowCovered(bool covered) { windowCovered_ = covered; }
  void SetWindowMinimised(bool minimised) { windowMinimised_ = minimised; }
  void SetPowerSource(PowerSource source) { onBattery_ = source != PowerSource::kMains; }
  void SetEnergySaver(bool on) { energySaver_ = on; }

  bool Asleep() const { return *SleepReason() != '\0'; }
  // Why nobody can see the fire ("system suspended", "display off", ...); ""
  // while awake. Of several reasons, the first in that order.
  const char* SleepReason() const;
  // Asleep or not, the rate to draw at when drawing.
  int FramesPerSecond() const { return onBattery_ || energySaver_ ? kSavingFramesPerSecond : kFramesPerSecond; }
  // "on battery", "energy saver on" or "on mains".
  const char* RateReason() const;
  // Whether only the window (not the display or the session) keeps the fire
  // unseen: the one reason a saver has to look for itself, as no message ends it.
  bool AsleepForWindowOnly() const;

 private:
  bool suspended_ = false;
  DisplayState display_ = DisplayState::kOn;
  bool sessionLocked_ = false;
  bool sessionDisconnected_ = false;
  bool windowCovered_ = false;
  bool windowMinimised_ = false;
  bool onBattery_ = false;
  bool energySaver_ = false;
};
