#include "dialogs/style_editor_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "dialogs/common_controls.h"
#include "dialogs/dialog_window.h"
#include "dialogs/resource.h"
#include "editing/style_areas.h"
#include "settings/editor_controller.h"
#include "settings/settings.h"

namespace {

constexpr int kMaxMode = 5;

}  // namespace

StyleEditorDialog::StyleEditorDialog(EditorController& controller)
    : DialogWindow("StyleEditorDialog"), controller_(controller) {}

INT_PTR StyleEditorDialog::Run(HWND owner) {
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STYLE_EDITOR), owner,
                                         &DialogProcedure<StyleEditorDialog>, reinterpret_cast<LPARAM>(this));
  return result == IDOK ? IDOK : IDCANCEL;
}

void StyleEditorDialog::OnInitDialog() {
  description_ = GetDlgItem(Window(), IDC_STYLE_DESCRIPTION);
  storeList_ = GetDlgItem(Window(), IDC_STYLE_STORE_LIST);
  for (int a = 0; a < FireStyle::kAreas; ++a) {
    trackbars_[a] = GetDlgItem(Window(), IDC_STYLE_TEMPERATURE_FIRST + a);
    edits_[a] = GetDlgItem(Window(), IDC_STYLE_MODE_FIRST + 2 * a);
    spins_[a] = GetDlgItem(Window(), IDC_STYLE_SPIN_FIRST + 2 * a);
    // Position -t shows temperature t: 255 at the top, 0 at the bottom.
    Trackbar::SetRange(trackbars_[a], -255, 0);
    SendMessageA(spins_[a], UDM_SETRANGE32, 0, kMaxMode);
    SendMessageA(spins_[a], UDM_SETBUDDY, reinterpret_cast<WPARAM>(edits_[a]), 0);
  }
  FireStyle current;
  controller_.GetCurrentStyle(current.temperatures, current.modes);
  WriteControls(current);
  FillStoreList();
}

FireStyle StyleEditorDialog::ReadControls() const {
  FireStyle style;
  for (int a = 0; a < FireStyle::kAreas; ++a) {
    // Digits only (the edit box refuses others); anything larger than a byte
    // stays at 255 rather than wrapping round to a mild value.
    const unsigned long mode = std::strtoul(WindowText(edits_[a]).c_str(), nullptr, 10);
    style.modes[a] = static_cast<std::uint8_t>(std::min(mode, 255UL));
    style.temperatures[a] = static_cast<std::uint8_t>(std::clamp(-Trackbar::Position(trackbars_[a]), 0, 255));
  }
  return style;
}

void StyleEditorDialog::WriteControls(const FireStyle& style) {
  for (int a = 0; a < FireStyle::kAreas; ++a) {
    SetWindowTextA(edits_[a], std::to_string(style.modes[a]).c_str());
    Trackbar::SetPosition(trackbars_[a], -static_cast<int>(style.temperatures[a]));
  }
  SetWindowTextA(description_, StyleAreas::Description(style).c_str());
  shown_ = style;
}

void StyleEditorDialog::Preview(const FireStyle& style) {
  controller_.SetPreviewStyle(style.temperatures, style.modes);
}

int StyleEditorDialog::AreaOfTrackbar(HWND control) const {
  const auto* found = std::find(std::begin(trackbars_), std::end(trackbars_), control);
  return found == std::end(trackbars_) ? -1 : static_cast<int>(found - std::begin(trackbars_));
}

int StyleEditorDialog::AreaOfSpin(HWND control) const {
  const auto* found = std::find(std::begin(spins_), std::end(spins_), control);
  return found == std::end(spins_) ? -1 : static_cast<int>(found - std::begin(spins_));
}

void StyleEditorDialog::OnScroll(HWND control, int code) {
  if (control == nullptr) return;
  const int area = AreaOfTrackbar(control);
  if (area >= 0) {
    // Every new position counts (keys and the wheel need not end with
    // TB_ENDTRACK), but not the thumb's way while it is dragged.
    if (code == TB_THUMBTRACK) return;
    FireStyle style = ReadControls();
    if (std::equal(std::begin(style.temperatures), std::end(style.temperatures), std::begin(shown_.temperatures))) {
      return;  // a step and the end of tracking that follows it
    }
    StyleAreas::PullDownAfter(style, area);
    WriteControls(style);
    Preview(style);
    return;
  }
  // A spin box reports here after its buddy shows the new number (its
  // notification before the step would still read the old one).
  if (AreaOfSpin(control) >= 0 && code == SB_THUMBPOSITION) {
    const FireStyle style = ReadControls();
    WriteControls(style);
    Preview(style);
  }
}

void StyleEditorDialog::FillStoreList() {
  ListView::InsertColumn(storeList_, "Store");
  ListView_DeleteAllItems(storeList_);
  for (const std::string& text : controller_.GetStyleStore()) AppendStoreRow(text, false);
}

void StyleEditorDialog::AppendStoreRow(const std::string& text, bool select) {
  const int row = ListView::InsertTextRow(storeList_, ListView::RowCount(storeList_), text);
  if (!select || row < 0) return;
  selectingStoreRow_ = true;
  ListView::SelectRow(storeList_, row);
  selectingStoreRow_ = false;
}

void StyleEditorDialog::OnItemChanged(const NMLISTVIEW& change) {
  if (change.hdr.hwndFrom != storeList_ || selectingStoreRow_ || !ListView::BecameCurrent(change)) return;
  const FireStyle style = Settings::ParseStyle(ListView::RowText(storeList_, change.iItem));
  WriteControls(style);
  Preview(style);
}

void StyleEditorDialog::AddToStore() {
  const std::string text = Settings::FormatStyle(ReadControls());
  if (controller_.AddStyleToStore(text)) AppendStoreRow(text, true);
}

void StyleEditorDialog::RemoveFromStore() {
  const int row = ListView::SelectedRow(storeList_);
  if (row < 0) return;
  if (controller_.RemoveStyleFromStore(static_cast<EditorController::Index>(row))) ListView::DeleteRow(storeList_, row);
}

void StyleEditorDialog::OnCommand(int id) {
  switch (id) {
    case IDOK:
      result_ = Settings::FormatStyle(ReadControls());
      EndDialog(Window(), IDOK);
      break;
    case IDCANCEL: {
      // The fire shows the style it had before the editor opened, not the last
      // one previewed.
      FireStyle current;
      controller_.GetCurrentStyle(current.temperatures, current.modes);
      Preview(current);
      EndDialog(Window(), IDCANCEL);
      break;
    }
    case IDC_STYLE_STORE_ADD:
      AddToStore();
      break;
    case IDC_STYLE_STORE_REMOVE:
      RemoveFromStore();
      break;
    default:
      break;
  }
}
