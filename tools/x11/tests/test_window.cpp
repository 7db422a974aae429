// A plain window for the end-to-end tests to hand to hearthmoor-x11 with
// -window-id: prints its id in decimal, then lives until it is killed.
// test_window [WIDTH HEIGHT [argb]]: "argb" makes it on a depth-32 visual.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
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
