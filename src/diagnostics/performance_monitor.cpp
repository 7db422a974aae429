#include "diagnostics/performance_monitor.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "diagnostics/performance_counter.h"

namespace {

constexpr std::size_t kFileFlushThreshold = 200000;
constexpr std::size_t kMemoryFlushThreshold = 1000;
constexpr std::size_t kBufferSlack = 40;
constexpr std::size_t kReservedDepth = 32;  // deeper nesting only grows the path once

// "名称,总百分比,上层百分比,调用次数,占用时间(ms),平均占用时间(us)" in code page 936.
constexpr unsigned char kReportHeaderGbk[] = {
    0xc3, 0xfb, 0xb3, 0xc6, 0x2c, 0xd7, 0xdc, 0xb0, 0xd9, 0xb7, 0xd6, 0xb1, 0xc8, 0x2c, 0xc9, 0xcf,
    0xb2, 0xe3, 0xb0, 0xd9, 0xb7, 0xd6, 0xb1, 0xc8, 0x2c, 0xb5, 0xf7, 0xd3, 0xc3, 0xb4, 0xce, 0xca,
    0xfd, 0x2c, 0xd5, 0xbc, 0xd3, 0xc3, 0xca, 0xb1, 0xbc, 0xe4, 0x28, 0x6d, 0x73, 0x29, 0x2c, 0xc6,
    0xbd, 0xbe, 0xf9, 0xd5, 0xbc, 0xd3, 0xc3, 0xca, 0xb1, 0xbc, 0xe4, 0x28, 0x75, 0x73, 0x29};

struct MonitorState {
  bool initialized = false;
  bool enabled = false;
  bool toFile = false;
  std::size_t threshold = kMemoryFlushThreshold;
  std::string buffer;
  std::ofstream logFile;
  int depth = 0;
  std::vector<std::string_view> openPath;  // names of the open scopes, which outlive them
  TimingMap root;
  std::uint32_t generation = 0;
  PerformanceMonitor::CounterRead readCounter = &ReadPerformanceCounter;
  std::int64_t frequency = 0;  // 0: ask the platform
};

MonitorState& State() {
  static MonitorState state;
  return state;
}

// The text log mirrors a Windows text-mode stream: "\n" in the buffer is CR LF on disk.
void WriteBufferToLog(MonitorState& s) {
  for (char c : s.buffer) {
    if (c == '\n') s.logFile.put('\r');
    s.logFile.put(c);
  }
  s.logFile.flush();
}

const char* LineEnd(const MonitorState& s) { return s.toFile ? "\n" : "\r\n"; }

void WriteLine(std::FILE* out, const std::string& text) {
  // report.csv is a text-mode file on Windows: every line ends in CR LF.
  std::fwrite(text.data(), 1, text.size(), out);
  std::fputs("\r\n", out);
}

double Ratio(std::int64_t part, std::int64_t whole) {
  return whole == 0 ? 0.0 : static_cast<double>(part) / static_cast<double>(whole);
}

void WriteNodes(std::FILE* out, TimingMap& nodes, int level, std::int64_t grandTotal, std::int64_t parentTotal,
                std::int64_t frequency) {
  for (auto& [name, node] : nodes) {
    const std::int64_t ms = frequency == 0 ? 0 : node.total * 1000 / frequency;
    const std::int64_t average = node.count == 0 ? 0 : ms * 1000 / node.count;
    char line[64];
    std::snprintf(line, sizeof line, "%d: ", level);
    std::string text(static_cast<std::size_t>(level - 1), ' ');
    text += line;
    text += name;
    char figures[160];
    std::snprintf(figures, sizeof figures, ",%.3f,%.3f,%d,%lld,%lld", Ratio(node.total, grandTotal),
                  Ratio(node.total, parentTotal), static_cast<int>(node.count), static_cast<long long>(ms),
                  static_cast<long long>(average));
    text += figures;
    WriteLine(out, text);
    if (!node.children.empty()) {
      WriteNodes(out, node.children, level + 1, grandTotal, node.total, frequency);
      node.children.clear();
    }
  }
}

}  // namespace

void PerformanceMonitor::Init(bool enabled, bool toFile, const std::string& logName) {
  MonitorState& s = State();
  s.initialized = true;
  s.enabled = enabled;
  s.toFile = toFile;
  if (!enabled) return;
  if (toFile) {
    s.threshold = kFileFlushThreshold;
    s.logFile.close();
    s.logFile.clear();
    s.logFile.open(logName, std::ios::out | std::ios::app | std::ios::binary);
  } else {
    s.threshold = kMemoryFlushThreshold;
  }
  s.buffer.reserve(s.threshold + kBufferSlack);
}

bool PerformanceMonitor::IsInitialized() { return State().initialized; }
const TimingMap& PerformanceMonitor::Root() { return State().root; }
const std::string& PerformanceMonitor::LogBuffer() { return State().buffer; }

void PerformanceMonitor::UseCounter(CounterRead read, std::int64_t frequency) {
  State().readCounter = read;
  State().frequency = frequency;
}

void PerformanceMonitor::UsePlatformCounter() { UseCounter(&ReadPerformanceCounter, 0); }

TimingMap* PerformanceMonitor::BeginScope(std::string_view name, std::int64_t& start, std::uint32_t& generation) {
  MonitorState& s = State();
  if (!s.initialized) throw std::runtime_error("Not initialized");
  start = s.readCounter();
  generation = s.generation;
  if (s.enabled) {
    s.buffer.append(static_cast<std::size_t>(s.depth), '\t');
    s.buffer += '[';
    s.buffer += name;
    s.buffer += "] begin";
    s.buffer += LineEnd(s);
    ++s.depth;
  }
  TimingMap* map = &s.root;
  for (std::string_view open : s.openPath) {
    auto it = map->find(open);
    if (it == map->end()) throw std::runtime_error("No such log in PerformanceMonitor");
    map = &it->second.children;
  }
  if (map->find(name) == map->end()) map->emplace(std::string(name), TimingNode{std::string(name), 0, 0, {}});
  if (s.openPath.capacity() == 0) s.openPath.reserve(kReservedDepth);
  s.openPath.push_back(name);
  return map;
}

void PerformanceMonitor::EndScope(TimingMap* map, std::string_view name, std::int64_t start, std::uint32_t generation) {
  MonitorState& s = State();
  if (!s.openPath.empty()) s.openPath.pop_back();
  if (s.enabled) {
    --s.depth;
    s.buffer.append(static_cast<std::size_t>(s.depth < 0 ? 0 : s.depth), '\t');
    s.buffer += '[';
    s.buffer += name;
    s.buffer += "] end | period: ";
  }
  const std::int64_t now = s.readCounter();
  if (s.enabled) {
    // The log shows the low 32 bits of the difference, as a signed number.
    const auto period = static_cast<std::int32_t>(static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(start));
    s.buffer += std::to_string(period);
    s.buffer += LineEnd(s);
    if (s.buffer.size() > s.threshold) {
      if (s.toFile) WriteBufferToLog(s);
      s.buffer.clear();
      s.buffer.reserve(s.threshold + kBufferSlack);
    }
  }
  // A report written while this scope was open freed the tree its map lived in.
  if (generation != s.generation) return;
  auto it = map->find(name);
  if (it == map->end()) return;
  it->second.count += 1;
  it->second.total += now - start;
}

void PerformanceMonitor::WriteReport() {
  MonitorState& s = State();
  s.initialized = false;
  if (s.enabled) {
    if (!s.buffer.empty()) {
      if (s.toFile) WriteBufferToLog(s);
      s.buffer.clear();
    }
    if (s.toFile) s.logFile.close();
  }

  std::FILE* out = std::fopen("report.csv", "wb");
  std::int64_t grandTotal = 0;
  for (const auto& [name, node] : s.root) grandTotal += node.total;
  const std::int64_t frequency = s.frequency != 0 ? s.frequency : PerformanceCounterFrequency();
  if (out != nullptr) {
    WriteLine(out, std::string(reinterpret_cast<const char*>(kReportHeaderGbk), sizeof kReportHeaderGbk));
    WriteNodes(out, s.root, 1, grandTotal, grandTotal, frequency);
    std::fclose(out);
  }
  s.root.clear();
  ++s.generation;
}

namespace {
thread_local int t_untimedDepth = 0;
}  // namespace

PerformanceScope::PerformanceScope(const char* name) : name_(name) {
  if (t_untimedDepth > 0) return;
  map_ = PerformanceMonitor::BeginScope(name_, start_, generation_);
  timed_ = true;
}

PerformanceScope::~PerformanceScope() {
  if (timed_) PerformanceMonitor::EndScope(map_, name_, start_, generation_);
}

UntimedScope::UntimedScope() { ++t_untimedDepth; }

UntimedScope::~UntimedScope() { --t_untimedDepth; }
