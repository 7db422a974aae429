#include "app/error_report.h"

#include <windows.h>

#include <shlwapi.h>

#include "app/error_messages.h"
#include "dialogs/link_opener.h"

const char* const kErrorReportCaption = "An error has occurred, this program will be closed.";
const char* const kSupportAddress = "support@hearthmoor.example";

// The files offered as attachments, in the order the e-mail lists them.
static const char* const kAttachmentNames[] = {"log.txt", "store.ini", "config.ini", "report.csv"};

// Each line of the body ends twice: once encoded for the mail program, and once
// literally for shells that show the link as it stands.
static const char* const kBodyLineEnd = "%0d%0a\r\n";

// A settings folder may hold characters that would end the subject or the body
// early or be taken for an escape ('&', '#', '%'); only those are encoded, so
// ordinary paths appear in the mail exactly as they are on disk.
static std::string EscapeForLink(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '%':
        out += "%25";
        break;
      case '&':
        out += "%26";
        break;
      case '#':
        out += "%23";
        break;
      default:
        out += c;
        break;
    }
  }
  return out;
}

std::string ErrorCodeText(int code, int directXError) {
  std::string text = std::to_string(code);
  if (code == kErrorWindowedDirectX || code == kErrorFullScreenDirectX) {
    text.push_back('/');
    text.append(std::to_string(directXError));
  }
  return text;
}

std::string ErrorBoxText(int code, int directXError) {
  return "Error code: " + ErrorCodeText(code, directXError) + ".\r\n" + ErrorMessage(code) + "\r\n" +
         ErrorAdvice(code) + "\r\n" + "Would you like to report this bug?\r\n";
}

std::string ErrorReportLink(const ErrorReportInfo& info, const std::vector<std::string>& attachments) {
  const std::string subject =
      info.productName + info.version + " bug code [" + ErrorCodeText(info.code, info.directXError) + "]";
  std::string link = std::string("mailto:") + kSupportAddress + "?subject=" + EscapeForLink(subject) +
                     "&body=" + "Please attach the follow file:" + kBodyLineEnd;
  for (const std::string& path : attachments) link += EscapeForLink(path) + kBodyLineEnd;
  link += kBodyLineEnd;
  return link;
}

void ReportError(const ErrorReportInfo& info, ErrorReportShell& shell) {
  if (!shell.AskYesNo(ErrorBoxText(info.code, info.directXError), kErrorReportCaption)) return;
  std::vector<std::string> attachments;
  for (const char* name : kAttachmentNames) {
    const std::string path = info.settingsFolder + name;
    if (shell.FileExists(path)) attachments.push_back(path);
  }
  shell.OpenLink(ErrorReportLink(info, attachments));
}

bool Win32ErrorReportShell::AskYesNo(const std::string& text, const std::string& caption) {
  // No owner: the program's own window may already be gone. Foreground so that
  // the box is not hidden behind whatever the user was working in.
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONERROR | MB_SETFOREGROUND) == IDYES;
}

bool Win32ErrorReportShell::FileExists(const std::string& path) { return PathFileExistsA(path.c_str()) != FALSE; }

void Win32ErrorReportShell::OpenLink(const std::string& link) { ShellOpener().Open(link); }
