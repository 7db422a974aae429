#include "xscreensaver_image.h"

#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "termination_signal.h"
#include "x11_desktop_capture.h"
#include "x11_errors.h"

#ifndef HEARTHMOOR_XSCREENSAVER_HACK_DIR
#define HEARTHMOOR_XSCREENSAVER_HACK_DIR "/usr/libexec/xscreensaver"
#endif

namespace {

constexpr const char* kGetimage = "xscreensaver-getimage";

bool Executable(const std::string& path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

std::string Hex(unsigned long id) {
  std::ostringstream text;
  text << "0x" << std::hex << id;
  return text.str();
}

// The helper's exit status, or -1 when it failed to run, took too long or the
// saver is ending (then the helper is ended too).
int RunHelper(const std::string& program, Window window, Pixmap pixmap, int timeoutMs) {
  const std::string windowText = Hex(window);
  const std::string pixmapText = Hex(pixmap);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    // It names the picture it chose on stdout; the saver has no use for that.
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, STDOUT_FILENO);
    execl(program.c_str(), program.c_str(), windowText.c_str(), pixmapText.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0) return -1;
    if (TerminationRequested() || std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGTERM);
      waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace

std::string FindXscreensaverGetimage() {
  if (const char* path = std::getenv("PATH")) {
    std::istringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
      if (!folder.empty() && Executable(folder + "/" + kGetimage)) return folder + "/" + kGetimage;
    }
  }
  const std::string known = std::string(HEARTHMOOR_XSCREENSAVER_HACK_DIR) + "/" + kGetimage;
  return Executable(known) ? known : std::string();
}

std::optional<DecodedImage> ReadDrawable(Display* display, Drawable drawable, Visual* visual, int width, int height) {
  if (visual == nullptr || width <= 0 || height <= 0) return std::nullopt;
  TakeXError();
  XImage* image = XGetImage(display, drawable, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                            AllPlanes, ZPixmap);
  if (image == nullptr || TakeXError() != Success) {
    if (image != nullptr) XDestroyImage(image);
    return std::nullopt;
  }
  DecodedImage picture =
      PictureFromXImage(image, width, height, visual->red_mask, visual->green_mask, visual->blue_mask);
  XDestroyImage(image);
  return picture;
}

std::optional<DecodedImage> GrabXscreensaverImage(Display* display, Window window, Visual* visual, int depth, int width,
                                                  int height, int timeoutMs) {
  const std::string program = FindXscreensaverGetimage();
  if (program.empty() || width <= 0 || height <= 0) return std::nullopt;
  const Pixmap pixmap = XCreatePixmap(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                      static_cast<unsigned>(depth));
  // The helper is another client: the pixmap must exist on the server first.
  XSync(display, False);
  std::optional<DecodedImage> picture;
  if (TakeXError() == Success && RunHelper(program, window, pixmap, timeoutMs) == 0) {
    picture = ReadDrawable(display, pixmap, visual, width, height);
  }
  XFreePixmap(display, pixmap);
  XSync(display, False);
  TakeXError();
  return picture;
}
