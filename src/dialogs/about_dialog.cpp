#include "dialogs/about_dialog.h"

#include <utility>

#include "settings/settings_controller.h"

AboutDialog::AboutDialog(std::string productName, std::string version, LinkOpener& opener)
    : InfoDialog("AboutDialog", IDD_ABOUT),
      productName_(std::move(productName)),
      version_(std::move(version)),
      opener_(opener) {}

AboutDialog::AboutDialog(SettingsController& controller, LinkOpener& opener)
    : AboutDialog(controller.GetProductName(), controller.GetVersion(), opener) {}

void AboutDialog::Fill() {
  const int linkIds[] = {IDC_ABOUT_WEBSITE, IDC_ABOUT_MAIL, IDC_ABOUT_CONTACT};
  for (int i = 0; i < 3; ++i) {
    links_[i] = std::make_unique<HyperLink>(opener_);
    links_[i]->SubclassWindow(GetDlgItem(window_, linkIds[i]));  // label and target: the control's text
  }
  SetDlgItemTextA(window_, IDC_ABOUT_NAME_VERSION, (productName_ + " " + version_).c_str());
}

void AboutDialog::Forget() {
  for (auto& link : links_) link.reset();
}
