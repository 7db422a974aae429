#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// One position in the tree of nested timing scopes. The same scope name under two
// parents is two nodes; totals are in performance-counter ticks.
struct TimingNode {
  std::string name;
  std::int32_t count = 0;
  std::int64_t total = 0;
  std::map<std::string, TimingNode, std::less<>> children;
};

// Ordered by byte-wise comparison of the names, which std::string's ordering is;
// looked up by string_view so that timing a known scope allocates nothing.
using TimingMap = std::map<std::string, TimingNode, std::less<>>;

// Times named scopes of the frame in a tree and writes the tree as report.csv.
// Global state without a lock of its own: callers keep it to one thread at a time.
class PerformanceMonitor {
 public:
  using CounterRead = std::int64_t (*)();

  // Starts collecting. With `enabled` a begin/end text log is kept too, flushed
  // to `logName` when `toFile`, else only held in a bounded memory buffer.
  static void Init(bool enabled, bool toFile, const std::string& logName);

  // Writes report.csv into the current directory and empties the tree; the
  // monitor is uninitialised afterwards.
  static void WriteReport();

  static bool IsInitialized();
  static const TimingMap& Root();
  static const std::string& LogBuffer();

  // Replaces the tick source (tests only; the program always uses the platform counter).
  static void UseCounter(CounterRead read, std::int64_t frequency);
  static void UsePlatformCounter();

 private:
  friend class PerformanceScope;
  static TimingMap* BeginScope(std::string_view name, std::int64_t& start, std::uint32_t& generation);
  static void EndScope(TimingMap* map, std::string_view name, std::int64_t start, std::uint32_t generation);
};

// Measures the block it lives in under `name`, a text that outlives the scope
// (the program passes string literals); also counts when an exception leaves the
// block. Throws std::runtime_error when the monitor is not initialised.
class PerformanceScope {
 public:
  explicit PerformanceScope(const char* name);
  ~PerformanceScope();
  PerformanceScope(const PerformanceScope&) = delete;
  PerformanceScope& operator=(const PerformanceScope&) = delete;

 private:
  bool timed_ = false;  // false on a thread inside an UntimedScope: nothing to end
  TimingMap* map_ = nullptr;
  std::string_view name_;
  std::int64_t start_ = 0;
  std::uint32_t generation_ = 0;  // which tree map_ belongs to; a report starts a new one
};

// While one lives on a thread, that thread's PerformanceScopes measure nothing.
// The full-screen mode steps the fires of the other monitors beside the
// primary's: those frames run in the same stages but are not part of the report,
// which keeps describing the primary's frame (and the tree stays one thread's).
class UntimedScope {
 public:
  UntimedScope();
  ~UntimedScope();
  UntimedScope(const UntimedScope&) = delete;
  UntimedScope& operator=(const UntimedScope&) = delete;
};
