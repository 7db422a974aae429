#pragma once
#include <windows.h>

// After windows.h, which it needs.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_window.h"
#include "dialogs/palette_list_view.h"
#include "dialogs/update_check.h"
#include "settings/rotation.h"
#include "settings/settings_view.h"

class EditorFactory;
class SettingsController;

// The settings dialog (template IDD_SETTINGS): the background, palette and style
// lists with their buttons, the three change-interval trackbars, Show Fire, and
// the buttons that open the editors, the about box, the update check and the
// help file. Modeless, without owner; every change goes at once through the
// controller, which applies it to the settings and the running fire. OK saves,
// Cancel and the close box do not.
//
// UI thread, except the Follow... call-backs, which the render thread makes:
// they post a message to the dialog and return.
class SettingsDialog : public DialogWindow<SettingsDialog>, public SettingsView {
 public:
  // Posted by the Follow... call-backs: wParam the list (0 backgrounds, 1
  // palettes, 2 styles), lParam the row.
  static constexpr UINT kFollowMessage = WM_APP + 1;
  // Posted by the update check's thread when the server's answer is in.
  static constexpr UINT kUpdateDoneMessage = WM_APP + 2;

  // Neither is owned; both outlive the dialog.
  SettingsDialog(SettingsController& controller, EditorFactory& editors);
  ~SettingsDialog() override;

  // Creates the dialog window (hidden); false when it cannot be made.
  bool Create();
  void Show();
  void Destroy();
  // The Show Fire check box, when the fire window was closed from its own frame.
  void SetShowFireCheck(bool show);

  // SettingsView
  void RedrawPaletteImage(Index row, const PaletteRecord& record) override;
  void RemovePaletteRow(Index row) override;
  void AppendPaletteRow(const PaletteRecord& record) override;
  void SelectPaletteRow(Index row) override;
  void FollowBackground(Index row) override;
  void FollowPalette(Index row) override;
  void FollowStyle(Index row) override;

 private:
  // A list, its trackbar and its label per rotation, in the rotations' order.
  enum ListKind { kBackgrounds = 0, kPalettes = 1, kStyles = 2, kLists = 3 };
  static_assert(kBackgrounds == Slot(Rotation::kBackground) && kPalettes == Slot(Rotation::kPalette) &&
                kStyles == Slot(Rotation::kStyle) && kLists == kRotationCount);

  friend class DialogWindow<SettingsDialog>;
  void OnInitDialog();
  void OnCommand(int id);
  void OnItemChanged(const NMLISTVIEW& change);
  void OnScroll(HWND trackbar, int code);
  // The update check's answer, and the lists following the fire.
  INT_PTR OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The trackbar's position, when it is new, to the controller and the label.
  void ApplyInterval(ListKind kind);

  void InitBackgroundList();
  void InitPaletteList();
  void InitStyleList();
  void InitIntervals();

  void AddDesktop();
  void AddFiles();
  void RemoveRow(ListKind kind);
  void MoveRow(ListKind kind, int step);
  void CommitBackgrounds();
  void CommitStyles();
  void AddPalette();
  void AddStyle();
  void OpenHelp();
  void ShowAbout();
  void CheckForUpdates();
  void OnUpdateCheckDone();
  void Ok();
  void Cancel();

  // Rows of a list, by kind.
  HWND List(ListKind kind) const { return lists_[kind]; }
  int RowCount(ListKind kind) const;
  int SelectedRow(ListKind kind) const;
  std::vector<std::string> RowTexts(ListKind kind) const;
  void InsertTextRow(ListKind kind, int row, const std::string& text);
  // Selected and focused, scrolled into view, without acting on the notification.
  void SelectRow(ListKind kind, int row);

  // Answers to the user; the caption names the kind of message.
  int Message(const char* text, const char* caption, UINT flags);

  SettingsController& controller_;
  EditorFactory& editors_;
  HWND lists_[kLists] = {};
  HWND trackbars_[kLists] = {};
  HWND labels_[kLists] = {};
  HWND showFire_ = nullptr;
  int depth_ = 32;
  PaletteListView palettes_;  // the palette list's rows and their preview strips
  bool guards_[kLists] = {};
  UpdateCheck updateCheck_;
};
