#include "dialogs/settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include "diagnostics/debug_log.h"
#include "dialogs/about_dialog.h"
#include "dialogs/common_controls.h"
#include "dialogs/dialog_window.h"
#include "dialogs/editor_factory.h"
#include "dialogs/link_opener.h"
#include "dialogs/open_file_names.h"
#include "dialogs/palette_list_view.h"
#include "dialogs/resource.h"
#include "settings/file_access.h"
#include "settings/settings_controller.h"
#include "settings/settings_location.h"

namespace {

constexpr int kIntervalRange = 1000;
constexpr const char* kDesktop = "Desktop";
constexpr const char* kTipsCaption = "Tips";
constexpr const char* kTooManyPalettes = "There too much pallette, please remove some, then try again.";
constexpr const char* kEditorFailed = "Some error, please try again.";
constexpr const char* kFolderTooLong =
    "The folder of these pictures has a path longer than 250 characters. Move them to a folder with a shorter path, "
    "then add them again.";
constexpr const char* kProgramCaption = "Hearthmoor";
constexpr const char* kHelpMissing =
    "The help file help.chm could not be opened. Installing Hearthmoor again puts it back.";
constexpr const char* kCheckUpdatesText = "Check For Updates";
constexpr const char* kCheckingText = "Checking...";
// Characters of the file dialog's name buffer: room for many files of a folder
// (a smaller buffer makes the dialog fail, adding nothing, when many are chosen).
constexpr DWORD kFileBufferChars = 32768;
constexpr DWORD kFileTitleChars = 256;

// Runs the work when the scope ends, also on an exception.
template <typename Work>
class AtScopeEnd {
 public:
  explicit AtScopeEnd(Work work) : work_(work) {}
  ~AtScopeEnd() {
    if (armed_) work_();
  }
  void Cancel() { armed_ = false; }
  AtScopeEnd(const AtScopeEnd&) = delete;
  AtScopeEnd& operator=(const AtScopeEnd&) = delete;

 private:
  Work work_;
  bool armed_ = true;
};

}  // namespace

SettingsDialog::SettingsDialog(SettingsController& controller, EditorFactory& editors)
    : DialogWindow("SettingsDialog"), controller_(controller), editors_(editors) {}

SettingsDialog::~SettingsDialog() { Destroy(); }

bool SettingsDialog::Create() {
  HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), nullptr,
                                   &DialogProcedure<SettingsDialog>, reinterpret_cast<LPARAM>(this));
  return window != nullptr;
}

void SettingsDialog::Show() {
  if (HWND window = Window()) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
  }
}

void SettingsDialog::Destroy() {
  if (HWND window = Window()) DestroyWindow(window);
  ForgetWindow();
  palettes_.Clear();
}

void SettingsDialog::SetShowFireCheck(bool show) {
  if (showFire_ != nullptr) SendMessageA(showFire_, BM_SETCHECK, show ? BST_CHECKED : BST_UNCHECKED, 0);
}

// --- The window -----------------------------------------------------------------

INT_PTR SettingsDialog::OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kUpdateDoneMessage:
      OnUpdateCheckDone();
      return TRUE;
    case kFollowMessage:
      if (wParam < kLists && static_cast<int>(lParam) < RowCount(static_cast<ListKind>(wParam))) {
        SelectRow(static_cast<ListKind>(wParam), static_cast<int>(lParam));
      }
      return TRUE;
    default:
      return FALSE;
  }
}

void SettingsDialog::OnInitDialog() {
  HWND window = Window();
  lists_[kBackgrounds] = GetDlgItem(window, IDC_BACKGROUND_LIST);
  lists_[kPalettes] = GetDlgItem(window, IDC_PALETTE_LIST);
  lists_[kStyles] = GetDlgItem(window, IDC_STYLE_LIST);
  trackbars_[kBackgrounds] = GetDlgItem(window, IDC_BACKGROUND_INTERVAL);
  trackbars_[kPalettes] = GetDlgItem(window, IDC_PALETTE_INTERVAL);
  trackbars_[kStyles] = GetDlgItem(window, IDC_STYLE_INTERVAL);
  labels_[kBackgrounds] = GetDlgItem(window, IDC_BACKGROUND_INTERVAL_TEXT);
  labels_[kPalettes] = GetDlgItem(window, IDC_PALETTE_INTERVAL_TEXT);
  labels_[kStyles] = GetDlgItem(window, IDC_STYLE_INTERVAL_TEXT);
  showFire_ = GetDlgItem(window, IDC_SHOW_FIRE);

  depth_ = controller_.GetColorDepth() == 16 ? 16 : 32;
  for (HWND list : lists_) SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  InitBackgroundList();
  InitPaletteList();
  InitStyleList();
  SendMessageA(showFire_, BM_SETCHECK, controller_.GetShowFire() ? BST_CHECKED : BST_UNCHECKED, 0);
  InitIntervals();
}

void SettingsDialog::InitBackgroundList() {
  ListView::InsertColumn(List(kBackgrounds), "Background List");
  SettingsController::TextList backgrounds;
  SettingsController::Index current = 0;
  controller_.GetBackgrounds(backgrounds, current);
  for (const std::string& entry : backgrounds) InsertTextRow(kBackgrounds, RowCount(kBackgrounds), entry);
  if (current < backgrounds.size()) SelectRow(kBackgrounds, static_cast<int>(current));
}

void SettingsDialog::InitPaletteList() {
  palettes_.Fill(List(kPalettes), "Pallette List", depth_, static_cast<int>(controller_.GetMaxPalettes()),
                 controller_.GetPalettes());
  // Without the strips the list stays empty; the rest of the dialog works.
  const SettingsController::Index current = controller_.GetCurrentPaletteIndex();
  if (current < static_cast<SettingsController::Index>(RowCount(kPalettes))) {
    SelectRow(kPalettes, static_cast<int>(current));
  }
}

void SettingsDialog::InitStyleList() {
  ListView::InsertColumn(List(kStyles), "Style List");
  SettingsController::TextList styles;
  SettingsController::Index current = 0;
  controller_.GetStyles(styles, current);
  SendMessageA(List(kStyles), LVM_DELETEALLITEMS, 0, 0);
  for (const std::string& style : styles) InsertTextRow(kStyles, RowCount(kStyles), style);
  if (!styles.empty()) SelectRow(kStyles, current < styles.size() ? static_cast<int>(current) : 0);
}

void SettingsDialog::InitIntervals() {
  for (Rotation rotation : kRotations) {
    const std::size_t kind = Slot(rotation);
    Trackbar::SetRange(trackbars_[kind], 0, kIntervalRange);
    Trackbar::SetPosition(trackbars_[kind], static_cast<int>(controller_.Interval(rotation)));
    SetWindowTextA(labels_[kind], controller_.IntervalText(rotation).c_str());
  }
}

// --- Messages -----------------------------------------------------------------------

void SettingsDialog::OnCommand(int id) {
  // The remove, up and down buttons of each list, in the lists' order.
  static constexpr struct {
    int remove, up, down;
  } kRowButtons[kLists] = {
      {IDC_BACKGROUND_REMOVE, IDC_BACKGROUND_UP, IDC_BACKGROUND_DOWN},
      {IDC_PALETTE_REMOVE, IDC_PALETTE_UP, IDC_PALETTE_DOWN},
      {IDC_STYLE_REMOVE, IDC_STYLE_UP, IDC_STYLE_DOWN},
  };
  for (int list = 0; list < kLists; ++list) {
    const auto kind = static_cast<ListKind>(list);
    if (id == kRowButtons[list].remove) return RemoveRow(kind);
    if (id == kRowButtons[list].up) return MoveRow(kind, -1);
    if (id == kRowButtons[list].down) return MoveRow(kind, +1);
  }
  switch (id) {
    case IDC_SHOW_FIRE:
      controller_.SetShowFire(SendMessageA(showFire_, BM_GETCHECK, 0, 0) == BST_CHECKED);
      break;
    case IDC_BACKGROUND_ADD_DESKTOP:
      AddDesktop();
      break;
    case IDC_BACKGROUND_ADD_FILE:
      AddFiles();
      break;
    case IDC_PALETTE_ADD:
      AddPalette();
      break;
    case IDC_STYLE_ADD:
      AddStyle();
      break;
    case IDC_CHECK_UPDATES:
      CheckForUpdates();
      break;
    case IDC_HELP_BUTTON:
      OpenHelp();
      break;
    case IDC_ABOUT_BUTTON:
      ShowAbout();
      break;
    case IDOK:
      Ok();
      break;
    case IDCANCEL:
      Cancel();
      break;
    default:
      break;
  }
}

void SettingsDialog::OnItemChanged(const NMLISTVIEW& change) {
  int kind = 0;
  while (kind < kLists && lists_[kind] != change.hdr.hwndFrom) ++kind;
  if (kind == kLists || guards_[kind]) return;
  if (!ListView::BecameCurrent(change)) return;
  controller_.Select(static_cast<Rotation>(kind), static_cast<SettingsController::Index>(change.iItem));
}

void SettingsDialog::OnScroll(HWND trackbar, int code) {
  // Keys, the wheel, a click beside the thumb and the release of a drag all land
  // here, and not all of them end with TB_ENDTRACK: every new position counts,
  // except the thumb's way while it is dragged, which would restart the fire's
  // change timer many times a second.
  if (code == TB_THUMBTRACK) return;
  int kind = 0;
  while (kind < kLists && trackbars_[kind] != trackbar) ++kind;
  if (kind < kLists) ApplyInterval(static_cast<ListKind>(kind));
}

void SettingsDialog::ApplyInterval(ListKind kind) {
  const auto rotation = static_cast<Rotation>(kind);
  const auto position = static_cast<std::uint32_t>(Trackbar::Position(trackbars_[kind]));
  // A step and the end of tracking that follows it report the same position.
  if (position == controller_.Interval(rotation)) return;
  controller_.SetInterval(rotation, position);
  SetWindowTextA(labels_[kind], controller_.IntervalText(rotation).c_str());
}

// --- Backgrounds and styles: edited on the list, then committed whole ----------------

void SettingsDialog::AddDesktop() {
  InsertTextRow(kBackgrounds, RowCount(kBackgrounds), kDesktop);
  CommitBackgrounds();
}

void SettingsDialog::AddFiles() {
  std::vector<char> names(kFileBufferChars, '\0');
  std::vector<char> title(kFileTitleChars, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Window();
  dialog.lpstrFilter = "img(*.jpg;*.bmp;*.tga;*.psd;*.pcx)\0*.jpg;*.bmp;*.tga;*.psd;*.pcx\0all file(*.*)\0*.*\0";
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = kFileBufferChars;
  dialog.lpstrFileTitle = title.data();
  dialog.nMaxFileTitle = kFileTitleChars;
  dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

  controller_.EnableBackgroundChange(false);
  const BOOL chosen = GetOpenFileNameA(&dialog);
  controller_.EnableBackgroundChange(true);
  // Relative background names and the help file are found from the settings
  // folder, whatever folder the file dialog went to.
  const std::string folder = controller_.GetSettingsFolder();
  if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());
  if (chosen == FALSE) return;
  if (PathCharacters(names.data(), dialog.nFileOffset) > kMaxOpenFileFolderChars) {
    Message(kFolderTooLong, kTipsCaption, MB_OK | MB_ICONWARNING);
    return;
  }

  const std::vector<std::string> paths = OpenFileNames(names.data(), names.size(), dialog.nFileOffset);
  if (paths.empty()) return;
  for (const std::string& path : paths) InsertTextRow(kBackgrounds, RowCount(kBackgrounds), path);
  CommitBackgrounds();
}

void SettingsDialog::RemoveRow(ListKind kind) {
  const int row = SelectedRow(kind);
  if (row < 0) return;
  // The controller has the palette list's rows follow (SettingsView), strips and all.
  if (kind == kPalettes) {
    controller_.RemovePalette(static_cast<SettingsController::Index>(row));
    return;
  }
  ListView::DeleteRow(List(kind), row);
  kind == kBackgrounds ? CommitBackgrounds() : CommitStyles();
}

void SettingsDialog::MoveRow(ListKind kind, int step) {
  const int selected = SelectedRow(kind);
  if (selected < 0) return;
  // The neighbour jumps over the selected row, which thus keeps its selection.
  const int neighbour = selected + step;
  if (neighbour < 0 || neighbour >= RowCount(kind)) return;
  if (kind == kPalettes) {
    const auto index = static_cast<SettingsController::Index>(selected);
    step < 0 ? controller_.MovePaletteUp(index) : controller_.MovePaletteDown(index);
    return;
  }
  const std::string text = ListView::RowText(List(kind), neighbour);
  guards_[kind] = true;
  ListView::DeleteRow(List(kind), neighbour);
  InsertTextRow(kind, selected, text);
  guards_[kind] = false;
  kind == kBackgrounds ? CommitBackgrounds() : CommitStyles();
}

void SettingsDialog::CommitBackgrounds() {
  const int selected = SelectedRow(kBackgrounds);
  controller_.SetBackgrounds(RowTexts(kBackgrounds), static_cast<SettingsController::Index>(selected));
}

void SettingsDialog::CommitStyles() {
  const int selected = SelectedRow(kStyles);
  controller_.SetStyles(RowTexts(kStyles), static_cast<SettingsController::Index>(selected < 0 ? 0 : selected));
}

void SettingsDialog::AddStyle() {
  std::unique_ptr<StyleEditor> editor = editors_.MakeStyleEditor(controller_);
  controller_.EnableStyleChange(false);
  AtScopeEnd reenable([this] { controller_.EnableStyleChange(true); });
  const INT_PTR result = editor != nullptr ? editor->Run(Window()) : IDCANCEL;
  reenable.Cancel();
  controller_.EnableStyleChange(true);
  if (result != IDOK) return;
  const int row = RowCount(kStyles);
  InsertTextRow(kStyles, row, editor->GetResult());
  SelectRow(kStyles, row);
  CommitStyles();
}

// --- Palettes: edited through the controller, which calls back -----------------------

void SettingsDialog::AddPalette() {
  if (controller_.GetPalettes().size() >= controller_.GetMaxPalettes()) {
    Message(kTooManyPalettes, kTipsCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  std::unique_ptr<PaletteEditor> editor = editors_.MakePaletteEditor(controller_);
  if (editor == nullptr || !editor->Prepare(controller_.GetCurrentPaletteRecord(), depth_)) {
    Message(kEditorFailed, kTipsCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  controller_.SetPreviewColorTable(editor->GetColorTable());
  controller_.EnablePaletteChange(false);
  // The fire must not keep drawing through the editor's table once it is gone.
  AtScopeEnd restore([this] {
    controller_.RestorePreviewColorTable();
    controller_.EnablePaletteChange(true);
  });
  const INT_PTR result = editor->Run(Window());
  restore.Cancel();
  if (result == IDOK) {
    controller_.EnablePaletteChange(true);
    PaletteRecord record{};
    editor->GetRecord(record);
    controller_.AddPalette(record);
    controller_.RestorePreviewColorTable();
  } else {
    controller_.RestorePreviewColorTable();
    controller_.EnablePaletteChange(true);
  }
}

void SettingsDialog::RedrawPaletteImage(Index row, const PaletteRecord& record) {
  palettes_.Replace(static_cast<int>(row), record);
}

void SettingsDialog::RemovePaletteRow(Index row) {
  guards_[kPalettes] = true;
  palettes_.Remove(static_cast<int>(row));
  guards_[kPalettes] = false;
}

void SettingsDialog::AppendPaletteRow(const PaletteRecord& record) { palettes_.Append(record); }

void SettingsDialog::SelectPaletteRow(Index row) {
  if (static_cast<int>(row) < RowCount(kPalettes)) SelectRow(kPalettes, static_cast<int>(row));
}

void SettingsDialog::FollowBackground(Index row) { PostMessageA(Window(), kFollowMessage, kBackgrounds, row); }
void SettingsDialog::FollowPalette(Index row) { PostMessageA(Window(), kFollowMessage, kPalettes, row); }
void SettingsDialog::FollowStyle(Index row) { PostMessageA(Window(), kFollowMessage, kStyles, row); }

// --- Other buttons ------------------------------------------------------------------

void SettingsDialog::OpenHelp() {
  // By full name, from the machine's folder: a relative name would be looked up in
  // the current directory, the user's folder, and open whatever was put there.
  const std::string helpFile = AdministratorsHelpFile(FindSettingsFolderNames());
  if (helpFile.empty() || !RegularFileExists(helpFile) || !ShellOpener().Open(helpFile)) {
    Message(kHelpMissing, kProgramCaption, MB_OK | MB_ICONWARNING);
  }
}

void SettingsDialog::ShowAbout() { AboutDialog(controller_).Run(Window()); }

void SettingsDialog::CheckForUpdates() {
  HWND button = GetDlgItem(Window(), IDC_CHECK_UPDATES);
  if (!updateCheck_.Start(Window(), kUpdateDoneMessage, controller_.GetUpdateUrl(), controller_.GetVersion())) return;
  // A disabled button would keep the keyboard focus and take no keys.
  if (GetFocus() == button) SendMessageA(Window(), WM_NEXTDLGCTL, 0, FALSE);
  EnableWindow(button, FALSE);
  SetWindowTextA(button, kCheckingText);
}

void SettingsDialog::OnUpdateCheckDone() {
  HWND button = GetDlgItem(Window(), IDC_CHECK_UPDATES);
  SetWindowTextA(button, kCheckUpdatesText);
  EnableWindow(button, TRUE);
  // OK or Cancel hid the dialog and ended the mode while the server was asked:
  // a box now would hold the mode's end up.
  if (IsWindowVisible(Window())) {
    updateCheck_.Finish(Window());
  } else {
    updateCheck_.Forget();
  }
}

void SettingsDialog::Ok() {
  // What the sliders show is what is saved, whichever way they were moved.
  for (const ListKind kind : {kBackgrounds, kPalettes, kStyles}) ApplyInterval(kind);
  CommitBackgrounds();
  if (controller_.SaveAndClose()) {
    ShowWindow(Window(), SW_HIDE);
    return;
  }
  const std::string text = "The settings could not be saved: " + controller_.GetSettingsFolder() +
                           " does not let config.ini and store.ini be written.";
  Message(text.c_str(), kProgramCaption, MB_OK | MB_ICONWARNING);
}

void SettingsDialog::Cancel() {
  controller_.Close();
  ShowWindow(Window(), SW_HIDE);
}

int SettingsDialog::Message(const char* text, const char* caption, UINT flags) {
  return MessageBoxA(Window(), text, caption, flags);
}

// --- List helpers -----------------------------------------------------------------------

int SettingsDialog::RowCount(ListKind kind) const { return ListView::RowCount(List(kind)); }

int SettingsDialog::SelectedRow(ListKind kind) const { return ListView::SelectedRow(List(kind)); }

std::vector<std::string> SettingsDialog::RowTexts(ListKind kind) const {
  std::vector<std::string> texts;
  const int count = RowCount(kind);
  texts.reserve(static_cast<std::size_t>(count));
  for (int row = 0; row < count; ++row) texts.push_back(ListView::RowText(List(kind), row));
  return texts;
}

void SettingsDialog::InsertTextRow(ListKind kind, int row, const std::string& text) {
  ListView::InsertTextRow(List(kind), row, text);
}

void SettingsDialog::SelectRow(ListKind kind, int row) {
  guards_[kind] = true;
  ListView::SelectRow(List(kind), row);
  guards_[kind] = false;
}
