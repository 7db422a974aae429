// A stand-in for the optional skinning library, built by the tests as appface.dll.
// It exports the ten entry points the program looks up and appends one line per call
// to the file named by HEARTHMOOR_SKIN_CALLS ("name arg|arg|..."), plus "load" and
// "unload" when the library is mapped and unmapped. An entry point whose name is in
// HEARTHMOOR_SKIN_REFUSE (a list such as "SkinStart,SkinWindowSetEx") answers 0.
// Built with HEARTHMOOR_SKIN_WITHOUT_WINDOW_SET_EX it lacks the entry point looked up
// last, to show what a library missing one entry point gets called with.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

bool Environment(const char* name, char* value, DWORD size) {
  const DWORD length = GetEnvironmentVariableA(name, value, size);
  return length > 0 && length < size;
}

void Record(const char* format, ...) {
  char file[MAX_PATH];
  if (!Environment("HEARTHMOOR_SKIN_CALLS", file, sizeof file)) return;
  if (FILE* out = std::fopen(file, "ab")) {
    va_list args;
    va_start(args, format);
    std::vfprintf(out, format, args);
    va_end(args);
    std::fputc('\n', out);
    std::fclose(out);
  }
}

int Answer(const char* name) {
  char refused[512];
  if (!Environment("HEARTHMOOR_SKIN_REFUSE", refused, sizeof refused)) return 1;
  const std::size_t length = std::strlen(name);
  for (const char* item = refused; *item != '\0';) {
    const char* end = std::strchr(item, ',');
    const std::size_t itemLength = end != nullptr ? static_cast<std::size_t>(end - item) : std::strlen(item);
    if (itemLength == length && std::strncmp(item, name, length) == 0) return 0;
    if (end == nullptr) break;
    item = end + 1;
  }
  return 1;
}

const char* Text(const char* text) { return text == nullptr ? "(null)" : text; }

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Record("load");
  if (reason == DLL_PROCESS_DETACH) Record("unload");
  return TRUE;
}

__declspec(dllexport) int WINAPI SkinStart(const char* skinFile, int a, const char* key, int b, int c, int d) {
  Record("SkinStart %s|%d|%s|%d|%d|%d", Text(skinFile), a, Text(key), b, c, d);
  return Answer("SkinStart");
}

#ifndef HEARTHMOOR_SKIN_WITHOUT_WINDOW_SET_EX
__declspec(dllexport) int WINAPI SkinWindowSetEx(HWND window, int a, int b, int c, int d, int e, int f) {
  Record("SkinWindowSetEx %lld|%d|%d|%d|%d|%d|%d", static_cast<long long>(reinterpret_cast<INT_PTR>(window)), a, b, c,
         d, e, f);
  return Answer("SkinWindowSetEx");
}
#endif

__declspec(dllexport) int WINAPI SkinRemove() {
  Record("SkinRemove");
  return Answer("SkinRemove");
}

// Looked up only: a call would show up in the record.
__declspec(dllexport) int WINAPI SkinStartW() {
  Record("SkinStartW");
  return 0;
}
__declspec(dllexport) int WINAPI SkinWindowSet() {
  Record("SkinWindowSet");
  return 0;
}
__declspec(dllexport) int WINAPI SkinThread() {
  Record("SkinThread");
  return 0;
}
__declspec(dllexport) int WINAPI BkCreate() {
  Record("BkCreate");
  return 0;
}
__declspec(dllexport) int WINAPI BkDraw() {
  Record("BkDraw");
  return 0;
}
__declspec(dllexport) int WINAPI BkDelete() {
  Record("BkDelete");
  return 0;
}
__declspec(dllexport) int WINAPI SkinWindowSetExW() {
  Record("SkinWindowSetExW");
  return 0;
}

}  // extern "C"
