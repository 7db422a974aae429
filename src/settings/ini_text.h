#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The text of an INI file, read and edited the way the Windows private-profile
// calls do it: section and key names compared without regard to ASCII case and
// with surrounding blanks ignored, the first matching section and the first
// matching key in it win, a value loses its surrounding blanks and one pair of
// matching surrounding quotes. Edits touch only the line of the key they set (or
// add one line, or a section header and one line) and keep every other byte.
class IniText {
 public:
  IniText() = default;
  explicit IniText(const std::string& content);

  // The value as the reader sees it; nothing when the section or key is missing,
  // or when the key's line has no "=".
  std::optional<std::string> Find(const std::string& section, const std::string& key) const;
  // The first matching section's keys that have a value, as Find gives them, in
  // file order; empty when the section is missing.
  std::vector<std::pair<std::string, std::string>> Section(const std::string& section) const;
  // Replaces the key's line, or adds the key at the end of its section, or adds
  // the section at the end of the text. New lines end in CR LF.
  void Set(const std::string& section, const std::string& key, const std::string& value);
  std::string Content() const;

  // Blanks around a name or value, and one pair of matching surrounding quotes.
  static std::string Trim(const std::string& text);
  static std::string StripQuotes(const std::string& text);

 private:
  enum class Kind { kOther, kSection, kKey };
  struct Line {
    std::string text;  // the line as in the file, its line end included
    Kind kind = Kind::kOther;
    std::string name;     // lower-case section or key name
    std::string spelled;  // the key name as the file spells it
    std::optional<std::string> value;
  };

  static Line Classify(std::string text);
  // A name as it is compared: trimmed and in lower case.
  static std::string NameOf(const std::string& name);
  void IndexSections();
  // Index of the first line of the section's body, or npos.
  std::size_t FindSectionBody(const std::string& section) const;

  std::vector<Line> lines_;
  // Each section header's compared name and line, in file order.
  std::vector<std::pair<std::string, std::size_t>> sections_;
};
