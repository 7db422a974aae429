#include "app/error_report.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/error_messages.h"

// Records what the report asks of the shell and answers as told.
class FakeShell : public ErrorReportShell {
 public:
  bool answerYes = false;
  std::set<std::string> existing;
  std::string text;
  std::string caption;
  std::vector<std::string> opened;

  bool AskYesNo(const std::string& t, const std::string& c) override {
    text = t;
    caption = c;
    return answerYes;
  }
  bool FileExists(const std::string& path) override { return existing.count(path) != 0; }
  void OpenLink(const std::string& link) override { opened.push_back(link); }
};

static ErrorReportInfo Info(int code, int directXError = 0) {
  ErrorReportInfo info;
  info.code = code;
  info.directXError = directXError;
  info.productName = "Hearthmoor";
  info.version = "V1.00";
  info.settingsFolder = "C:\\Saver\\";
  return info;
}

TEST(ErrorMessages, EveryCodeHasItsRowAndUnknownCodesFallBackToRowZero) {
  struct Case {
    int code;
    const char* message;
    const char* advice;
  };
  const char* reinstall = "Please reinstall this software.";
  const char* tryAgain = "Please try it again,if it is still not work, download it again.";
  const char* directX = "Please ensure that directX 9.0 or higher is installed,then try it again.";
  const char* depth = "This software just support 16-bit, 24-bit or 32-bit color mode.";
  const char* changeDepth = "Please change your system to 16-bit, 24-bit or 32-bit color mode,then try it again.";
  const char* configure = "Please check the configuration or reinstall this software.";
  const Case cases[] = {
      {0, "Unknown error.", reinstall},
      {-1, "This progrom's parameter is not initialized.", reinstall},
      {-2, "Register window class error.", tryAgain},
      {-3, "Create window error.", tryAgain},
      {-4, "Create screen error.", directX},
      {-5, "Initialize Directx(window mode) false.", directX},
      {-6, "Initialize Directx(full mode) false.", directX},
      {-7, depth, changeDepth},
      {-8, depth, changeDepth},
      {-9, "Not enough memory error.", "Please close some programs, then try it again."},
      {-10, "Configure error.", configure},
      {-11, "Configure error.", configure},
      {-12, "Register window class error.", tryAgain},
      {-13, "Create window error.", tryAgain},
      {-14, "Unknown error.", reinstall},
      {-15, "There is a exception in initialization", tryAgain},
      {-16, "Unknown error.", reinstall},
      {-1000, "Unknown error.", reinstall},
      {3, "Unknown error.", reinstall},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_STREQ(ErrorMessage(c.code), c.message);
    EXPECT_STREQ(ErrorAdvice(c.code), c.advice);
  }
}

TEST(ErrorReport, CodeTextCarriesTheDirectXResultOnlyForTheTwoDirectDrawCodes) {
  EXPECT_EQ(ErrorCodeText(-3, -2), "-3");
  EXPECT_EQ(ErrorCodeText(-4, -2), "-4");
  EXPECT_EQ(ErrorCodeText(-5, -8), "-5/-8");
  EXPECT_EQ(ErrorCodeText(-6, -2), "-6/-2");
  EXPECT_EQ(ErrorCodeText(-6, 0), "-6/0");
}

TEST(ErrorReport, BoxShowsCodeMessageAdviceAndQuestion) {
  FakeShell shell;
  ReportError(Info(-4), shell);
  EXPECT_EQ(shell.text,
            "Error code: -4.\r\nCreate screen error.\r\n"
            "Please ensure that directX 9.0 or higher is installed,then try it again.\r\n"
            "Would you like to report this bug?\r\n");
  EXPECT_EQ(shell.caption, "An error has occurred, this program will be closed.");
  EXPECT_TRUE(shell.opened.empty()) << "No opens nothing";
}

TEST(ErrorReport, YesOpensAMailtoLinkNamingTheFilesThatExistInOrder) {
  FakeShell shell;
  shell.answerYes = true;
  shell.existing = {"C:\\Saver\\report.csv", "C:\\Saver\\log.txt", "C:\\Saver\\config.ini"};
  ReportError(Info(-6, -2), shell);
  EXPECT_NE(shell.text.find("Error code: -6/-2.\r\n"), std::string::npos);
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0],
            "mailto:support@hearthmoor.example?subject=HearthmoorV1.00 bug code [-6/-2]"
            "&body=Please attach the follow file:%0d%0a\r\n"
            "C:\\Saver\\log.txt%0d%0a\r\n"
            "C:\\Saver\\config.ini%0d%0a\r\n"
            "C:\\Saver\\report.csv%0d%0a\r\n"
            "%0d%0a\r\n");
}

TEST(ErrorReport, BodyWithoutAnyFileHoldsTheRequestAndOneEmptyLine) {
  FakeShell shell;
  shell.answerYes = true;
  ReportError(Info(-1), shell);
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0],
            "mailto:support@hearthmoor.example?subject=HearthmoorV1.00 bug code [-1]"
            "&body=Please attach the follow file:%0d%0a\r\n%0d%0a\r\n");
}

TEST(ErrorReport, CharactersThatWouldBreakTheLinkAreEncodedInPaths) {
  ErrorReportInfo info = Info(-3);
  info.settingsFolder = "C:\\Tom & Jerry #1 100%\\";
  const std::string link = ErrorReportLink(info, {info.settingsFolder + "log.txt"});
  EXPECT_NE(link.find("C:\\Tom %26 Jerry %231 100%25\\log.txt%0d%0a\r\n"), std::string::npos) << link;
  EXPECT_EQ(link.find("&", link.find("&body=") + 1), std::string::npos) << "only one '&' separates the fields";
}
