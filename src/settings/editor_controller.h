#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fire/palette_record.h"

// What the palette and style editors may do while the settings mode runs: keep
// entries in the palette and style stores, preview a style on the running fire,
// and start from the current style. The settings controller implements it, under
// the same frame lock and threading rules as its own operations.
class EditorController {
 public:
  using TextList = std::vector<std::string>;
  using PaletteList = std::vector<PaletteRecord>;
  using Index = std::uint32_t;
  // Eight temperatures and eight modes of a fire style, hottest area first.
  using StyleValues = std::uint8_t[8];

  virtual ~EditorController() = default;

  // --- Stores --------------------------------------------------------------------

  virtual PaletteList GetPaletteStore() = 0;
  // Answer whether the store took or dropped the entry.
  virtual bool AddPaletteToStore(const PaletteRecord& record) = 0;
  virtual bool RemovePaletteFromStore(Index i) = 0;
  virtual TextList GetStyleStore() = 0;
  virtual bool AddStyleToStore(const std::string& text) = 0;
  virtual bool RemoveStyleFromStore(Index i) = 0;
  // The most palettes a list holds.
  virtual Index GetMaxPalettes() = 0;

  // --- The running fire ----------------------------------------------------------

  // Gives the eight pairs to the fire at once; nothing is stored.
  virtual void SetPreviewStyle(const StyleValues temperatures, const StyleValues modes) = 0;
  // The current style (the built-in one when the list is empty).
  virtual void GetCurrentStyle(StyleValues temperatures, StyleValues modes) = 0;
  // Runs `work` under the frame lock: for an editor that rewrites a table the
  // fire reads (the palette editor's working colour table).
  virtual void UnderFrameLock(const std::function<void()>& work) = 0;
};
