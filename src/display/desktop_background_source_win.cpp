#include "display/desktop_background_source_win.h"

#include <optional>

#include "diagnostics/debug_log.h"
#include "diagnostics/handles_win.h"
#include "display/cdx_image_win.h"
#include "display/cdx_screen_win.h"
#include "image/decoded_image.h"
#include "image/network_path.h"

// Destroyed in reverse order: the bitmap leaves the context before either is
// deleted.
struct DesktopBackgroundSource::Snapshot {
  Snapshot(HDC compatible, int width, int height)
      : dc(CreateCompatibleDC(compatible)), bitmap(dc ? CreateCompatibleBitmap(compatible, width, height) : nullptr) {
    if (bitmap) selection.emplace(dc.get(), bitmap.get());
  }

  UniqueDc dc;
  UniqueGdiObject<HBITMAP> bitmap;
  std::optional<SelectedObject> selection;
};

DesktopBackgroundSource::DesktopBackgroundSource()
    : networkReader_([](const std::string& path) { return CDXImage::ReadWholeFile(path.c_str()); }) {}

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
  desktop_.reset();

  HWND desktop = GetDesktopWindow();
  RECT client{};
  GetClientRect(desktop, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  bool copied = false;
  {
    const WindowDc window(desktop);
    if (!window) return false;
    snapshot_ = std::make_unique<Snapshot>(window.get(), width, height);
    copied = snapshot_->selection.has_value() &&
             BitBlt(snapshot_->dc.get(), 0, 0, width, height, window.get(), 0, 0, SRCCOPY) != FALSE;
  }
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
  if (desktop_ != nullptr) return desktop_.get();
  if (snapshot_ == nullptr) return nullptr;
  CDXSurface snapshot;
  if (FAILED(snapshot.Create(screen_, snapshotWidth_, snapshotHeight_))) return nullptr;
  bool copied = false;
  if (const SurfaceDc dc(snapshot); dc) {
    copied = BitBlt(dc.get(), 0, 0, snapshotWidth_, snapshotHeight_, snapshot_->dc.get(), 0, 0, SRCCOPY) != FALSE;
  }
  if (!copied) return nullptr;
  desktop_ = StretchToScreen(snapshot);
  return desktop_.get();
}

CDXSurface* DesktopBackgroundSource::LoadPicture(const std::string& fileName) {
  picture_.reset();
  CDXSurface file;
  DecodeError why = DecodeError::kUnreadable;
  std::uint64_t size = 0;
  bool loaded = false;
  if (IsNetworkPath(fileName)) {
    const std::optional<bool> network = LoadNetworkPicture(fileName, file, why, size);
    if (!network) {
      TraceLog().Log(
          "DesktopBackgroundSource::Load '%s' is not read from the network yet: the next background meanwhile",
          fileName.c_str());
      return nullptr;
    }
    loaded = *network;
  } else {
    loaded = file.LoadImage(screen_, fileName.c_str(), CDXMEM_SYSTEMONLY, &why) == 1;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!loaded && GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &attributes)) {
      size = static_cast<std::uint64_t>(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
    }
  }
  if (!loaded) {
    TraceLog().Log("DesktopBackgroundSource::Load '%s' cannot be shown: %s", fileName.c_str(),
                   DescribeDecodeError(why, size).c_str());
    return nullptr;
  }
  picture_ = StretchToScreen(file);
  return picture_.get();
}

std::optional<bool> DesktopBackgroundSource::LoadNetworkPicture(const std::string& fileName, CDXSurface& file,
                                                                DecodeError& why, std::uint64_t& size) {
  std::optional<FileBytes> read = networkReader_.Fetch(fileName, kNetworkReadDeadline);
  if (!read) return std::nullopt;
  size = read->bytes.size();
  if (read->error) {
    why = *read->error;
    return false;
  }
  return file.LoadImageFromMemory(screen_, read->bytes, CDXMEM_SYSTEMONLY, &why) == 1;
}

std::unique_ptr<CDXSurface> DesktopBackgroundSource::StretchToScreen(CDXSurface& source) {
  auto fitted = std::make_unique<CDXSurface>();
  if (FAILED(fitted->Create(screen_, screen_->GetWidth(), screen_->GetHeight()))) return nullptr;
  if (FAILED(source.Blt(fitted.get(), nullptr, nullptr))) return nullptr;
  return fitted;
}

void DesktopBackgroundSource::ReleaseSnapshot() {
  snapshot_.reset();
  snapshotWidth_ = 0;
  snapshotHeight_ = 0;
}

void DesktopBackgroundSource::Release() {
  desktop_.reset();
  picture_.reset();
  ReleaseSnapshot();
}
