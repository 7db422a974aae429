#include "dialogs/editor_factory.h"
#include "dialogs/palette_editor_dialog.h"
#include "dialogs/style_editor_dialog.h"

namespace {

class DialogEditorFactory : public EditorFactory {
 public:
  std::unique_ptr<PaletteEditor> MakePaletteEditor(EditorController& controller) override {
    return std::make_unique<PaletteEditorDialog>(controller);
  }
  std::unique_ptr<StyleEditor> MakeStyleEditor(EditorController& controller) override {
    return std::make_unique<StyleEditorDialog>(controller);
  }
};

}  // namespace

std::unique_ptr<EditorFactory> MakeDialogEditorFactory() { return std::make_unique<DialogEditorFactory>(); }
