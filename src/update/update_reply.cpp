#include "update/update_reply.h"

#include <vector>

std::optional<UpdateOffer> ReadUpdateReply(std::string_view body) {
  // The server ends its line with CR LF; a bare LF ends it too, so that a server that
  // writes Unix line ends cannot glue its next line onto the download address.
  std::string_view line = body.substr(0, body.find('\n'));
  if (line.size() < body.size() && line.ends_with('\r')) line.remove_suffix(1);

  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t separator = line.find_first_of(" |");
    fields.push_back(line.substr(0, separator));
    if (separator == std::string_view::npos || fields.size() > 3) break;
    line.remove_prefix(separator + 1);
  }
  if (fields.size() != 3 || fields[0] != "yes") return std::nullopt;
  return UpdateOffer{std::string(fields[1]), std::string(fields[2])};
}

bool IsWebAddress(std::string_view address) {
  const auto startsWith = [address](std::string_view scheme) {
    if (address.size() <= scheme.size()) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
      const char c = address[i];
      if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != scheme[i]) return false;
    }
    return true;
  };
  return startsWith("http://") || startsWith("https://");
}
