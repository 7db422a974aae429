#pragma once
#include <memory>

#include "app/base_app.h"

class OtherMonitors;

// The saver proper: exclusive full screen at the desktop's size and depth. Any
// key ends it; the mouse does not, so a nudged desk does not stop the fire.
// Every other monitor burns too (OtherMonitors), its frames beside the primary's.
class BigApp : public BaseApp {
 public:
  BigApp();
  ~BigApp() override;
  bool ChooseWindow(char** argv, WindowChoice& choice) override;
  int Init(int argc, char** argv, int framesPerSecond) override;
  void OnEnd() override;
  void DrawFrame() override;

  // The full-screen window's procedure: a key press closes the window, and its
  // destruction ends the message loop with exit code 0.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  void PassUnseen(std::uint32_t elapsedMs) override;

 private:
  bool cursorHidden_ = false;
  // Null with one monitor.
  std::unique_ptr<OtherMonitors> others_;
};
