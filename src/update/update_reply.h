#pragma once
#include <optional>
#include <string>
#include <string_view>

// What the update server offers: "yes V1.10 http://host/file" (fields apart by single
// spaces or "|") on the first line of its reply.
struct UpdateOffer {
  std::string latestVersion;
  std::string downloadUrl;
};

// Judges a reply body. Only the first line counts; it is split at every space and
// every "|" without merging separators (two in a row make an empty field). An offer
// is exactly three fields with the first "yes" in lower case; anything else is none.
std::optional<UpdateOffer> ReadUpdateReply(std::string_view body);

// Whether a download address from the server may be handed to the shell: only
// "http://" and "https://" addresses (scheme in any case). The reply arrives over
// plain http, so anything else (a local file, a program, another protocol
// handler) could be an attacker's and is never opened.
bool IsWebAddress(std::string_view address);
