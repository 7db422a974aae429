#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "fire/fire_sequence.h"
#include "fire/fire_style.h"
#include "fire/palette_record.h"
#include "settings/rotation.h"

class SettingsStore;

// Everything the screen saver keeps between runs: the settings folder, the lists of
// backgrounds, palettes and styles that the fire rotates through (each with its
// current index), the palette and style stores the editors pick from, the three
// change intervals and the ShowFire switch. Files live in the settings folder:
// config.ini holds what the user chose, store.ini the two stores.
//
// Nothing here raises or reports an error: missing files, sections or keys give
// defaults, out-of-range indices are reset or refused with a false result.
// There is no lock; the settings mode serialises access itself.
//
// The rotation is the fire's sequence: the fire manager takes its next
// background, palette and style from here.
class Settings : public FireSequence {
 public:
  using TextList = std::vector<std::string>;
  using PaletteList = std::vector<PaletteRecord>;

  static constexpr Index kMaxPalettes = 256;
  static constexpr std::uint32_t kMaxPosition = 1000;
  static constexpr std::uint32_t kMinIntervalSeconds = 5;
  static constexpr std::uint32_t kMaxIntervalSeconds = 7200;

  Settings() = default;
  ~Settings() override = default;
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  // --- Files ---------------------------------------------------------------

  // Finds the user's settings folder (making it from the machine's defaults at the
  // user's first start, see settings_location.h) and loads from it. False when
  // there is none.
  bool Load();
  // The same with the folder given; an empty text fails like a missing value.
  bool LoadFromFolder(const std::string& folderText);
  bool IsLoaded() const { return loaded_; }
  // config.ini and store.ini completely; clears both store-changed flags. False
  // when a file did not take every value.
  bool SaveAll();
  // Only the three current indices, into config.ini.
  void SavePositions();
  // The stores that changed, into store.ini; clears both flags.
  void SaveStores();
  // The folder text, ending in a separator; empty before a successful Load.
  const std::string& GetSettingsFolder() const { return folder_; }
  bool PaletteStoreChanged() const { return paletteStoreChanged_; }
  bool StyleStoreChanged() const { return styleStoreChanged_; }

  // --- Rotation ------------------------------------------------------------

  // Empty list: "". Otherwise the current entry (an index past the end becomes 0).
  std::string CurrentBackground() override;
  // Empty list: "" and the index stays. Otherwise the following entry, wrapping.
  std::string NextBackground() override;
  // Empty list: the built-in default palette.
  PaletteRecord CurrentPalette() override;
  PaletteRecord NextPalette() override;
  // The current style text parsed over the built-in default style.
  FireStyle CurrentStyle() const override;
  void NextStyle() override;

  static PaletteRecord DefaultPalette();
  static FireStyle DefaultStyle();
  static std::string DefaultBackground();

  // --- Editing -------------------------------------------------------------

  void GetBackgrounds(TextList& list, Index& index) const;
  // Takes the index as given; readers reset it when it is out of range.
  void SetBackgrounds(const TextList& list, Index index);
  Index GetBackgroundIndex() const override { return backgroundIndex_; }
  void SetBackgroundIndex(Index index) { backgroundIndex_ = index; }

  // Makes entry `index` of the rotation's list current; false past the end.
  bool Select(Rotation rotation, Index index);

  void GetStyles(TextList& list, Index& index) const;
  void SetStyles(const TextList& list, Index index);
  void SelectStyle(Index index);
  Index GetStyleIndex() const override { return styleIndex_; }

  const PaletteList& GetPalettes() const { return palettes_; }
  Index PaletteCount() const { return static_cast<Index>(palettes_.size()); }
  static Index MaxPalettes() { return kMaxPalettes; }
  Index GetPaletteIndex() const override { return paletteIndex_; }
  void SetPaletteIndex(Index index) { paletteIndex_ = index; }
  bool AddPalette(const PaletteRecord& record);
  bool RemovePalette(Index i);
  bool MovePaletteUp(Index i);
  bool MovePaletteDown(Index i);

  const PaletteList& GetPaletteStore() const { return paletteStore_; }
  bool AddPaletteToStore(const PaletteRecord& record);
  bool RemovePaletteFromStore(Index i);
  const TextList& GetStyleStore() const { return styleStore_; }
  bool AddStyleToStore(const std::string& text);
  bool RemoveStyleFromStore(Index i);

  // Style texts: eight "T,A" pairs joined by "|".
  static std::string FormatStyle(const std::uint8_t temperature[8], const std::uint8_t mode[8]);
  static std::string FormatStyle(const FireStyle& style);
  static FireStyle ParseStyle(const std::string& text);

  // --- Change schedule: a trackbar position 0..1000 per rotation ------------

  std::uint32_t Interval(Rotation rotation) const { return intervals_[Slot(rotation)]; }
  // Positions above 1000 are stored as 1000.
  void SetInterval(Rotation rotation, std::uint32_t position);
  // The fire's change period in milliseconds, and the label under the trackbar.
  std::uint32_t IntervalMs(Rotation rotation) const;
  std::string IntervalText(Rotation rotation) const;
  bool GetShowFire() const { return showFire_; }
  void SetShowFire(bool show) { showFire_ = show; }

 private:
  struct ImportResult {
    bool config = false;
    bool store = false;
  };

  ImportResult ImportUpdate(SettingsStore& userConfig);
  void ReadConfig(SettingsStore& config);
  void ReadTimes(SettingsStore& config);
  void WriteTimes(SettingsStore& config) const;
  void ReadStores(SettingsStore& store);
  std::string ConfigPath() const { return folder_ + "config.ini"; }
  std::string StorePath() const { return folder_ + "store.ini"; }

  std::string folder_;
  bool loaded_ = false;
  bool paletteStoreChanged_ = false;
  bool styleStoreChanged_ = false;

  TextList backgrounds_;
  Index backgroundIndex_ = 0;
  PaletteList palettes_;
  Index paletteIndex_ = 0;
  TextList styles_;
  Index styleIndex_ = 0;
  PaletteList paletteStore_;
  Index paletteStoreIndex_ = 0;
  TextList styleStore_;
  Index styleStoreIndex_ = 0;

  // Trackbar positions 0..1000 (a file may hold more); 10 until loaded.
  std::uint32_t intervals_[kRotationCount] = {10, 10, 10};
  bool showFire_ = true;
};
