#pragma once
#include <cstdint>
#include <memory>

#include "fire/fire_errors.h"
#include "fire/palette_builder.h"
#include "fire/palette_record.h"

// The 256 palette entries in the screen's format (RGB565 words at 16 bits,
// blue-green-red-unused at 24 and 32), the palette-change timer and, at 32
// bits, the cross-fade from the old palette to the new one. The copiers hold
// Table()'s address; changes rewrite the same buffer in place.
class ColorTable {
 public:
  static constexpr std::uint32_t kFadeDuration = 4000;
  static constexpr int kUnsupportedDepth = kFireErrorTableDepth;
  static constexpr int kNoMemory = kFireErrorNoMemory;

  ColorTable() = default;
  virtual ~ColorTable();
  ColorTable(const ColorTable&) = delete;
  ColorTable& operator=(const ColorTable&) = delete;

  // 0, or -8 for a depth other than 16, 24 and 32, or -9 when the tables cannot
  // be allocated (then nothing is kept).
  int Create(int bitsPerPixel);
  // Frees the builder and the tables; safe to call twice.
  void Release();

  // Builds `palette` into the current table at once and stops any fade.
  void Apply(const PaletteRecord& palette);
  // Advances the fade, or else the change timer; true while a change is due.
  bool Tick(std::uint32_t elapsedMs);
  // The timed change: a fade at 32 bits, an immediate Apply at 16 and 24.
  void ChangeTo(const PaletteRecord& palette);
  // Time that passed unseen (the saver slept): a running fade ends, and the
  // timer counts `elapsedMs` with every change taking no time. Returns how
  // many changes fell due in it; the caller shows the last with ShowUnseen.
  std::uint32_t CountUnseen(std::uint32_t elapsedMs);
  // Builds `palette` into the current table at once, keeping the timer's count.
  void ShowUnseen(const PaletteRecord& palette);
  // Sets the period and restarts the timer.
  void SetChangePeriod(std::uint32_t periodMs);
  void EnableChange(bool enable);

  // The current table (TableSize() bytes); null before Create.
  const std::uint8_t* Table() const { return current_.get(); }

  int TableSize() const { return tableSize_; }
  int Depth() const { return depth_; }
  bool Fading() const { return !idle_; }
  bool ChangeDue() const { return changeDue_; }
  std::uint32_t ChangePeriod() const { return changePeriod_; }

 private:
  void Build(const PaletteRecord& palette, std::uint8_t* table);
  void StopFade();
  void StepFade(std::uint32_t elapsedMs);

  std::unique_ptr<PaletteBuilder> builder_;
  std::unique_ptr<std::uint8_t[]> current_;
  std::unique_ptr<std::uint8_t[]> previous_;
  std::unique_ptr<std::uint8_t[]> target_;
  int tableSize_ = 0;
  int depth_ = 32;
  std::uint32_t fadeTime_ = 0;
  std::uint32_t changeElapsed_ = 0;
  std::uint32_t changePeriod_ = 5000;
  bool changeDue_ = false;
  bool idle_ = true;
  bool changeEnabled_ = true;
};
