#pragma once
#include <cstdint>

#include "fire/palette_record.h"

// What the settings controller tells the settings dialog, so that its lists
// follow changes it did not make itself. Rows are 0-based.
class SettingsView {
 public:
  using Index = std::uint32_t;

  virtual ~SettingsView() = default;

  // Palette call-backs, made on the UI thread while the controller holds the
  // frame lock (they must not wait for the render thread).
  virtual void RedrawPaletteImage(Index row, const PaletteRecord& record) = 0;
  virtual void RemovePaletteRow(Index row) = 0;
  virtual void AppendPaletteRow(const PaletteRecord& record) = 0;
  // Selects the row (selected and focused, scrolled into view) without acting on
  // the selection notification that this causes.
  virtual void SelectPaletteRow(Index row) = 0;

  // A timed change of the fire made another entry current. Called on the render
  // thread after it has left the frame lock: must return without waiting for the
  // UI thread (the dialog posts itself a message), and must not call back into
  // the controller. Selects the row as SelectPaletteRow does.
  virtual void FollowBackground(Index row) = 0;
  virtual void FollowPalette(Index row) = 0;
  virtual void FollowStyle(Index row) = 0;
};
