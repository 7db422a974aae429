// Sends a running saver the notifications Windows would send it about the
// display, the power and the session, to the top-level window of the class
// given (the full-screen saver's: "full wnd Class").
//
//   notify_saver CLASS display off|on|dimmed
//   notify_saver CLASS power mains|battery|ups
//   notify_saver CLASS saver on|off
//   notify_saver CLASS session lock|unlock|remote-disconnect|remote-connect|console-disconnect|console-connect
//   notify_saver CLASS system suspend|resume
//   notify_saver CLASS minimise|restore
//
// A power setting travels as WM_POWERBROADCAST / PBT_POWERSETTINGCHANGE with a
// POWERBROADCAST_SETTING that, as the system does, lies in the receiving
// process: it is written there, and freed after the saver has answered.
// Exit code 0 when the saver answered TRUE (it took the notification).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kPowerSource = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};
constexpr GUID kPowerSavingStatus = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};

struct Named {
  const char* name;
  DWORD value;
};

bool Find(const Named* table, std::size_t size, const std::string& name, DWORD& value) {
  for (std::size_t i = 0; i < size; ++i) {
    if (name == table[i].name) {
      value = table[i].value;
      return true;
    }
  }
  return false;
}

int SendPowerSetting(HWND window, const GUID& setting, DWORD value) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) {
    std::fprintf(stderr, "notify_saver: cannot open process %lu\n", processId);
    return 2;
  }
  // The structure ends in a one-byte array: a DWORD of data takes three more.
  unsigned char bytes[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
  POWERBROADCAST_SETTING header{};
  header.PowerSetting = setting;
  header.DataLength = sizeof value;
  std::memcpy(bytes, &header, sizeof header);
  std::memcpy(bytes + offsetof(POWERBROADCAST_SETTING, Data), &value, sizeof value);
  void* remote = VirtualAllocEx(process, nullptr, sizeof bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  int status = 2;
  if (remote != nullptr && WriteProcessMemory(process, remote, bytes, sizeof bytes, nullptr) != FALSE) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(remote),
                        SMTO_ABORTIFHUNG, 5000, &answer);
    status = answer == TRUE ? 0 : 1;
  }
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: notify_saver CLASS display|power|saver|system|session|minimise|restore [VALUE]\n", stderr);
    return 2;
  }
  HWND window = FindWindowA(argv[1], nullptr);
  if (window == nullptr) {
    std::fprintf(stderr, "notify_saver: no window of class '%s'\n", argv[1]);
    return 2;
  }
  const std::string what = argv[2];
  const std::string value = argc > 3 ? argv[3] : "";
  if (what == "minimise" || what == "restore") {
    ShowWindowAsync(window, what == "minimise" ? SW_MINIMIZE : SW_RESTORE);
    return 0;
  }
  static const Named kDisplay[] = {{"off", 0}, {"on", 1}, {"dimmed", 2}};
  static const Named kPower[] = {{"mains", 0}, {"battery", 1}, {"ups", 2}};
  static const Named kSaver[] = {{"off", 0}, {"on", 1}};
  static const Named kSession[] = {
      {"console-connect", 1}, {"console-disconnect", 2}, {"remote-connect", 3}, {"remote-disconnect", 4}, {"lock", 7},
      {"unlock", 8}};
  DWORD code = 0;
  if (what == "display" && Find(kDisplay, 3, value, code)) return SendPowerSetting(window, kConsoleDisplayState, code);
  if (what == "power" && Find(kPower, 3, value, code)) return SendPowerSetting(window, kPowerSource, code);
  if (what == "saver" && Find(kSaver, 2, value, code)) return SendPowerSetting(window, kPowerSavingStatus, code);
  if (what == "system" && (value == "suspend" || value == "resume")) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_POWERBROADCAST, value == "suspend" ? PBT_APMSUSPEND : PBT_APMRESUMEAUTOMATIC, 0,
                        SMTO_ABORTIFHUNG, 5000, &answer);
    return answer == TRUE ? 0 : 1;
  }
  if (what == "session" && Find(kSession, 6, value, code)) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_WTSSESSION_CHANGE, code, 1, SMTO_ABORTIFHUNG, 5000, &answer);
    return answer == TRUE ? 0 : 1;
  }
  std::fprintf(stderr, "notify_saver: unknown notification '%s %s'\n", what.c_str(), value.c_str());
  return 2;
}
