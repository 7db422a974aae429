#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "diagnostics/handles_win.h"

class PaletteCurves;
class EditorController;

// The palette editor's drawing surface: a child window that shows the three
// channel curves over the backdrop picture, the colour strip of the working
// table below them, and lets the mouse pick and drag control points. The
// curves themselves (hit tests, drag rules, tables) are PaletteCurves'; this
// window converts mouse positions, chooses cursors and draws.
//
// Everything is drawn into a back buffer, which reaches the screen upside down
// (curve y grows upward) in one copy. A 50 ms timer redraws when something
// changed; the working table is recomputed then, under the settings mode's frame
// lock, because the fire's render thread reads it.
//
// UI thread only. The curves and the controller outlive the window.
class CurveEditor {
 public:
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kTimerMs = 50;

  CurveEditor(PaletteCurves& curves, EditorController& controller);
  ~CurveEditor();
  CurveEditor(const CurveEditor&) = delete;
  CurveEditor& operator=(const CurveEditor&) = delete;

  // Creates the visible child window at (x, y) in `parent`'s client area, 320 x 352.
  HWND Create(HWND parent, int x, int y);
  HWND Window() const { return window_.get(); }
  // Recomputes the working table at once (under the frame lock) and redraws soon,
  // for changes made from outside the window (channel swaps, store palettes).
  void CurvesChanged();

 private:
  static LRESULT CALLBACK Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void MakeDrawingTools();
  void OnPaint();
  void OnTimer();
  void OnMouseMove(int x, int y);
  void OnLeftButtonDown(int x, int y);
  void OnLeftButtonUp();
  void ShowCursorState(int state);

  void Recompute();
  void Draw(HDC target);
  void PaintBackground();
  void DrawStrip();
  void DrawCurves();
  void Present(HDC target) const;
  // Drops the back buffer and the strip; the next Draw makes them again.
  void ReleaseBuffer();

  // A channel's drawing tools in its colour.
  struct ChannelTools {
    UniqueGdiObject<HPEN> thinPen;
    UniqueGdiObject<HPEN> thickPen;  // the selected channel's curve
    UniqueGdiObject<HBRUSH> fill;
  };

  PaletteCurves& curves_;
  EditorController& controller_;
  UniqueWindow window_;
  int width_ = 0;
  int height_ = 0;

  HCURSOR cursors_[3] = {};  // arrow, over a curve, over a point; shared resources, not destroyed
  int cursorState_ = 0;
  UniqueGdiObject<HBITMAP> backdrop_;
  UniqueGdiObject<HBRUSH> panelBrush_;
  ChannelTools channelTools_[3];  // by channel number
  // The back buffer: a bitmap selected into a memory context (destroyed in
  // reverse order, so that it leaves the context before either is deleted).
  UniqueDc bufferDc_;
  UniqueGdiObject<HBITMAP> buffer_;
  std::optional<SelectedObject> bufferSelection_;
  UniqueGdiObject<HBITMAP> strip_;
  void* stripPixels_ = nullptr;  // 256 x 20 x 4 bytes, owned by strip_
  std::vector<POINT> polyline_;  // reused for drawing, so that a redraw does not allocate
};
