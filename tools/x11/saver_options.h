#pragma once
#include <optional>
#include <string>
#include <vector>

// Where the saver draws.
enum class DrawTarget {
  kOwnWindow,  // an 800 x 600 window of its own, closed by a key or the window manager
  kRoot,       // the root window of the default screen
  kWindow,     // a window of another program, by id
};

struct SaverOptions {
  DrawTarget target = DrawTarget::kOwnWindow;
  unsigned long windowId = 0;  // for kWindow
  // The window was handed over by xscreensaver (XSCREENSAVER_WINDOW): the desktop
  // picture then comes through xscreensaver's image grabber.
  bool underXscreensaver = false;
  std::string settingsDir;  // empty: the user's configuration folder
  bool help = false;
};

struct ParsedSaverOptions {
  std::optional<SaverOptions> options;
  std::string error;  // one line, when options is empty
};

// Reads the arguments (without the program name); each option may be written
// with one dash or two, as xscreensaver's own hacks accept. `xscreensaverWindow`
// is the value of XSCREENSAVER_WINDOW, or null.
//
// Precedence: -root, then -window-id, then XSCREENSAVER_WINDOW, then a window of
// its own. -root under xscreensaver means xscreensaver's window, which stands in
// for the root there (xscreensaver starts every hack with -root); an explicit
// -window keeps the saver in its own window even when the variable is set.
ParsedSaverOptions ParseSaverOptions(const std::vector<std::string>& arguments, const char* xscreensaverWindow);

// A window id in decimal or in hexadecimal after "0x"; X ids are non-zero and
// fit in 29 bits.
std::optional<unsigned long> ParseWindowId(const std::string& text);

extern const char* const kSaverUsage;
