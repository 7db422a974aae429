#pragma once
#include <cstdarg>
#include <cstdint>

#if defined(__clang__)
#define HEARTHMOOR_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define HEARTHMOOR_PRINTF(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#endif

// The process-wide trace log. Each line is stamped with the milliseconds since the
// log was created and sent to every selected output; the file output opens, appends
// and closes per line so that the file is complete however the process ends.
// A saver left running for weeks logs every picture change: once the file passes
// kMaxFileBytes it is moved aside (replacing the one moved aside before, named as
// OldFileName says) and a new one begins, so the log never takes more than twice
// that.
// Each call formats in its own stack buffer; only the file output (append and
// move aside) takes a lock, shared by every log of the process.
class DebugLog {
 public:
  enum Output : int {
    kFile = 0x1,
    kStdout = 0x2,
    kStderr = 0x4,
    kCom1 = 0x8,
    kCom2 = 0x10,
    kLpt1 = 0x20,
    kLpt2 = 0x40,
    kScreen = 0x80,  // on-screen box: never selected by this program, not built
    kDebugger = 0x200,
  };

  static constexpr int kMaxLine = 255;  // characters of one line, its line end included
  static constexpr int kMaxPath = 260;
  static constexpr long kMaxFileBytes = 1L << 20;

  using Clock = std::uint32_t (*)();

  // `clock` is replaceable for tests; the program uses the multimedia clock.
  explicit DebugLog(Clock clock = nullptr);

  void Log(const char* format, ...) HEARTHMOOR_PRINTF(2, 3);
  void LogDetail(const char* format, ...) HEARTHMOOR_PRINTF(2, 3);
  void SetFileName(const char* name);
  void DeleteLogFile();
  void Write(const char* text);

  void SetOutputs(int outputs) { outputs_ = outputs; }
  int Outputs() const { return outputs_; }
  void SetLevel(int level) { level_ = level; }
  int Level() const { return level_; }
  const char* FileName() const { return path_; }
  // Where a full log file is moved: "log.txt" -> "log.old.txt"; a name without
  // ".txt" gets ".old" added.
  void OldFileName(char (&name)[kMaxPath + 4]) const;

 private:
  void Stamped(const char* stampFormat, const char* format, va_list args);

  int outputs_ = kFile;
  int level_ = 1;
  Clock clock_;
  std::uint32_t start_;
  char path_[kMaxPath] = {};
};

// The one log every trace line goes through.
DebugLog& TraceLog();
