#pragma once
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "dialogs/dialog_window.h"
#include "dialogs/palette_editor.h"
#include "dialogs/palette_list_view.h"
#include "editing/palette_curves.h"

class CurveEditor;
class EditorController;

// The palette editor (dialog 131): the curve editor on the left, the three
// channel swaps under it, and the palette store on the right with its add and
// remove buttons. Store changes go to the controller at once and stay whether
// the dialog ends with OK or CANCEL; the settings mode writes a changed store
// when it ends.
//
// UI thread only. The controller outlives the dialog.
class PaletteEditorDialog : public DialogWindow<PaletteEditorDialog>, public PaletteEditor {
 public:
  explicit PaletteEditorDialog(EditorController& controller);
  ~PaletteEditorDialog() override;

  bool Prepare(const PaletteRecord& start, int depth) override;
  const std::uint8_t* GetColorTable() const override { return curves_.ColorTable(); }
  void GetRecord(PaletteRecord& record) const override { record = curves_.GetRecord(); }
  INT_PTR Run(HWND owner) override;

  // While the dialog runs, the curve editor's window (for tests and
  // screenshots that drive the real windows).
  HWND CurveWindow() const;

 private:
  friend class DialogWindow<PaletteEditorDialog>;
  void OnInitDialog();
  void OnCommand(int id);
  void OnItemChanged(const NMLISTVIEW& change);
  void AddToStore();
  void RemoveFromStore();
  void SwapChannels(int a, int b);

  EditorController& controller_;
  PaletteCurves curves_;
  bool prepared_ = false;
  HWND storeList_ = nullptr;
  std::unique_ptr<CurveEditor> editor_;
  PaletteListView store_;
};
