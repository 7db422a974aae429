#pragma once

// Sends a finished log line to an attached debugger (OutputDebugStringA on
// Windows); the portable build has none and drops it.
void WriteToDebugger(const char* text);

// Appends a line to a device such as "COM1:" or "LPT1:" (Windows only).
void WriteToDevice(const char* device, const char* text);
