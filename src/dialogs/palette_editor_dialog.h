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
class PaletteEditorDialog : public PaletteEditor {
 public:
  explicit PaletteEditorDialog(EditorController& controller);
  ~PaletteEditorDialog() override;

  bool Prepare(const PaletteRecord& start, int depth) override;
  const std::uint8_t* GetColorTable() const override { return curves_.ColorTable(); }
  void GetRecord(PaletteRecord& record) const override { record = curves_.GetRecord(); }
  INT_PTR Run(HWND owner) override;

  // While the dialog runs: its window and the curve editor's (for tests and
  // screenshots that drive the real windows).
  HWND Window() const { return dialog_; }
  HWND CurveWindow() const;

 private:
  template <class Dialog>
  friend INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static constexpr const char* kLogName = "PaletteEditorDialog";
  void Attach(HWND window) { dialog_ = window; }
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void OnInitDialog();
  void OnCommand(int id);
  void OnStoreItemChanged(const NMLISTVIEW& change);
  void AddToStore();
  void RemoveFromStore();
  void SwapChannels(int a, int b);

  EditorController& controller_;
  PaletteCurves curves_;
  bool prepared_ = false;
  HWND dialog_ = nullptr;
  HWND storeList_ = nullptr;
  UniqueIcon smallIcon_;
  std::unique_ptr<CurveEditor> editor_;
  PaletteListView store_;
};
