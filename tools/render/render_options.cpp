#include "render_options.h"

#include <charconv>

const char kRenderUsage[] =
    "usage: hearthmoor-render --settings DIR [--size WxH | --monitors WxH+X+Y,...] [--bpp 16|24|32] [--frames N]\n"
    "                         [--frame-ms MS]\n"
    "                         [--desktop FILE] [--out DIR] [--png EVERY] [--dump-indices] [--dump-surface]\n"
    "                         [--quiet]\n";

namespace {

// Largest screen side and frame count accepted; beyond them a run is a typing error.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxFrames = 10'000'000;
constexpr std::int64_t kMaxFrameMs = 3'600'000;
// Monitors of one layout, and how far from the primary's corner one may lie.
constexpr std::size_t kMaxMonitors = 16;
constexpr std::int64_t kMaxOffset = 4 * kMaxSide;

std::optional<std::int64_t> Number(const std::string& text, std::int64_t low, std::int64_t high) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || last != end || value < low || value > high) return std::nullopt;
  return value;
}

// "WxH+X+Y": a monitor's size and the place of its top-left corner, each offset
// a signed number ("-1280+0" lies left of the primary).
std::optional<ScreenRect> MonitorArea(const std::string& text) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  const auto firstSign = text.find_first_of("+-", x + 1);
  const auto secondSign = firstSign == std::string::npos ? firstSign : text.find_first_of("+-", firstSign + 1);
  if (secondSign == std::string::npos) return std::nullopt;
  const auto signedNumber = [](const std::string& part) -> std::optional<std::int64_t> {
    if (part.size() < 2) return std::nullopt;
    const auto magnitude = Number(part.substr(1), 0, kMaxOffset);
    if (!magnitude) return std::nullopt;
    return part[0] == '-' ? -*magnitude : *magnitude;
  };
  const auto w = Number(text.substr(0, x), 1, kMaxSide);
  const auto h = Number(text.substr(x + 1, firstSign - x - 1), 1, kMaxSide);
  const auto left = signedNumber(text.substr(firstSign, secondSign - firstSign));
  const auto top = signedNumber(text.substr(secondSign));
  if (!w || !h || !left || !top) return std::nullopt;
  return ScreenRect{static_cast<std::int32_t>(*left), static_cast<std::int32_t>(*top), static_cast<std::int32_t>(*w),
                    static_cast<std::int32_t>(*h)};
}

ParsedOptions Fail(std::string message) { return ParsedOptions{std::nullopt, std::move(message)}; }

}  // namespace

ParsedOptions ParseRenderOptions(const std::vector<std::string>& arguments) {
  RenderOptions options;
  bool haveSettings = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string name = arguments[i];
    std::optional<std::string> inlineValue;
    if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
      inlineValue = name.substr(equals + 1);
      name.resize(equals);
    }
    auto flag = [&](bool& target) -> bool {
      if (inlineValue) return false;
      target = true;
      return true;
    };
    auto value = [&]() -> std::optional<std::string> {
      if (inlineValue) return inlineValue;
      if (i + 1 >= arguments.size()) return std::nullopt;
      return arguments[++i];
    };

    if (name == "--help" || name == "-h") {
      if (!flag(options.help)) return Fail(name + " takes no value");
    } else if (name == "--dump-indices") {
      if (!flag(options.dumpIndices)) return Fail(name + " takes no value");
    } else if (name == "--dump-surface") {
      if (!flag(options.dumpSurface)) return Fail(name + " takes no value");
    } else if (name == "--quiet") {
      if (!flag(options.quiet)) return Fail(name + " takes no value");
    } else if (name == "--settings" || name == "--desktop" || name == "--out") {
      const auto text = value();
      if (!text || text->empty()) return Fail(name + " needs a path");
      if (name == "--settings") {
        options.settingsDir = *text;
        haveSettings = true;
      } else if (name == "--desktop") {
        options.desktopFile = *text;
      } else {
        options.outDir = *text;
      }
    } else if (name == "--size") {
      const auto text = value();
      if (!text) return Fail("--size needs WIDTHxHEIGHT");
      const auto x = text->find_first_of("xX");
      const auto w = x == std::string::npos ? std::nullopt : Number(text->substr(0, x), 1, kMaxSide);
      const auto h = x == std::string::npos ? std::nullopt : Number(text->substr(x + 1), 1, kMaxSide);
      if (!w || !h) return Fail("--size needs WIDTHxHEIGHT, each 1 to 16384, not '" + *text + "'");
      options.width = static_cast<std::int32_t>(*w);
      options.height = static_cast<std::int32_t>(*h);
    } else if (name == "--monitors") {
      const auto text = value();
      if (!text) return Fail("--monitors needs WxH+X+Y,...");
      options.monitors.clear();
      std::size_t start = 0;
      for (;;) {
        const auto comma = text->find(',', start);
        const std::string item = text->substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto area = MonitorArea(item);
        if (!area) return Fail("--monitors needs WxH+X+Y items (sides 1 to 16384), not '" + item + "'");
        options.monitors.push_back(Monitor{*area, options.monitors.empty()});
        if (options.monitors.size() > kMaxMonitors) return Fail("--monitors takes at most 16 monitors");
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
      if (MonitorLayout(options.monitors).Count() != options.monitors.size()) {
        return Fail("--monitors lists the same area twice in '" + *text + "'");
      }
    } else if (name == "--bpp") {
      const auto text = value();
      const auto bpp = text ? Number(*text, 16, 32) : std::nullopt;
      if (!bpp || (*bpp != 16 && *bpp != 24 && *bpp != 32)) {
        return Fail("--bpp must be 16, 24 or 32, not '" + text.value_or("") + "'");
      }
      options.bitsPerPixel = static_cast<int>(*bpp);
    } else if (name == "--frames") {
      const auto text = value();
      const auto frames = text ? Number(*text, 1, kMaxFrames) : std::nullopt;
      if (!frames) return Fail("--frames needs a count from 1 to 10000000, not '" + text.value_or("") + "'");
      options.frames = static_cast<std::int32_t>(*frames);
    } else if (name == "--frame-ms") {
      const auto text = value();
      const auto ms = text ? Number(*text, 0, kMaxFrameMs) : std::nullopt;
      if (!ms) return Fail("--frame-ms needs milliseconds from 0 to 3600000, not '" + text.value_or("") + "'");
      options.frameMs = static_cast<std::uint32_t>(*ms);
    } else if (name == "--png") {
      const auto text = value();
      const auto every = text ? Number(*text, 0, kMaxFrames) : std::nullopt;
      if (!every)
        return Fail("--png needs a frame interval (0 for the last frame only), not '" + text.value_or("") + "'");
      options.pngEvery = static_cast<std::int32_t>(*every);
    } else {
      return Fail("unknown argument '" + arguments[i] + "'");
    }
  }
  if (!haveSettings && !options.help) return Fail("--settings DIR is required");
  return ParsedOptions{options, {}};
}
