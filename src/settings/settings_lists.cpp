// The rotating lists and the two stores: rotation for the fire, editing for the
// settings mode. Indices are unsigned; an index past the end is never an error.
#include <limits>
#include <utility>

#include "settings/list_io.h"
#include "settings/settings.h"

static_assert(Settings::kMaxPalettes == kMaxPaletteEntries,
              "a list reads back as long as the settings mode lets it grow");

namespace {

// The following index, back to 0 at (or past) the end.
Settings::Index Following(Settings::Index index, std::size_t count) {
  const std::size_t next = static_cast<std::size_t>(index) + 1;
  return next >= count ? 0 : static_cast<Settings::Index>(next);
}

// Brings an index that ran past the end back to the first entry.
void KeepWithin(Settings::Index& index, std::size_t count) {
  if (index >= count) index = 0;
}

// A store's edits. Either marks the store changed, so that it is written when
// the settings mode ends; removing past the end changes nothing else.
template <typename Entry>
bool AddToStore(std::vector<Entry>& store, bool& changed, const Entry& entry) {
  changed = true;
  store.push_back(entry);
  return true;
}

template <typename Entry>
bool RemoveFromStore(std::vector<Entry>& store, bool& changed, Settings::Index i) {
  changed = true;
  if (i >= store.size()) return false;
  store.erase(store.begin() + i);
  return true;
}

}  // namespace

std::string Settings::DefaultBackground() { return "desktop"; }

PaletteRecord Settings::DefaultPalette() {
  return PaletteRecord{{{96, 0},
                        {174, 67},
                        {162, 200},
                        {223, 255},  // red
                        {0, 16},
                        {163, 65},
                        {62, 179},
                        {133, 255},  // green
                        {153, 0},
                        {199, 249},
                        {253, -2},
                        {254, 255}}};  // blue
}

std::string Settings::CurrentBackground() {
  if (backgrounds_.empty()) return "";
  KeepWithin(backgroundIndex_, backgrounds_.size());
  return backgrounds_[backgroundIndex_];
}

std::string Settings::NextBackground() {
  if (backgrounds_.empty()) return "";
  backgroundIndex_ = Following(backgroundIndex_, backgrounds_.size());
  return backgrounds_[backgroundIndex_];
}

PaletteRecord Settings::CurrentPalette() {
  if (palettes_.empty()) return DefaultPalette();
  KeepWithin(paletteIndex_, palettes_.size());
  return palettes_[paletteIndex_];
}

PaletteRecord Settings::NextPalette() {
  if (palettes_.empty()) return DefaultPalette();
  paletteIndex_ = Following(paletteIndex_, palettes_.size());
  return palettes_[paletteIndex_];
}

FireStyle Settings::CurrentStyle() const {
  if (styleIndex_ >= styles_.size()) return DefaultStyle();
  return ParseStyle(styles_[styleIndex_]);
}

void Settings::NextStyle() { styleIndex_ = Following(styleIndex_, styles_.size()); }

void Settings::GetBackgrounds(TextList& list, Index& index) const {
  list = backgrounds_;
  index = backgroundIndex_;
}

void Settings::SetBackgrounds(const TextList& list, Index index) {
  backgrounds_ = list;
  backgroundIndex_ = index;
}

bool Settings::Select(Rotation rotation, Index index) {
  const std::size_t counts[kRotationCount] = {backgrounds_.size(), palettes_.size(), styles_.size()};
  Index* const indices[kRotationCount] = {&backgroundIndex_, &paletteIndex_, &styleIndex_};
  if (index >= counts[Slot(rotation)]) return false;
  *indices[Slot(rotation)] = index;
  return true;
}

void Settings::GetStyles(TextList& list, Index& index) const {
  list = styles_;
  index = styleIndex_;
}

void Settings::SetStyles(const TextList& list, Index index) {
  styles_ = list;
  styleIndex_ = index;
  KeepWithin(styleIndex_, styles_.size());
}

void Settings::SelectStyle(Index index) {
  styleIndex_ = index;
  KeepWithin(styleIndex_, styles_.size());
}

bool Settings::AddPalette(const PaletteRecord& record) {
  palettes_.push_back(record);
  return true;
}

bool Settings::RemovePalette(Index i) {
  if (i >= palettes_.size()) return false;
  palettes_.erase(palettes_.begin() + i);
  // With the list now empty this gives the largest index, which every reader
  // treats as out of range.
  if (paletteIndex_ >= palettes_.size()) paletteIndex_ = static_cast<Index>(palettes_.size()) - 1;
  return true;
}

bool Settings::MovePaletteUp(Index i) {
  if (palettes_.size() < 2 || i == 0 || i >= palettes_.size()) return false;
  std::swap(palettes_[i - 1], palettes_[i]);
  // Only a moved current entry takes the index along; a current neighbour does not.
  if (paletteIndex_ == i) paletteIndex_ = i - 1;
  return true;
}

bool Settings::MovePaletteDown(Index i) {
  if (palettes_.size() < 2 || i >= palettes_.size() - 1) return false;
  std::swap(palettes_[i], palettes_[i + 1]);
  if (paletteIndex_ == i) paletteIndex_ = i + 1;
  return true;
}

bool Settings::AddPaletteToStore(const PaletteRecord& record) {
  return AddToStore(paletteStore_, paletteStoreChanged_, record);
}

bool Settings::RemovePaletteFromStore(Index i) { return RemoveFromStore(paletteStore_, paletteStoreChanged_, i); }

bool Settings::AddStyleToStore(const std::string& text) { return AddToStore(styleStore_, styleStoreChanged_, text); }

bool Settings::RemoveStyleFromStore(Index i) { return RemoveFromStore(styleStore_, styleStoreChanged_, i); }
