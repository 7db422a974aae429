#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fire/palette_record.h"

class Settings;

// What the settings dialogs (main dialog, palette and style editors, about box,
// update check) may do to the settings and to the running fire. The settings
// mode implements it; every operation that touches the settings or the fire
// runs under the frame lock, so a change never meets a frame half computed.
//
// Thread: the UI thread only. Operations may be nested (the lock is re-entrant
// for its holder), and the palette operations call back into the dialog (see
// SettingsView) while they hold the lock. Lists and records are returned as
// copies taken under the lock, so callers never hold references into the
// settings. Indices are 0-based; an index out of range is ignored (false).
class SettingsController {
 public:
  using TextList = std::vector<std::string>;
  using PaletteList = std::vector<PaletteRecord>;
  using Index = std::uint32_t;
  // Eight temperatures and eight modes of a fire style, hottest area first.
  using StyleValues = std::uint8_t[8];

  virtual ~SettingsController() = default;

  // --- Ending the settings mode ---------------------------------------------

  // Writes config.ini and store.ini, then ends the settings mode. False when a
  // file could not be written (the mode then goes on, so nothing is lost).
  virtual bool SaveAndClose() = 0;
  // Ends the settings mode without writing config.ini.
  virtual void Close() = 0;

  // --- Backgrounds ------------------------------------------------------------

  virtual void GetBackgrounds(TextList& list, Index& current) = 0;
  // Replaces the list; the fire shows the current entry. A current index past
  // the end (such as -1 for "nothing selected") shows the first entry.
  virtual void SetBackgrounds(const TextList& list, Index current) = 0;
  virtual bool SelectBackground(Index index) = 0;

  // --- Intervals: trackbar positions 0..1000 (more is stored as 1000) ---------

  // Setting an interval also hands the fire its new duration.
  virtual void SetPaletteInterval(std::uint32_t position) = 0;
  virtual std::uint32_t GetPaletteInterval() = 0;
  virtual std::string GetPaletteIntervalText() = 0;
  virtual void SetStyleInterval(std::uint32_t position) = 0;
  virtual std::uint32_t GetStyleInterval() = 0;
  virtual std::string GetStyleIntervalText() = 0;
  virtual void SetBackgroundInterval(std::uint32_t position) = 0;
  virtual std::uint32_t GetBackgroundInterval() = 0;
  virtual std::string GetBackgroundIntervalText() = 0;

  // --- The fire window -------------------------------------------------------

  virtual bool GetShowFire() = 0;
  // Also shows or hides the fire preview window at once.
  virtual void SetShowFire(bool show) = 0;

  // --- Palettes ---------------------------------------------------------------

  virtual PaletteList GetPalettes() = 0;
  // Swap palette i with its neighbour; the dialog is called back to redraw both
  // preview images and to select the current palette.
  virtual bool MovePaletteUp(Index i) = 0;
  virtual bool MovePaletteDown(Index i) = 0;
  // The current index stays inside the list; the fire gets the current palette;
  // the dialog is called back to remove row i and select the current palette.
  virtual bool RemovePalette(Index i) = 0;
  // Appends and makes current (fire and dialog follow). False at the limit.
  virtual bool AddPalette(const PaletteRecord& record) = 0;
  virtual Index GetCurrentPaletteIndex() = 0;
  virtual bool SelectPalette(Index i) = 0;
  virtual Index GetMaxPalettes() = 0;
  // The current palette (the built-in one when the list is empty).
  virtual PaletteRecord GetCurrentPaletteRecord() = 0;

  // --- Styles -----------------------------------------------------------------

  // Gives the eight pairs to the fire at once; nothing is stored.
  virtual void SetPreviewStyle(const StyleValues temperatures, const StyleValues modes) = 0;
  // Fills both arrays from a style text over the built-in style's values; a text
  // that is not a whole number of pairs leaves the built-in values.
  virtual void ParseStyle(const std::string& text, StyleValues temperatures, StyleValues modes) = 0;
  // The current style (the built-in one when the list is empty).
  virtual void GetCurrentStyle(StyleValues temperatures, StyleValues modes) = 0;
  // Setting or selecting gives the current style to the fire. A current index
  // past the end selects the first style.
  virtual void SetStyles(const TextList& list, Index current) = 0;
  virtual void GetStyles(TextList& list, Index& current) = 0;
  virtual bool SelectStyle(Index i) = 0;

  // --- Preview colour table (the palette editor's) ----------------------------

  // The fire draws through `table` (256 entries in the screen's format, owned by
  // the caller and alive until RestorePreviewColorTable) instead of its own.
  virtual void SetPreviewColorTable(const std::uint8_t* table) = 0;
  virtual void RestorePreviewColorTable() = 0;

  // --- Timed changes ------------------------------------------------------------

  virtual void EnableBackgroundChange(bool enable) = 0;
  virtual void EnableStyleChange(bool enable) = 0;
  virtual void EnablePaletteChange(bool enable) = 0;

  // 16 or 32: the pixel format of palette preview strips.
  virtual int GetColorDepth() = 0;

  // --- Stores --------------------------------------------------------------------

  virtual PaletteList GetPaletteStore() = 0;
  // Answer whether the store took or dropped the entry.
  virtual bool AddPaletteToStore(const PaletteRecord& record) = 0;
  virtual bool RemovePaletteFromStore(Index i) = 0;
  virtual TextList GetStyleStore() = 0;
  virtual bool AddStyleToStore(const std::string& text) = 0;
  virtual bool RemoveStyleFromStore(Index i) = 0;

  // --- Application values (no lock) ------------------------------------------

  virtual std::string GetUpdateUrl() = 0;
  virtual std::string GetProductName() = 0;
  virtual std::string GetVersion() = 0;
  // Ends in a separator; empty when there are no settings.
  virtual std::string GetSettingsFolder() = 0;

  // --- Other callers ------------------------------------------------------------

  // The settings object itself, for callers that run under the frame lock
  // (null when there is none). Prefer the operations above.
  virtual Settings* GetSettings() = 0;
  // Starts the skin library with the given skin file and applies it.
  virtual void ApplySkin(const std::string& skinFile) = 0;
  // Runs `work` under the frame lock: for an editor that rewrites a table the
  // fire reads (the palette editor's working colour table).
  virtual void UnderFrameLock(const std::function<void()>& work) = 0;
};
