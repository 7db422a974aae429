#include "saver_options.h"

#include <cctype>

const char* const kSaverUsage =
    "usage: hearthmoor-x11 [-root | -window-id ID | -window] [-settings DIR]\n"
    "  -root           draw on the root window (xscreensaver's window when it runs the saver)\n"
    "  -window-id ID   draw into the window ID (decimal or 0x hex)\n"
    "  -window         a window of its own, 800 x 600 (the default); a key press closes it\n"
    "  -settings DIR   the settings folder (default $XDG_CONFIG_HOME/hearthmoor, else ~/.config/hearthmoor)\n"
    "Without -root or -window-id the window named by XSCREENSAVER_WINDOW is used when it is set.\n";

std::optional<unsigned long> ParseWindowId(const std::string& text) {
  constexpr unsigned long kMaxXid = 0x1FFFFFFFul;
  std::size_t at = 0;
  unsigned base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    at = 2;
    base = 16;
  }
  if (at == text.size()) return std::nullopt;
  unsigned long value = 0;
  for (; at < text.size(); ++at) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    unsigned digit = 0;
    if (std::isdigit(c)) {
      digit = c - '0';
    } else if (base == 16 && std::isxdigit(c)) {
      digit = static_cast<unsigned>(std::tolower(c) - 'a' + 10);
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > kMaxXid) return std::nullopt;
  }
  if (value == 0) return std::nullopt;
  return value;
}

namespace {

// "-root" and "--root" alike; the name without its dashes, or empty.
std::string OptionName(const std::string& argument) {
  if (argument.size() > 2 && argument.compare(0, 2, "--") == 0) return argument.substr(2);
  if (argument.size() > 1 && argument[0] == '-') return argument.substr(1);
  return {};
}

ParsedSaverOptions Error(const std::string& text) { return {std::nullopt, text}; }

}  // namespace

ParsedSaverOptions ParseSaverOptions(const std::vector<std::string>& arguments, const char* xscreensaverWindow) {
  SaverOptions options;
  bool root = false;
  bool ownWindow = false;
  std::optional<unsigned long> windowId;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string name = OptionName(arguments[i]);
    const bool hasValue = i + 1 < arguments.size();
    if (name == "root") {
      root = true;
    } else if (name == "window") {
      ownWindow = true;
    } else if (name == "window-id") {
      if (!hasValue) return Error("-window-id needs a window id");
      windowId = ParseWindowId(arguments[++i]);
      if (!windowId) return Error("'" + arguments[i] + "' is not a window id (decimal or 0x hex)");
    } else if (name == "settings") {
      if (!hasValue || arguments[i + 1].empty()) return Error("-settings needs a folder");
      options.settingsDir = arguments[++i];
    } else if (name == "h" || name == "help") {
      options.help = true;
    } else {
      return Error("unknown argument '" + arguments[i] + "'");
    }
  }

  std::optional<unsigned long> handedOver;
  const bool variableSet = xscreensaverWindow != nullptr && *xscreensaverWindow != '\0';
  if (variableSet) {
    handedOver = ParseWindowId(xscreensaverWindow);
    // Only an error when the variable decides where to draw.
    if (!handedOver && !windowId && !ownWindow) {
      return Error(std::string("XSCREENSAVER_WINDOW '") + xscreensaverWindow + "' is not a window id");
    }
  }

  if (root && handedOver) {
    options.target = DrawTarget::kWindow;
    options.windowId = *handedOver;
    options.underXscreensaver = true;
  } else if (root) {
    options.target = DrawTarget::kRoot;
  } else if (windowId) {
    options.target = DrawTarget::kWindow;
    options.windowId = *windowId;
  } else if (handedOver && !ownWindow) {
    options.target = DrawTarget::kWindow;
    options.windowId = *handedOver;
    options.underXscreensaver = true;
  }
  return {options, {}};
}
