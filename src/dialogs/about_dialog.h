#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "dialogs/hyper_link.h"
#include "dialogs/info_dialog.h"
#include "dialogs/resource.h"

class SettingsController;

// The about box (template IDD_ABOUT): the program's icon, its name and version,
// and three links (web site, support mail, contact page) that open through the
// LinkOpener. Each link's address is its template text, shown as it is opened.
// OK and Cancel end it with their own id.
class AboutDialog : public InfoDialog<AboutDialog> {
 public:
  AboutDialog(std::string productName, std::string version, LinkOpener& opener = ShellOpener());
  // Reads the name and the version from the settings mode's controller.
  explicit AboutDialog(SettingsController& controller, LinkOpener& opener = ShellOpener());

 private:
  friend class InfoDialog<AboutDialog>;
  void Fill();
  void Forget();
  static INT_PTR EndCode(int id) { return id; }

  std::string productName_;
  std::string version_;
  LinkOpener& opener_;
  std::unique_ptr<HyperLink> links_[3];
};
