// Drives the palette editor ("Pallette") and the style editor ("Style") of a
// running Hearthmoor.scr from outside, and reports what they show. Runs under
// Wine in the saver's prefix; the settings dialog itself is settings_driver's.
//
// Usage: editor_driver COMMAND [ARGS] [COMMAND [ARGS]]...
//   wait CAPTION SECONDS      wait for the visible dialog CAPTION (status 1 if none)
//   gone CAPTION SECONDS      wait until no visible dialog CAPTION remains (status 1 if one does)
//   drag CAPTION X0 Y0 X1 Y1  in the curve editor, press at curve point (X0, Y0),
//                             move to (X1, Y1) in steps and release, as the mouse does
//   slider CAPTION AREA T     move area AREA's temperature slider to T and release it
//   command CAPTION ID        the dialog's button ID (returns when handled)
//   post-command CAPTION ID   the same, posted (for OK and Cancel, which end the dialog)
//   select CAPTION LIST ROW   select and focus a row of list view LIST, as a click does
//   rows CAPTION LIST         print "rows N selected S"
//   text CAPTION ID           print "text ID: TEXT" (line breaks as \n)
//   window CAPTION            print "window CAPTION: WxH at X,Y" (whole window, screen pixels)
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND Find(const char* caption) {
  HWND window = FindWindowA("#32770", caption);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// Client position in the curve editor of curve point (x, y).
LPARAM CurvePosition(int x, int y) { return MAKELPARAM(static_cast<WORD>(x + 32), static_cast<WORD>(288 - y)); }

void Drag(HWND dialog, int x0, int y0, int x1, int y1) {
  HWND curve = FindWindowExA(dialog, nullptr, "HearthmoorCurveEditor", nullptr);
  SendMessageA(curve, WM_LBUTTONDOWN, MK_LBUTTON, CurvePosition(x0, y0));
  constexpr int kSteps = 8;
  for (int i = 1; i <= kSteps; ++i) {
    SendMessageA(curve, WM_MOUSEMOVE, MK_LBUTTON,
                 CurvePosition(x0 + (x1 - x0) * i / kSteps, y0 + (y1 - y0) * i / kSteps));
    Sleep(60);  // the editor redraws and the fire follows at its own pace
  }
  SendMessageA(curve, WM_LBUTTONUP, 0, CurvePosition(x1, y1));
}

void Slider(HWND dialog, int area, int temperature) {
  HWND bar = GetDlgItem(dialog, 1033 + area);
  SendMessageA(bar, TBM_SETPOS, TRUE, -temperature);
  SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(TB_THUMBTRACK, 0), reinterpret_cast<LPARAM>(bar));
  SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
}

// LVM_SETITEMSTATE needs its LVITEM in the saver's memory.
void Select(HWND list, int row) {
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return;
  void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMA), MEM_COMMIT, PAGE_READWRITE);
  if (remote != nullptr) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
}

bool WaitFor(const char* caption, int seconds, bool present) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  for (;;) {
    if ((Find(caption) != nullptr) == present) return true;
    if (static_cast<LONG>(until - GetTickCount()) <= 0) return false;
    Sleep(100);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string command = argv[i];
    const auto arg = [&](int k) { return i + k < argc ? argv[i + k] : ""; };
    const auto number = [&](int k) { return std::atoi(arg(k)); };
    if (command == "wait" || command == "gone") {
      if (!WaitFor(arg(1), number(2), command == "wait")) {
        std::printf("%s %s: timed out\n", command.c_str(), arg(1));
        return 1;
      }
      i += 2;
      continue;
    }
    HWND dialog = Find(arg(1));
    if (dialog == nullptr) {
      std::printf("no dialog %s\n", arg(1));
      return 1;
    }
    if (command == "drag") {
      Drag(dialog, number(2), number(3), number(4), number(5));
      i += 5;
    } else if (command == "slider") {
      Slider(dialog, number(2), number(3));
      i += 3;
    } else if (command == "command" || command == "post-command") {
      const int id = number(2);
      const WPARAM wParam = MAKEWPARAM(id, BN_CLICKED);
      const auto lParam = reinterpret_cast<LPARAM>(GetDlgItem(dialog, id));
      if (command == "command") {
        SendMessageA(dialog, WM_COMMAND, wParam, lParam);
      } else {
        PostMessageA(dialog, WM_COMMAND, wParam, lParam);
      }
      i += 2;
    } else if (command == "select") {
      Select(GetDlgItem(dialog, number(2)), number(3));
      i += 3;
    } else if (command == "rows") {
      HWND list = GetDlgItem(dialog, number(2));
      std::printf("rows %d selected %d\n", static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)),
                  static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
      i += 2;
    } else if (command == "text") {
      char text[2048] = {};
      GetWindowTextA(GetDlgItem(dialog, number(2)), text, sizeof text);
      std::string shown;
      for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\r') continue;
        shown += *c == '\n' ? std::string("\\n") : std::string(1, *c);
      }
      std::printf("text %d: %s\n", number(2), shown.c_str());
      i += 2;
    } else if (command == "window") {
      RECT box{};
      GetWindowRect(dialog, &box);
      std::printf("window %s: %ldx%ld at %ld,%ld\n", arg(1), box.right - box.left, box.bottom - box.top, box.left,
                  box.top);
      i += 1;
    } else {
      std::fprintf(stderr, "unknown command %s\n", command.c_str());
      return 64;
    }
  }
  return 0;
}
