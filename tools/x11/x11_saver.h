#pragma once
#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "fire/fire_manager.h"
#include "fire/frame_pacing.h"
#include "image/decoded_image.h"
#include "noticing_background_source.h"
#include "saver_options.h"
#include "x11_frame_image.h"

class Settings;

// The saver on one X display: finds or makes the window it draws into, takes
// the desktop picture before the first frame, and runs the fire at 30 frames a
// second until it is asked to end (a termination signal; in its own window also
// a key press or the window manager's close), or its window is destroyed.
// A change of the window's size makes the fire anew at the new size.
// Nobody sees the fire while its window is wholly covered or unmapped, or the
// display is off by DPMS (where the server has the extension): then it sleeps,
// drawing nothing, and the timed changes go on by the clock.
class X11Saver {
 public:
  // Neither the display nor the settings are owned; both outlive the saver.
  X11Saver(Display* display, const SaverOptions& options, Settings& settings);
  ~X11Saver();
  X11Saver(const X11Saver&) = delete;
  X11Saver& operator=(const X11Saver&) = delete;

  // Finds or makes the window, takes the desktop picture and makes the fire.
  // One line naming what went wrong, or empty.
  std::string Open();
  // The frame loop; returns when the saver should end.
  void Run();

 private:
  using Clock = std::chrono::steady_clock;

  std::string OpenOwnWindow();
  std::string OpenExistingWindow(Window window);
  void TakeDesktopPicture();
  std::string MakeFire(std::int32_t width, std::int32_t height);
  // Handles every queued event; false when the saver should end.
  bool HandleEvents();
  void Frame(std::uint32_t elapsedMs);
  // Sleeps until the deadline, or until an event or a termination signal comes.
  void WaitUntil(Clock::time_point deadline);
  // Asks the server's DPMS whether the display is on, when a look is due.
  void LookAtDisplay(Clock::time_point now);

  Display* display_;
  SaverOptions options_;
  Settings& settings_;
  Window window_ = 0;
  bool ownWindow_ = false;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int32_t wantedWidth_ = 0;
  std::int32_t wantedHeight_ = 0;
  Atom deleteWindow_ = 0;
  FramePacing pacing_;
  bool hasDpms_ = false;
  Clock::time_point nextDisplayLook_{};
  std::optional<DecodedImage> desktop_;
  FireManager fire_;
  std::unique_ptr<NoticingBackgroundSource> source_;
  std::unique_ptr<X11FrameImage> image_;
};
