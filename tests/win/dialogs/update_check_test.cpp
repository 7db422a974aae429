#include "dialogs/update_check.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialog_test_support.h"
#include "dialogs/resource.h"
#include "dialogs/update_dialog.h"
#include "update/loopback_server.h"

namespace {

// The message box keeps its text in a static of this id.
constexpr int kMessageBoxText = 0xFFFF;

std::unique_ptr<LoopbackServer> Serving(const std::string& status, const std::string& body) {
  return std::make_unique<LoopbackServer>([=](const std::string&, int) -> ServerReply {
    return {"HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body, true};
  });
}

// Checks as the settings dialog does: the server is asked on the check's own
// thread, and the answer is shown when its message reaches this one.
int CheckAndShow(const std::string& url, LinkOpener& opener) {
  constexpr UINT kDone = WM_APP + 2;
  HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  UpdateCheck check;
  EXPECT_TRUE(check.Start(window, kDone, url, "V1.00"));
  EXPECT_FALSE(check.Start(window, kDone, url, "V1.00")) << "one check at a time";
  MSG message;
  GetMessageA(&message, window, kDone, kDone);
  DestroyWindow(window);
  return check.Finish(nullptr, opener);
}

}  // namespace

TEST(UpdateCheck, ShowsTheOfferOrSaysWhyThereIsNone) {
  const std::string offerText =
      "Hearthmoor has a new version: \r\nCurrent Version: V1.00.\r\nLatest Version: V1.10.\r\n\r\n"
      "Click the link below to download it.";
  struct Case {
    const char* what;
    const char* status;  // nullptr: nothing listens
    std::string body;
    int result;
    std::string text;      // the message, of the box or of the update dialog
    std::string linkText;  // the update dialog's link; empty for a message box
    bool linkOpens;
    std::string opened;
  };
  const Case cases[] = {
      {"offer", "200 OK", "yes|V1.10|http://example.test/get.zip\r\n", 1, offerText, "Download Now!", true,
       "http://example.test/get.zip"},
      {"offer of a secure address", "200 OK", "yes V1.10 HTTPS://example.test/get.zip", 1, offerText, "Download Now!",
       true, "HTTPS://example.test/get.zip"},
      {"offer of a local program", "200 OK", "yes V1.10 C:\\Windows\\System32\\calc.exe", 1,
       "Hearthmoor has a new version: \r\nCurrent Version: V1.00.\r\nLatest Version: V1.10.\r\n", "Download Now!",
       false, ""},
      {"offer of a file address", "200 OK", "yes|V1.10|file:///C:/setup.exe", 1,
       "Hearthmoor has a new version: \r\nCurrent Version: V1.00.\r\nLatest Version: V1.10.\r\n", "Download Now!",
       false, ""},
      {"no", "200 OK", "no", 0, "There are no updates.", "", false, ""},
      {"empty reply", "200 OK", "", 0, "There are no updates.", "", false, ""},
      {"not found", "404 Not Found", "yes V1.10 http://example.test/get.zip", -1, "Can not connect to server.", "",
       false, ""},
      {"no server", nullptr, "", -1, "Can not connect to server.", "", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<LoopbackServer> server;
    std::string url = "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/checkupdate.php";
    if (c.status != nullptr) {
      server = Serving(c.status, c.body);
      url = server->Url("/checkupdate.php");
    }
    RecordingOpener opener;
    std::string caption, text, linkText;
    bool linkEnabled = false;
    DialogWatcher watcher([&](HWND dialog) {
      caption = WindowText(dialog);
      const bool updateDialog = GetDlgItem(dialog, IDC_UPDATE_LINK) != nullptr;
      text = ItemText(dialog, updateDialog ? IDC_UPDATE_MESSAGE : kMessageBoxText);
      if (updateDialog) {
        HWND link = GetDlgItem(dialog, IDC_UPDATE_LINK);
        linkText = WindowText(link);
        linkEnabled = IsWindowEnabled(link) != FALSE;
        // The link's text is centred: click its middle, then press Space on it.
        RECT client{};
        GetClientRect(link, &client);
        Click(link, {client.right / 2, 4});
        SendMessageA(link, WM_CHAR, VK_SPACE, 0);
      }
      PressOk(dialog);
    });
    EXPECT_EQ(c.result, CheckAndShow(url, opener));
    EXPECT_TRUE(watcher.Seen());
    EXPECT_EQ("Check for updates", caption);
    EXPECT_EQ(c.text, text);
    EXPECT_EQ(c.linkText, linkText);
    EXPECT_EQ(c.linkOpens, linkEnabled);
    if (c.linkOpens) {
      EXPECT_EQ(std::vector<std::string>({c.opened, c.opened}), opener.opened);
    } else {
      EXPECT_TRUE(opener.opened.empty());
    }
  }
}

TEST(UpdateDialog, OkEndsItWithOneAndItsButtonReadsAsTheTemplateSays) {
  RecordingOpener opener;
  UpdateDialog dialog("V1.00", "V2.00", "http://example.test/", opener);
  wchar_t ok[16] = {};
  DialogWatcher watcher([&](HWND window) {
    GetDlgItemTextW(window, IDOK, ok, 16);
    PressOk(window);
  });
  EXPECT_EQ(1, dialog.Run(nullptr));
  EXPECT_STREQ(L"\u786e\u5b9a", ok);
}
