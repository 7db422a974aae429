#include "diagnostics/debugger_output.h"

void WriteToDebugger(const char*) {}

void WriteToDevice(const char*, const char*) {}
