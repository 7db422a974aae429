#include "dialogs/hyper_link.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "diagnostics/debug_log.h"

namespace {

// Static control types that show a picture, a rectangle or a frame: their text,
// if any, is not theirs to show, so the link leaves their painting alone.
bool ShowsText(LONG_PTR style) {
  switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
      return true;
    default:
      return false;
  }
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::vector<char> text(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  return std::string(text.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

// One registry colour. Values longer than a colour can be are not read at all.
bool ReadColor(HKEY key, const char* name, COLORREF& color) {
  constexpr DWORD kMaxBytes = 12;
  char text[kMaxBytes + 1] = {};
  DWORD type = 0;
  DWORD size = kMaxBytes;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  text[size < kMaxBytes ? size : kMaxBytes] = '\0';  // the registry does not promise a terminator
  return ParseLinkColor(text, color);
}

}  // namespace

bool ParseLinkColor(const char* text, COLORREF& color) {
  const char* firstComma = std::strchr(text, ',');
  if (firstComma == nullptr) return false;
  const char* secondComma = std::strchr(firstComma + 1, ',');
  if (secondComma == nullptr || secondComma[1] == '\0') return false;
  const auto part = [](const char* from) { return static_cast<BYTE>(std::strtoll(from, nullptr, 10) & 0xFF); };
  color = RGB(part(text), part(firstComma + 1), part(secondComma + 1));
  return true;
}

HyperLink::HyperLink(LinkOpener& opener) : opener_(opener) {}

HyperLink::~HyperLink() {
  if (window_ != nullptr && IsWindow(window_)) {
    if (tooltip_ != nullptr) DestroyWindow(tooltip_);
    Detach();
  }
}

bool HyperLink::SubclassWindow(HWND control) {
  if (window_ != nullptr || control == nullptr || !IsWindow(control)) return false;
  if (GetWindowLongPtrA(control, GWLP_USERDATA) != 0) return false;

  char className[16] = {};
  GetClassNameA(control, className, sizeof className);
  if (lstrcmpiA(className, "static") == 0) {
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    SetWindowLongPtrA(control, GWL_STYLE, style | SS_NOTIFY);  // or it never sees a click
    paintLabel_ = ShowsText(style);
  }
  window_ = control;
  SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HyperLink::Procedure)));

  hand_ = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  if (paintLabel_) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetParent(control), WM_GETFONT, 0, 0));
    OnSetFont(font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr,
                             GetModuleHandleA(nullptr), nullptr);

  if (label_.empty()) label_ = WindowText(control);
  ComputeLabelRect();
  if (!target_.empty()) {
    UpdateTooltip();
  } else if (!label_.empty()) {
    SetTarget(label_);
  }
  if (paintLabel_) ReadColors();
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

void HyperLink::SetLabel(const std::string& label) {
  label_ = label;
  ComputeLabelRect();
  if (window_ != nullptr) SetWindowTextA(window_, label_.c_str());
  UpdateTooltip();
}

void HyperLink::SetTarget(const std::string& target) {
  target_ = target;
  if (label_.empty()) ComputeLabelRect();
  UpdateTooltip();
}

void HyperLink::ReadColors() {
  UniqueRegistryKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kColorKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  ReadColor(key.get(), kLinkColorValue, linkColor_);
  ReadColor(key.get(), kVisitedColorValue, visitedColor_);
}

void HyperLink::OnSetFont(HFONT font) {
  normalFont_ = font;
  LOGFONTA description{};
  if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0) return;
  description.lfUnderline = TRUE;
  HFONT underlined = CreateFontIndirectA(&description);
  if (underlined == nullptr) return;  // keep the link font there is
  linkFont_.reset(underlined);
}

UINT HyperLink::AlignmentFlags() const {
  const LONG_PTR type = GetWindowLongPtrA(window_, GWL_STYLE) & SS_TYPEMASK;
  if (type == SS_CENTER) return DT_CENTER;
  if (type == SS_RIGHT) return DT_RIGHT;
  return DT_LEFT;
}

void HyperLink::ComputeLabelRect() {
  if (window_ == nullptr) return;
  RECT client{};
  GetClientRect(window_, &client);
  const std::string& shown = label_.empty() ? target_ : label_;
  RECT text = client;
  {
    const WindowDc dc(window_);
    const SelectedObject font(dc.get(), linkFont_ ? linkFont_.get() : normalFont_);
    DrawTextA(dc.get(), shown.c_str(), static_cast<int>(shown.size()), &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }

  const LONG width = text.right - text.left < client.right ? text.right - text.left : client.right;
  const UINT alignment = AlignmentFlags();
  labelRect_.left = alignment == DT_CENTER  ? (client.right - width) / 2
                    : alignment == DT_RIGHT ? client.right - width
                                            : 0;
  labelRect_.right = labelRect_.left + width;
  labelRect_.top = 0;
  labelRect_.bottom = text.bottom - text.top < client.bottom ? text.bottom - text.top : client.bottom;
}

void HyperLink::UpdateTooltip() {
  if (tooltip_ == nullptr || target_.empty()) return;
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_;
  tool.uId = 1;
  tool.rect = labelRect_;
  tool.hinst = GetModuleHandleA(nullptr);
  tool.lpszText = const_cast<char*>(target_.c_str());  // the tooltip copies it
  if (!toolAdded_) {
    SendMessageA(tooltip_, TTM_ACTIVATE, TRUE, 0);
    toolAdded_ = SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
    return;
  }
  SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

bool HyperLink::OverLabel(POINT client) const { return PtInRect(&labelRect_, client) != FALSE; }

bool HyperLink::CursorOverLabel() const {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(window_, &cursor);
  return OverLabel(cursor);
}

void HyperLink::Navigate() {
  if (target_.empty()) return;
  if (!opener_.Open(target_)) return;  // nothing is reported; the link stays unvisited
  visited_ = true;
  InvalidateRect(window_, nullptr, TRUE);
}

void HyperLink::OnPaint(HDC dc) {
  RECT client{};
  GetClientRect(window_, &client);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(window_), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window_)));
  if (brush != nullptr) FillRect(dc, &client, brush);
  SetBkMode(dc, TRANSPARENT);
  const COLORREF color = !IsWindowEnabled(window_) ? GetSysColor(COLOR_GRAYTEXT)
                         : visited_                ? visitedColor_
                                                   : linkColor_;
  SetTextColor(dc, color);
  const std::string& shown = label_.empty() ? target_ : label_;
  {
    const SelectedObject font(dc, linkFont_ ? linkFont_.get() : normalFont_);
    DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &client,
              DT_WORDBREAK | DT_NOPREFIX | AlignmentFlags());
  }
  if (GetFocus() == window_) DrawFocusRect(dc, &labelRect_);
}

LRESULT HyperLink::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(previous_, window_, message, wParam, lParam);
}

void HyperLink::Detach() {
  if (previous_ != nullptr) SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  window_ = nullptr;
  previous_ = nullptr;
  tooltip_ = nullptr;
  toolAdded_ = false;
}

LRESULT CALLBACK HyperLink::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* link = reinterpret_cast<HyperLink*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (link == nullptr || link->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return link->OnMessage(message, wParam, lParam);
  } catch (...) {
    // Out of memory for a text: the control handles the message as a plain static.
    TraceLog().Log("HyperLink::OnMessage get an exception");
    return link->Default(message, wParam, lParam);
  }
}

LRESULT HyperLink::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && tooltip_ != nullptr) {
    MSG relayed{window_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_MOUSEMOVE:
      if (!target_.empty() && OverLabel(at)) SetCursor(hand_);
      return 0;
    case WM_LBUTTONDOWN:
      if (OverLabel(at)) {
        SetFocus(window_);
        SetCapture(window_);
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window_) {
        ReleaseCapture();
        if (OverLabel(at)) Navigate();
      }
      return 0;
    case WM_CHAR:
      if (wParam == VK_RETURN || wParam == VK_SPACE) Navigate();
      return 0;
    case WM_SETCURSOR:
      if (!target_.empty() && CursorOverLabel()) {
        SetCursor(hand_);
        return TRUE;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(window_, nullptr, TRUE);
      break;
    case WM_ERASEBKGND:
      if (paintLabel_) return TRUE;
      break;
    case WM_SETFONT:
      if (!paintLabel_) break;
      OnSetFont(reinterpret_cast<HFONT>(wParam));
      ComputeLabelRect();
      UpdateTooltip();
      if (LOWORD(lParam) != 0) InvalidateRect(window_, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      if (paintLabel_) return reinterpret_cast<LRESULT>(normalFont_);
      break;
    case WM_GETDLGCODE: {
      // Enter is the link's own key: without asking for its key-down the dialog
      // manager would turn it into the dialog's default button.
      const auto* keys = reinterpret_cast<const MSG*>(lParam);
      const bool enter = keys != nullptr && keys->message == WM_KEYDOWN && keys->wParam == VK_RETURN;
      return DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_PAINT:
      if (paintLabel_) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        OnPaint(dc);
        EndPaint(window_, &paint);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (paintLabel_) {
        OnPaint(reinterpret_cast<HDC>(wParam));
        return 0;
      }
      break;
    case WM_DESTROY:
      if (tooltip_ != nullptr) DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      break;
    case WM_NCDESTROY: {
      const LRESULT result = Default(message, wParam, lParam);
      Detach();
      return result;
    }
    default:
      break;
  }
  return Default(message, wParam, lParam);
}
