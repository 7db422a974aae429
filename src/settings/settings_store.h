#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A store of text values addressed by (section, key). Only ReadString and
// WriteString differ between store kinds; the typed operations are built on them,
// so every kind converts numbers the same way. Reads never fail: a missing or
// unreadable value gives the caller's default.
class SettingsStore {
 public:
  using IntPair = std::pair<int, int>;
  using DoublePair = std::pair<double, double>;

  virtual ~SettingsStore() = default;

  virtual std::string ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) = 0;
  virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;

  // A whole section in one read, for stores where a read per key is slow (the
  // Windows private-profile calls search the file anew each time): each key with
  // its value as ReadString gives it, in file order. Nothing when the store
  // cannot read sections whole; an empty list for a missing section.
  using Entries = std::vector<std::pair<std::string, std::string>>;
  virtual std::optional<Entries> ReadSection(const std::string& section);

  // Text converted like atoi; a text that gives 0 without being exactly "0" is
  // unreadable and gives the default.
  virtual int ReadInt(const std::string& section, const std::string& key, int defaultValue);
  virtual void WriteInt(const std::string& section, const std::string& key, int value);
  virtual double ReadDouble(const std::string& section, const std::string& key, double defaultValue);
  virtual void WriteDouble(const std::string& section, const std::string& key, double value);
  // "x,y"; anything but exactly two comma-separated pieces gives the default pair.
  virtual DoublePair ReadDoublePair(const std::string& section, const std::string& key, DoublePair defaultValue);
  virtual void WriteDoublePair(const std::string& section, const std::string& key, DoublePair value);
  virtual IntPair ReadIntPair(const std::string& section, const std::string& key, IntPair defaultValue);
  virtual void WriteIntPair(const std::string& section, const std::string& key, IntPair value);
  virtual bool ReadBool(const std::string& section, const std::string& key, bool defaultValue);
  virtual void WriteBool(const std::string& section, const std::string& key, bool value);

  // The text forms the typed operations write.
  static std::string FormatDouble(double value);
  static std::string FormatDoublePair(DoublePair value);
  static std::string FormatIntPair(IntPair value);
};
