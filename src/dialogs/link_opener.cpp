#include "dialogs/link_opener.h"

#include <windows.h>

#include <shellapi.h>

bool ShellLinkOpener::Open(const std::string& target) {
  // No box of the shell's own when the target cannot be opened: the caller
  // decides what the user is told.
  SHELLEXECUTEINFOA open{};
  open.cbSize = sizeof open;
  open.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  open.lpVerb = "open";
  open.lpFile = target.c_str();
  open.nShow = SW_SHOWNORMAL;
  return ShellExecuteExA(&open) != FALSE;
}

LinkOpener& ShellOpener() {
  static ShellLinkOpener opener;
  return opener;
}
