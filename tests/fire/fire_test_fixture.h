#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "image/byte_image.h"
#include "support/temp_dir.h"

// Runs each test in its own folder with the performance monitor collecting (the
// fire's stages open timing scopes) and the trace log written to log.txt there.
class FireTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TraceLog().SetFileName("log.txt");
    PerformanceMonitor::Init(false, false, "mf.pm.log");
  }
  void TearDown() override {
    if (PerformanceMonitor::IsInitialized()) PerformanceMonitor::WriteReport();
  }

  std::string LogText() {
    std::string text = ReadFileBytes(dir_ / "log.txt");
    std::erase(text, '\r');
    return text;
  }

  TempDir dir_;
  CurrentDirGuard cwd_{dir_.path()};
};

inline void FillRandom(ByteImage& image, std::mt19937& random) {
  for (std::int32_t y = 0; y < image.height; ++y) {
    for (std::int32_t x = 0; x < image.pitch; ++x) image.Row(y)[x] = static_cast<std::uint8_t>(random());
  }
}

inline void Fill(ByteImage& image, std::uint8_t value) {
  for (std::int32_t y = 0; y < image.height; ++y) {
    for (std::int32_t x = 0; x < image.pitch; ++x) image.Row(y)[x] = value;
  }
}
