#include "fire/color_table.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "diagnostics/debug_log.h"
#include "fire/unseen_time.h"

ColorTable::~ColorTable() { Release(); }

int ColorTable::Create(int bitsPerPixel) {
  TraceLog().Log("ColorTable::Create bpp = %d", bitsPerPixel);
  depth_ = bitsPerPixel;
  // Tables of an earlier depth would not fit the recorded one: drop them in any case.
  Release();
  if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return kUnsupportedDepth;
  const int size = bitsPerPixel == 16 ? static_cast<int>(PaletteBuilder::kTable16Bytes)
                                      : static_cast<int>(PaletteBuilder::kTable32Bytes);
  builder_.reset(new (std::nothrow) PaletteBuilder());
  current_.reset(new (std::nothrow) std::uint8_t[size]());
  previous_.reset(new (std::nothrow) std::uint8_t[size]());
  target_.reset(new (std::nothrow) std::uint8_t[size]());
  if (!builder_ || !current_ || !previous_ || !target_) {
    TraceLog().Log("ColorTable::Create new buffer false");
    Release();
    return kNoMemory;
  }
  tableSize_ = size;
  TraceLog().Log("ColorTable::Create success");
  return 0;
}

void ColorTable::Release() {
  builder_.reset();
  current_.reset();
  previous_.reset();
  target_.reset();
  tableSize_ = 0;
}

void ColorTable::Build(const PaletteRecord& palette, std::uint8_t* table) {
  if (depth_ == 16) {
    builder_->BuildTable16(palette, table);
  } else {
    builder_->BuildTable32(palette, table);
  }
}

void ColorTable::StopFade() {
  fadeTime_ = 0;
  idle_ = true;
  changeElapsed_ = 0;
  changeDue_ = false;
}

void ColorTable::Apply(const PaletteRecord& palette) {
  if (tableSize_ == 0) return;
  Build(palette, current_.get());
  StopFade();
}

void ColorTable::ChangeTo(const PaletteRecord& palette) {
  if (tableSize_ == 0) return;
  if (depth_ != 32) {
    Apply(palette);
    return;
  }
  const std::size_t size = static_cast<std::size_t>(tableSize_);
  std::memcpy(previous_.get(), current_.get(), size);
  // The target starts as the current palette, so a channel the new palette
  // cannot draw stays as it is shown now, exactly as an immediate change keeps it.
  std::memcpy(target_.get(), current_.get(), size);
  Build(palette, target_.get());
  fadeTime_ = 0;
  idle_ = false;
}

void ColorTable::StepFade(std::uint32_t elapsedMs) {
  fadeTime_ = fadeTime_ + std::min(elapsedMs, kFadeDuration - fadeTime_);
  const std::uint32_t t = fadeTime_;
  const std::uint8_t* from = previous_.get();
  const std::uint8_t* to = target_.get();
  std::uint8_t* out = current_.get();
  for (int i = 0; i < tableSize_; ++i) {
    out[i] = static_cast<std::uint8_t>((from[i] * (kFadeDuration - t) + to[i] * t) / kFadeDuration);
  }
  if (t >= kFadeDuration) StopFade();
}

bool ColorTable::Tick(std::uint32_t elapsedMs) {
  if (!idle_) {
    if (tableSize_ != 0) {
      StepFade(elapsedMs);
    } else {
      StopFade();
    }
    return false;
  }
  if (!changeEnabled_) return false;
  if (changeDue_) return true;
  changeElapsed_ += elapsedMs;
  if (changeElapsed_ < changePeriod_) return false;
  changeElapsed_ -= changePeriod_;  // the excess carries over
  changeDue_ = true;
  return true;
}

std::uint32_t ColorTable::CountUnseen(std::uint32_t elapsedMs) {
  if (!idle_) {
    if (tableSize_ != 0) {
      StepFade(kFadeDuration);
    } else {
      StopFade();
    }
  }
  if (!changeEnabled_) return 0;
  changeDue_ = false;
  return CountPeriods(changeElapsed_, elapsedMs, changePeriod_);
}

void ColorTable::ShowUnseen(const PaletteRecord& palette) {
  if (tableSize_ != 0) Build(palette, current_.get());
}

void ColorTable::SetChangePeriod(std::uint32_t periodMs) {
  changePeriod_ = periodMs;
  changeElapsed_ = 0;
  changeDue_ = false;
}

void ColorTable::EnableChange(bool enable) { changeEnabled_ = enable; }
