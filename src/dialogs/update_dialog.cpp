#include "dialogs/update_dialog.h"

#include <utility>

#include "update/update_checker.h"
#include "update/update_reply.h"

UpdateDialog::UpdateDialog(std::string currentVersion, std::string latestVersion, std::string downloadUrl,
                           LinkOpener& opener)
    : InfoDialog("UpdateDialog", IDD_UPDATE),
      currentVersion_(std::move(currentVersion)),
      latestVersion_(std::move(latestVersion)),
      downloadUrl_(std::move(downloadUrl)),
      opener_(opener) {}

UpdateDialog::UpdateDialog(const UpdateChecker& checker, LinkOpener& opener)
    : UpdateDialog(checker.CurrentVersion(), checker.LatestVersion(), checker.DownloadUrl(), opener) {}

std::string UpdateDialog::MessageText() const {
  std::string text = "Hearthmoor has a new version: \r\nCurrent Version: " + currentVersion_ +
                     ".\r\nLatest Version: " + latestVersion_ + ".\r\n";
  // Inviting a click on a link that will not open would only puzzle the user.
  if (IsWebAddress(downloadUrl_)) text += "\r\nClick the link below to download it.";
  return text;
}

void UpdateDialog::Fill() {
  HWND linkControl = GetDlgItem(window_, IDC_UPDATE_LINK);
  if (IsWebAddress(downloadUrl_)) {
    link_ = std::make_unique<HyperLink>(opener_);
    link_->SubclassWindow(linkControl);
    link_->SetLabel(kLinkText);
    link_->SetTarget(downloadUrl_);
  } else {
    SetWindowTextA(linkControl, kLinkText);
    EnableWindow(linkControl, FALSE);
  }
  SetDlgItemTextA(window_, IDC_UPDATE_MESSAGE, MessageText().c_str());
}
