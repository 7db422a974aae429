#include "diagnostics/performance_monitor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/temp_dir.h"

namespace {

std::int64_t g_ticks = 0;
std::int64_t FakeCounter() { return g_ticks; }

// One tick is one millisecond, so the report's figures are the ticks themselves.
class PerformanceMonitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ticks = 0;
    PerformanceMonitor::UseCounter(&FakeCounter, 1000);
  }
  void TearDown() override {
    if (PerformanceMonitor::IsInitialized()) PerformanceMonitor::WriteReport();
    PerformanceMonitor::UsePlatformCounter();
  }

  std::string Report() { return ReadFileBytes(dir_ / "report.csv"); }

  TempDir dir_;
  CurrentDirGuard cwd_{dir_.path()};
};

const std::string kHeader =
    "\xc3\xfb\xb3\xc6,\xd7\xdc\xb0\xd9\xb7\xd6\xb1\xc8,\xc9\xcf\xb2\xe3\xb0\xd9\xb7\xd6\xb1\xc8,"
    "\xb5\xf7\xd3\xc3\xb4\xce\xca\xfd,\xd5\xbc\xd3\xc3\xca\xb1\xbc\xe4(ms),"
    "\xc6\xbd\xbe\xf9\xd5\xbc\xd3\xc3\xca\xb1\xbc\xe4(us)\r\n";

void Frame() {
  {
    PerformanceScope update("FireManager::Update()");
    g_ticks += 10;
    {
      PerformanceScope flame("Flame::Update()");
      g_ticks += 30;
    }
    g_ticks += 5;
  }
}

TEST_F(PerformanceMonitorTest, ReportListsTheTreeWithNestingRatiosAndTheSameNameUnderTwoParents) {
  PerformanceMonitor::Init(false, false, "mf.pm.log");
  Frame();
  Frame();
  {
    PerformanceScope render("FireManager::Render()");
    g_ticks += 4;
    PerformanceScope flame("Flame::Update()");
    g_ticks += 6;
  }
  PerformanceMonitor::WriteReport();

  EXPECT_EQ(Report(), kHeader +
                          "1: FireManager::Render(),0.100,0.100,1,10,10000\r\n"
                          " 2: Flame::Update(),0.060,0.600,1,6,6000\r\n"
                          "1: FireManager::Update(),0.900,0.900,2,90,45000\r\n"
                          " 2: Flame::Update(),0.600,0.667,2,60,30000\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "mf.pm.log"));
  EXPECT_FALSE(PerformanceMonitor::IsInitialized());
}

TEST_F(PerformanceMonitorTest, NamesAreOrderedBytewiseAndAScopeInsideItselfNestsDeeper) {
  PerformanceMonitor::Init(false, false, "mf.pm.log");
  {
    PerformanceScope outer("ab");
    g_ticks += 2;
    PerformanceScope inner("ab");
    g_ticks += 2;
  }
  {
    PerformanceScope shorter("a");
    g_ticks += 4;
  }
  {
    PerformanceScope upper("B");
    g_ticks += 2;
  }
  PerformanceMonitor::WriteReport();
  EXPECT_EQ(Report(), kHeader +
                          "1: B,0.200,0.200,1,2,2000\r\n"
                          "1: a,0.400,0.400,1,4,4000\r\n"
                          "1: ab,0.400,0.400,1,4,4000\r\n"
                          " 2: ab,0.200,0.500,1,2,2000\r\n");
}

TEST_F(PerformanceMonitorTest, ScopeLeftByAnExceptionIsStillCounted) {
  PerformanceMonitor::Init(false, false, "mf.pm.log");
  try {
    PerformanceScope scope("BaseApp::OnMain()");
    g_ticks += 7;
    throw std::runtime_error("stage failed");
  } catch (const std::runtime_error&) {
  }
  PerformanceMonitor::WriteReport();
  EXPECT_EQ(Report(), kHeader + "1: BaseApp::OnMain(),1.000,1.000,1,7,7000\r\n");
}

// The other monitors' frames run inside UntimedScope, beside the primary's: the
// report holds the primary's frame alone, as with one monitor.
TEST_F(PerformanceMonitorTest, ScopesInsideAnUntimedScopeLeaveTheReportAsItWas) {
  PerformanceMonitor::Init(false, false, "mf.pm.log");
  {
    PerformanceScope frame("BaseApp::OnMain()");
    g_ticks += 7;
    {
      const UntimedScope untimed;
      Frame();
    }
  }
  {
    const UntimedScope untimed;
    Frame();
  }
  PerformanceMonitor::WriteReport();
  EXPECT_EQ(Report(), kHeader + "1: BaseApp::OnMain(),1.000,1.000,1,52,52000\r\n");
}

TEST_F(PerformanceMonitorTest, ScopeWithoutInitRaisesAndASecondReportHasOnlyTheHeader) {
  EXPECT_THROW(
      {
        try {
          PerformanceScope scope("Flame::Update()");
        } catch (const std::runtime_error& error) {
          EXPECT_STREQ(error.what(), "Not initialized");
          throw;
        }
      },
      std::runtime_error);

  PerformanceMonitor::Init(false, false, "mf.pm.log");
  Frame();
  PerformanceMonitor::WriteReport();
  EXPECT_THROW(PerformanceScope("Flame::Update()"), std::runtime_error);
  PerformanceMonitor::WriteReport();
  EXPECT_EQ(Report(), kHeader);
}

TEST_F(PerformanceMonitorTest, ReportWhileAScopeIsOpenLeavesThatScopeHarmless) {
  PerformanceMonitor::Init(false, false, "mf.pm.log");
  {
    PerformanceScope outer("outer");
    PerformanceScope inner("inner");
    PerformanceMonitor::WriteReport();
    PerformanceMonitor::Init(false, false, "mf.pm.log");
  }
  Frame();
  PerformanceMonitor::WriteReport();
  EXPECT_EQ(Report(), kHeader +
                          "1: FireManager::Update(),1.000,1.000,1,45,45000\r\n"
                          " 2: Flame::Update(),0.667,0.667,1,30,30000\r\n");
}

TEST_F(PerformanceMonitorTest, FileLogHasIndentedBeginAndEndLinesWithPeriods) {
  PerformanceMonitor::Init(true, true, "pm.log");
  Frame();
  EXPECT_FALSE(PerformanceMonitor::LogBuffer().empty());
  PerformanceMonitor::WriteReport();
  EXPECT_EQ(ReadFileBytes(dir_ / "pm.log"),
            "[FireManager::Update()] begin\r\n"
            "\t[Flame::Update()] begin\r\n"
            "\t[Flame::Update()] end | period: 30\r\n"
            "[FireManager::Update()] end | period: 45\r\n");
}

TEST_F(PerformanceMonitorTest, MemoryLogStaysWithinItsThresholdAndNeverTouchesDisk) {
  PerformanceMonitor::Init(true, false, "mf.pm.log");
  std::size_t largest = 0;
  for (int i = 0; i < 500; ++i) {
    {
      PerformanceScope scope("FireImageCopyer32::CopyImageToSurface()");
      g_ticks += 3;
      largest = std::max(largest, PerformanceMonitor::LogBuffer().size());
    }
    largest = std::max(largest, PerformanceMonitor::LogBuffer().size());
    if (i == 0) {
      EXPECT_EQ(PerformanceMonitor::LogBuffer(),
                "[FireImageCopyer32::CopyImageToSurface()] begin\r\n"
                "[FireImageCopyer32::CopyImageToSurface()] end | period: 3\r\n");
    }
  }
  const std::size_t longestLine = std::string("[FireImageCopyer32::CopyImageToSurface()] end | period: 3\r\n").size();
  EXPECT_GT(largest, 900u);
  EXPECT_LE(largest, 1000u + longestLine);
  PerformanceMonitor::WriteReport();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "mf.pm.log"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);  // report.csv only
}

}  // namespace
