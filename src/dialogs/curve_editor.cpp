#include "dialogs/curve_editor.h"

#include <windowsx.h>

#include <cstdint>
#include <cstring>

#include "dialogs/resource.h"
#include "editing/palette_curves.h"
#include "settings/editor_controller.h"

namespace {

constexpr const char* kClassName = "HearthmoorCurveEditor";
constexpr COLORREF kPanelColour = 0xD0D0D0;
constexpr int kMinPolyline = 10;  // shorter curves are not drawn (they do not colour the table either)
constexpr int kArrow = 0;
constexpr int kOverCurve = 1;
constexpr int kOverPoint = 2;

COLORREF ChannelColour(int channel) {
  switch (channel) {
    case PaletteCurves::kRed:
      return RGB(255, 0, 0);
    case PaletteCurves::kGreen:
      return RGB(0, 255, 0);
    default:
      return RGB(0, 0, 255);
  }
}

}  // namespace

CurveEditor::CurveEditor(PaletteCurves& curves, EditorController& controller)
    : curves_(curves), controller_(controller) {
  polyline_.reserve(1024);
}

CurveEditor::~CurveEditor() {
  // First, while the drawing tools its last messages might use still exist.
  window_.reset();
}

HWND CurveEditor::Create(HWND parent, int x, int y) {
  static const ATOM registered = [] {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &CurveEditor::Thunk;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass);
  }();
  if (registered == 0) return nullptr;
  return CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
                         PaletteCurves::kWindowWidth, PaletteCurves::kWindowHeight, parent, nullptr,
                         GetModuleHandleA(nullptr), this);
}

LRESULT CALLBACK CurveEditor::Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<CurveEditor*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(window);
  }
  auto* self = reinterpret_cast<CurveEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    KillTimer(window, kTimerId);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_.release();  // the window is gone already
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT CurveEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the back buffer covers everything
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(cursors_[cursorState_] != nullptr ? cursors_[cursorState_] : LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_TIMER:
      if (wParam == kTimerId) OnTimer();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp();
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a message box, Alt+Tab): the drag is over.
      if (reinterpret_cast<HWND>(lParam) != window_.get()) curves_.Release();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_.get(), message, wParam, lParam);
}

void CurveEditor::OnCreate() {
  RECT client;
  GetClientRect(window_.get(), &client);
  width_ = client.right;
  height_ = client.bottom;
  HINSTANCE module = GetModuleHandleA(nullptr);
  cursors_[kArrow] = LoadCursorA(module, MAKEINTRESOURCEA(IDC_CURSOR_ARROW));
  cursors_[kOverCurve] = LoadCursorA(module, MAKEINTRESOURCEA(IDC_CURSOR_CURVE));
  cursors_[kOverPoint] = LoadCursorA(module, MAKEINTRESOURCEA(IDC_CURSOR_POINT));
  backdrop_.reset(
      static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(IDB_CURVE_BACKDROP), IMAGE_BITMAP, 0, 0, 0)));
  MakeDrawingTools();
  SetTimer(window_.get(), kTimerId, kTimerMs, nullptr);
}

void CurveEditor::MakeDrawingTools() {
  panelBrush_.reset(CreateSolidBrush(kPanelColour));
  for (int channel = 0; channel < PaletteCurves::kChannels; ++channel) {
    const COLORREF colour = ChannelColour(channel);
    ChannelTools& tools = channelTools_[channel];
    tools.thinPen.reset(CreatePen(PS_SOLID, 1, colour));
    tools.thickPen.reset(CreatePen(PS_SOLID, 2, colour));
    tools.fill.reset(CreateSolidBrush(colour));
  }
}

void CurveEditor::CurvesChanged() {
  Recompute();
  if (window_) InvalidateRect(window_.get(), nullptr, FALSE);
}

void CurveEditor::Recompute() {
  controller_.UnderFrameLock([this] { curves_.Recompute(); });
}

void CurveEditor::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_.get(), &paint);
  Draw(dc);
  EndPaint(window_.get(), &paint);
}

void CurveEditor::OnTimer() {
  if (!curves_.NeedsRedraw()) return;
  const WindowDc dc(window_.get());
  Draw(dc.get());
}

void CurveEditor::OnMouseMove(int x, int y) {
  const CurvePoint at = PaletteCurves::FromWindow(x, y);
  if (curves_.Dragging()) {
    curves_.Drag(at.x, at.y);
    return;
  }
  ShowCursorState(static_cast<int>(curves_.CursorAt(at.x, at.y)));
}

void CurveEditor::OnLeftButtonDown(int x, int y) {
  const CurvePoint at = PaletteCurves::FromWindow(x, y);
  curves_.Press(at.x, at.y);
  // Keep the mouse while dragging, so that a handle can be pulled outside the
  // window and a release out there still ends the drag.
  SetCapture(window_.get());
}

void CurveEditor::OnLeftButtonUp() {
  curves_.Release();
  if (GetCapture() == window_.get()) ReleaseCapture();
}

void CurveEditor::ShowCursorState(int state) {
  if (state == cursorState_) return;
  cursorState_ = state;
  if (cursors_[state] != nullptr) SetCursor(cursors_[state]);
}

void CurveEditor::Draw(HDC target) {
  if (!bufferSelection_) {
    {
      const WindowDc screen(window_.get());
      bufferDc_.reset(CreateCompatibleDC(screen.get()));
      buffer_.reset(CreateCompatibleBitmap(screen.get(), width_, height_));
    }
    if (!bufferDc_ || !buffer_) {
      ReleaseBuffer();
      return;
    }
    bufferSelection_.emplace(bufferDc_.get(), buffer_.get());
    PaintBackground();
  }
  if (curves_.NeedsRedraw()) {
    PaintBackground();
    Recompute();
    DrawStrip();
    DrawCurves();
    curves_.ClearRedraw();
  }
  Present(target);
}

void CurveEditor::PaintBackground() {
  RECT all = {0, 0, width_, height_};
  FillRect(bufferDc_.get(), &all, panelBrush_.get());
  if (!backdrop_) return;
  const UniqueDc source(CreateCompatibleDC(bufferDc_.get()));
  const SelectedObject selected(source.get(), backdrop_.get());
  BITMAP info = {};
  GetObjectA(backdrop_.get(), sizeof info, &info);
  BitBlt(bufferDc_.get(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void CurveEditor::DrawStrip() {
  constexpr int kWidth = PaletteCurves::kStripWidth;
  constexpr int kHeight = PaletteCurves::kStripHeight;
  if (!strip_) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    strip_.reset(CreateDIBSection(bufferDc_.get(), &info, DIB_RGB_COLORS, &stripPixels_, nullptr, 0));
    if (!strip_) return;
  }
  // 32-bit DIB pixels are blue, green, red, unused: the 32-bit table's own layout.
  auto* pixels = static_cast<std::uint8_t*>(stripPixels_);
  for (int row = 0; row < kHeight; ++row) {
    std::memcpy(pixels + row * kWidth * 4, curves_.Table32(), kWidth * 4);
  }
  GdiFlush();
  const UniqueDc source(CreateCompatibleDC(bufferDc_.get()));
  const SelectedObject selected(source.get(), strip_.get());
  BitBlt(bufferDc_.get(), PaletteCurves::kStripX, PaletteCurves::kStripY, kWidth, kHeight, source.get(), 0, 0, SRCCOPY);
}

void CurveEditor::DrawCurves() {
  constexpr int kX = PaletteCurves::kOriginX;
  constexpr int kY = PaletteCurves::kOriginY;
  HDC dc = bufferDc_.get();
  for (const int channel : curves_.DrawOrder()) {
    const ChannelTools& tools = channelTools_[channel];
    const SelectedObject thin(dc, tools.thinPen.get());

    // The control figure: the four points as small squares, each end joined to its handle.
    const PalettePoint* p = curves_.Points(channel);
    for (int k = 0; k < PaletteCurves::kPointsPerChannel; ++k) {
      const int offset = (k == 0 || k == 3) ? 2 : 1;
      RECT square = {p[k].x + kX - offset, p[k].y + kY - offset, p[k].x + kX - offset + 3, p[k].y + kY - offset + 3};
      FillRect(dc, &square, tools.fill.get());
    }
    MoveToEx(dc, p[0].x + kX, p[0].y + kY, nullptr);
    LineTo(dc, p[1].x + kX, p[1].y + kY);
    MoveToEx(dc, p[3].x + kX, p[3].y + kY, nullptr);
    LineTo(dc, p[2].x + kX, p[2].y + kY);

    const auto& line = curves_.Polyline(channel);
    if (static_cast<int>(line.size()) >= kMinPolyline) {
      // The selected channel's curve is drawn thicker.
      std::optional<SelectedObject> thick;
      if (channel == curves_.SelectedChannel()) thick.emplace(dc, tools.thickPen.get());
      polyline_.clear();
      for (const CurvePoint& v : line) polyline_.push_back({v.x + kX, v.y + kY});
      Polyline(dc, polyline_.data(), static_cast<int>(polyline_.size()));
    }
  }
}

void CurveEditor::Present(HDC target) const {
  if (!bufferDc_) return;
  // Upside down, so that curve y grows upward: back-buffer row r lands on window
  // row height - r, which puts curve point (x, y) under the mouse at window
  // position (x + 32, 288 - y). Row 0 of the buffer falls below the window, and
  // window row 0 gets the panel colour.
  StretchBlt(target, 0, height_, width_, -height_, bufferDc_.get(), 0, 0, width_, height_, SRCCOPY);
  RECT top = {0, 0, width_, 1};
  FillRect(target, &top, panelBrush_.get());
}

void CurveEditor::ReleaseBuffer() {
  bufferSelection_.reset();
  buffer_.reset();
  bufferDc_.reset();
}
