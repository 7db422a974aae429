#include "dialogs/about_dialog.h"

#include <utility>

#include "diagnostics/debug_log.h"
#include "dialogs/dialog_window.h"
#include "dialogs/resource.h"
#include "settings/settings_controller.h"

AboutDialog::AboutDialog(std::string productName, std::string version, LinkOpener& opener)
    : productName_(std::move(productName)), version_(std::move(version)), opener_(opener) {}

AboutDialog::AboutDialog(SettingsController& controller, LinkOpener& opener)
    : AboutDialog(controller.GetProductName(), controller.GetVersion(), opener) {}

INT_PTR AboutDialog::Run(HWND owner) {
  // A Unicode dialog: the template's texts reach the controls unconverted.
  const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner,
                                         &DialogProcedure<AboutDialog>, reinterpret_cast<LPARAM>(this));
  for (auto& link : links_) link.reset();
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
  smallIcon_ = nullptr;
  window_ = nullptr;
  return result;
}

INT_PTR AboutDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      // The focus starts on OK, not on the first link, so that a stray Space
      // opens nothing.
      SetFocus(GetDlgItem(window_, IDOK));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(window_, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void AboutDialog::OnInitDialog() {
  CentreDialog(window_, GetWindow(window_, GW_OWNER));
  const int linkIds[] = {IDC_ABOUT_WEBSITE, IDC_ABOUT_MAIL, IDC_ABOUT_CONTACT};
  for (int i = 0; i < 3; ++i) {
    links_[i] = std::make_unique<HyperLink>(opener_);
    links_[i]->SubclassWindow(GetDlgItem(window_, linkIds[i]));  // label and target: the control's text
  }
  SetDlgItemTextA(window_, IDC_ABOUT_NAME_VERSION, (productName_ + " " + version_).c_str());
  smallIcon_ = SetSmallIcon(window_);
}
