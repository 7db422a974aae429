#include "settings/ini_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(const std::string& text) {
  std::string result = text;
  for (char& c : result) c = Lower(c);
  return result;
}

// Built by appending: gcc 12 warns falsely about chains of operator+ at -O3.
std::string KeyLine(const std::string& key, const std::string& value) {
  std::string line = key;
  line.append("=").append(value).append("\r\n");
  return line;
}

std::string SectionLine(const std::string& section) {
  std::string line = "[";
  line.append(section).append("]\r\n");
  return line;
}

bool EndsWithNewline(const std::string& text) { return !text.empty() && text.back() == '\n'; }

}  // namespace

IniText::IniText(const std::string& content) {
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    end = end == std::string::npos ? content.size() : end + 1;
    lines_.push_back(Classify(content.substr(start, end - start)));
    start = end;
  }
  IndexSections();
}

std::string IniText::Trim(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string IniText::StripQuotes(const std::string& text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

IniText::Line IniText::Classify(std::string text) {
  Line line;
  const std::string body = Trim(text);
  if (!body.empty() && body.front() == '[') {
    const std::size_t close = body.find(']');
    if (close != std::string::npos) {
      line.kind = Kind::kSection;
      line.name = Lowered(Trim(body.substr(1, close - 1)));
    }
  } else if (!body.empty() && body.front() != ';') {
    line.kind = Kind::kKey;
    const std::size_t equals = body.find('=');
    line.spelled = equals == std::string::npos ? body : Trim(body.substr(0, equals));
    line.name = Lowered(line.spelled);
    if (equals != std::string::npos) {
      line.value = StripQuotes(Trim(body.substr(equals + 1)));
    }
  }
  line.text = std::move(text);
  return line;
}

std::string IniText::NameOf(const std::string& name) { return Lowered(Trim(name)); }

void IniText::IndexSections() {
  sections_.clear();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::kSection) sections_.emplace_back(lines_[i].name, i);
  }
}

std::size_t IniText::FindSectionBody(const std::string& section) const {
  const std::string wanted = NameOf(section);
  for (const auto& [name, line] : sections_) {
    if (name == wanted) return line + 1;
  }
  return std::string::npos;
}

std::optional<std::string> IniText::Find(const std::string& section, const std::string& key) const {
  const std::size_t body = FindSectionBody(section);
  if (body == std::string::npos) return std::nullopt;
  const std::string wanted = NameOf(key);
  for (std::size_t i = body; i < lines_.size() && lines_[i].kind != Kind::kSection; ++i) {
    if (lines_[i].kind == Kind::kKey && lines_[i].name == wanted) return lines_[i].value;
  }
  return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> IniText::Section(const std::string& section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  const std::size_t body = FindSectionBody(section);
  if (body == std::string::npos) return entries;
  for (std::size_t i = body; i < lines_.size() && lines_[i].kind != Kind::kSection; ++i) {
    if (lines_[i].kind == Kind::kKey && lines_[i].value) entries.emplace_back(lines_[i].spelled, *lines_[i].value);
  }
  return entries;
}

void IniText::Set(const std::string& section, const std::string& key, const std::string& value) {
  const std::string keyName = Trim(key);
  const std::string wanted = NameOf(key);
  const std::size_t body = FindSectionBody(section);
  if (body == std::string::npos) {
    if (!lines_.empty() && !EndsWithNewline(lines_.back().text)) lines_.back().text += "\r\n";
    lines_.push_back(Classify(SectionLine(Trim(section))));
    lines_.push_back(Classify(KeyLine(keyName, value)));
    IndexSections();
    return;
  }
  // The new key goes after the section's last non-blank line, so that blank lines
  // separating it from the next section stay where they are.
  std::size_t insertAt = body;
  std::size_t i = body;
  for (; i < lines_.size() && lines_[i].kind != Kind::kSection; ++i) {
    if (lines_[i].kind == Kind::kKey && lines_[i].name == wanted) {
      // The file's spelling of the name stays, as Windows keeps it.
      lines_[i] = Classify(KeyLine(lines_[i].spelled, value));
      return;
    }
    if (!Trim(lines_[i].text).empty()) insertAt = i + 1;
  }
  if (insertAt > 0 && !EndsWithNewline(lines_[insertAt - 1].text)) lines_[insertAt - 1].text += "\r\n";
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), Classify(KeyLine(keyName, value)));
  IndexSections();
}

std::string IniText::Content() const {
  std::string content;
  for (const Line& line : lines_) content += line.text;
  return content;
}
