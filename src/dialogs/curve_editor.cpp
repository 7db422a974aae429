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
  if (window_ != nullptr) DestroyWindow(window_);
  ReleaseGdi();
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
    self->window_ = window;
  }
  auto* self = reinterpret_cast<CurveEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    KillTimer(window, kTimerId);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
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
      if (reinterpret_cast<HWND>(lParam) != window_) curves_.Release();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void CurveEditor::OnCreate() {
  RECT client;
  GetClientRect(window_, &client);
  width_ = client.right;
  height_ = client.bottom;
  HINSTANCE module = GetModuleHandleA(nullptr);
  cursors_[kArrow] = LoadCursorA(module, MAKEINTRESOURCEA(IDC_CURSOR_ARROW));
  cursors_[kOverCurve] = LoadCursorA(module, MAKEINTRESOURCEA(IDC_CURSOR_CURVE));
  cursors_[kOverPoint] = LoadCursorA(module, MAKEINTRESOURCEA(IDC_CURSOR_POINT));
  backdrop_ = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(IDB_CURVE_BACKDROP), IMAGE_BITMAP, 0, 0, 0));
  SetTimer(window_, kTimerId, kTimerMs, nullptr);
}

void CurveEditor::CurvesChanged() {
  Recompute();
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

void CurveEditor::Recompute() {
  controller_.UnderFrameLock([this] { curves_.Recompute(); });
}

void CurveEditor::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  Draw(dc);
  EndPaint(window_, &paint);
}

void CurveEditor::OnTimer() {
  if (!curves_.NeedsRedraw()) return;
  HDC dc = GetDC(window_);
  Draw(dc);
  ReleaseDC(window_, dc);
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
  SetCapture(window_);
}

void CurveEditor::OnLeftButtonUp() {
  curves_.Release();
  if (GetCapture() == window_) ReleaseCapture();
}

void CurveEditor::ShowCursorState(int state) {
  if (state == cursorState_) return;
  cursorState_ = state;
  if (cursors_[state] != nullptr) SetCursor(cursors_[state]);
}

void CurveEditor::Draw(HDC target) {
  if (bufferDc_ == nullptr) {
    HDC screen = GetDC(window_);
    bufferDc_ = CreateCompatibleDC(screen);
    buffer_ = CreateCompatibleBitmap(screen, width_, height_);
    ReleaseDC(window_, screen);
    if (bufferDc_ == nullptr || buffer_ == nullptr) {
      ReleaseGdi();
      return;
    }
    bufferOld_ = SelectObject(bufferDc_, buffer_);
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
  HBRUSH panel = CreateSolidBrush(kPanelColour);
  FillRect(bufferDc_, &all, panel);
  DeleteObject(panel);
  if (backdrop_ == nullptr) return;
  HDC source = CreateCompatibleDC(bufferDc_);
  HGDIOBJ old = SelectObject(source, backdrop_);
  BITMAP info = {};
  GetObjectA(backdrop_, sizeof info, &info);
  BitBlt(bufferDc_, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void CurveEditor::DrawStrip() {
  constexpr int kWidth = PaletteCurves::kStripWidth;
  constexpr int kHeight = PaletteCurves::kStripHeight;
  if (strip_ == nullptr) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    strip_ = CreateDIBSection(bufferDc_, &info, DIB_RGB_COLORS, &stripPixels_, nullptr, 0);
    if (strip_ == nullptr) return;
  }
  // 32-bit DIB pixels are blue, green, red, unused: the 32-bit table's own layout.
  auto* pixels = static_cast<std::uint8_t*>(stripPixels_);
  for (int row = 0; row < kHeight; ++row) {
    std::memcpy(pixels + row * kWidth * 4, curves_.Table32(), kWidth * 4);
  }
  GdiFlush();
  HDC source = CreateCompatibleDC(bufferDc_);
  HGDIOBJ old = SelectObject(source, strip_);
  BitBlt(bufferDc_, PaletteCurves::kStripX, PaletteCurves::kStripY, kWidth, kHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void CurveEditor::DrawCurves() {
  constexpr int kX = PaletteCurves::kOriginX;
  constexpr int kY = PaletteCurves::kOriginY;
  const auto order = curves_.DrawOrder();
  for (int i = 0; i < PaletteCurves::kChannels; ++i) {
    const int channel = order[i];
    const bool selected = channel == curves_.SelectedChannel();
    const COLORREF colour = ChannelColour(channel);
    HPEN thin = CreatePen(PS_SOLID, 1, colour);
    HBRUSH fill = CreateSolidBrush(colour);
    HGDIOBJ oldPen = SelectObject(bufferDc_, thin);

    // The control figure: the four points as small squares, each end joined to its handle.
    const PalettePoint* p = curves_.Points(channel);
    for (int k = 0; k < PaletteCurves::kPointsPerChannel; ++k) {
      const int offset = (k == 0 || k == 3) ? 2 : 1;
      RECT square = {p[k].x + kX - offset, p[k].y + kY - offset, p[k].x + kX - offset + 3, p[k].y + kY - offset + 3};
      FillRect(bufferDc_, &square, fill);
    }
    MoveToEx(bufferDc_, p[0].x + kX, p[0].y + kY, nullptr);
    LineTo(bufferDc_, p[1].x + kX, p[1].y + kY);
    MoveToEx(bufferDc_, p[3].x + kX, p[3].y + kY, nullptr);
    LineTo(bufferDc_, p[2].x + kX, p[2].y + kY);

    const auto& line = curves_.Polyline(channel);
    if (static_cast<int>(line.size()) >= kMinPolyline) {
      HPEN pen = selected ? CreatePen(PS_SOLID, 2, colour) : nullptr;
      if (pen != nullptr) SelectObject(bufferDc_, pen);
      polyline_.clear();
      for (const CurvePoint& v : line) polyline_.push_back({v.x + kX, v.y + kY});
      Polyline(bufferDc_, polyline_.data(), static_cast<int>(polyline_.size()));
      SelectObject(bufferDc_, thin);
      if (pen != nullptr) DeleteObject(pen);
    }
    SelectObject(bufferDc_, oldPen);
    DeleteObject(thin);
    DeleteObject(fill);
  }
}

void CurveEditor::Present(HDC target) const {
  if (bufferDc_ == nullptr) return;
  // Upside down, so that curve y grows upward: back-buffer row r lands on window
  // row height - r, which puts curve point (x, y) under the mouse at window
  // position (x + 32, 288 - y). Row 0 of the buffer falls below the window, and
  // window row 0 gets the panel colour.
  StretchBlt(target, 0, height_, width_, -height_, bufferDc_, 0, 0, width_, height_, SRCCOPY);
  RECT top = {0, 0, width_, 1};
  HBRUSH panel = CreateSolidBrush(kPanelColour);
  FillRect(target, &top, panel);
  DeleteObject(panel);
}

void CurveEditor::ReleaseGdi() {
  if (bufferDc_ != nullptr) {
    if (bufferOld_ != nullptr) SelectObject(bufferDc_, bufferOld_);
    DeleteDC(bufferDc_);
    bufferDc_ = nullptr;
  }
  if (buffer_ != nullptr) DeleteObject(buffer_);
  buffer_ = nullptr;
  if (strip_ != nullptr) DeleteObject(strip_);
  strip_ = nullptr;
  stripPixels_ = nullptr;
  if (backdrop_ != nullptr) DeleteObject(backdrop_);
  backdrop_ = nullptr;
  // Cursors loaded from resources are shared and are not destroyed.
}
