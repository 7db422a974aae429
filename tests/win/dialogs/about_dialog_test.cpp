#include "dialogs/about_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "dialogs/resource.h"

namespace {

const int kLinkIds[] = {IDC_ABOUT_WEBSITE, IDC_ABOUT_MAIL, IDC_ABOUT_CONTACT};

// Runs the about box with `opener` and hands it to `act` while it is open; OK ends it.
INT_PTR RunAbout(LinkOpener& opener, const std::function<void(HWND)>& act) {
  AboutDialog about("Hearthmoor", "V1.00", opener);
  DialogWatcher watcher([&](HWND dialog) {
    act(dialog);
    PressOk(dialog);
  });
  const INT_PTR result = about.Run(nullptr);
  EXPECT_TRUE(watcher.Seen());
  return result;
}

// A point on the link's text, and one in the control below the text.
const POINT kOnText{3, 3};
POINT BelowText(HWND link) {
  RECT client{};
  GetClientRect(link, &client);
  return {2, client.bottom - 1};
}

// The text of the tool that `link`'s tooltip shows.
std::string TooltipText(HWND link) {
  struct Search {
    HWND link;
    std::string text;
  } search{link, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char className[32] = {};
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpiA(className, TOOLTIPS_CLASSA) != 0) return TRUE;
        char text[128] = {};
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.lpszText = text;
        if (SendMessageA(window, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)) && tool.hwnd == s->link) {
          s->text = text;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.text;
}

// What a modal dialog's loop does with the messages waiting now.
void PumpAsADialog(HWND dialog) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageA(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

}  // namespace

TEST(AboutDialog, ShowsNameAndVersionAndOpensEachOfItsThreeLinksThroughTheOpener) {
  RecordingOpener opener;
  std::string caption, nameVersion;
  std::vector<std::string> labels, tips;
  bool focusOnOk = false;
  EXPECT_EQ(IDOK, RunAbout(opener, [&](HWND dialog) {
              focusOnOk = GetFocus() == GetDlgItem(dialog, IDOK);
              caption = WindowText(dialog);
              nameVersion = ItemText(dialog, IDC_ABOUT_NAME_VERSION);
              for (int id : kLinkIds) {
                labels.push_back(ItemText(dialog, id));
                tips.push_back(TooltipText(GetDlgItem(dialog, id)));
                Click(GetDlgItem(dialog, id), kOnText);
              }
            }));
  EXPECT_EQ("About", caption);
  EXPECT_TRUE(focusOnOk);  // a stray Space opens no link
  EXPECT_EQ("Hearthmoor V1.00", nameVersion);
  // Each link opens what it shows, and its tooltip names it.
  EXPECT_EQ(labels, opener.opened);
  EXPECT_EQ(labels, tips);
  ASSERT_EQ(3u, labels.size());
  EXPECT_EQ(0u, labels[0].rfind("http://", 0));
  EXPECT_EQ(0u, labels[1].rfind("mailto:", 0));
  EXPECT_EQ(0u, labels[2].rfind("http://", 0));
  EXPECT_NE(labels[0], labels[2]);
}

TEST(HyperLink, OpensOnAClickThatStartsAndEndsOnItsTextOrOnEnterOrSpaceAndThenShowsVisited) {
  struct Case {
    const char* what;
    bool openerSucceeds;
    std::function<void(HWND link)> act;
    std::size_t opens;
    COLORREF color;  // of the text afterwards
  };
  const COLORREF link = HyperLink::kDefaultLinkColor;
  const COLORREF visited = HyperLink::kDefaultVisitedColor;
  const Case cases[] = {
      {"click on the text", true, [](HWND l) { Click(l, kOnText); }, 1, visited},
      {"click, then press on it and release elsewhere", true,
       [](HWND l) {
         Click(l, kOnText);
         Click(l, kOnText, {-20, -20});
       },
       1, visited},
      {"press beside the text", true, [](HWND l) { Click(l, BelowText(l)); }, 0, link},
      {"release without a press", true, [](HWND l) { SendMessageA(l, WM_LBUTTONUP, 0, MAKELPARAM(3, 3)); }, 0, link},
      {"space", true, [](HWND l) { SendMessageA(l, WM_CHAR, VK_SPACE, 0); }, 1, visited},
      {"enter", true, [](HWND l) { SendMessageA(l, WM_CHAR, VK_RETURN, 0); }, 1, visited},
      {"enter through the dialog manager, which would press OK with it", true,
       [](HWND l) {
         SetFocus(l);
         PostMessageA(l, WM_KEYDOWN, VK_RETURN, 0);
         PumpAsADialog(GetParent(l));
       },
       1, visited},
      {"another letter", true, [](HWND l) { SendMessageA(l, WM_CHAR, 'a', 0); }, 0, link},
      {"target the shell cannot open", false, [](HWND l) { Click(l, kOnText); }, 1, link},
      {"disabled", true, [](HWND l) { EnableWindow(l, FALSE); }, 0, GetSysColor(COLOR_GRAYTEXT)},
  };
  RegistryValueGuard noLinkColor(HyperLink::kColorKey, HyperLink::kLinkColorValue, nullptr);
  RegistryValueGuard noVisitedColor(HyperLink::kColorKey, HyperLink::kVisitedColorValue, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingOpener opener;
    opener.succeed = c.openerSucceeds;
    int pixels = 0;
    RunAbout(opener, [&](HWND dialog) {
      HWND l = GetDlgItem(dialog, IDC_ABOUT_WEBSITE);
      c.act(l);
      pixels = PixelsOfColor(l, c.color);
    });
    EXPECT_EQ(c.opens, opener.opened.size());
    EXPECT_GT(pixels, 20);
  }
}

TEST(HyperLink, TakesItsColoursFromTheBrowserSettingsWhenTheyReadAsRedGreenBlue) {
  struct Case {
    const char* value;
    COLORREF link;
  };
  const Case cases[] = {
      {nullptr, HyperLink::kDefaultLinkColor},
      {"0,0,128", RGB(0, 0, 128)},
      {"0,128", HyperLink::kDefaultLinkColor},         // two parts
      {"0,128,", HyperLink::kDefaultLinkColor},        // empty third part
      {"300,2,259", RGB(44, 2, 3)},                    // each part modulo 256
      {"0,100,0,7", RGB(0, 100, 0)},                   // the third part reads up to its first non-digit
      {"000,000,0128", HyperLink::kDefaultLinkColor},  // longer than any colour: not read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value != nullptr ? c.value : "(none)");
    RegistryValueGuard linkColor(HyperLink::kColorKey, HyperLink::kLinkColorValue, c.value);
    RegistryValueGuard visitedColor(HyperLink::kColorKey, HyperLink::kVisitedColorValue, "0,128,0");
    RecordingOpener opener;
    int unvisited = 0, mail = 0, visited = 0;
    RunAbout(opener, [&](HWND dialog) {
      unvisited = PixelsOfColor(GetDlgItem(dialog, IDC_ABOUT_WEBSITE), c.link);
      HWND mailLink = GetDlgItem(dialog, IDC_ABOUT_MAIL);
      mail = PixelsOfColor(mailLink, c.link);
      Click(mailLink, kOnText);
      visited = PixelsOfColor(mailLink, RGB(0, 128, 0));
    });
    EXPECT_GT(unvisited, 20);
    EXPECT_GT(mail, 20);
    EXPECT_GT(visited, 20);
  }
}
