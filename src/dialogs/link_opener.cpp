#include "dialogs/link_opener.h"

#include <windows.h>

#include <shellapi.h>

bool ShellLinkOpener::Open(const std::string& target) {
  // ShellExecute answers a pseudo-handle; values above 32 mean success.
  const HINSTANCE result = ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

LinkOpener& ShellOpener() {
  static ShellLinkOpener opener;
  return opener;
}
