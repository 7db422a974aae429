#include "settings/locked_settings_controller.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "diagnostics/debug_log.h"
#include "fire/fire_manager.h"
#include "settings/change_periods.h"
#include "settings/settings.h"
#include "settings/settings_view.h"

LockedSettingsController::~LockedSettingsController() {
  StopRunning();
  JoinRenderThread();
}

void LockedSettingsController::SetView(SettingsView* view) {
  FrameLockScope hold(lock_);
  view_.store(view);
}

// --- The two threads ----------------------------------------------------------

void LockedSettingsController::BeginRunning() { running_.store(true); }

bool LockedSettingsController::StartRenderThread(std::function<void()> frameStep) {
  // Running is set before the thread exists: a Cancel that comes before the
  // thread's first look at the flag still ends it.
  BeginRunning();
  try {
    renderThread_ = std::thread([this, frameStep = std::move(frameStep)] {
      while (running_.load()) frameStep();
    });
  } catch (const std::system_error&) {
    StopRunning();
    return false;
  }
  return true;
}

void LockedSettingsController::StopRunning() { running_.store(false); }

void LockedSettingsController::JoinRenderThread() {
  if (renderThread_.joinable()) renderThread_.join();
}

void LockedSettingsController::RunFrame(const std::function<void()>& frame) {
  std::lock_guard hold(lock_);
  frame();
}

void LockedSettingsController::FollowTimedChanges() {
  SettingsView* view = nullptr;
  FireChanges changes;
  Index background = 0;
  Index palette = 0;
  Index style = 0;
  {
    // The flags and the indices are the UI thread's to change too: read them
    // under the lock, and call the view only after leaving it.
    std::lock_guard hold(lock_);
    view = view_.load();
    Settings* settings = ControlledSettings();
    FireManager* fire = ControlledFire();
    if (view != nullptr && settings != nullptr && fire != nullptr) {
      changes = fire->TakeChanges();
      background = settings->GetBackgroundIndex();
      palette = settings->GetPaletteIndex();
      style = settings->GetStyleIndex();
    }
  }
  if (view == nullptr) return;
  if (changes.background) view->FollowBackground(background);
  if (changes.palette) view->FollowPalette(palette);
  if (changes.style) view->FollowStyle(style);
}

// --- Helpers ------------------------------------------------------------------

namespace {

// Whether the file can be written: opened for appending, which changes nothing
// in it (and makes an empty file where there was none, about to be written).
bool CanWrite(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

void CopyStyle(const FireStyle& style, SettingsController::StyleValues temperatures,
               SettingsController::StyleValues modes) {
  std::copy_n(style.temperatures, FireStyle::kAreas, temperatures);
  std::copy_n(style.modes, FireStyle::kAreas, modes);
}

}  // namespace

void LockedSettingsController::ShowCurrent(Rotation rotation, Settings& settings, FireManager* fire) {
  if (fire == nullptr) return;
  switch (rotation) {
    case Rotation::kBackground:
      fire->ShowBackground(settings.CurrentBackground());
      break;
    case Rotation::kPalette:
      fire->ShowPalette(settings.CurrentPalette());
      break;
    case Rotation::kStyle: {
      const FireStyle style = settings.CurrentStyle();
      fire->ShowStyle(style.temperatures, style.modes);
      break;
    }
  }
}

void LockedSettingsController::SelectCurrentPaletteRow(Settings& settings) {
  SettingsView* view = view_.load();
  if (view != nullptr && settings.GetPaletteIndex() < settings.PaletteCount()) {
    view->SelectPaletteRow(settings.GetPaletteIndex());
  }
}

// --- Ending -------------------------------------------------------------------

bool LockedSettingsController::SaveAndClose() {
  const bool saved = WithSettings(
      [](Settings& settings, FireManager*) {
        // A folder that cannot take the files is found first; a write that fails
        // all the same is found after it. Either way the mode goes on rather than
        // dropping the user's changes.
        const std::string& folder = settings.GetSettingsFolder();
        for (const char* name : {"config.ini", "store.ini"}) {
          if (folder.empty() || !CanWrite(folder + name)) {
            TraceLog().Log("SettingsController::SaveAndClose can not write %s%s", folder.c_str(), name);
            return false;
          }
        }
        if (settings.SaveAll()) return true;
        TraceLog().Log("SettingsController::SaveAndClose writing %s failed", folder.c_str());
        return false;
      },
      true);
  if (saved) StopRunning();
  return saved;
}

void LockedSettingsController::Close() { StopRunning(); }

// --- Backgrounds --------------------------------------------------------------

void LockedSettingsController::GetBackgrounds(TextList& list, Index& current) {
  list.clear();
  current = 0;
  WithSettings([&](Settings& settings, FireManager*) { settings.GetBackgrounds(list, current); });
}

void LockedSettingsController::SetBackgrounds(const TextList& list, Index current) {
  WithSettings([&](Settings& settings, FireManager* fire) {
    settings.SetBackgrounds(list, current);
    ShowCurrent(Rotation::kBackground, settings, fire);
  });
}

bool LockedSettingsController::Select(Rotation rotation, Index index) {
  return WithSettings([&](Settings& settings, FireManager* fire) {
    if (!settings.Select(rotation, index)) return false;
    ShowCurrent(rotation, settings, fire);
    return true;
  });
}

// --- Intervals ------------------------------------------------------------------

std::uint32_t LockedSettingsController::Interval(Rotation rotation) {
  return WithSettings([&](Settings& settings, FireManager*) { return settings.Interval(rotation); });
}

void LockedSettingsController::SetInterval(Rotation rotation, std::uint32_t position) {
  WithSettings([&](Settings& settings, FireManager* fire) {
    settings.SetInterval(rotation, position);
    if (fire != nullptr) HandChangePeriod(settings, rotation, *fire);
  });
}

std::string LockedSettingsController::IntervalText(Rotation rotation) {
  return WithSettings([&](Settings& settings, FireManager*) { return settings.IntervalText(rotation); });
}

// --- The fire window ----------------------------------------------------------------

bool LockedSettingsController::GetShowFire() {
  return WithSettings([](Settings& settings, FireManager*) { return settings.GetShowFire(); });
}

void LockedSettingsController::SetShowFire(bool show) {
  WithSettings([show](Settings& settings, FireManager*) { settings.SetShowFire(show); });
  // Outside the lock: showing a window runs its procedure, which may call back.
  ShowFireWindow(show);
}

// --- Palettes --------------------------------------------------------------------------

SettingsController::PaletteList LockedSettingsController::GetPalettes() {
  return WithSettings([](Settings& settings, FireManager*) { return settings.GetPalettes(); });
}

bool LockedSettingsController::MovePaletteUp(Index i) { return MovePalette(i, true); }

bool LockedSettingsController::MovePaletteDown(Index i) { return MovePalette(i, false); }

bool LockedSettingsController::MovePalette(Index i, bool up) {
  return WithSettings([&](Settings& settings, FireManager*) {
    const Index current = settings.GetPaletteIndex();
    const Index other = up ? i - 1 : i + 1;
    if (!(up ? settings.MovePaletteUp(i) : settings.MovePaletteDown(i))) return false;
    // The current palette stays the one the fire shows: when the moved entry
    // passes it, the index goes with the current record, not with the row.
    if (current == other) settings.SetPaletteIndex(i);
    if (SettingsView* view = view_.load()) {
      const PaletteList& palettes = settings.GetPalettes();
      view->RedrawPaletteImage(i, palettes[i]);
      view->RedrawPaletteImage(other, palettes[other]);
    }
    SelectCurrentPaletteRow(settings);
    return true;
  });
}

bool LockedSettingsController::RemovePalette(Index i) {
  return WithSettings([&](Settings& settings, FireManager* fire) {
    const Index current = settings.GetPaletteIndex();
    if (!settings.RemovePalette(i)) return false;
    // The entries after the removed one move up a row; the current one with them.
    if (current > i && current < settings.PaletteCount() + 1) settings.SetPaletteIndex(current - 1);
    ShowCurrent(Rotation::kPalette, settings, fire);
    if (SettingsView* view = view_.load()) view->RemovePaletteRow(i);
    SelectCurrentPaletteRow(settings);
    return true;
  });
}

bool LockedSettingsController::AddPalette(const PaletteRecord& record) {
  return WithSettings([&](Settings& settings, FireManager* fire) {
    if (settings.PaletteCount() >= Settings::MaxPalettes() || !settings.AddPalette(record)) return false;
    settings.SetPaletteIndex(settings.PaletteCount() - 1);
    ShowCurrent(Rotation::kPalette, settings, fire);
    if (SettingsView* view = view_.load()) view->AppendPaletteRow(record);
    SelectCurrentPaletteRow(settings);
    return true;
  });
}

SettingsController::Index LockedSettingsController::GetCurrentPaletteIndex() {
  return WithSettings([](Settings& settings, FireManager*) { return settings.GetPaletteIndex(); });
}

SettingsController::Index LockedSettingsController::GetMaxPalettes() { return Settings::MaxPalettes(); }

PaletteRecord LockedSettingsController::GetCurrentPaletteRecord() {
  return WithSettings([](Settings& settings, FireManager*) { return settings.CurrentPalette(); },
                      Settings::DefaultPalette());
}

// --- Styles ------------------------------------------------------------------------------

void LockedSettingsController::SetPreviewStyle(const StyleValues temperatures, const StyleValues modes) {
  WithFire([&](FireManager& fire) { fire.ShowStyle(temperatures, modes); });
}

void LockedSettingsController::GetCurrentStyle(StyleValues temperatures, StyleValues modes) {
  CopyStyle(
      WithSettings([](Settings& settings, FireManager*) { return settings.CurrentStyle(); }, Settings::DefaultStyle()),
      temperatures, modes);
}

void LockedSettingsController::SetStyles(const TextList& list, Index current) {
  WithSettings([&](Settings& settings, FireManager* fire) {
    settings.SetStyles(list, current);
    ShowCurrent(Rotation::kStyle, settings, fire);
  });
}

void LockedSettingsController::GetStyles(TextList& list, Index& current) {
  list.clear();
  current = 0;
  WithSettings([&](Settings& settings, FireManager*) { settings.GetStyles(list, current); });
}

// --- Preview colour table and timed changes -------------------------------------------------

void LockedSettingsController::SetPreviewColorTable(const std::uint8_t* table) {
  WithFire([table](FireManager& fire) { fire.UseColorTable(table); });
}

void LockedSettingsController::RestorePreviewColorTable() {
  WithFire([](FireManager& fire) { fire.RestoreColorTable(); });
}

void LockedSettingsController::EnableBackgroundChange(bool enable) {
  WithFire([enable](FireManager& fire) { fire.EnableBackgroundChange(enable); });
}

void LockedSettingsController::EnableStyleChange(bool enable) {
  WithFire([enable](FireManager& fire) { fire.EnableStyleChange(enable); });
}

void LockedSettingsController::EnablePaletteChange(bool enable) {
  WithFire([enable](FireManager& fire) { fire.EnablePaletteChange(enable); });
}

int LockedSettingsController::GetColorDepth() {
  // 24-bit screens get 32-bit strips: the image list has no 24-bit flag of use here.
  return WithFire([](FireManager& fire) { return fire.Parameters().bitsPerPixel == 16 ? 16 : 32; }, 32);
}

// --- Stores ------------------------------------------------------------------------------------

SettingsController::PaletteList LockedSettingsController::GetPaletteStore() {
  return WithSettings([](Settings& settings, FireManager*) { return settings.GetPaletteStore(); });
}

bool LockedSettingsController::AddPaletteToStore(const PaletteRecord& record) {
  return WithSettings([&](Settings& settings, FireManager*) { return settings.AddPaletteToStore(record); });
}

bool LockedSettingsController::RemovePaletteFromStore(Index i) {
  return WithSettings([i](Settings& settings, FireManager*) { return settings.RemovePaletteFromStore(i); });
}

SettingsController::TextList LockedSettingsController::GetStyleStore() {
  return WithSettings([](Settings& settings, FireManager*) { return settings.GetStyleStore(); });
}

bool LockedSettingsController::AddStyleToStore(const std::string& text) {
  return WithSettings([&](Settings& settings, FireManager*) { return settings.AddStyleToStore(text); });
}

bool LockedSettingsController::RemoveStyleFromStore(Index i) {
  return WithSettings([i](Settings& settings, FireManager*) { return settings.RemoveStyleFromStore(i); });
}

// --- Others --------------------------------------------------------------------------------------

// The folder is set once at loading, before the render thread exists: read
// without the lock (and without its log lines).
std::string LockedSettingsController::GetSettingsFolder() NO_THREAD_SAFETY_ANALYSIS {
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetSettingsFolder() : std::string();
}

void LockedSettingsController::UnderFrameLock(const std::function<void()>& work) {
  FrameLockScope hold(lock_);
  work();
}
