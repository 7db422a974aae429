#include "dialogs/palette_editor_dialog.h"

#include <commctrl.h>

#include "dialogs/common_controls.h"
#include "dialogs/curve_editor.h"
#include "dialogs/dialog_window.h"
#include "dialogs/palette_list_view.h"
#include "dialogs/resource.h"
#include "settings/editor_controller.h"

namespace {

constexpr int kCurveX = 10;
constexpr int kCurveY = 10;

}  // namespace

PaletteEditorDialog::PaletteEditorDialog(EditorController& controller)
    : DialogWindow("PaletteEditorDialog"), controller_(controller) {}

PaletteEditorDialog::~PaletteEditorDialog() = default;

bool PaletteEditorDialog::Prepare(const PaletteRecord& start, int depth) {
  prepared_ = curves_.Prepare(start, depth);
  return prepared_;
}

HWND PaletteEditorDialog::CurveWindow() const { return editor_ ? editor_->Window() : nullptr; }

INT_PTR PaletteEditorDialog::Run(HWND owner) {
  if (!prepared_) return IDCANCEL;
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PALETTE_EDITOR), owner,
                                         &DialogProcedure<PaletteEditorDialog>, reinterpret_cast<LPARAM>(this));
  editor_.reset();
  store_.Clear();
  return result == IDOK ? IDOK : IDCANCEL;
}

void PaletteEditorDialog::OnInitDialog() {
  editor_ = std::make_unique<CurveEditor>(curves_, controller_);
  editor_->Create(Window(), kCurveX, kCurveY);
  storeList_ = GetDlgItem(Window(), IDC_PALETTE_STORE_LIST);
  store_.Fill(storeList_, "Storage", curves_.Depth(), static_cast<int>(controller_.GetMaxPalettes()),
              controller_.GetPaletteStore());
}

void PaletteEditorDialog::OnCommand(int id) {
  switch (id) {
    case IDOK:
    case IDCANCEL:
      EndDialog(Window(), id);
      break;
    case IDC_SWAP_RED_GREEN:
      SwapChannels(PaletteCurves::kRed, PaletteCurves::kGreen);
      break;
    case IDC_SWAP_GREEN_BLUE:
      SwapChannels(PaletteCurves::kGreen, PaletteCurves::kBlue);
      break;
    case IDC_SWAP_BLUE_RED:
      SwapChannels(PaletteCurves::kBlue, PaletteCurves::kRed);
      break;
    case IDC_PALETTE_STORE_ADD:
      AddToStore();
      break;
    case IDC_PALETTE_STORE_REMOVE:
      RemoveFromStore();
      break;
    default:
      break;
  }
}

void PaletteEditorDialog::SwapChannels(int a, int b) {
  curves_.Swap(a, b);
  // At once, not at the next tick, so the fire changes with the click.
  if (editor_) editor_->CurvesChanged();
}

void PaletteEditorDialog::OnItemChanged(const NMLISTVIEW& change) {
  if (change.hdr.hwndFrom != storeList_ || !ListView::BecameCurrent(change)) return;
  const auto store = controller_.GetPaletteStore();
  if (static_cast<std::size_t>(change.iItem) >= store.size()) return;
  // The curve editor's next tick rebuilds the table (under the frame lock) and redraws.
  curves_.SetRecord(store[static_cast<std::size_t>(change.iItem)]);
}

void PaletteEditorDialog::AddToStore() {
  const PaletteRecord record = curves_.GetRecord();
  if (controller_.AddPaletteToStore(record)) store_.Append(record);
}

void PaletteEditorDialog::RemoveFromStore() {
  const int row = ListView::SelectedRow(storeList_);
  if (row < 0) return;
  if (controller_.RemovePaletteFromStore(static_cast<EditorController::Index>(row))) store_.Remove(row);
}
