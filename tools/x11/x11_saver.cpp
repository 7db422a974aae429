#include "x11_saver.h"

#include <X11/Xutil.h>
#include <X11/extensions/dpms.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>

#include "diagnostics/debug_log.h"
#include "fire/frame_step.h"
#include "settings/change_periods.h"
#include "settings/loadable_background.h"
#include "settings/settings.h"
#include "termination_signal.h"
#include "x11_desktop_capture.h"
#include "x11_errors.h"
#include "xscreensaver_image.h"

namespace {

constexpr std::int32_t kOwnWidth = 800;
constexpr std::int32_t kOwnHeight = 600;
constexpr auto kFramePeriod = std::chrono::milliseconds(33);
// After a stall (a suspended machine, a stopped process) the fire takes one
// ordinary step instead of racing through every change it missed.
constexpr std::uint32_t kLongestStepMs = 1000;
// DPMS sends no event when the display goes off or on: it is asked this often.
constexpr auto kDisplayLookPeriod = std::chrono::milliseconds(250);

std::string HexId(unsigned long id) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}

}  // namespace

X11Saver::X11Saver(Display* display, const SaverOptions& options, Settings& settings)
    : display_(display), options_(options), settings_(settings), fire_(settings) {
  int event = 0;
  int error = 0;
  hasDpms_ = DPMSQueryExtension(display_, &event, &error) != False && DPMSCapable(display_) != False;
}

X11Saver::~X11Saver() {
  fire_.Release();
  image_.reset();
  source_.reset();
  if (ownWindow_ && window_ != 0) XDestroyWindow(display_, window_);
  XSync(display_, False);
  TakeXError();
}

std::string X11Saver::Open() {
  std::string problem;
  switch (options_.target) {
    case DrawTarget::kOwnWindow:
      problem = OpenOwnWindow();
      break;
    case DrawTarget::kRoot:
      problem = OpenExistingWindow(DefaultRootWindow(display_));
      break;
    case DrawTarget::kWindow:
      problem = OpenExistingWindow(options_.windowId);
      break;
  }
  if (!problem.empty()) return problem;
  return MakeFire(wantedWidth_, wantedHeight_);
}

std::string X11Saver::OpenOwnWindow() {
  // Taken before the window exists, so that the picture shows what lay beneath.
  TakeDesktopPicture();
  const int screen = DefaultScreen(display_);
  visual_ = DefaultVisual(display_, screen);
  depth_ = DefaultDepth(display_, screen);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(display_, screen);
  attributes.event_mask = KeyPressMask | StructureNotifyMask | VisibilityChangeMask;
  window_ = XCreateWindow(display_, RootWindow(display_, screen), 0, 0, kOwnWidth, kOwnHeight, 0, depth_, InputOutput,
                          visual_, CWBackPixel | CWEventMask, &attributes);
  ownWindow_ = true;
  XStoreName(display_, window_, "Hearthmoor");
  XClassHint hint{};
  char name[] = "hearthmoor-x11";
  char windowClass[] = "Hearthmoor";
  hint.res_name = name;
  hint.res_class = windowClass;
  XSetClassHint(display_, window_, &hint);
  deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display_, window_, &deleteWindow_, 1);
  XMapWindow(display_, window_);
  XSync(display_, False);
  if (TakeXError() != Success) return "no window can be made on this display";
  wantedWidth_ = kOwnWidth;
  wantedHeight_ = kOwnHeight;
  return {};
}

std::string X11Saver::OpenExistingWindow(Window window) {
  TakeXError();
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display_, window, &attributes) == 0 || TakeXError() != Success) {
    return "window " + HexId(window) + " does not exist";
  }
  window_ = window;
  visual_ = attributes.visual;
  depth_ = attributes.depth;
  wantedWidth_ = attributes.width;
  wantedHeight_ = attributes.height;
  // Its mapping is told by events from now on.
  pacing_.SetWindowMinimised(attributes.map_state == IsUnmapped);
  // Only the structure: the window's owner keeps its input, and several
  // clients may listen for size changes and destruction at once.
  XSelectInput(display_, window_, StructureNotifyMask | VisibilityChangeMask);
  TakeDesktopPicture();
  return {};
}

void X11Saver::TakeDesktopPicture() {
  if (options_.underXscreensaver) {
    // The screen is already blanked: only xscreensaver knows what it showed.
    desktop_ = GrabXscreensaverImage(display_, window_, visual_, depth_, wantedWidth_, wantedHeight_);
  } else {
    desktop_ = CaptureX11Desktop();
  }
  TraceLog().Log("X11Saver::TakeDesktopPicture %s", desktop_ ? "success" : "no picture");
}

std::string X11Saver::MakeFire(std::int32_t width, std::int32_t height) {
  fire_.Release();
  image_.reset();
  source_.reset();
  width_ = width;
  height_ = height;
  std::string problem;
  image_ = X11FrameImage::Create(display_, window_, visual_, depth_, width, height, true, problem);
  if (!image_) return problem;
  source_ = std::make_unique<NoticingBackgroundSource>(width, height, image_->BitsPerPixel());
  if (desktop_) source_->SetDesktopSnapshot(*desktop_);
  SkipUnloadableBackgrounds(settings_, *source_);

  FireParameters parameters;
  parameters.width = width;
  parameters.height = height;
  parameters.bitsPerPixel = image_->BitsPerPixel();
  if (const int code = fire_.Create(parameters, *source_); code != 0) {
    return "the fire could not be made (code " + std::to_string(code) + ")";
  }
  HandChangePeriods(settings_, fire_);
  TraceLog().Log("X11Saver::MakeFire %d x %d, %d bits per pixel, %s%s", width, height, image_->BitsPerPixel(),
                 image_->UsesSharedMemory() ? "MIT-SHM" : "XPutImage", image_->ConvertsPixels() ? ", converted" : "");
  return {};
}

bool X11Saver::HandleEvents() {
  while (XPending(display_) > 0) {
    XEvent event{};
    XNextEvent(display_, &event);
    switch (event.type) {
      case ConfigureNotify:
        if (event.xconfigure.window == window_) {
          wantedWidth_ = event.xconfigure.width;
          wantedHeight_ = event.xconfigure.height;
        }
        break;
      case DestroyNotify:
        if (event.xdestroywindow.window == window_) {
          if (ownWindow_) window_ = 0;
          return false;
        }
        break;
      case KeyPress:
        if (ownWindow_) return false;
        break;
      case VisibilityNotify:
        if (event.xvisibility.window == window_) {
          pacing_.SetWindowCovered(event.xvisibility.state == VisibilityFullyObscured);
        }
        break;
      case UnmapNotify:
      case MapNotify:
        // An unmapped window shows nothing, as a minimised one does.
        if (event.xany.window == window_) pacing_.SetWindowMinimised(event.type == UnmapNotify);
        break;
      case ClientMessage:
        if (ownWindow_ && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_) return false;
        break;
      default:
        break;
    }
  }
  XID resource = 0;
  const int error = TakeXError(&resource);
  if ((error == BadWindow || error == BadDrawable) && resource == window_) return false;
  return true;
}

void X11Saver::Frame(std::uint32_t elapsedMs) {
  StepFire(fire_, *image_, elapsedMs, "X11Saver::Frame()");
  image_->Present();
}

void X11Saver::WaitUntil(Clock::time_point deadline) {
  XFlush(display_);
  const auto now = Clock::now();
  if (now >= deadline || XPending(display_) > 0) return;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
  pollfd waits[2] = {{ConnectionNumber(display_), POLLIN, 0}, {TerminationFd(), POLLIN, 0}};
  poll(waits, TerminationFd() >= 0 ? 2 : 1, static_cast<int>(wait.count()));
}

void X11Saver::LookAtDisplay(Clock::time_point now) {
  if (!hasDpms_ || now < nextDisplayLook_) return;
  nextDisplayLook_ = now + kDisplayLookPeriod;
  CARD16 level = DPMSModeOn;
  BOOL enabled = False;
  if (DPMSInfo(display_, &level, &enabled) == 0) return;
  // Standby and suspend blank the display as off does.
  pacing_.SetDisplay(enabled != False && level != DPMSModeOn ? DisplayState::kOff : DisplayState::kOn);
}

void X11Saver::Run() {
  const auto start = Clock::now();
  auto last = start;
  auto next = last;
  std::uint32_t frames = 0;
  bool asleep = false;
  while (!TerminationRequested()) {
    if (!HandleEvents()) break;
    if ((wantedWidth_ != width_ || wantedHeight_ != height_) && wantedWidth_ > 0 && wantedHeight_ > 0) {
      if (const std::string problem = MakeFire(wantedWidth_, wantedHeight_); !problem.empty()) {
        std::fprintf(stderr, "hearthmoor-x11: %s\n", problem.c_str());
        break;
      }
    }
    const auto now = Clock::now();
    LookAtDisplay(now);
    if (pacing_.Asleep()) {
      if (!asleep) TraceLog().Log("X11Saver::Run() asleep: %s (frame %u)", pacing_.SleepReason(), frames);
      asleep = true;
      // Events end the sleep; without DPMS nothing else can.
      WaitUntil(hasDpms_ ? nextDisplayLook_ : now + std::chrono::hours(1));
      continue;
    }
    if (asleep) {
      // The time nobody saw still counts for the timed changes, by the clock.
      const auto unseen = std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count();
      fire_.PassUnseen(static_cast<std::uint32_t>(unseen));
      TraceLog().Log("X11Saver::Run() awake after %u ms unseen (frame %u)", static_cast<unsigned>(unseen), frames);
      asleep = false;
      last = next = now;
    }
    if (now >= next) {
      const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count();
      last = now;
      Frame(static_cast<std::uint32_t>(std::clamp<long long>(elapsed, 0, kLongestStepMs)));
      ++frames;
      next += kFramePeriod;
      if (next < now) next = now + kFramePeriod;  // fell behind: do not try to catch up
    }
    WaitUntil(hasDpms_ ? std::min(next, nextDisplayLook_) : next);
  }
  const auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  TraceLog().Log("X11Saver::Run %u frames in %lld ms", frames, static_cast<long long>(ran));
}
