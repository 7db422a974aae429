#include "update/update_checker.h"

#include <utility>

#include "update/http_client.h"
#include "update/update_reply.h"

UpdateChecker::UpdateChecker(std::string updateUrl, std::string version)
    : updateUrl_(std::move(updateUrl)), version_(std::move(version)) {}

std::string UpdateChecker::RequestUrl() const {
  // Nothing is escaped here: the query goes on the wire as it stands.
  return updateUrl_ + "?product=" + kProduct + "&version=" + version_;
}

int UpdateChecker::Check() {
  try {
    std::string body;
    {
      HttpClient client;
      if (!client.Navigate(RequestUrl())) return -1;
      body.assign(client.Body(), client.BodyLength());
    }  // the connection is closed before the answer is judged
    const std::optional<UpdateOffer> offer = ReadUpdateReply(body);
    if (!offer) return 0;
    currentVersion_ = version_;
    latestVersion_ = offer->latestVersion;
    downloadUrl_ = offer->downloadUrl;
    return 1;
  } catch (...) {
    // Out of memory while building texts: the server could not be asked.
    return -1;
  }
}
