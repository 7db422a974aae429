#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "dialogs/hyper_link.h"
#include "dialogs/info_dialog.h"
#include "dialogs/resource.h"

class UpdateChecker;

// Tells the user that a newer version exists (template IDD_UPDATE): the installed
// and the latest version, and a "Download Now!" link to the address the server
// named. That address came over plain http, so the link opens it only when it is
// a web address; any other address leaves the link shown but inert. OK (and
// Escape or the close box, as the dialog only informs) ends it with 1.
class UpdateDialog : public InfoDialog<UpdateDialog> {
 public:
  static constexpr const char* kLinkText = "Download Now!";

  UpdateDialog(std::string currentVersion, std::string latestVersion, std::string downloadUrl,
               LinkOpener& opener = ShellOpener());
  // Takes the three texts of a check that answered 1.
  explicit UpdateDialog(const UpdateChecker& checker, LinkOpener& opener = ShellOpener());

  // The message above the link.
  std::string MessageText() const;

 private:
  friend class InfoDialog<UpdateDialog>;
  void Fill();
  void Forget() { link_.reset(); }
  static INT_PTR EndCode(int) { return 1; }

  std::string currentVersion_;
  std::string latestVersion_;
  std::string downloadUrl_;
  LinkOpener& opener_;
  std::unique_ptr<HyperLink> link_;
};
