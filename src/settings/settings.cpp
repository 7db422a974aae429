// Loading and saving: where the files are, the one-time import of update files,
// and which parts of config.ini and store.ini each save writes.
#include "settings/settings.h"

#include "settings/file_access.h"
#include "settings/ini_store.h"
#include "settings/list_io.h"
#include "settings/settings_folder.h"
#include "settings/settings_location.h"
#include "settings/update_file_name.h"

bool Settings::Load() { return LoadFromFolder(PrepareSettingsFolder(FindSettingsFolderNames())); }

bool Settings::LoadFromFolder(const std::string& folderText) {
  if (folderText.empty()) return false;
  try {
    folder_ = SettingsFolderFromText(folderText);
    // Others rely on this: the help file and report.csv are addressed relative to it.
    SetCurrentFolder(folder_);

    backgrounds_.clear();
    palettes_.clear();
    styles_.clear();
    paletteStore_.clear();
    styleStore_.clear();

    IniStore config(ConfigPath());
    const ImportResult imported = ImportUpdate(config);
    if (imported.config) {
      // The update's lists lead; the user's own styles and palettes that it lacks
      // follow. The user's backgrounds and intervals give way to the update's.
      AppendUserLists(config, styles_, palettes_);
    } else {
      ReadConfig(config);
    }

    IniStore store(StorePath());
    if (imported.store) {
      AppendUserLists(store, styleStore_, paletteStore_);
    } else {
      ReadStores(store);
    }
    if (imported.config || imported.store) SaveAll();
  } catch (...) {
    // Only allocation can fail here; a half-read object must not be used.
    return false;
  }
  loaded_ = true;
  return true;
}

void Settings::ReadConfig(SettingsStore& config) {
  ReadBackgrounds(config, backgrounds_, backgroundIndex_);
  ReadTimes(config);
  ReadStyles(config, styles_, styleIndex_);
  ReadPalettes(config, palettes_, paletteIndex_);
}

void Settings::ReadStores(SettingsStore& store) {
  ReadPalettes(store, paletteStore_, paletteStoreIndex_);
  ReadStyles(store, styleStore_, styleStoreIndex_);
}

Settings::ImportResult Settings::ImportUpdate(SettingsStore& userConfig) {
  ImportResult result;
  const std::string configName = userConfig.ReadString("update", "config", "");
  const std::string storeName = userConfig.ReadString("update", "store", "");
  if (configName.empty() && storeName.empty()) return result;

  // A name that leads out of the settings folder is refused outright: the files
  // named here are deleted after reading.
  const bool configUsable = IsSafeUpdateFileName(configName) && RegularFileExists(folder_ + configName);
  const bool storeUsable = IsSafeUpdateFileName(storeName) && RegularFileExists(folder_ + storeName);

  if (configUsable) {
    IniStore update(folder_ + configName);
    ReadConfig(update);
    result.config = true;
  }
  if (storeUsable) {
    IniStore update(folder_ + storeName);
    ReadStores(update);
    result.store = true;
  }

  // Emptied whatever happened, so that a bad or missing name is not retried forever.
  userConfig.WriteString("update", "config", "");
  userConfig.WriteString("update", "store", "");

  if (configUsable) RemoveFile(folder_ + configName);
  if (storeUsable && storeName != configName) RemoveFile(folder_ + storeName);
  return result;
}

bool Settings::SaveAll() {
  // Without a folder the paths would be relative, and Windows would put a relative
  // private-profile file into its own folder.
  if (folder_.empty()) return false;
  bool saved = false;
  try {
    IniStore config(ConfigPath());
    WriteBackgrounds(config, backgrounds_, backgroundIndex_);
    WriteTimes(config);
    WritePalettes(config, palettes_, paletteIndex_);
    WriteStyles(config, styles_, styleIndex_);

    IniStore store(StorePath());
    WritePalettes(store, paletteStore_, paletteStoreIndex_);
    WriteStyles(store, styleStore_, styleStoreIndex_);
    const bool configSaved = config.Commit();
    saved = store.Commit() && configSaved;
  } catch (...) {
    // Out of memory while building the texts: reported as not saved.
  }
  paletteStoreChanged_ = false;
  styleStoreChanged_ = false;
  return saved;
}

void Settings::SavePositions() {
  if (folder_.empty()) return;
  try {
    IniStore config(ConfigPath());
    config.WriteInt("Background", "currentOrder",
                    static_cast<int>(IndexToWrite(backgroundIndex_, backgrounds_.size())));
    config.WriteInt("ColorTableInfo", "index", static_cast<int>(IndexToWrite(paletteIndex_, palettes_.size())));
    config.WriteInt("blur", "currentOrder", static_cast<int>(IndexToWrite(styleIndex_, styles_.size())));
  } catch (...) {
  }
}

void Settings::SaveStores() {
  if (folder_.empty()) return;
  try {
    IniStore store(StorePath());
    if (paletteStoreChanged_) WritePalettes(store, paletteStore_, paletteStoreIndex_);
    if (styleStoreChanged_) WriteStyles(store, styleStore_, styleStoreIndex_);
  } catch (...) {
  }
  paletteStoreChanged_ = false;
  styleStoreChanged_ = false;
}
