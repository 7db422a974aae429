#pragma once
#include "app/base_app.h"

// The saver proper: exclusive full screen at the desktop's size and depth. Any
// key ends it; the mouse does not, so a nudged desk does not stop the fire.
class BigApp : public BaseApp {
 public:
  bool ChooseWindow(char** argv, WindowChoice& choice) override;
  int Init(int argc, char** argv, int framesPerSecond) override;
  void OnEnd() override;

  // The full-screen window's procedure: a key press closes the window, and its
  // destruction ends the message loop with exit code 0.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool cursorHidden_ = false;
};
