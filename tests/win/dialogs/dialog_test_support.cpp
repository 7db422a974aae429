#include "dialog_test_support.h"

#include <gtest/gtest.h>

namespace {

DialogWatcher* current = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

DialogWatcher::DialogWatcher(Action act) : act_(std::move(act)) {
  current = this;
  timer_ = SetTimer(nullptr, 0, 20, &DialogWatcher::Tick);
}

DialogWatcher::~DialogWatcher() {
  KillTimer(nullptr, timer_);
  current = nullptr;
}

void CALLBACK DialogWatcher::Tick(HWND, UINT, UINT_PTR, DWORD) {
  DialogWatcher* watcher = current;
  if (watcher == nullptr) return;
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&found));
  if (found == nullptr) return;
  if (found != watcher->dialog_) {
    watcher->dialog_ = found;
    watcher->ticksAfter_ = 0;
    watcher->act_(found);
  } else if (++watcher->ticksAfter_ == 250) {
    ADD_FAILURE() << "the dialog \"" << WindowText(found) << "\" was left open";
    PostMessageA(found, WM_CLOSE, 0, 0);
    PressOk(found);
  }
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void PressOk(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

void Click(HWND control, POINT press, POINT release) {
  SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
}

int PixelsOfColor(HWND control, COLORREF color) {
  RECT client{};
  GetClientRect(control, &client);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (bitmap == nullptr) return -1;
  HGDIOBJ previous = SelectObject(dc, bitmap);
  SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  GdiFlush();
  const DWORD wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  const auto* pixels = static_cast<const DWORD*>(bits);
  int count = 0;
  for (LONG i = 0; i < client.right * client.bottom; ++i) count += (pixels[i] & 0xFFFFFF) == wanted ? 1 : 0;
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return count;
}

RegistryValueGuard::RegistryValueGuard(const char* key, const char* name, const char* value) : key_(key), name_(name) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot open " << key;
    return;
  }
  char text[256] = {};
  DWORD size = sizeof text - 1;
  DWORD type = 0;
  had_ = RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS;
  previous_ = text;
  if (value != nullptr) {
    RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
  } else {
    RegDeleteValueA(handle, name);
  }
  RegCloseKey(handle);
}

RegistryValueGuard::~RegistryValueGuard() {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_WRITE, &handle) != ERROR_SUCCESS) return;
  if (had_) {
    RegSetValueExA(handle, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                   static_cast<DWORD>(previous_.size() + 1));
  } else {
    RegDeleteValueA(handle, name_.c_str());
  }
  RegCloseKey(handle);
}
