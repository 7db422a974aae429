#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "dialogs/dialog_window.h"
#include "dialogs/style_editor.h"
#include "fire/fire_style.h"

class EditorController;

// The style editor (dialog 134): one vertical slider (temperature, hottest at
// the top) and one spin box (attenuation 0..5) per area, the description of
// the style they make, and the style store. Every slider move (not each step of a drag), spin step and
// store pick restyles the running fire at once; Cancel gives the fire back the
// current style. Store changes go to the controller at once and stay whichever
// button ends the dialog.
//
// UI thread only. The controller outlives the dialog.
class StyleEditorDialog : public DialogWindow<StyleEditorDialog>, public StyleEditor {
 public:
  explicit StyleEditorDialog(EditorController& controller);

  INT_PTR Run(HWND owner) override;
  std::string GetResult() const override { return result_; }

 private:
  friend class DialogWindow<StyleEditorDialog>;
  void OnInitDialog();
  void OnCommand(int id);
  void OnScroll(HWND control, int code);
  void OnItemChanged(const NMLISTVIEW& change);
  int AreaOfTrackbar(HWND control) const;
  int AreaOfSpin(HWND control) const;

  FireStyle ReadControls() const;
  void WriteControls(const FireStyle& style);
  void Preview(const FireStyle& style);
  void FillStoreList();
  void AppendStoreRow(const std::string& text, bool select);
  void AddToStore();
  void RemoveFromStore();

  EditorController& controller_;
  HWND trackbars_[FireStyle::kAreas] = {};
  HWND edits_[FireStyle::kAreas] = {};
  HWND spins_[FireStyle::kAreas] = {};
  HWND description_ = nullptr;
  HWND storeList_ = nullptr;
  FireStyle shown_;                 // what the controls were last set to
  bool selectingStoreRow_ = false;  // set while the dialog itself selects a store row
  std::string result_;
};
