#pragma once
#include <atomic>
#include <functional>
#include <thread>
#include <type_traits>

#include "settings/frame_lock.h"
#include "settings/settings_controller.h"

class FireManager;
class Settings;
class SettingsView;

// The settings mode's controller without its windows: every operation of
// SettingsController over the settings and the running fire, each under the
// frame lock, with the call-backs into the dialog; and the two threads'
// meeting points: the render thread with its running flag, the frame (run
// under the same lock), and the timed changes that the dialog's lists follow
// after each frame.
//
// The settings mode derives from it and supplies the settings object, the fire,
// the fire window and the application's texts. Those objects are asked for at
// each operation, so they may come and go (the fire exists only between the
// mode's initialisation and its end); an operation without them does nothing.
//
// Threads: the SettingsController operations and SetView on the UI thread; the
// render thread runs the frame step (RunFrame, FollowTimedChanges). The flag and
// the view are atomic; everything else the two threads share is reached under
// the lock. Not copyable, as the lock, the flags and the thread are not.
class LockedSettingsController : public SettingsController {
 public:
  // Stops and waits for the render thread, if it still runs.
  ~LockedSettingsController() override;

  // The dialog to call back, or null. Not owned; must stay alive while set.
  void SetView(SettingsView* view);

  // --- The two threads -----------------------------------------------------

  // Sets running.
  void BeginRunning();
  // Sets running, then starts the render thread, which runs `frameStep` until
  // running is cleared. False when no thread could be made (running is then
  // clear again).
  bool StartRenderThread(std::function<void()> frameStep);
  // Clears running: the render thread finishes its frame and ends.
  void StopRunning();
  bool IsRunning() const { return running_.load(); }
  // Returns when the render thread has ended (at once when there is none), so
  // that what its frames use may go. Call after StopRunning.
  void JoinRenderThread();
  // One frame under the frame lock (no log lines: a frame is not an operation).
  void RunFrame(const std::function<void()>& frame);
  // After a frame, outside the lock: takes the fire's timed changes and tells the
  // view the entries that became current. The indices are read under the lock.
  void FollowTimedChanges();

  // --- SettingsController ----------------------------------------------------

  bool SaveAndClose() override;
  void Close() override;
  void GetBackgrounds(TextList& list, Index& current) override;
  void SetBackgrounds(const TextList& list, Index current) override;
  bool Select(Rotation rotation, Index index) override;
  std::uint32_t Interval(Rotation rotation) override;
  void SetInterval(Rotation rotation, std::uint32_t position) override;
  std::string IntervalText(Rotation rotation) override;
  bool GetShowFire() override;
  void SetShowFire(bool show) override;
  PaletteList GetPalettes() override;
  bool MovePaletteUp(Index i) override;
  bool MovePaletteDown(Index i) override;
  bool RemovePalette(Index i) override;
  bool AddPalette(const PaletteRecord& record) override;
  Index GetCurrentPaletteIndex() override;
  Index GetMaxPalettes() override;
  PaletteRecord GetCurrentPaletteRecord() override;
  void SetPreviewStyle(const StyleValues temperatures, const StyleValues modes) override;
  void GetCurrentStyle(StyleValues temperatures, StyleValues modes) override;
  void SetStyles(const TextList& list, Index current) override;
  void GetStyles(TextList& list, Index& current) override;
  void SetPreviewColorTable(const std::uint8_t* table) override;
  void RestorePreviewColorTable() override;
  void EnableBackgroundChange(bool enable) override;
  void EnableStyleChange(bool enable) override;
  void EnablePaletteChange(bool enable) override;
  int GetColorDepth() override;
  PaletteList GetPaletteStore() override;
  bool AddPaletteToStore(const PaletteRecord& record) override;
  bool RemovePaletteFromStore(Index i) override;
  TextList GetStyleStore() override;
  bool AddStyleToStore(const std::string& text) override;
  bool RemoveStyleFromStore(Index i) override;
  std::string GetSettingsFolder() override;
  void UnderFrameLock(const std::function<void()>& work) override;

 protected:
  // The objects the operations work on; null when there are none (yet). The
  // frame lock guards them: the render thread draws with both.
  virtual Settings* ControlledSettings() REQUIRES(lock_) = 0;
  virtual FireManager* ControlledFire() REQUIRES(lock_) = 0;
  // Shows or hides the fire window; called on the UI thread outside the lock.
  virtual void ShowFireWindow(bool show) = 0;

 private:
  // An operation: takes the frame lock (with its log lines) and runs `work` on
  // the settings and the fire (which may be null). Without settings it returns
  // `fallback` instead, or the result type's empty value.
  template <class Work, class... Fallback>
  auto WithSettings(Work work, Fallback... fallback) {
    FrameLockScope hold(lock_);
    Settings* settings = ControlledSettings();
    using Result = std::invoke_result_t<Work&, Settings&, FireManager*>;
    if (settings == nullptr) return Result(fallback...);
    return work(*settings, ControlledFire());
  }
  // The same for an operation on the fire alone.
  template <class Work, class... Fallback>
  auto WithFire(Work work, Fallback... fallback) {
    FrameLockScope hold(lock_);
    FireManager* fire = ControlledFire();
    using Result = std::invoke_result_t<Work&, FireManager&>;
    if (fire == nullptr) return Result(fallback...);
    return work(*fire);
  }

  // Gives the fire the settings' current background, palette or style.
  static void ShowCurrent(Rotation rotation, Settings& settings, FireManager* fire);
  // Selects the current palette's row in the view, if there is such a row.
  void SelectCurrentPaletteRow(Settings& settings);
  // Swaps palette i with the one above it or below it.
  bool MovePalette(Index i, bool up);

  FrameLock lock_;
  std::atomic<SettingsView*> view_{nullptr};
  std::atomic<bool> running_{false};
  std::thread renderThread_;
};
