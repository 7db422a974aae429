// A plain window for the end-to-end tests to hand to hearthmoor-x11 with
// -window-id: prints its id in decimal, then lives until it is killed.
// test_window [WIDTH HEIGHT [argb]]: "argb" makes it on a depth-32 visual.
// test_window dpms off|on: switches the display off or on through DPMS and
// ends (exit 77 when the server has no DPMS).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/dpms.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int ForceDpms(Display* display, const char* level) {
  int event = 0;
  int error = 0;
  if (!DPMSQueryExtension(display, &event, &error) || !DPMSCapable(display)) return 77;
  DPMSEnable(display);
  DPMSForceLevel(display, std::strcmp(level, "off") == 0 ? DPMSModeOff : DPMSModeOn);
  XSync(display, False);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "dpms") == 0) {
    Display* display = XOpenDisplay(nullptr);
    return display == nullptr ? 1 : ForceDpms(display, argv[2]);
  }
  const unsigned width = argc > 2 ? static_cast<unsigned>(std::atoi(argv[1])) : 640;
  const unsigned height = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 480;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fputs("test_window: no display\n", stderr);
    return 1;
  }
  const int screen = DefaultScreen(display);
  XVisualInfo argb{};
  Window window = 0;
  if (argc > 3 && XMatchVisualInfo(display, screen, 32, TrueColor, &argb)) {
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, RootWindow(display, screen), argb.visual, AllocNone);
    window = XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, 32, InputOutput, argb.visual,
                           CWColormap | CWBorderPixel | CWBackPixel, &attributes);
  } else {
    window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0,
                                 BlackPixel(display, screen), BlackPixel(display, screen));
  }
  XStoreName(display, window, "hearthmoor test window");
  XMapWindow(display, window);
  XSync(display, False);
  std::printf("%lu\n", window);
  std::fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
  }
}
