#include <gtest/gtest.h>

#include <cstdint>

#include "app/big_app.h"
#include "support/temp_dir.h"

// Opens the application's frame-rate bookkeeping to the test.
class CountingApp : public BigApp {
 public:
  using BaseApp::CountFrame;
};

TEST(FrameRateText, ReadsFpsUntilMoreThanASecondHasPassedThenTheRateInSixDecimals) {
  // The application object starts a log.txt in the current directory.
  TempDir dir;
  CurrentDirGuard inDir(dir.path());
  CountingApp app;
  EXPECT_STREQ(app.GetFpsText(), "fps:");
  std::uint32_t now = 0;
  for (int frame = 0; frame < 30; ++frame) app.CountFrame(now += 33);  // now = 990
  EXPECT_STREQ(app.GetFpsText(), "fps:");
  app.CountFrame(1000);  // exactly a second is not yet more than a second
  EXPECT_STREQ(app.GetFpsText(), "fps:");
  app.CountFrame(1001);  // 32 frames in 1001 ms, kept as a float
  EXPECT_STREQ(app.GetFpsText(), "31.968033");
  // The next measurement counts from there.
  for (int frame = 0; frame < 20; ++frame) app.CountFrame(1001 + 50 * (frame + 1));  // up to 2001
  EXPECT_STREQ(app.GetFpsText(), "31.968033");
  app.CountFrame(2003);
  EXPECT_STREQ(app.GetFpsText(), "20.958084");
}
