#pragma once
#include <string>

// Asks the maker's server whether a version newer than the installed one exists:
// one GET of the update address with "?product=Hearthmoor&version=<version>", judged
// on the first line of the reply. Blocks the calling thread for the whole exchange
// (bounded by the HTTP client's deadline). Made per check; keeps nothing between checks.
class UpdateChecker {
 public:
  static constexpr const char* kProduct = "Hearthmoor";

  // `updateUrl`: an http URL of checkupdate.php (see UpdateAddress); `version`: the
  // installed version string, such as "V1.00".
  UpdateChecker(std::string updateUrl, std::string version);

  // 1: a newer version exists and the three texts below are set; 0: the server
  // answered without an offer; -1: it could not be asked (no connection, no reply,
  // or a status the HTTP client refused). Never throws.
  int Check();

  const std::string& CurrentVersion() const { return currentVersion_; }
  const std::string& LatestVersion() const { return latestVersion_; }
  const std::string& DownloadUrl() const { return downloadUrl_; }

  // The URL Check asks for.
  std::string RequestUrl() const;

 private:
  std::string updateUrl_;
  std::string version_;
  std::string currentVersion_;
  std::string latestVersion_;
  std::string downloadUrl_;
};
