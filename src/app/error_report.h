#pragma once
#include <string>
#include <vector>

// What the error report needs to know about the failed run.
struct ErrorReportInfo {
  int code = 0;
  int directXError = 0;  // the screen's own result, shown after codes -5 and -6
  std::string productName;
  std::string version;
  std::string settingsFolder;  // ends in a backslash
};

// The three things the report does to the outside world, replaceable in tests.
class ErrorReportShell {
 public:
  virtual ~ErrorReportShell() = default;
  // True when the user answers Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Hands a link to the shell's "open" verb; the outcome is not reported.
  virtual void OpenLink(const std::string& link) = 0;
};

// The real shell: a message box without owner, PathFileExistsA, ShellExecuteA.
class Win32ErrorReportShell : public ErrorReportShell {
 public:
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  bool FileExists(const std::string& path) override;
  void OpenLink(const std::string& link) override;
};

extern const char* const kErrorReportCaption;
extern const char* const kSupportAddress;

// "-3", or "-6/-4" for the two DirectDraw codes that carry the screen's result.
std::string ErrorCodeText(int code, int directXError);

// The message box text: code, message, advice and the question.
std::string ErrorBoxText(int code, int directXError);

// The "mailto:" link of the report e-mail naming the files to attach.
std::string ErrorReportLink(const ErrorReportInfo& info, const std::vector<std::string>& attachments);

// Tells the user what went wrong and, on Yes, opens the user's mail program
// with a report that names the log and settings files worth attaching.
// Nothing is sent by the program itself.
void ReportError(const ErrorReportInfo& info, ErrorReportShell& shell);
