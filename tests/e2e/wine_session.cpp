// Holds a Wine session open until it is killed.
//
// Wine's desktop process ends about a second after the last window of the
// session has gone, and its end paints the X root window black. A saver started
// after that captures a black desktop, finds no edge to set on fire and shows a
// dark window: whether it started in time was a race between a test's last
// `reg` or driver call and the saver's start. The end-to-end tests start one of
// these after showing their picture, so that one desktop process lasts the
// whole test. It owns a hidden window because a program without one (a console
// program) does not keep the desktop process alive.
#include <windows.h>

int main() {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (window == nullptr) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
