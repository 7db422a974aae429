#pragma once
#include <windows.h>

#include <string>

// The style editor as the settings dialog's style Add button runs it. It starts
// from the controller's current style and previews every edit on the fire.
// Made per use by EditorFactory.
class StyleEditor {
 public:
  virtual ~StyleEditor() = default;

  // Modal, owned by `owner`: IDOK (1) or IDCANCEL (2).
  virtual INT_PTR Run(HWND owner) = 0;
  // After IDOK: the edited style text ("200,1|180,0|...", eight pairs).
  virtual std::string GetResult() const = 0;
};
