// A plain window for the end-to-end tests to hand to hearthmoor-x11 with
// -window-id: prints its id in decimal, then lives until it is killed.
#include <X11/Xlib.h>

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
  const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0,
                                            BlackPixel(display, screen), BlackPixel(display, screen));
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
