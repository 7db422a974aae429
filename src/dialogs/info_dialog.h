#pragma once
#include <windows.h>

#include "dialogs/dialog_window.h"

// A modal box that only informs, as the about box and the update notice do:
// made from a Unicode template (its texts reach the controls unconverted),
// centred on its owner (disabled meanwhile), with the program's small icon.
// The focus starts on OK, not on a link, so that a stray Space opens nothing;
// OK, Escape and the close box end it.
//
// `Dialog` derives from this and befriends it; it gives the base its name for
// the log and its template, fills its controls in Fill(), drops what Fill made
// in Forget() once the box is gone, and says what Run answers for OK or Cancel
// in EndCode(id). UI thread only.
template <class Dialog>
class InfoDialog {
 public:
  InfoDialog(const InfoDialog&) = delete;
  InfoDialog& operator=(const InfoDialog&) = delete;

  INT_PTR Run(HWND owner) {
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_), owner, &DialogProcedure<Dialog>,
                        reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
    Self().Forget();
    smallIcon_.reset();
    window_ = nullptr;
    return result;
  }

 protected:
  InfoDialog(const char* logName, int templateId) : logName_(logName), template_(templateId) {}
  ~InfoDialog() = default;

  HWND window_ = nullptr;

 private:
  friend INT_PTR CALLBACK DialogProcedure<Dialog>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  Dialog& Self() { return static_cast<Dialog&>(*this); }
  void Attach(HWND window) { window_ = window; }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
      case WM_INITDIALOG:
        CentreDialog(window_, GetWindow(window_, GW_OWNER));
        Self().Fill();
        smallIcon_ = SetSmallIcon(window_);
        SetFocus(GetDlgItem(window_, IDOK));
        return FALSE;
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
          EndDialog(window_, Self().EndCode(LOWORD(wParam)));
          return TRUE;
        }
        return FALSE;
      default:
        return FALSE;
    }
  }

  const char* logName_;
  int template_;
  UniqueIcon smallIcon_;
};
