#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "dialogs/link_opener.h"

class UpdateChecker;

// The settings dialog's "Check For Updates". The server is asked on a thread of
// its own, so that the dialog and the fire go on while it is slow (the HTTP
// client's deadline, name lookup included, bounds the wait) and the settings
// mode can end meanwhile without waiting for it: the thread then finishes, or
// is ended with the process, on its own. When the answer is in, `doneMessage`
// is posted to the window that started the check, which then calls Finish on
// its own thread. UI thread only.
class UpdateCheck {
 public:
  UpdateCheck();
  ~UpdateCheck();
  UpdateCheck(const UpdateCheck&) = delete;
  UpdateCheck& operator=(const UpdateCheck&) = delete;

  // False when a check is running already or no thread could be had.
  bool Start(HWND window, UINT doneMessage, std::string updateUrl, std::string version);
  bool Running() const { return job_ != nullptr; }
  // After the done message: shows the answer, owned by `owner` (the update dialog
  // for an offer, else "There are no updates." or "Can not connect to server.",
  // caption "Check for updates"), and answers what the check answered: 1, 0 or -1.
  int Finish(HWND owner, LinkOpener& opener = ShellOpener());
  // After the done message, when nobody is left to be told the answer.
  void Forget() { job_.reset(); }

 private:
  struct Job;
  std::shared_ptr<Job> job_;
};

extern const char* const kUpdateCheckCaption;
extern const char* const kNoUpdatesText;
extern const char* const kCannotConnectText;
