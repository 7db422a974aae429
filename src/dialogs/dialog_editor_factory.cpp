#include "dialogs/editor_factory.h"

// HOOK: the palette and style editor dialogs plug in here. Until they exist the
// Add buttons run an editor that is cancelled at once, so everything the
// settings dialog does around an editor (timed change off and on, the preview
// colour table handed over and restored) still happens.
namespace {

class CancelledPaletteEditor : public PaletteEditor {
 public:
  bool Prepare(const PaletteRecord& start, int) override {
    record_ = start;
    return true;
  }
  const std::uint8_t* GetColorTable() const override { return table_; }
  void GetRecord(PaletteRecord& record) const override { record = record_; }
  INT_PTR Run(HWND) override { return IDCANCEL; }

 private:
  PaletteRecord record_{};
  std::uint8_t table_[256 * 4] = {};
};

class CancelledStyleEditor : public StyleEditor {
 public:
  INT_PTR Run(HWND) override { return IDCANCEL; }
  std::string GetResult() const override { return {}; }
};

class DialogEditorFactory : public EditorFactory {
 public:
  std::unique_ptr<PaletteEditor> MakePaletteEditor(SettingsController&) override {
    return std::make_unique<CancelledPaletteEditor>();
  }
  std::unique_ptr<StyleEditor> MakeStyleEditor(SettingsController&) override {
    return std::make_unique<CancelledStyleEditor>();
  }
};

}  // namespace

std::unique_ptr<EditorFactory> MakeDialogEditorFactory() { return std::make_unique<DialogEditorFactory>(); }
