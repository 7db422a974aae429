#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fire/frame_workers.h"
#include "fire/monitor_layout.h"
#include "image/decoded_image.h"

// The full-screen saver on the monitors other than the primary. The primary
// keeps the one-monitor path (exclusive DirectDraw, its frame on the calling
// thread, its timing scopes); each other monitor gets a borderless window
// (MonitorWindow) and a fire of its own, drawn into plain memory and presented
// through GDI. Its fire is the one that monitor alone would draw: settings of its
// own (the rotation moves on per fire), its own part of the desktop, its own
// random sequence. Each monitor's frame runs on one of the frame workers.
//
// All calls come from the thread that pumps the primary window's messages.
class OtherMonitors {
 public:
  // Lists the monitors and, when there are others than the primary, snapshots
  // the whole desktop. Null with one monitor (the saver then runs as ever).
  // Call before any window of the program exists.
  static std::unique_ptr<OtherMonitors> Prepare();

  // The monitors of `layout`, their desktop cut from `snapshot` (none: they burn
  // without one). Prepare finds both.
  OtherMonitors(const MonitorLayout& layout, std::optional<DecodedImage> snapshot);
  ~OtherMonitors();
  OtherMonitors(const OtherMonitors&) = delete;
  OtherMonitors& operator=(const OtherMonitors&) = delete;

  // Makes each other monitor's window and fire from the settings in `folder`;
  // a monitor that cannot have them is logged and left dark.
  void Start(const std::string& folder);
  // The window whose closing ends the saver: a key pressed on another monitor closes it.
  void SetPrimaryWindow(HWND primary);
  // Time that no frame was given (the saver slept): each monitor's timed
  // changes go on by it (FireManager::PassUnseen).
  void PassUnseen(std::uint32_t elapsedMs);

  // One frame on every monitor: `primaryFrame` on the calling thread, the other
  // monitors' fires (each `elapsedMs` on) beside it on the workers. Monitors the
  // system no longer reports are dropped first.
  template <typename Frame>
  void DrawFrame(std::uint32_t elapsedMs, Frame& primaryFrame) {
    DropRemovedMonitors();
    elapsedMs_ = elapsedMs;
    primaryFrame_ = &primaryFrame;
    callPrimary_ = [](void* frame) { (*static_cast<Frame*>(frame))(); };
    workers_->Run(static_cast<int>(monitors_.size()) + 1, job_);
  }

 private:
  // A monitor's fire and the window it is shown in.
  struct LitMonitor;
  struct Job {
    OtherMonitors* self;
    void operator()(int index) const { self->RunJob(index); }
  };

  void RunJob(int index);
  void DropRemovedMonitors();

  MonitorLayout layout_;
  std::optional<DecodedImage> snapshot_;  // the whole desktop until Start has cut it up
  std::vector<std::unique_ptr<LitMonitor>> monitors_;
  std::unique_ptr<FrameWorkers> workers_;
  std::atomic<bool> displayChanged_{false};
  std::uint32_t elapsedMs_ = 0;
  void* primaryFrame_ = nullptr;
  void (*callPrimary_)(void*) = nullptr;
  Job job_{this};
};
