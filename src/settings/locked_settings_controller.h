#pragma once
#include <atomic>
#include <functional>

#include "settings/frame_lock.h"
#include "settings/settings_controller.h"

class FireManager;
class SettingsView;

// The settings mode's controller without its windows: every operation of
// SettingsController over the settings and the running fire, each under the
// frame lock, with the call-backs into the dialog; and the two threads'
// meeting points: the frame (run under the same lock), the running and
// render-thread-alive flags, and the timed changes that the dialog's lists
// follow after each frame.
//
// The settings mode derives from it and supplies the settings object, the fire,
// the fire window and the application's texts. Those objects are asked for at
// each operation, so they may come and go (the fire exists only between the
// mode's initialisation and its end); an operation without them does nothing.
//
// Threads: the SettingsController operations and SetView on the UI thread; the
// render thread runs RenderLoop (RunFrame, FollowTimedChanges). The flags are
// atomic; everything else the two threads share is reached under the lock.
class LockedSettingsController : public SettingsController {
 public:
  LockedSettingsController() = default;
  ~LockedSettingsController() override = default;
  LockedSettingsController(const LockedSettingsController&) = delete;
  LockedSettingsController& operator=(const LockedSettingsController&) = delete;

  // The dialog to call back, or null. Not owned; must stay alive while set.
  void SetView(SettingsView* view);

  // --- The two threads -----------------------------------------------------

  // Sets running and render-thread-alive, before the render thread starts.
  void BeginRunning();
  // Clears running: the render thread finishes its frame and ends.
  void StopRunning();
  bool IsRunning() const { return running_.load(); }
  bool IsRenderThreadAlive() const { return renderThreadAlive_.load(); }
  // The render thread's body: marks it alive, runs `frameStep` while running,
  // then clears alive. Returns 0.
  int RenderLoop(const std::function<void()>& frameStep);
  // One frame under the frame lock (no log lines: a frame is not an operation).
  void RunFrame(const std::function<void()>& frame);
  // After a frame, outside the lock: takes the fire's timed changes and tells the
  // view the entries that became current. The indices are read under the lock.
  void FollowTimedChanges();
  FrameLock& GetFrameLock() { return lock_; }

  // --- SettingsController ----------------------------------------------------

  bool SaveAndClose() override;
  void Close() override;
  void GetBackgrounds(TextList& list, Index& current) override;
  void SetBackgrounds(const TextList& list, Index current) override;
  bool SelectBackground(Index index) override;
  void SetPaletteInterval(std::uint32_t position) override;
  std::uint32_t GetPaletteInterval() override;
  std::string GetPaletteIntervalText() override;
  void SetStyleInterval(std::uint32_t position) override;
  std::uint32_t GetStyleInterval() override;
  std::string GetStyleIntervalText() override;
  void SetBackgroundInterval(std::uint32_t position) override;
  std::uint32_t GetBackgroundInterval() override;
  std::string GetBackgroundIntervalText() override;
  bool GetShowFire() override;
  void SetShowFire(bool show) override;
  PaletteList GetPalettes() override;
  bool MovePaletteUp(Index i) override;
  bool MovePaletteDown(Index i) override;
  bool RemovePalette(Index i) override;
  bool AddPalette(const PaletteRecord& record) override;
  Index GetCurrentPaletteIndex() override;
  bool SelectPalette(Index i) override;
  Index GetMaxPalettes() override;
  PaletteRecord GetCurrentPaletteRecord() override;
  void SetPreviewStyle(const StyleValues temperatures, const StyleValues modes) override;
  void ParseStyle(const std::string& text, StyleValues temperatures, StyleValues modes) override;
  void GetCurrentStyle(StyleValues temperatures, StyleValues modes) override;
  void SetStyles(const TextList& list, Index current) override;
  void GetStyles(TextList& list, Index& current) override;
  bool SelectStyle(Index i) override;
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
  Settings* GetSettings() override;
  void UnderFrameLock(const std::function<void()>& work) override;

 protected:
  // The objects the operations work on; null when there are none (yet).
  virtual Settings* ControlledSettings() = 0;
  virtual FireManager* ControlledFire() = 0;
  // Shows or hides the fire window; called on the UI thread outside the lock.
  virtual void ShowFireWindow(bool show) = 0;

 private:
  // Gives the fire the settings' current background, palette or style.
  void ShowCurrentBackground(Settings& settings, FireManager* fire);
  void ShowCurrentPalette(Settings& settings, FireManager* fire);
  void ShowCurrentStyle(Settings& settings, FireManager* fire);
  // Selects the current palette's row in the view, if there is such a row.
  void SelectCurrentPaletteRow(Settings& settings);

  FrameLock lock_;
  std::atomic<SettingsView*> view_{nullptr};
  std::atomic<bool> running_{false};
  std::atomic<bool> renderThreadAlive_{false};
};
