#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "dialogs/dialog_window.h"
#include "dialogs/hyper_link.h"

class UpdateChecker;

// Tells the user that a newer version exists (template IDD_UPDATE): the installed
// and the latest version, and a "Download Now!" link to the address the server
// named. That address came over plain http, so the link opens it only when it is
// a web address; any other address leaves the link shown but inert. Modal; OK
// ends it with 1. UI thread only.
class UpdateDialog {
 public:
  static constexpr const char* kLinkText = "Download Now!";

  UpdateDialog(std::string currentVersion, std::string latestVersion, std::string downloadUrl,
               LinkOpener& opener = ShellOpener());
  // Takes the three texts of a check that answered 1.
  explicit UpdateDialog(const UpdateChecker& checker, LinkOpener& opener = ShellOpener());
  UpdateDialog(const UpdateDialog&) = delete;
  UpdateDialog& operator=(const UpdateDialog&) = delete;

  // Shows the dialog centred on `owner` (disabled meanwhile) until OK.
  INT_PTR Run(HWND owner);

  // The message above the link.
  std::string MessageText() const;

 private:
  template <class Dialog>
  friend INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static constexpr const char* kLogName = "UpdateDialog";
  void Attach(HWND window) { window_ = window; }
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();

  std::string currentVersion_;
  std::string latestVersion_;
  std::string downloadUrl_;
  LinkOpener& opener_;
  HWND window_ = nullptr;
  HICON smallIcon_ = nullptr;
  std::unique_ptr<HyperLink> link_;
};
