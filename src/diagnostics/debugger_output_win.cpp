#include <windows.h>

#include <cstdio>

#include "diagnostics/debugger_output.h"

void WriteToDebugger(const char* text) { OutputDebugStringA(text); }

void WriteToDevice(const char* device, const char* text) {
  if (std::FILE* out = std::fopen(device, "w")) {
    std::fputs(text, out);
    std::fclose(out);
  }
}
