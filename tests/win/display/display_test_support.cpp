#include "win/display/display_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "diagnostics/debug_log.h"
#include "support/temp_dir.h"

namespace {
// Trace lines of tests that do not look at them go to a temporary folder, not
// into whatever folder the tests were started from.
class TraceLogEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::make_unique<TempDir>();
    TraceLog().SetFileName((dir_->path() / "log.txt").string().c_str());
  }
  void TearDown() override { dir_.reset(); }

 private:
  std::unique_ptr<TempDir> dir_;
};
[[maybe_unused]] ::testing::Environment* const g_traceLogEnvironment =
    ::testing::AddGlobalTestEnvironment(new TraceLogEnvironment);

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

const char* RegisterTestClass() {
  static const char* const name = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &TestWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "HearthmoorDisplayTest";
    RegisterClassA(&windowClass);
    return "HearthmoorDisplayTest";
  }();
  return name;
}

int ChannelBits(DWORD mask, int& shift) {
  shift = 0;
  if (mask == 0) return 0;
  while ((mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  int bits = 0;
  while (mask & 1) {
    mask >>= 1;
    ++bits;
  }
  return bits;
}

std::uint32_t Expand(DWORD value, DWORD mask) {
  int shift = 0;
  const int bits = ChannelBits(mask, shift);
  if (bits == 0) return 0;
  const DWORD channel = (value & mask) >> shift;
  return static_cast<std::uint32_t>(channel * 255 / ((1u << bits) - 1));
}

DWORD Pack(std::uint32_t channel, DWORD mask) {
  int shift = 0;
  const int bits = ChannelBits(mask, shift);
  return (static_cast<DWORD>(channel * ((1u << bits) - 1) / 255) << shift) & mask;
}
}  // namespace

TestWindow::TestWindow(int width, int height) {
  window_ = CreateWindowExA(0, RegisterTestClass(), "display test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width,
                            height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TestWindow::~TestWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

WindowedScreen::WindowedScreen(int width, int height, CDXScreen::Clock clock)
    : previousLogName_(TraceLog().FileName()), window_(width, height) {
  TraceLog().SetFileName((dir_ / "log.txt").string().c_str());
  screen_ = std::make_unique<CDXScreen>(clock);
  createResult_ = screen_->CreateWindowed(window_.handle(), width, height);
}

WindowedScreen::~WindowedScreen() {
  screen_.reset();
  TraceLog().SetFileName(previousLogName_.c_str());
}

std::string WindowedScreen::LogText() const { return ReadFileBytes(dir_ / "log.txt"); }

std::uint32_t ReadRgb(CDXSurface& surface, int x, int y) {
  if (surface.Lock() < 0) return 0xDEADBEEF;
  const DDPIXELFORMAT& format = surface.GetDescriptor().ddpfPixelFormat;
  const int bytes = surface.BitsPerPixel() / 8;
  const std::uint8_t* pixel = surface.FirstPixel() + y * surface.PitchBytes() + x * bytes;
  DWORD value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<DWORD>(pixel[i]) << (8 * i);
  surface.Unlock();
  return (Expand(value, format.dwRBitMask) << 16) | (Expand(value, format.dwGBitMask) << 8) |
         Expand(value, format.dwBBitMask);
}

RgbPixels ReadAllRgb(LPDIRECTDRAWSURFACE7 surface) {
  RgbPixels out;
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  if (surface == nullptr || FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) return out;
  const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
  const int bytes = static_cast<int>(format.dwRGBBitCount / 8);
  out.width = static_cast<int>(desc.dwWidth);
  out.height = static_cast<int>(desc.dwHeight);
  for (int y = 0; y < out.height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch;
    for (int x = 0; x < out.width; ++x) {
      DWORD value = 0;
      for (int i = 0; i < bytes; ++i) value |= static_cast<DWORD>(row[x * bytes + i]) << (8 * i);
      out.rgb.push_back((Expand(value, format.dwRBitMask) << 16) | (Expand(value, format.dwGBitMask) << 8) |
                        Expand(value, format.dwBBitMask));
    }
  }
  surface->Unlock(nullptr);
  return out;
}

DWORD PixelValue(const CDXSurface& surface, std::uint32_t rgb) {
  const DDPIXELFORMAT& format = surface.GetDescriptor().ddpfPixelFormat;
  return Pack((rgb >> 16) & 0xFF, format.dwRBitMask) | Pack((rgb >> 8) & 0xFF, format.dwGBitMask) |
         Pack(rgb & 0xFF, format.dwBBitMask);
}

bool NearColour(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(difference) > tolerance) return false;
  }
  return true;
}

std::filesystem::path TestDataFile(const std::string& name) {
  // The source root is a Unix path; Wine shows the Unix root as drive Z:.
  std::string root = HEARTHMOOR_SOURCE_DIR;
  if (!root.empty() && root[0] == '/') root = "Z:" + root;
  return std::filesystem::path(root) / "tests" / "data" / "win" / name;
}
