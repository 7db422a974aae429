#pragma once
#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "display/cdx_surface_win.h"
#include "fire/background_source.h"
#include "image/deadline_file_reader.h"

class CDXScreen;

// The Windows background source: the desktop as it was captured at start
// (by GDI, before any window of the program covers it), or a picture file, each
// stretched onto a surface of the screen's size.
//
// A picture on another machine is read on a worker: a load waits for it at most
// kNetworkReadDeadline and otherwise gives no surface (the rotation moves on);
// a read that finishes later is shown when its name comes round again.
//
// Order of use: Capture, SetScreen once DirectDraw is up, Load per change,
// Release at the end. The desktop surface is made once and kept; a picture is
// read from its file again at every load, replacing the previous one.
class DesktopBackgroundSource : public BackgroundSource {
 public:
  // Long enough for a server that answers, short enough to pass unnoticed
  // before the first frame or between two frames.
  static constexpr std::chrono::milliseconds kNetworkReadDeadline{200};

  DesktopBackgroundSource();
  ~DesktopBackgroundSource() override;
  DesktopBackgroundSource(const DesktopBackgroundSource&) = delete;
  DesktopBackgroundSource& operator=(const DesktopBackgroundSource&) = delete;

  // Snapshots the desktop window's client area into a GDI bitmap. False when
  // GDI refused (the desktop then cannot be loaded). A second capture replaces
  // the first.
  bool Capture();

  // The screen surfaces are made for; not owned.
  void SetScreen(CDXScreen* screen) { screen_ = screen; }

  // A surface of the screen's size, owned by the source; null when the name is
  // neither the desktop nor a loadable picture, or there is no screen yet.
  CDXSurface* Load(const std::string& name) override;

  void Release() override;

  // True for "desktop" in any letter case (the name exactly, nothing around it).
  static bool IsDesktopName(const std::string& name);

  int SnapshotWidth() const { return snapshotWidth_; }
  int SnapshotHeight() const { return snapshotHeight_; }

 private:
  // The captured desktop: a bitmap selected into a memory device context.
  struct Snapshot;

  CDXSurface* LoadDesktop();
  CDXSurface* LoadPicture(const std::string& fileName);
  // Loads `file` from the network reader's bytes; false with `why` and the
  // file's size when it gives no picture. Nothing when the read is not done.
  std::optional<bool> LoadNetworkPicture(const std::string& fileName, CDXSurface& file, DecodeError& why,
                                         std::uint64_t& size);
  // A new screen-sized surface with `source` stretched onto it; null on failure.
  std::unique_ptr<CDXSurface> StretchToScreen(CDXSurface& source);
  void ReleaseSnapshot();

  CDXScreen* screen_ = nullptr;
  std::unique_ptr<CDXSurface> desktop_;
  std::unique_ptr<CDXSurface> picture_;
  std::unique_ptr<Snapshot> snapshot_;
  DeadlineFileReader networkReader_;
  int snapshotWidth_ = 0;
  int snapshotHeight_ = 0;
};
