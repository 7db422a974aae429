#include "app/pacing_notifications.h"

#include <wtsapi32.h>

#include <cstring>

#include "diagnostics/handles_win.h"
#include "fire/frame_pacing.h"

namespace {

// The power settings a saver listens to; each value is a DWORD.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kPowerSource = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};
// Battery saver (Windows 10): 0 off, 1 on.
constexpr GUID kPowerSavingStatus = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
// Energy saver (Windows 11): 0 off, 1 standard, 2 high savings.
constexpr GUID kEnergySaverStatus = {0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}};
constexpr const GUID* kListenedSettings[] = {&kConsoleDisplayState, &kPowerSource, &kPowerSavingStatus,
                                             &kEnergySaverStatus};

void ReadPowerStatus(FramePacing& pacing) {
  SYSTEM_POWER_STATUS status{};
  if (GetSystemPowerStatus(&status) == FALSE) return;
  // 255: unknown, taken as mains.
  if (status.ACLineStatus == 0 || status.ACLineStatus == 1) {
    pacing.SetPowerSource(status.ACLineStatus == 0 ? PowerSource::kBattery : PowerSource::kMains);
  }
  // The byte after the battery's life percentage (the system status flag,
  // Windows 10 on).
  pacing.SetEnergySaver((status.Reserved1 & SYSTEM_STATUS_FLAG_POWER_SAVING_ON) != 0);
}

bool TellPowerSetting(FramePacing& pacing, const POWERBROADCAST_SETTING* setting) {
  if (setting == nullptr || setting->DataLength < sizeof(DWORD)) return false;
  DWORD value = 0;
  std::memcpy(&value, setting->Data, sizeof value);
  if (IsEqualGUID(setting->PowerSetting, kConsoleDisplayState)) {
    pacing.SetDisplay(static_cast<DisplayState>(value));
  } else if (IsEqualGUID(setting->PowerSetting, kPowerSource)) {
    pacing.SetPowerSource(static_cast<PowerSource>(value));
  } else if (IsEqualGUID(setting->PowerSetting, kPowerSavingStatus) ||
             IsEqualGUID(setting->PowerSetting, kEnergySaverStatus)) {
    pacing.SetEnergySaver(value != 0);
  } else {
    return false;
  }
  return true;
}

}  // namespace

PacingNotifications::PacingNotifications(HWND window, FramePacing& pacing) : window_(window) {
  ReadPowerStatus(pacing);
  for (int i = 0; i < kSettings; ++i) {
    settings_[i] = RegisterPowerSettingNotification(window_, kListenedSettings[i], DEVICE_NOTIFY_WINDOW_HANDLE);
  }
  session_ = WTSRegisterSessionNotification(window_, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

PacingNotifications::~PacingNotifications() {
  if (session_) WTSUnRegisterSessionNotification(window_);
  for (HPOWERNOTIFY setting : settings_) {
    if (setting != nullptr) UnregisterPowerSettingNotification(setting);
  }
}

bool TellPacing(FramePacing& pacing, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WTSSESSION_CHANGE) {
    pacing.OnSessionChange(static_cast<SessionChange>(wParam));
    return true;
  }
  if (message != WM_POWERBROADCAST) return false;
  if (wParam == PBT_POWERSETTINGCHANGE) {
    return TellPowerSetting(pacing, reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
  }
  if (wParam == PBT_APMPOWERSTATUSCHANGE) {
    ReadPowerStatus(pacing);
    return true;
  }
  if (wParam == PBT_APMSUSPEND || wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
    pacing.SetSystemSuspended(wParam == PBT_APMSUSPEND);
    return true;
  }
  return false;
}

void LookAtWindow(HWND window, FramePacing& pacing) {
  pacing.SetWindowMinimised(IsIconic(window) != FALSE);
  bool covered = IsWindowVisible(window) == FALSE;
  if (!covered) {
    const WindowDc dc(window);
    RECT box{};
    covered = dc && GetClipBox(dc.get(), &box) == NULLREGION;
  }
  pacing.SetWindowCovered(covered);
}
