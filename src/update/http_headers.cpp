#include "update/http_headers.h"

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsHttpWhiteSpace(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::string_view TrimHttpWhiteSpace(std::string_view text) {
  while (!text.empty() && IsHttpWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsHttpWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

void HttpHeaders::Add(std::string_view name, std::string_view value) {
  for (auto& field : fields_) {
    if (EqualsIgnoringCase(field.first, name)) {
      field.second.push_back(',');
      field.second.append(value);
      return;
    }
  }
  fields_.emplace_back(std::string(name), std::string(value));
}

const std::string* HttpHeaders::Find(std::string_view name) const {
  for (const auto& field : fields_) {
    if (EqualsIgnoringCase(field.first, name)) return &field.second;
  }
  return nullptr;
}

bool HttpHeaders::HasToken(std::string_view name, std::string_view token) const {
  const std::string* value = Find(name);
  return value != nullptr && EqualsIgnoringCase(TrimHttpWhiteSpace(*value), token);
}
