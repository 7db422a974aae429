#include "diagnostics/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>

#include "diagnostics/clock.h"
#include "diagnostics/debugger_output.h"

DebugLog::DebugLog(Clock clock) : clock_(clock != nullptr ? clock : &MillisecondsNow), start_(clock_()) {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (local != nullptr) {
    std::snprintf(path_, sizeof path_, "cdx%.4d%.2d%.2d%.2d%.2d%.2d.log", local->tm_year + 1900, local->tm_mon + 1,
                  local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec);
  } else {
    std::snprintf(path_, sizeof path_, "cdx.log");
  }
}

void DebugLog::Stamped(const char* stampFormat, const char* format, va_list args) {
  // A line is at most kMaxLine characters with its "\n": a longer message is cut,
  // but the line end is kept so that the next line starts on its own.
  char line[kMaxLine + 1];
  const std::uint32_t elapsed = clock_() - start_;
  int used = std::snprintf(line, sizeof line, stampFormat, elapsed);
  if (used < 0) used = 0;
  if (used > kMaxLine - 1) used = kMaxLine - 1;
  std::vsnprintf(line + used, static_cast<std::size_t>(kMaxLine - used), format, args);
  const std::size_t length = std::strlen(line);
  line[length] = '\n';
  line[length + 1] = '\0';
  Write(line);
}

void DebugLog::Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Stamped("%u: ", format, args);
  va_end(args);
}

void DebugLog::LogDetail(const char* format, ...) {
  if (level_ != 2) return;
  va_list args;
  va_start(args, format);
  Stamped("%d: ", format, args);
  va_end(args);
}

void DebugLog::SetFileName(const char* name) { std::snprintf(path_, sizeof path_, "%s", name != nullptr ? name : ""); }

void DebugLog::OldFileName(char (&name)[kMaxPath + 4]) const {
  const std::size_t length = std::strlen(path_);
  constexpr char kText[] = ".txt";
  constexpr std::size_t kTextLength = sizeof kText - 1;
  if (length >= kTextLength && std::strcmp(path_ + length - kTextLength, kText) == 0) {
    std::snprintf(name, sizeof name, "%.*s.old.txt", static_cast<int>(length - kTextLength), path_);
  } else {
    std::snprintf(name, sizeof name, "%s.old", path_);
  }
}

void DebugLog::DeleteLogFile() {
  if (outputs_ == kFile) std::remove(path_);
}

void DebugLog::Write(const char* text) {
  if (outputs_ & kFile) {
    // The settings mode's two threads both log: without the lock, both could see
    // the same full file and move it aside in turn, the second moving the first's
    // new, nearly empty file over the full one.
    static std::mutex fileLock;
    const std::lock_guard<std::mutex> hold(fileLock);
    if (std::FILE* out = std::fopen(path_, "a")) {
      std::fputs(text, out);
      // Where an appending stream stands is the end only after a seek to it on
      // some C runtimes (Windows': the position of the open until then).
      std::fseek(out, 0, SEEK_END);
      const long size = std::ftell(out);
      std::fclose(out);
      if (size > kMaxFileBytes) {
        char old[kMaxPath + 4];
        OldFileName(old);
        std::remove(old);
        std::rename(path_, old);
      }
    }
  }
  if (outputs_ & kStdout) std::fputs(text, stdout);
  if (outputs_ & kStderr) std::fputs(text, stderr);
  if (outputs_ & kCom1) WriteToDevice("COM1:", text);
  if (outputs_ & kCom2) WriteToDevice("COM2:", text);
  if (outputs_ & kLpt1) WriteToDevice("LPT1:", text);
  if (outputs_ & kLpt2) WriteToDevice("LPT2:", text);
  if (outputs_ & kDebugger) WriteToDebugger(text);
}

DebugLog& TraceLog() {
  static DebugLog log;
  return log;
}
