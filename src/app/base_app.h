#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "build_info.h"
#include "update/update_address.h"

class CDXScreen;
class DesktopBackgroundSource;
class FireManager;
class FrameTimer;
class Settings;
struct FireParameters;

// The application object every screen-saver mode derives from. It owns what a
// running saver needs (settings, window, DirectDraw screen, desktop snapshot,
// fire, frame timer) and its Run is the whole life of the process once the mode
// is chosen: initialise, loop, clean up; a failed initialisation is shown to the
// user with advice and the offer of an error report.
//
// Initialisation steps return 0 or a negative code (app/error_messages.h) that
// travels unchanged to Run. Every step writes a trace line.
//
// One thread (full screen and preview). OnEnd tolerates any partial Init.
class BaseApp {
 public:
  static constexpr const char* kProductName = "Hearthmoor";
  static constexpr const char* kVersion = HEARTHMOOR_VERSION_TEXT;

  // Creates and loads the settings (which makes the settings folder the current
  // directory) and starts a fresh log.txt there.
  BaseApp();
  virtual ~BaseApp();
  BaseApp(const BaseApp&) = delete;
  BaseApp& operator=(const BaseApp&) = delete;

  // The main loop's exit code, or 0 after a failed initialisation.
  virtual int Run(int argc, char** argv, int framesPerSecond);
  // One frame: fire update, render, copy into the back buffer, flip.
  virtual void OnMain();
  // Fills window and screen parameters for the mode. False when the mode cannot
  // start with what it found (no desktop, no usable host window).
  virtual bool SetGameParameter(char** argv) = 0;
  virtual int Init(int argc, char** argv, int framesPerSecond);
  virtual int InitFire();
  virtual int InitDirectX();
  virtual int InitWindow();
  virtual int MainLoop();
  virtual void OnEnd();

  // Colour depth of the display; 32 when it cannot be asked.
  int GetWindowBpp();
  void ReportError(int code);

  const char* GetProductName() const { return kProductName; }
  const char* GetVersion() const { return kVersion; }
  // The update address: HEARTHMOOR_UPDATE_URL when set, else the build's default.
  const char* GetUpdateUrl() const { return updateUrl_.c_str(); }
  const char* GetFpsText() const { return fpsText_; }
  HWND GetWindow() const { return window_; }

 protected:
  std::string updateUrl_ = UpdateAddress();
  std::string productName_ = kProductName;
  std::string version_ = kVersion;
  CDXScreen* screen_ = nullptr;
  FireManager* fire_ = nullptr;
  FireParameters* fireParams_ = nullptr;
  FrameTimer* frameTimer_ = nullptr;
  DesktopBackgroundSource* desktop_ = nullptr;
  Settings* settings_ = nullptr;
  HWND window_ = nullptr;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int bpp_ = 0;
  int fullScreen_ = 0;
  WNDPROC windowProc_ = nullptr;
  DWORD windowStyle_ = 0;
  std::string className_;
  std::string windowTitle_;
  char fpsText_[48] = "fps:";
  std::uint8_t running_ = 0;
  std::uint8_t showFps_ = 0;
  std::uint32_t lastFpsTime_ = 0;
  std::uint32_t now_ = 0;
  std::uint32_t frames_ = 0;
  float fps_ = 0.0f;
  int directXError_ = 0;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;

  // A failed start that nobody should be asked about (a preview without a host
  // window) ends quietly instead of with the error box.
  bool quietFailure_ = false;

  // Frame-rate bookkeeping shared by the loops: called after each frame with the
  // frame timer's reading.
  void CountFrame(std::uint32_t now);
  // The bpp for the modes: the display's depth, 32 when that reads 0.
  int ChooseBpp();

 private:
  // Destroys the fire, the frame timer, the background source and the screen,
  // in this order; skips what is absent.
  void ReleaseDisplay();
  // ReleaseDisplay, then the settings and the icons: what OnEnd destroys.
  void ReleaseAll();
};
