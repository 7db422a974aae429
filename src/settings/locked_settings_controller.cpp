#include "settings/locked_settings_controller.h"

#include <algorithm>
#include <cstdio>

#include "diagnostics/debug_log.h"
#include "fire/fire_manager.h"
#include "settings/settings.h"
#include "settings/settings_view.h"

void LockedSettingsController::SetView(SettingsView* view) {
  FrameLockScope hold(lock_);
  view_.store(view);
}

// --- The two threads ----------------------------------------------------------

void LockedSettingsController::BeginRunning() {
  running_.store(true);
  renderThreadAlive_.store(true);
}

void LockedSettingsController::StopRunning() { running_.store(false); }

int LockedSettingsController::RenderLoop(const std::function<void()>& frameStep) {
  renderThreadAlive_.store(true);
  while (running_.load()) frameStep();
  renderThreadAlive_.store(false);
  return 0;
}

void LockedSettingsController::RunFrame(const std::function<void()>& frame) {
  lock_.Enter();
  try {
    frame();
  } catch (...) {
    lock_.Leave();
    throw;
  }
  lock_.Leave();
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
    lock_.Enter();
    view = view_.load();
    Settings* settings = ControlledSettings();
    FireManager* fire = ControlledFire();
    if (view != nullptr && settings != nullptr && fire != nullptr) {
      changes = fire->TakeChanges();
      background = settings->GetBackgroundIndex();
      palette = settings->GetPaletteIndex();
      style = settings->GetStyleIndex();
    }
    lock_.Leave();
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

}  // namespace

void LockedSettingsController::ShowCurrentBackground(Settings& settings, FireManager* fire) {
  if (fire != nullptr) fire->ShowBackground(settings.CurrentBackground());
}

void LockedSettingsController::ShowCurrentPalette(Settings& settings, FireManager* fire) {
  if (fire != nullptr) fire->ShowPalette(settings.CurrentPalette());
}

void LockedSettingsController::ShowCurrentStyle(Settings& settings, FireManager* fire) {
  if (fire == nullptr) return;
  const FireStyle style = settings.CurrentStyle();
  fire->ShowStyle(style.temperatures, style.modes);
}

void LockedSettingsController::SelectCurrentPaletteRow(Settings& settings) {
  SettingsView* view = view_.load();
  if (view != nullptr && settings.GetPaletteIndex() < settings.PaletteCount()) {
    view->SelectPaletteRow(settings.GetPaletteIndex());
  }
}

// --- Ending -------------------------------------------------------------------

bool LockedSettingsController::SaveAndClose() {
  {
    FrameLockScope hold(lock_);
    if (Settings* settings = ControlledSettings()) {
      // Writing reports nothing: a folder that cannot take the files is found
      // first, and the mode goes on rather than dropping the user's changes.
      const std::string& folder = settings->GetSettingsFolder();
      for (const char* name : {"config.ini", "store.ini"}) {
        if (folder.empty() || !CanWrite(folder + name)) {
          TraceLog().Log("SettingsController::SaveAndClose can not write %s%s", folder.c_str(), name);
          return false;
        }
      }
      settings->SaveAll();
    }
  }
  StopRunning();
  return true;
}

void LockedSettingsController::Close() { StopRunning(); }

// --- Backgrounds --------------------------------------------------------------

void LockedSettingsController::GetBackgrounds(TextList& list, Index& current) {
  FrameLockScope hold(lock_);
  list.clear();
  current = 0;
  if (Settings* settings = ControlledSettings()) settings->GetBackgrounds(list, current);
}

void LockedSettingsController::SetBackgrounds(const TextList& list, Index current) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return;
  settings->SetBackgrounds(list, current);
  ShowCurrentBackground(*settings, ControlledFire());
}

bool LockedSettingsController::SelectBackground(Index index) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return false;
  TextList list;
  Index current = 0;
  settings->GetBackgrounds(list, current);
  if (index >= list.size()) return false;
  settings->SetBackgroundIndex(index);
  ShowCurrentBackground(*settings, ControlledFire());
  return true;
}

// --- Intervals ------------------------------------------------------------------

void LockedSettingsController::SetPaletteInterval(std::uint32_t position) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return;
  settings->SetPaletteInterval(position);
  if (FireManager* fire = ControlledFire()) fire->SetPalettePeriod(settings->GetPaletteIntervalMs());
}

std::uint32_t LockedSettingsController::GetPaletteInterval() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetPaletteInterval() : 0;
}

std::string LockedSettingsController::GetPaletteIntervalText() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetPaletteIntervalText() : std::string();
}

void LockedSettingsController::SetStyleInterval(std::uint32_t position) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return;
  settings->SetStyleInterval(position);
  if (FireManager* fire = ControlledFire()) fire->SetStylePeriod(settings->GetStyleIntervalMs());
}

std::uint32_t LockedSettingsController::GetStyleInterval() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetStyleInterval() : 0;
}

std::string LockedSettingsController::GetStyleIntervalText() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetStyleIntervalText() : std::string();
}

void LockedSettingsController::SetBackgroundInterval(std::uint32_t position) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return;
  settings->SetBackgroundInterval(position);
  if (FireManager* fire = ControlledFire()) fire->SetBackgroundPeriod(settings->GetBackgroundIntervalMs());
}

std::uint32_t LockedSettingsController::GetBackgroundInterval() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetBackgroundInterval() : 0;
}

std::string LockedSettingsController::GetBackgroundIntervalText() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetBackgroundIntervalText() : std::string();
}

// --- The fire window ----------------------------------------------------------------

bool LockedSettingsController::GetShowFire() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr && settings->GetShowFire();
}

void LockedSettingsController::SetShowFire(bool show) {
  {
    FrameLockScope hold(lock_);
    if (Settings* settings = ControlledSettings()) settings->SetShowFire(show);
  }
  // Outside the lock: showing a window runs its procedure, which may call back.
  ShowFireWindow(show);
}

// --- Palettes --------------------------------------------------------------------------

SettingsController::PaletteList LockedSettingsController::GetPalettes() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetPalettes() : PaletteList();
}

bool LockedSettingsController::MovePaletteUp(Index i) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return false;
  const Index current = settings->GetPaletteIndex();
  if (!settings->MovePaletteUp(i)) return false;
  // The current palette stays the one the fire shows: when the moved entry
  // passes it, the index goes with the current record, not with the row.
  if (current == i - 1) settings->SetPaletteIndex(i);
  if (SettingsView* view = view_.load()) {
    const PaletteList& palettes = settings->GetPalettes();
    view->RedrawPaletteImage(i, palettes[i]);
    view->RedrawPaletteImage(i - 1, palettes[i - 1]);
  }
  SelectCurrentPaletteRow(*settings);
  return true;
}

bool LockedSettingsController::MovePaletteDown(Index i) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return false;
  const Index current = settings->GetPaletteIndex();
  if (!settings->MovePaletteDown(i)) return false;
  if (current == i + 1) settings->SetPaletteIndex(i);
  if (SettingsView* view = view_.load()) {
    const PaletteList& palettes = settings->GetPalettes();
    view->RedrawPaletteImage(i, palettes[i]);
    view->RedrawPaletteImage(i + 1, palettes[i + 1]);
  }
  SelectCurrentPaletteRow(*settings);
  return true;
}

bool LockedSettingsController::RemovePalette(Index i) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return false;
  const Index current = settings->GetPaletteIndex();
  if (!settings->RemovePalette(i)) return false;
  // The entries after the removed one move up a row; the current one with them.
  if (current > i && current < settings->PaletteCount() + 1) settings->SetPaletteIndex(current - 1);
  ShowCurrentPalette(*settings, ControlledFire());
  if (SettingsView* view = view_.load()) view->RemovePaletteRow(i);
  SelectCurrentPaletteRow(*settings);
  return true;
}

bool LockedSettingsController::AddPalette(const PaletteRecord& record) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr || settings->PaletteCount() >= Settings::MaxPalettes()) return false;
  if (!settings->AddPalette(record)) return false;
  settings->SetPaletteIndex(settings->PaletteCount() - 1);
  ShowCurrentPalette(*settings, ControlledFire());
  if (SettingsView* view = view_.load()) view->AppendPaletteRow(record);
  SelectCurrentPaletteRow(*settings);
  return true;
}

SettingsController::Index LockedSettingsController::GetCurrentPaletteIndex() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetPaletteIndex() : 0;
}

bool LockedSettingsController::SelectPalette(Index i) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr || i >= settings->PaletteCount()) return false;
  settings->SetPaletteIndex(i);
  ShowCurrentPalette(*settings, ControlledFire());
  return true;
}

SettingsController::Index LockedSettingsController::GetMaxPalettes() { return Settings::MaxPalettes(); }

PaletteRecord LockedSettingsController::GetCurrentPaletteRecord() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->CurrentPalette() : Settings::DefaultPalette();
}

// --- Styles ------------------------------------------------------------------------------

void LockedSettingsController::SetPreviewStyle(const StyleValues temperatures, const StyleValues modes) {
  FrameLockScope hold(lock_);
  if (FireManager* fire = ControlledFire()) fire->ShowStyle(temperatures, modes);
}

void LockedSettingsController::ParseStyle(const std::string& text, StyleValues temperatures, StyleValues modes) {
  const FireStyle style = Settings::ParseStyle(text);
  std::copy_n(style.temperatures, FireStyle::kAreas, temperatures);
  std::copy_n(style.modes, FireStyle::kAreas, modes);
}

void LockedSettingsController::GetCurrentStyle(StyleValues temperatures, StyleValues modes) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  const FireStyle style = settings != nullptr ? settings->CurrentStyle() : Settings::DefaultStyle();
  std::copy_n(style.temperatures, FireStyle::kAreas, temperatures);
  std::copy_n(style.modes, FireStyle::kAreas, modes);
}

void LockedSettingsController::SetStyles(const TextList& list, Index current) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return;
  settings->SetStyles(list, current);
  ShowCurrentStyle(*settings, ControlledFire());
}

void LockedSettingsController::GetStyles(TextList& list, Index& current) {
  FrameLockScope hold(lock_);
  list.clear();
  current = 0;
  if (Settings* settings = ControlledSettings()) settings->GetStyles(list, current);
}

bool LockedSettingsController::SelectStyle(Index i) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  if (settings == nullptr) return false;
  TextList list;
  Index current = 0;
  settings->GetStyles(list, current);
  if (i >= list.size()) return false;
  settings->SelectStyle(i);
  ShowCurrentStyle(*settings, ControlledFire());
  return true;
}

// --- Preview colour table and timed changes -------------------------------------------------

void LockedSettingsController::SetPreviewColorTable(const std::uint8_t* table) {
  FrameLockScope hold(lock_);
  if (FireManager* fire = ControlledFire()) fire->UseColorTable(table);
}

void LockedSettingsController::RestorePreviewColorTable() {
  FrameLockScope hold(lock_);
  if (FireManager* fire = ControlledFire()) fire->RestoreColorTable();
}

void LockedSettingsController::EnableBackgroundChange(bool enable) {
  FrameLockScope hold(lock_);
  if (FireManager* fire = ControlledFire()) fire->EnableBackgroundChange(enable);
}

void LockedSettingsController::EnableStyleChange(bool enable) {
  FrameLockScope hold(lock_);
  if (FireManager* fire = ControlledFire()) fire->EnableStyleChange(enable);
}

void LockedSettingsController::EnablePaletteChange(bool enable) {
  FrameLockScope hold(lock_);
  if (FireManager* fire = ControlledFire()) fire->EnablePaletteChange(enable);
}

int LockedSettingsController::GetColorDepth() {
  FrameLockScope hold(lock_);
  FireManager* fire = ControlledFire();
  // 24-bit screens get 32-bit strips: the image list has no 24-bit flag of use here.
  return fire != nullptr && fire->Parameters().bitsPerPixel == 16 ? 16 : 32;
}

// --- Stores ------------------------------------------------------------------------------------

SettingsController::PaletteList LockedSettingsController::GetPaletteStore() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetPaletteStore() : PaletteList();
}

bool LockedSettingsController::AddPaletteToStore(const PaletteRecord& record) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr && settings->AddPaletteToStore(record);
}

bool LockedSettingsController::RemovePaletteFromStore(Index i) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr && settings->RemovePaletteFromStore(i);
}

SettingsController::TextList LockedSettingsController::GetStyleStore() {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetStyleStore() : TextList();
}

bool LockedSettingsController::AddStyleToStore(const std::string& text) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr && settings->AddStyleToStore(text);
}

bool LockedSettingsController::RemoveStyleFromStore(Index i) {
  FrameLockScope hold(lock_);
  Settings* settings = ControlledSettings();
  return settings != nullptr && settings->RemoveStyleFromStore(i);
}

// --- Others --------------------------------------------------------------------------------------

std::string LockedSettingsController::GetSettingsFolder() {
  // The folder is set once at loading, before the render thread exists.
  Settings* settings = ControlledSettings();
  return settings != nullptr ? settings->GetSettingsFolder() : std::string();
}

Settings* LockedSettingsController::GetSettings() {
  FrameLockScope hold(lock_);
  return ControlledSettings();
}

void LockedSettingsController::UnderFrameLock(const std::function<void()>& work) {
  FrameLockScope hold(lock_);
  work();
}
