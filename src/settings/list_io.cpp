#include "settings/list_io.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

#include "image/network_path.h"
#include "settings/file_access.h"
#include "settings/settings_store.h"

namespace {

const char kDesktop[] = "Desktop";
const char* const kPointKeys[PaletteRecord::kPoints] = {"RedPoint0",   "RedPoint1",   "RedPoint2",   "RedPoint3",
                                                        "GreenPoint0", "GreenPoint1", "GreenPoint2", "GreenPoint3",
                                                        "BluePoint0",  "BluePoint1",  "BluePoint2",  "BluePoint3"};

// "Desktop" is matched exactly: "desktop" is taken as a file name like any other.
// A picture on another machine is kept unasked: asking would stall the start
// for as long as the server takes to answer, or to be given up. Loading it later
// finds out, off the frame thread.
bool BackgroundUsable(const std::string& entry) {
  return entry == kDesktop || IsNetworkPath(entry) || PathExists(entry);
}

// Counts come from files the user may have edited: a negative one reads as none,
// and a huge one must not have us read (and hold) billions of default entries.
std::size_t ReadCount(SettingsStore& store, const std::string& section) {
  const int count = store.ReadInt(section, "num", 0);
  if (count <= 0) return 0;
  return std::min(static_cast<std::size_t>(count), kMaxListEntries);
}

// What a read gives for a key the file does not hold: no value in a file can be
// it (a line holds no line end).
const char kAbsent[] = "\n";

bool Holds(SettingsStore& store, const std::string& section, const std::string& key) {
  return store.ReadString(section, key, kAbsent) != kAbsent;
}

// One section's values read whole, answering reads as the store would.
class SectionValues : public SettingsStore {
 public:
  explicit SectionValues(Entries entries) : entries_(std::move(entries)) {}
  std::string ReadString(const std::string&, const std::string& key, const std::string& defaultValue) override {
    // The first of a duplicated key wins, and names compare without case, as in a file.
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) {
      return std::equal(entry.first.begin(), entry.first.end(), key.begin(), key.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
      });
    });
    return found != entries_.end() ? found->second : defaultValue;
  }
  void WriteString(const std::string&, const std::string&, const std::string&) override {}

 private:
  Entries entries_;
};

// Palette i's twelve points, or nothing when its section holds none of them. The
// section is read whole where the store can: twelve reads of a large file cost
// the Windows calls twelve searches of it.
std::optional<PaletteRecord> ReadPalette(SettingsStore& store, std::size_t i) {
  const std::string section = "pallette" + std::to_string(i);
  std::optional<SectionValues> whole;
  if (std::optional<SettingsStore::Entries> entries = store.ReadSection(section)) whole.emplace(std::move(*entries));
  SettingsStore& source = whole ? static_cast<SettingsStore&>(*whole) : store;
  const bool held = std::any_of(std::begin(kPointKeys), std::end(kPointKeys),
                                [&](const char* key) { return Holds(source, section, key); });
  if (!held) return std::nullopt;
  PaletteRecord record;
  for (int p = 0; p < PaletteRecord::kPoints; ++p) {
    const SettingsStore::IntPair point = source.ReadIntPair(section, kPointKeys[p], {0, 0});
    record.points[p] = PalettePoint{point.first, point.second};
  }
  return record;
}

std::uint32_t IndexWithin(int index, std::size_t count) {
  const std::uint32_t value = static_cast<std::uint32_t>(index);
  return value < count ? value : 0;
}

// Every text is kept as a style: one that does not parse burns as the default.
bool AnyStyle(const std::string&) { return true; }

// A text list: the entries "<prefix>0" onwards that the file holds and `keep`
// accepts (a missing or refused one is passed over, not the end of the list),
// then its current index among those kept.
void ReadTextList(SettingsStore& store, const char* section, const char* prefix, bool (*keep)(const std::string& entry),
                  std::vector<std::string>& list, std::uint32_t& index) {
  list.clear();
  const std::size_t count = ReadCount(store, section);
  for (std::size_t i = 0; i < count; ++i) {
    std::string entry = store.ReadString(section, prefix + std::to_string(i), kAbsent);
    if (entry != kAbsent && keep(entry)) list.push_back(std::move(entry));
  }
  index = IndexWithin(store.ReadInt(section, "currentOrder", 0), list.size());
}

}  // namespace

std::uint32_t IndexToWrite(std::uint32_t index, std::size_t count) { return index < count ? index : 0; }

void ReadBackgrounds(SettingsStore& store, std::vector<std::string>& list, std::uint32_t& index) {
  ReadTextList(store, "Background", "path", &BackgroundUsable, list, index);
}

void WriteBackgrounds(SettingsStore& store, const std::vector<std::string>& list, std::uint32_t index) {
  // Entries whose file is gone are left out and the rest numbered without gaps:
  // a skipped number would keep whatever the file held under it before, and the
  // current index would point past the entry it meant once read back.
  std::uint32_t written = 0;
  std::uint32_t current = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!BackgroundUsable(list[i])) continue;
    if (i == index) current = written;
    store.WriteString("Background", "path" + std::to_string(written), list[i]);
    ++written;
  }
  store.WriteInt("Background", "num", static_cast<int>(written));
  store.WriteInt("Background", "currentOrder", static_cast<int>(current));
}

void ReadPalettes(SettingsStore& store, std::vector<PaletteRecord>& list, std::uint32_t& index) {
  list.clear();
  const std::size_t count = std::min(ReadCount(store, "ColorTableInfo"), kMaxPaletteEntries);
  const int storedIndex = store.ReadInt("ColorTableInfo", "index", 0);
  for (std::size_t i = 0; i < count; ++i) {
    const std::optional<PaletteRecord> record = ReadPalette(store, i);
    if (!record) continue;
    list.push_back(*record);
  }
  index = IndexWithin(storedIndex, list.size());
}

void WritePalettes(SettingsStore& store, const std::vector<PaletteRecord>& list, std::uint32_t index) {
  store.WriteInt("ColorTableInfo", "num", static_cast<int>(list.size()));
  store.WriteInt("ColorTableInfo", "index", static_cast<int>(IndexToWrite(index, list.size())));
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string section = "pallette" + std::to_string(i);
    for (int p = 0; p < PaletteRecord::kPoints; ++p) {
      const PalettePoint& point = list[i].points[p];
      store.WriteIntPair(section, kPointKeys[p], {point.x, point.y});
    }
  }
}

void ReadStyles(SettingsStore& store, std::vector<std::string>& list, std::uint32_t& index) {
  ReadTextList(store, "blur", "blur", &AnyStyle, list, index);
}

void WriteStyles(SettingsStore& store, const std::vector<std::string>& list, std::uint32_t index) {
  store.WriteInt("blur", "num", static_cast<int>(list.size()));
  for (std::size_t i = 0; i < list.size(); ++i) store.WriteString("blur", "blur" + std::to_string(i), list[i]);
  store.WriteInt("blur", "currentOrder", static_cast<int>(IndexToWrite(index, list.size())));
}

void MergeInto(std::vector<PaletteRecord>& target, const std::vector<PaletteRecord>& source) {
  for (const PaletteRecord& entry : source) {
    if (std::none_of(target.begin(), target.end(), [&](const PaletteRecord& existing) { return existing == entry; })) {
      target.push_back(entry);
    }
  }
}

void MergeInto(std::vector<std::string>& target, const std::vector<std::string>& source) {
  for (const std::string& entry : source) {
    if (std::find(target.begin(), target.end(), entry) == target.end()) target.push_back(entry);
  }
}

void AppendUserLists(SettingsStore& store, std::vector<std::string>& styles, std::vector<PaletteRecord>& palettes) {
  std::vector<std::string> userStyles;
  std::uint32_t ignored = 0;
  ReadStyles(store, userStyles, ignored);
  MergeInto(styles, userStyles);
  std::vector<PaletteRecord> userPalettes;
  ReadPalettes(store, userPalettes, ignored);
  MergeInto(palettes, userPalettes);
}
