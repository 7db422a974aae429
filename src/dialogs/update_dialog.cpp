#include "dialogs/update_dialog.h"

#include <utility>

#include "diagnostics/debug_log.h"
#include "dialogs/dialog_window.h"
#include "dialogs/resource.h"
#include "update/update_checker.h"
#include "update/update_reply.h"

UpdateDialog::UpdateDialog(std::string currentVersion, std::string latestVersion, std::string downloadUrl,
                           LinkOpener& opener)
    : currentVersion_(std::move(currentVersion)),
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

INT_PTR UpdateDialog::Run(HWND owner) {
  // A Unicode dialog: the template's texts reach the controls unconverted.
  const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_UPDATE), owner,
                                         &DialogProcedure<UpdateDialog>, reinterpret_cast<LPARAM>(this));
  link_.reset();
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
  smallIcon_ = nullptr;
  window_ = nullptr;
  return result;
}

INT_PTR UpdateDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      // The focus starts on OK, not on the first link, so that a stray Space
      // opens nothing.
      SetFocus(GetDlgItem(window_, IDOK));
      return FALSE;
    case WM_COMMAND:
      // OK ends with 1; the close box and Escape (IDCANCEL) end it the same way,
      // as the dialog only informs.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(window_, 1);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void UpdateDialog::OnInitDialog() {
  CentreDialog(window_, GetWindow(window_, GW_OWNER));
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
  smallIcon_ = SetSmallIcon(window_);
}
