#pragma once
#include <memory>

#include "dialogs/palette_editor.h"
#include "dialogs/style_editor.h"

class EditorController;

// Makes the editors that the settings dialog's Add buttons run; tests put
// scripted editors in their place. The controller outlives the editors.
class EditorFactory {
 public:
  virtual ~EditorFactory() = default;
  virtual std::unique_ptr<PaletteEditor> MakePaletteEditor(EditorController& controller) = 0;
  virtual std::unique_ptr<StyleEditor> MakeStyleEditor(EditorController& controller) = 0;
};

// The program's own editor dialogs.
std::unique_ptr<EditorFactory> MakeDialogEditorFactory();
