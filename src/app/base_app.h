#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "build_info.h"
#include "diagnostics/handles_win.h"
#include "fire/frame_pacing.h"

class CDXScreen;
class DesktopBackgroundSource;
class FireManager;
class FrameTimer;
class Settings;

// What a mode chooses about its application window and screen before anything
// is made: the window's class, title, style, procedure and place, and the
// screen's depth and kind (exclusive full screen or windowed).
struct WindowChoice {
  std::string className;
  std::string title;
  DWORD style = 0;
  WNDPROC procedure = nullptr;  // DefWindowProc when null
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int bpp = 0;
  bool fullScreen = false;
};

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
  int Run(int argc, char** argv, int framesPerSecond);
  // One frame: fire update, render, copy into the back buffer, flip.
  virtual void DrawFrame();
  // Fills `choice` for the mode. False when the mode cannot start with what it
  // found (no desktop, no usable host window).
  virtual bool ChooseWindow(char** argv, WindowChoice& choice) = 0;
  virtual int Init(int argc, char** argv, int framesPerSecond);
  virtual int MainLoop();
  // Releases the display, the settings and the window, in this order.
  virtual void OnEnd();

  HWND GetWindow() const { return window_.get(); }

  // The application window's procedure for the modes that end with it: closing
  // or destroying it ends the message loop. Closing does not destroy it:
  // DirectDraw needs the window to leave exclusive mode when the screen is
  // released, and the process ends right after OnEnd, taking the window along.
  // What the system says about the display, the session and the power goes to
  // the frame loop's pacing.
  static LRESULT CALLBACK AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  // The settings exist from construction, the rest once Init has made them;
  // all are null after OnEnd.
  Settings* AppSettings() const { return settings_.get(); }
  FireManager* GetFire() const { return fire_.get(); }
  CDXScreen* GetScreen() const { return screen_.get(); }
  FrameTimer* GetFrameTimer() const { return frameTimer_.get(); }
  const WindowChoice& Choice() const { return choice_; }
  // The window the frames are seen in, which the loop looks at to know whether
  // anybody can see them.
  virtual HWND DrawnWindow() const { return window_.get(); }
  // Hands time that no frame was given (the loop slept) to every fire the mode
  // draws, for its timed changes.
  virtual void PassUnseen(std::uint32_t elapsedMs);

  // The bpp for the modes: the display's depth, 32 when that reads 0.
  int ChooseBpp();
  // Finishes the choice of a mode whose window stands on the desktop (full
  // screen, the settings mode's fire): the desktop window must be there; the
  // size, when `choice` has none, is the desktop's; the depth is the desktop's.
  // `mode` names the mode in the log.
  bool ChooseOnDesktop(const char* mode, WindowChoice& choice);
  // A failed start that nobody should be asked about (a preview without a host
  // window) ends quietly instead of with the error box.
  void FailQuietly() { quietFailure_ = true; }
  // Update, Render and CopyToSurface into the back buffer, when there is a fire;
  // a stage that throws is logged under `caller`.
  void StepFrame(const char* caller);
  // The fire's time that the last frame stands for: its share of the frame
  // timer's clock, times the test time scale.
  std::uint32_t FrameMs() const;

 private:
  int InitWindow();
  int InitDirectX();
  int InitFire();
  // Colour depth of the display; 32 when it cannot be asked.
  int GetWindowBpp();
  void ReportError(int code);
  // Puts the loop to sleep or wakes it as the pacing now says, and sets the
  // frame timer to its rate; `frames` (drawn so far) goes into the log lines.
  void FollowPacing(std::uint32_t frames);
  // Destroys the fire, the frame timer, the background source and the screen,
  // in this order; skips what is absent.
  void ReleaseDisplay();
  // ReleaseDisplay, then the settings, the window and the icons.
  void ReleaseAll();

  std::unique_ptr<Settings> settings_;
  WindowChoice choice_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  // Outlives the screen: DirectDraw needs it to leave exclusive mode. OnEnd
  // leaves it to the end of the process (see ReleaseAll).
  UniqueWindow window_;
  std::unique_ptr<DesktopBackgroundSource> desktop_;
  std::unique_ptr<CDXScreen> screen_;
  std::unique_ptr<FireManager> fire_;
  std::unique_ptr<FrameTimer> frameTimer_;
  // How many times as fast as the clock the fire's time runs: 1, unless a test
  // compresses days of timed changes into minutes (HEARTHMOOR_TIME_SCALE).
  std::uint32_t timeScale_ = 1;
  FramePacing pacing_;
  // What the frame loop does now: asleep (no frames, no ticks) or drawing,
  // and the rate it last said in the log.
  bool asleep_ = false;
  int loggedFramesPerSecond_ = FramePacing::kFramesPerSecond;
  int directXError_ = 0;
  bool quietFailure_ = false;
};
