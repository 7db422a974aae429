#pragma once
#include <cstdint>
#include <string>

#include "fire/fire_style.h"
#include "fire/palette_record.h"

// What the fire shows and what it shows next: the backgrounds, palettes and
// styles it rotates through, each list with its current entry. The fire manager
// asks for the current entries when it starts and for the next one whenever a
// timed change falls due, in the middle of a frame; an implementation must
// answer without blocking. The settings are the implementation the program uses.
class FireSequence {
 public:
  using Index = std::uint32_t;

  virtual ~FireSequence() = default;

  // Empty list: "". Otherwise the current entry.
  virtual std::string CurrentBackground() = 0;
  // Empty list: "" and the index stays. Otherwise the following entry, wrapping.
  virtual std::string NextBackground() = 0;
  // Empty list: a built-in default palette.
  virtual PaletteRecord CurrentPalette() = 0;
  virtual PaletteRecord NextPalette() = 0;
  virtual FireStyle CurrentStyle() const = 0;
  // Moves to the following style; CurrentStyle then answers it.
  virtual void NextStyle() = 0;

  virtual Index GetBackgroundIndex() const = 0;
  virtual Index GetPaletteIndex() const = 0;
  virtual Index GetStyleIndex() const = 0;
};
