#include "fire/frame_pacing.h"

void FramePacing::OnSessionChange(SessionChange change) {
  switch (change) {
    case SessionChange::kLocked:
      sessionLocked_ = true;
      break;
    case SessionChange::kUnlocked:
      sessionLocked_ = false;
      break;
    case SessionChange::kConsoleDisconnected:
    case SessionChange::kRemoteDisconnected:
      sessionDisconnected_ = true;
      break;
    case SessionChange::kConsoleConnected:
    case SessionChange::kRemoteConnected:
      sessionDisconnected_ = false;
      break;
  }
}

const char* FramePacing::SleepReason() const {
  if (suspended_) return "system suspended";
  if (display_ == DisplayState::kOff) return "display off";
  if (display_ == DisplayState::kDimmed) return "display dimmed";
  if (sessionLocked_) return "session locked";
  if (sessionDisconnected_) return "session disconnected";
  if (windowMinimised_) return "window minimised";
  if (windowCovered_) return "window covered";
  return "";
}

bool FramePacing::AsleepForWindowOnly() const {
  return !suspended_ && display_ == DisplayState::kOn && !sessionLocked_ && !sessionDisconnected_ &&
         (windowCovered_ || windowMinimised_);
}

const char* FramePacing::RateReason() const {
  if (onBattery_) return "on battery";
  if (energySaver_) return "energy saver on";
  return "on mains";
}
