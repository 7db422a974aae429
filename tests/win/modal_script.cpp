#include "win/modal_script.h"

#include <string_view>
#include <utility>

namespace {

std::function<void(HWND)> pendingScript;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (IsWindowVisible(window) && std::string_view(className) == "#32770") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK StartScript(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;  // not up yet: the timer fires again
  KillTimer(nullptr, timer);
  auto script = std::exchange(pendingScript, {});
  script(dialog);
}

}  // namespace

INT_PTR RunModalScript(const std::function<INT_PTR()>& open, const std::function<void(HWND)>& script) {
  pendingScript = script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, StartScript);
  const INT_PTR result = open();
  KillTimer(nullptr, timer);
  pendingScript = {};
  return result;
}

void PumpMessages(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

void SendMouse(HWND window, UINT message, int x, int y) {
  const WPARAM buttons = message == WM_LBUTTONUP ? 0 : (message == WM_LBUTTONDOWN ? MK_LBUTTON : 0);
  SendMessageA(window, message, buttons, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}
