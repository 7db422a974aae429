#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "dialogs/dialog_window.h"
#include "dialogs/hyper_link.h"

class SettingsController;

// The about box (template IDD_ABOUT): the program's icon, its name and version,
// and three links (web site, support mail, contact page) that open through the
// LinkOpener. Each link's address is its template text, shown as it is opened.
// Modal; OK and Cancel end it. UI thread only.
class AboutDialog {
 public:
  AboutDialog(std::string productName, std::string version, LinkOpener& opener = ShellOpener());
  // Reads the name and the version from the settings mode's controller.
  explicit AboutDialog(SettingsController& controller, LinkOpener& opener = ShellOpener());
  AboutDialog(const AboutDialog&) = delete;
  AboutDialog& operator=(const AboutDialog&) = delete;

  // Shows the box centred on `owner` (disabled meanwhile) until it is closed.
  INT_PTR Run(HWND owner);

 private:
  template <class Dialog>
  friend INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static constexpr const char* kLogName = "AboutDialog";
  void Attach(HWND window) { window_ = window; }
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();

  std::string productName_;
  std::string version_;
  LinkOpener& opener_;
  HWND window_ = nullptr;
  HICON smallIcon_ = nullptr;
  std::unique_ptr<HyperLink> links_[3];
};
