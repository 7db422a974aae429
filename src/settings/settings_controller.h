#pragma once
#include <cstdint>
#include <string>

#include "settings/editor_controller.h"
#include "settings/rotation.h"

// What the settings dialog (with the about box and the update check) may do to
// the settings and to the running fire; the editors it opens get the
// EditorController part. The settings mode implements it; every operation that
// touches the settings or the fire runs under the frame lock, so a change never
// meets a frame half computed.
//
// Thread: the UI thread only. Operations may be nested (the lock is re-entrant
// for its holder), and the palette operations call back into the dialog (see
// SettingsView) while they hold the lock. Lists and records are returned as
// copies taken under the lock, so callers never hold references into the
// settings. Indices are 0-based; an index out of range is ignored (false).
class SettingsController : public EditorController {
 public:
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

  // --- Selections ---------------------------------------------------------------

  // Makes row `index` of the rotation's list current and gives it to the fire.
  virtual bool Select(Rotation rotation, Index index) = 0;

  // --- Change intervals: trackbar positions 0..1000 (more is stored as 1000) ---

  virtual std::uint32_t Interval(Rotation rotation) = 0;
  // Also hands the fire its new period.
  virtual void SetInterval(Rotation rotation, std::uint32_t position) = 0;
  virtual std::string IntervalText(Rotation rotation) = 0;

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
  // The current palette (the built-in one when the list is empty).
  virtual PaletteRecord GetCurrentPaletteRecord() = 0;

  // --- Styles -----------------------------------------------------------------

  // Gives the current style to the fire. A current index past the end selects
  // the first style.
  virtual void SetStyles(const TextList& list, Index current) = 0;
  virtual void GetStyles(TextList& list, Index& current) = 0;

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

  // --- Application values (no lock) ------------------------------------------

  virtual std::string GetUpdateUrl() = 0;
  virtual std::string GetProductName() = 0;
  virtual std::string GetVersion() = 0;
  // Ends in a separator; empty when there are no settings.
  virtual std::string GetSettingsFolder() = 0;
};
