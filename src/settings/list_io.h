#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "fire/palette_record.h"

class SettingsStore;

// How the lists sit in config.ini and store.ini. Readers go by the "num" key, so
// entries beyond it (left behind when a list shrank) are never read; writers never
// remove anything. A stored index that is out of range reads and writes as 0.
// An entry the file does not hold (a missing key, a palette section with none of
// its points) is passed over, as a missing picture is: a count that claims more
// than the file has (a damaged or hand-edited file) never fills the rotation with
// made-up entries, and a gap that an earlier version left in the numbering loses
// nothing after it.

// The most entries a list is read with, whatever its "num" says.
constexpr std::size_t kMaxListEntries = 10000;
// The most palettes a palette list (or the palette store) is read with: as many
// as the settings mode lets a list hold. A palette is twelve keys of a section of
// its own, and a file of a thousand of them keeps the Windows calls busy for
// seconds before the first frame.
constexpr std::size_t kMaxPaletteEntries = 256;

// [Background] num, path<i>, currentOrder. Entries that are neither "Desktop" nor
// an existing file or folder are dropped on reading and left out on writing, the
// rest numbered without gaps (currentOrder follows its entry). A name on another
// machine (image/network_path.h) is kept without being looked at.
void ReadBackgrounds(SettingsStore& store, std::vector<std::string>& list, std::uint32_t& index);
void WriteBackgrounds(SettingsStore& store, const std::vector<std::string>& list, std::uint32_t index);

// [ColorTableInfo] num, index and one section pallette<i> of twelve points each.
void ReadPalettes(SettingsStore& store, std::vector<PaletteRecord>& list, std::uint32_t& index);
void WritePalettes(SettingsStore& store, const std::vector<PaletteRecord>& list, std::uint32_t index);

// [blur] num, blur<i> (style texts, kept as they are), currentOrder.
void ReadStyles(SettingsStore& store, std::vector<std::string>& list, std::uint32_t& index);
void WriteStyles(SettingsStore& store, const std::vector<std::string>& list, std::uint32_t index);

// The index to write: itself if it is below the count, else 0.
std::uint32_t IndexToWrite(std::uint32_t index, std::size_t count);

// Appends each source entry the target does not hold yet; the target keeps its order.
void MergeInto(std::vector<PaletteRecord>& target, const std::vector<PaletteRecord>& source);
void MergeInto(std::vector<std::string>& target, const std::vector<std::string>& source);

// Reads the styles and palettes of `store` (the user's, before an update replaced
// them) and appends those the update's lists lack.
void AppendUserLists(SettingsStore& store, std::vector<std::string>& styles, std::vector<PaletteRecord>& palettes);
