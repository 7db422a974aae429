// A stand-in for the display-settings dialog: shows a window, starts the saver
// in preview mode inside it ("/p HWND"), keeps it for a while, then destroys the
// window as the host does when it no longer wants the preview, and reports
// whether and when the saver ended.
//
// Usage: preview_host SAVER SECONDS [X Y WIDTH HEIGHT]
//        preview_host SAVER SECONDS desktop
// Prints "host window <hwnd>", a line per child window of the host ("child
// class NAME size WxH visible 0|1 foreign 0|1"), then "saver exit <code> after
// <ms> ms" or "saver still running". Exit status 0 when the saver ended by itself.
//
// With "desktop" the host is the desktop window itself, meant for a small Wine
// virtual desktop (`explorer /desktop=NAME,WxH`): the preview then fills that
// desktop as a window of its own, which Wine shows (it does not show what one
// process draws into a child window of another process's window). At the end
// the preview window is asked to close, as the desktop cannot be destroyed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Prints each child window of the host: its class, client size, visibility and
// whether another process made it.
static BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  RECT rect{};
  GetClientRect(child, &rect);
  DWORD process = 0;
  GetWindowThreadProcessId(child, &process);
  std::printf("child class %s size %ldx%ld visible %d foreign %d\n", className, rect.right - rect.left,
              rect.bottom - rect.top, IsWindowVisible(child) ? 1 : 0, process != GetCurrentProcessId() ? 1 : 0);
  return TRUE;
}

static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Handles messages until `until` (tick count) or until `process` ends.
static bool PumpUntil(DWORD until, HANDLE process) {
  for (;;) {
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(until - now) <= 0) return false;
    const DWORD result = MsgWaitForMultipleObjects(1, &process, FALSE, until - now, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0) return true;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

// Asks the top-level windows of one process to close.
static BOOL CALLBACK CloseWindowOfProcess(HWND window, LPARAM process) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(process)) PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: preview_host SAVER SECONDS [X Y WIDTH HEIGHT | desktop]\n");
    return 64;
  }
  const bool onDesktop = argc == 4 && std::strcmp(argv[3], "desktop") == 0;
  const int seconds = std::atoi(argv[2]);
  const int x = argc > 6 ? std::atoi(argv[3]) : 100;
  const int y = argc > 6 ? std::atoi(argv[4]) : 100;
  const int width = argc > 6 ? std::atoi(argv[5]) : 320;
  const int height = argc > 6 ? std::atoi(argv[6]) : 240;

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = "HearthmoorPreviewHost";
  RegisterClassA(&windowClass);
  HWND host = onDesktop ? GetDesktopWindow()
                        : CreateWindowExA(0, windowClass.lpszClassName, "Preview host", WS_POPUP | WS_VISIBLE, x, y,
                                          width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (host == nullptr) {
    std::fprintf(stderr, "cannot create the host window\n");
    return 65;
  }
  UpdateWindow(host);
  const unsigned long long handle = reinterpret_cast<ULONG_PTR>(host);
  std::printf("host window %llu\n", handle);
  std::fflush(stdout);

  char command[1024];
  std::snprintf(command, sizeof command, "\"%s\" /p %llu", argv[1], handle);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start %s\n", command);
    return 66;
  }
  CloseHandle(process.hThread);

  if (PumpUntil(GetTickCount() + static_cast<DWORD>(seconds) * 1000, process.hProcess)) {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("saver ended early with %ld\n", static_cast<long>(code));
    return 1;
  }

  const DWORD destroyed = GetTickCount();
  if (onDesktop) {
    EnumWindows(CloseWindowOfProcess, static_cast<LPARAM>(process.dwProcessId));
    std::printf("preview window closed\n");
  } else {
    EnumChildWindows(host, PrintChild, 0);
    DestroyWindow(host);
    std::printf("host window destroyed\n");
  }
  std::fflush(stdout);
  if (!PumpUntil(destroyed + 5000, process.hProcess)) {
    std::printf("saver still running\n");
    TerminateProcess(process.hProcess, 99);
    return 2;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  std::printf("saver exit %ld after %lu ms\n", static_cast<long>(code),
              static_cast<unsigned long>(GetTickCount() - destroyed));
  CloseHandle(process.hProcess);
  return 0;
}
