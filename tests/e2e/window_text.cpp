// Prints the texts of a top-level window and of its child controls, so that a
// test can read what a message box of another process says.
//
// Usage: window_text CAPTION SECONDS [PRESS_ID]
// Waits up to SECONDS for a visible window titled CAPTION, then prints
// "caption: <text>" and one "control <class>: <text>" line per child control.
// With PRESS_ID it then presses that button of the window (a posted command, as
// a click gives). Exit status 0 when found, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  char className[64] = {};
  GetClassNameA(control, className, sizeof className);
  char text[1024] = {};
  GetWindowTextA(control, text, sizeof text);
  std::printf("control %s: %s\n", className, text);
  return TRUE;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_text CAPTION SECONDS [PRESS_ID]\n");
    return 64;
  }
  const DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2])) * 1000;
  for (;;) {
    HWND window = FindWindowA(nullptr, argv[1]);
    if (window != nullptr && IsWindowVisible(window)) {
      char caption[256] = {};
      GetWindowTextA(window, caption, sizeof caption);
      std::printf("caption: %s\n", caption);
      EnumChildWindows(window, PrintControl, 0);
      std::fflush(stdout);
      if (argc > 3) {
        const int id = std::atoi(argv[3]);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
      }
      return 0;
    }
    if (static_cast<LONG>(until - GetTickCount()) <= 0) return 1;
    Sleep(100);
  }
}
