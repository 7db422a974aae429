// Drives the settings dialog of a running Hearthmoor.scr from outside, as a user
// would, and reports what it shows. Runs under Wine in the saver's prefix, as a
// UTF-8 process like the saver: arguments and texts are UTF-8.
//
// Usage: settings_driver COMMAND [ARGS] [COMMAND [ARGS]]...
//   wait SECONDS          wait for the visible "Hearthmoor" dialog (status 1 if none)
//   command ID            the dialog's WM_COMMAND for button ID (returns when handled)
//   add-file PATH         Add File, then PATH typed into the real file dialog's name
//                         box and Open pressed; status 1 if no file dialog came
//   post-command ID       the same, posted (for buttons that open a modal window)
//   toggle ID             flip check box ID and tell the dialog, as a click does
//   select LIST ROW       select and focus a row of list view LIST, as a click does
//   rows LIST             print "row N: TEXT" per row and "selected N"
//   trackbar ID POS       drag trackbar ID to POS: thumb moves, then the end of tracking
//   track-only ID POS     only the thumb moves, as while it is dragged
//   key ID VK             key VK pressed on trackbar ID, not yet released (so no end of tracking)
//   wheel ID STEPS        what Windows' trackbar does for a wheel turn (Wine's has no
//                         wheel handler): STEPS line steps, without an end of tracking
//   position ID           print "position ID: N" of trackbar ID
//   text ID               print "text ID: TEXT"
//   enabled ID            print "enabled ID: 0|1"
//   ping                  print "ping: answered in N ms", or "ping: no answer" when the
//                         dialog's thread has not answered a message within a second
//   checked ID            print "checked ID: 0|1"
//   window CAPTION        print "window CAPTION: visible V client WxH at X,Y"
//   move-dialog X Y       put the dialog's top-left corner at X,Y on the screen
//   close-dialog          the dialog's close box
//   close-window CAPTION  the close box of another window of the saver
//   cpu SECONDS           print "ui-cpu PERCENT": the dialog thread's CPU over SECONDS
//   stress SECONDS        change selections, move palettes, set intervals and toggle
//                         Show Fire as fast as possible; prints "stress N operations"
//   sleep MS
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND dialog = nullptr;

HWND FindDialog() {
  HWND window = FindWindowA("#32770", "Hearthmoor");
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// Memory inside the saver's process, for the list view messages whose
// structures the system does not carry across processes.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, SIZE_T size) : size_(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_ != nullptr) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  bool Ok() const { return address_ != nullptr; }
  char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
  void Write(SIZE_T offset, const void* data, SIZE_T size) {
    WriteProcessMemory(process_, At(offset), data, size, nullptr);
  }
  void Read(SIZE_T offset, void* data, SIZE_T size) { ReadProcessMemory(process_, At(offset), data, size, nullptr); }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  SIZE_T size_;
};

void Command(int id, bool post) {
  const WPARAM wParam = MAKEWPARAM(id, BN_CLICKED);
  const auto lParam = reinterpret_cast<LPARAM>(GetDlgItem(dialog, id));
  if (post) {
    PostMessageA(dialog, WM_COMMAND, wParam, lParam);
  } else {
    SendMessageA(dialog, WM_COMMAND, wParam, lParam);
  }
}

void Toggle(int id) {
  HWND box = GetDlgItem(dialog, id);
  const LRESULT checked = SendMessageA(box, BM_GETCHECK, 0, 0);
  SendMessageA(box, BM_SETCHECK, checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
  Command(id, false);
}

void Select(int listId, int row) {
  HWND list = GetDlgItem(dialog, listId);
  RemoteMemory memory(list, sizeof(LVITEMA));
  if (!memory.Ok()) return;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  memory.Write(0, &item, sizeof item);
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.At(0)));
}

// The saver's visible file dialog: its other top-level dialog window.
HWND FindFileDialog() {
  struct Search {
    DWORD process;
    HWND found;
  } search{0, nullptr};
  GetWindowThreadProcessId(dialog, &search.process);
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (process != search->process || window == dialog || !IsWindowVisible(window) ||
            std::strcmp(className, "#32770") != 0) {
          return TRUE;
        }
        search->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool AddFile(const char* path) {
  Command(1004, true);
  HWND files = nullptr;
  for (int i = 0; i < 200 && files == nullptr; ++i) {
    Sleep(50);
    files = FindFileDialog();
  }
  if (files == nullptr) return false;
  // The name box: the combo box of the Explorer-style dialog, or the edit of the old one.
  constexpr int kNameCombo = 0x47c, kNameEdit = 0x480;
  HWND name = GetDlgItem(files, kNameCombo);
  if (name == nullptr) name = GetDlgItem(files, kNameEdit);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
  PostMessageA(files, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(files, IDOK)));
  for (int i = 0; i < 200 && IsWindow(files); ++i) Sleep(50);
  // The rows come after the dialog has gone: a sent message waits for them.
  SendMessageA(dialog, WM_NULL, 0, 0);
  return !IsWindow(files);
}

void Rows(int listId) {
  HWND list = GetDlgItem(dialog, listId);
  constexpr SIZE_T kText = 4096;
  RemoteMemory memory(list, sizeof(LVITEMA) + kText);
  if (!memory.Ok()) return;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    LVITEMA item{};
    item.pszText = memory.At(sizeof(LVITEMA));
    item.cchTextMax = kText;
    memory.Write(0, &item, sizeof item);
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.At(0)));
    char text[kText] = {};
    memory.Read(sizeof(LVITEMA), text, kText - 1);
    std::printf("row %d: %s\n", row, text);
  }
  std::printf("selected %d\n",
              static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

void Trackbar(int id, int position, bool end) {
  HWND bar = GetDlgItem(dialog, id);
  SendMessageA(bar, TBM_SETPOS, TRUE, position);
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(bar));
  if (!end) return;
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(bar));
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
}

void Wheel(int id, int steps) {
  HWND bar = GetDlgItem(dialog, id);
  const int line = static_cast<int>(SendMessageA(bar, TBM_GETLINESIZE, 0, 0));
  for (int step = 0; step < (steps < 0 ? -steps : steps); ++step) {
    const int position = static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0)) + (steps < 0 ? -line : line);
    SendMessageA(bar, TBM_SETPOS, TRUE, position);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(steps < 0 ? TB_LINEUP : TB_LINEDOWN, 0), reinterpret_cast<LPARAM>(bar));
  }
}

void Text(int id) {
  char text[1024] = {};
  GetWindowTextA(GetDlgItem(dialog, id), text, sizeof text);
  std::printf("text %d: %s\n", id, text);
}

void Window(const char* caption) {
  HWND window = FindWindowA(nullptr, caption);
  if (window == nullptr) {
    std::printf("window %s: none\n", caption);
    return;
  }
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::printf("window %s: visible %d client %ldx%ld at %ld,%ld\n", caption, IsWindowVisible(window) ? 1 : 0,
              client.right, client.bottom, origin.x, origin.y);
}

unsigned long long ThreadCpu100ns(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return 0;
  const auto value = [](const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return value(kernel) + value(user);
}

void Cpu(int seconds) {
  HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, GetWindowThreadProcessId(dialog, nullptr));
  if (thread == nullptr) {
    std::printf("ui-cpu unknown\n");
    return;
  }
  const unsigned long long before = ThreadCpu100ns(thread);
  const DWORD start = GetTickCount();
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const unsigned long long used = ThreadCpu100ns(thread) - before;
  const DWORD elapsed = GetTickCount() - start;
  CloseHandle(thread);
  std::printf("ui-cpu %.2f\n", elapsed > 0 ? used / 100.0 / elapsed : 0.0);
}

void Stress(int seconds) {
  const int lists[] = {1001, 1019, 1020};
  const int trackbars[] = {1008, 1009, 1010};
  unsigned random = 12345;
  const auto next = [&random](unsigned bound) {
    random = random * 1103515245u + 12345u;
    return (random >> 16) % bound;
  };
  long operations = 0;
  const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    // Show Fire rarely: without a window manager, Wine waits up to a second for
    // X to unmap a hidden window.
    const unsigned kind = next(100);
    if (kind < 30) {
      const int list = lists[next(3)];
      const int count = static_cast<int>(SendMessageA(GetDlgItem(dialog, list), LVM_GETITEMCOUNT, 0, 0));
      if (count > 0) Select(list, static_cast<int>(next(static_cast<unsigned>(count))));
    } else if (kind < 55) {
      Command(next(2) == 0 ? 1023 : 1024, false);  // palette Up or Down
    } else if (kind < 80) {
      Trackbar(trackbars[next(3)], static_cast<int>(next(1001)), true);
    } else if (kind < 98) {
      Command(1007, false);  // Add Desktop
      Select(1001, 0);
      Command(1005, false);  // and Remove the first row again
    } else {
      Toggle(1003);
    }
    ++operations;
  }
  std::printf("stress %ld operations\n", operations);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string command = argv[i];
    const auto number = [&](int k) { return i + k < argc ? std::atoi(argv[i + k]) : 0; };
    if (command == "wait") {
      const DWORD until = GetTickCount() + static_cast<DWORD>(number(1)) * 1000;
      while ((dialog = FindDialog()) == nullptr && static_cast<LONG>(until - GetTickCount()) > 0) Sleep(100);
      if (dialog == nullptr) {
        std::printf("no dialog\n");
        return 1;
      }
      ++i;
      continue;
    }
    if (dialog == nullptr) dialog = FindDialog();
    if (dialog == nullptr && command != "sleep" && command != "window" && command != "close-window") {
      std::printf("no dialog\n");
      return 1;
    }
    if (command == "add-file") {
      if (!AddFile(i + 1 < argc ? argv[i + 1] : "")) {
        std::printf("no file dialog\n");
        return 1;
      }
      i += 1;
    } else if (command == "command" || command == "post-command") {
      Command(number(1), command == "post-command");
      i += 1;
    } else if (command == "toggle") {
      Toggle(number(1));
      i += 1;
    } else if (command == "select") {
      Select(number(1), number(2));
      i += 2;
    } else if (command == "rows") {
      Rows(number(1));
      i += 1;
    } else if (command == "trackbar" || command == "track-only") {
      Trackbar(number(1), number(2), command == "trackbar");
      i += 2;
    } else if (command == "key") {
      SendMessageA(GetDlgItem(dialog, number(1)), WM_KEYDOWN, static_cast<WPARAM>(number(2)), 0);
      i += 2;
    } else if (command == "wheel") {
      Wheel(number(1), number(2));
      i += 2;
    } else if (command == "position") {
      std::printf("position %d: %d\n", number(1),
                  static_cast<int>(SendMessageA(GetDlgItem(dialog, number(1)), TBM_GETPOS, 0, 0)));
      i += 1;
    } else if (command == "text") {
      Text(number(1));
      i += 1;
    } else if (command == "enabled") {
      std::printf("enabled %d: %d\n", number(1), IsWindowEnabled(GetDlgItem(dialog, number(1))) ? 1 : 0);
      i += 1;
    } else if (command == "ping") {
      const DWORD start = GetTickCount();
      DWORD_PTR ignored = 0;
      if (SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored) != 0) {
        std::printf("ping: answered in %lu ms\n", GetTickCount() - start);
      } else {
        std::printf("ping: no answer\n");
      }
    } else if (command == "checked") {
      std::printf("checked %d: %d\n", number(1),
                  SendMessageA(GetDlgItem(dialog, number(1)), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
      i += 1;
    } else if (command == "window") {
      Window(i + 1 < argc ? argv[i + 1] : "");
      i += 1;
    } else if (command == "move-dialog") {
      SetWindowPos(dialog, nullptr, number(1), number(2), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      i += 2;
    } else if (command == "close-dialog") {
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (command == "close-window") {
      if (HWND window = FindWindowA(nullptr, i + 1 < argc ? argv[i + 1] : "")) {
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      i += 1;
    } else if (command == "cpu") {
      Cpu(number(1));
      i += 1;
    } else if (command == "stress") {
      Stress(number(1));
      i += 1;
    } else if (command == "sleep") {
      Sleep(static_cast<DWORD>(number(1)));
      i += 1;
    } else {
      std::fprintf(stderr, "unknown command %s\n", command.c_str());
      return 64;
    }
    std::fflush(stdout);
  }
  return 0;
}
