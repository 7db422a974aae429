#include "display/desktop_background_source_win.h"

#include <memory>

#include "diagnostics/debug_log.h"
#include "display/cdx_screen_win.h"
#include "image/decoded_image.h"

DesktopBackgroundSource::~DesktopBackgroundSource() { Release(); }

bool DesktopBackgroundSource::IsDesktopName(const std::string& name) {
  static constexpr char kDesktop[] = "desktop";
  if (name.size() != sizeof kDesktop - 1) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    // The C locale's lower case: only A-Z change, whatever the user's locale.
    const char c = name[i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != kDesktop[i]) return false;
  }
  return true;
}

bool DesktopBackgroundSource::Capture() {
  ReleaseSnapshot();
  // A new snapshot makes the screen-sized copy of the old one stale.
  delete desktop_;
  desktop_ = nullptr;

  HWND desktop = GetDesktopWindow();
  RECT client{};
  GetClientRect(desktop, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  HDC windowDc = ::GetDC(desktop);
  if (windowDc == nullptr) return false;
  memoryDc_ = CreateCompatibleDC(windowDc);
  snapshot_ = memoryDc_ != nullptr ? CreateCompatibleBitmap(windowDc, width, height) : nullptr;
  bool copied = false;
  if (snapshot_ != nullptr) {
    previousBitmap_ = SelectObject(memoryDc_, snapshot_);
    copied = BitBlt(memoryDc_, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != FALSE;
  }
  ::ReleaseDC(desktop, windowDc);
  if (!copied) {
    ReleaseSnapshot();
    return false;
  }
  snapshotWidth_ = width;
  snapshotHeight_ = height;
  return true;
}

CDXSurface* DesktopBackgroundSource::Load(const std::string& name) {
  if (screen_ == nullptr) return nullptr;
  return IsDesktopName(name) ? LoadDesktop() : LoadPicture(name);
}

CDXSurface* DesktopBackgroundSource::LoadDesktop() {
  if (desktop_ != nullptr) return desktop_;
  if (memoryDc_ == nullptr) return nullptr;
  CDXSurface snapshot;
  if (FAILED(snapshot.Create(screen_, snapshotWidth_, snapshotHeight_))) return nullptr;
  HDC dc = snapshot.GetDC();
  if (dc == nullptr) return nullptr;
  const bool copied = BitBlt(dc, 0, 0, snapshotWidth_, snapshotHeight_, memoryDc_, 0, 0, SRCCOPY) != FALSE;
  snapshot.ReleaseDC();
  if (!copied) return nullptr;
  desktop_ = StretchToScreen(snapshot);
  return desktop_;
}

CDXSurface* DesktopBackgroundSource::LoadPicture(const std::string& fileName) {
  delete picture_;
  picture_ = nullptr;
  CDXSurface file;
  DecodeError why = DecodeError::kUnreadable;
  if (file.LoadImage(screen_, fileName.c_str(), CDXMEM_SYSTEMONLY, &why) != 1) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    std::uint64_t size = 0;
    if (GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &attributes)) {
      size = static_cast<std::uint64_t>(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
    }
    TraceLog().Log("DesktopBackgroundSource::Load '%s' cannot be shown: %s", fileName.c_str(),
                   DescribeDecodeError(why, size).c_str());
    return nullptr;
  }
  picture_ = StretchToScreen(file);
  return picture_;
}

CDXSurface* DesktopBackgroundSource::StretchToScreen(CDXSurface& source) {
  auto fitted = std::make_unique<CDXSurface>();
  if (FAILED(fitted->Create(screen_, screen_->GetWidth(), screen_->GetHeight()))) return nullptr;
  if (FAILED(source.Blt(fitted.get(), nullptr, nullptr))) return nullptr;
  return fitted.release();
}

void DesktopBackgroundSource::ReleaseSnapshot() {
  if (memoryDc_ != nullptr) {
    if (previousBitmap_ != nullptr) SelectObject(memoryDc_, previousBitmap_);
    DeleteDC(memoryDc_);
  }
  if (snapshot_ != nullptr) DeleteObject(snapshot_);
  memoryDc_ = nullptr;
  snapshot_ = nullptr;
  previousBitmap_ = nullptr;
  snapshotWidth_ = 0;
  snapshotHeight_ = 0;
}

void DesktopBackgroundSource::Release() {
  delete desktop_;
  desktop_ = nullptr;
  delete picture_;
  picture_ = nullptr;
  ReleaseSnapshot();
}
