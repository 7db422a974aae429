#include "settings/settings_store.h"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <locale>
#include <sstream>
#include <vector>

#include "settings/number_text.h"

namespace {

// Cut at every comma, keeping empty pieces, so "1,,2" has three pieces and fails.
std::vector<std::string> SplitPair(const std::string& text) {
  std::vector<std::string> pieces;
  boost::algorithm::split(pieces, text, boost::algorithm::is_any_of(","), boost::algorithm::token_compress_off);
  return pieces;
}

// Two numbers split by one comma; anything else reads as the default.
template <typename Value>
std::pair<Value, Value> PairOf(const std::string& text, std::pair<Value, Value> defaultValue,
                               Value (*parse)(const std::string&)) {
  const std::vector<std::string> pieces = SplitPair(text);
  if (pieces.size() != 2) return defaultValue;
  return {parse(pieces[0]), parse(pieces[1])};
}

}  // namespace

int SettingsStore::ReadInt(const std::string& section, const std::string& key, int defaultValue) {
  const std::string text = ReadString(section, key, std::to_string(defaultValue));
  const int value = TextToInt(text);
  // atoi cannot tell "0" from garbage; only a literal "0" counts as zero.
  if (value == 0 && text != "0") return defaultValue;
  return value;
}

void SettingsStore::WriteInt(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

double SettingsStore::ReadDouble(const std::string& section, const std::string& key, double defaultValue) {
  const std::string text = ReadString(section, key, FormatDouble(defaultValue));
  const double value = TextToDouble(text);
  if (value == 0.0 && text != "0") return defaultValue;
  return value;
}

void SettingsStore::WriteDouble(const std::string& section, const std::string& key, double value) {
  WriteString(section, key, FormatDouble(value));
}

SettingsStore::DoublePair SettingsStore::ReadDoublePair(const std::string& section, const std::string& key,
                                                        DoublePair defaultValue) {
  return PairOf(ReadString(section, key, FormatDoublePair(defaultValue)), defaultValue, &TextToDouble);
}

void SettingsStore::WriteDoublePair(const std::string& section, const std::string& key, DoublePair value) {
  WriteString(section, key, FormatDoublePair(value));
}

std::optional<SettingsStore::Entries> SettingsStore::ReadSection(const std::string&) { return std::nullopt; }

SettingsStore::IntPair SettingsStore::ReadIntPair(const std::string& section, const std::string& key,
                                                  IntPair defaultValue) {
  return PairOf(ReadString(section, key, FormatIntPair(defaultValue)), defaultValue, &TextToInt);
}

void SettingsStore::WriteIntPair(const std::string& section, const std::string& key, IntPair value) {
  WriteString(section, key, FormatIntPair(value));
}

bool SettingsStore::ReadBool(const std::string& section, const std::string& key, bool defaultValue) {
  return ReadInt(section, key, defaultValue ? 1 : 0) != 0;
}

void SettingsStore::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string SettingsStore::FormatDouble(double value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());  // a decimal point whatever the user's locale
  out << value;
  return out.str();
}

std::string SettingsStore::FormatDoublePair(DoublePair value) {
  return FormatDouble(value.first) + "," + FormatDouble(value.second);
}

std::string SettingsStore::FormatIntPair(IntPair value) {
  return std::to_string(value.first) + "," + std::to_string(value.second);
}
