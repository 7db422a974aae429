#pragma once
#include <windows.h>

#include <cstdint>

#include "fire/palette_record.h"

// The palette editor as the settings dialog's palette Add button runs it:
// prepare with the current palette, hand the working colour table to the fire,
// run modally, take the record on OK. Made per use by EditorFactory.
class PaletteEditor {
 public:
  virtual ~PaletteEditor() = default;

  // Takes the start palette and the screen depth (16 or 32) and computes the
  // curves and the working table. False when its buffers cannot be had.
  virtual bool Prepare(const PaletteRecord& start, int depth) = 0;
  // The working table: 256 entries in the screen's format (16-bit entries at
  // depth 16, else 32-bit). Valid from a successful Prepare until destruction;
  // rewritten only under the frame lock while the dialog runs.
  virtual const std::uint8_t* GetColorTable() const = 0;
  virtual void GetRecord(PaletteRecord& record) const = 0;
  // Modal, owned by `owner`: IDOK (1) or IDCANCEL (2).
  virtual INT_PTR Run(HWND owner) = 0;
};
