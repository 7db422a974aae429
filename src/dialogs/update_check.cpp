#include "dialogs/update_check.h"

#include <atomic>
#include <system_error>
#include <thread>

#include "dialogs/update_dialog.h"
#include "update/update_checker.h"

const char* const kUpdateCheckCaption = "Check for updates";
const char* const kNoUpdatesText = "There are no updates.";
const char* const kCannotConnectText = "Can not connect to server.";

// Shared by the dialog and the checking thread; the thread writes the checker
// and then the result, the dialog reads them after the done message.
struct UpdateCheck::Job {
  Job(std::string updateUrl, std::string version) : checker(std::move(updateUrl), std::move(version)) {}
  UpdateChecker checker;
  std::atomic<int> result{-1};
};

UpdateCheck::UpdateCheck() = default;
UpdateCheck::~UpdateCheck() = default;

bool UpdateCheck::Start(HWND window, UINT doneMessage, std::string updateUrl, std::string version) {
  if (job_ != nullptr) return false;
  auto job = std::make_shared<Job>(std::move(updateUrl), std::move(version));
  try {
    std::thread([job, window, doneMessage] {
      job->result.store(job->checker.Check());
      PostMessageA(window, doneMessage, 0, 0);
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  job_ = std::move(job);
  return true;
}

int UpdateCheck::Finish(HWND owner, LinkOpener& opener) {
  const std::shared_ptr<Job> job = std::move(job_);
  if (job == nullptr) return -1;
  const int result = job->result.load();
  if (result > 0) {
    UpdateDialog(job->checker, opener).Run(owner);
  } else if (result == 0) {
    MessageBoxA(owner, kNoUpdatesText, kUpdateCheckCaption, MB_OK | MB_ICONINFORMATION);
  } else {
    MessageBoxA(owner, kCannotConnectText, kUpdateCheckCaption, MB_OK | MB_ICONWARNING);
  }
  return result;
}
