#include "dialogs/update_check.h"

#include "dialogs/update_dialog.h"
#include "settings/settings_controller.h"
#include "update/update_checker.h"

const char* const kUpdateCheckCaption = "Check for updates";
const char* const kNoUpdatesText = "There are no updates.";
const char* const kCannotConnectText = "Can not connect to server.";

int RunUpdateCheck(HWND owner, const std::string& updateUrl, const std::string& version, LinkOpener& opener) {
  int result = -1;
  UpdateChecker checker(updateUrl, version);
  {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    try {
      result = checker.Check();
    } catch (...) {
      result = -1;  // whatever went wrong, the server could not be asked
    }
    SetCursor(previous);
  }
  if (result > 0) {
    UpdateDialog(checker, opener).Run(owner);
  } else if (result == 0) {
    MessageBoxA(owner, kNoUpdatesText, kUpdateCheckCaption, MB_OK | MB_ICONINFORMATION);
  } else {
    MessageBoxA(owner, kCannotConnectText, kUpdateCheckCaption, MB_OK | MB_ICONWARNING);
  }
  return result;
}

int RunUpdateCheck(HWND owner, SettingsController& controller, LinkOpener& opener) {
  return RunUpdateCheck(owner, controller.GetUpdateUrl(), controller.GetVersion(), opener);
}
