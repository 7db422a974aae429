#pragma once
#include "app/base_app.h"

// The preview inside the host's display-settings window. The fire is drawn into
// a windowed DirectDraw back buffer on the application's own hidden window and
// copied each frame by GDI into a child window of the host's window given as
// "/p HWND". The run ends when the host destroys that child window.
class SmallApp : public BaseApp {
 public:
  SmallApp();
  ~SmallApp() override;

  void DrawFrame() override;
  bool ChooseWindow(char** argv, WindowChoice& choice) override;
  int Init(int argc, char** argv, int framesPerSecond) override;
  void OnEnd() override;
  // The preview child the frames are copied into; the own window stays hidden.
  HWND DrawnWindow() const override { return previewWindow_ != nullptr ? previewWindow_ : BaseApp::DrawnWindow(); }

  // The one SmallApp of the process, which the preview window's procedure uses.
  static SmallApp* Current() { return current_; }

  // The preview child window's procedure: when the host destroys it, the loop
  // ends and the hidden window is closed.
  static LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The host window handle in the command line's decimal form (leading digits,
  // as atoi reads them, but without its overflow); 0 when missing or no number.
  static HWND ParseHostWindow(const char* text);

 private:
  int InitPreviewWnd();
  void CopyToPreview();

  HWND hostWindow_ = nullptr;
  // A child of the host's window: the host destroys it, and with it ends the run.
  HWND previewWindow_ = nullptr;

  static SmallApp* current_;
};
