#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The header fields of one reply. Names compare without regard to case; a name that
// comes again has its new value appended to the old one after a "," (so two
// Set-Cookie lines read as one value). The spelling first seen is kept.
class HttpHeaders {
 public:
  void Add(std::string_view name, std::string_view value);
  // Null when the reply has no such header.
  const std::string* Find(std::string_view name) const;
  // True when the header is present and its value, without surrounding white space,
  // equals `token` without regard to case ("Connection: Close" is "close").
  bool HasToken(std::string_view name, std::string_view token) const;
  void Clear() { fields_.clear(); }
  std::size_t Size() const { return fields_.size(); }

 private:
  std::vector<std::pair<std::string, std::string>> fields_;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
std::string_view TrimHttpWhiteSpace(std::string_view text);
