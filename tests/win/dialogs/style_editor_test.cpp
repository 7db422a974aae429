#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "dialogs/resource.h"
#include "dialogs/style_editor_dialog.h"
#include "settings/controller_fixture.h"
#include "win/dialogs/dialog_test_support.h"

namespace {

std::array<int, 8> Temperatures(HWND dialog) {
  std::array<int, 8> t{};
  for (int a = 0; a < 8; ++a) {
    t[a] = -static_cast<int>(SendDlgItemMessageA(dialog, IDC_STYLE_TEMPERATURE_FIRST + a, TBM_GETPOS, 0, 0));
  }
  return t;
}

// The controller of the fixture, also noting each style the fire is given.
class RecordingController : public TestController {
 public:
  using TestController::TestController;
  void SetPreviewStyle(const StyleValues temperatures, const StyleValues modes) override {
    previewed.push_back(Settings::FormatStyle(temperatures, modes));
    TestController::SetPreviewStyle(temperatures, modes);
  }
  std::vector<std::string> previewed;
};

class StyleEditorTest : public ControllerTest {
 protected:
  void UseStyle(const std::string& text) {
    controller_->SetStyles({text}, 0);
    recording_ = std::make_unique<RecordingController>(settings_, *fire_);
  }

  INT_PTR RunEditor(StyleEditorDialog& editor, const std::function<void(HWND)>& script) {
    const DialogWatcher watcher(script);
    const INT_PTR result = editor.Run(nullptr);
    EXPECT_TRUE(watcher.Seen());
    return result;
  }

  std::unique_ptr<RecordingController> recording_;
};

// A slider released at a new temperature: lowering pulls the areas after it down
// to it, raising never pushes the ones before it up; every way of moving counts
// at once except the steps of a drag.
TEST_F(StyleEditorTest, SlidersKeepTemperaturesFallingToTheRight) {
  struct Case {
    int area;
    int temperature;
    int code;
    std::array<int, 8> after;
  };
  const Case cases[] = {
      {3, 170, TB_ENDTRACK, {200, 180, 150, 170, 75, 50, 40, 30}},
      {2, 60, TB_ENDTRACK, {200, 180, 60, 60, 60, 50, 40, 30}},
      {2, 60, TB_THUMBTRACK, {200, 180, 60, 100, 75, 50, 40, 30}},
      {4, 20, TB_LINEDOWN, {200, 180, 150, 100, 20, 20, 20, 20}},
      {1, 190, TB_PAGEUP, {200, 190, 150, 100, 75, 50, 40, 30}},
  };
  const std::array<int, 8> start = {200, 180, 150, 100, 75, 50, 40, 30};
  UseStyle("200,1|180,0|150,2|100,0|75,1|50,2|40,0|30,2");
  StyleEditorDialog editor(*recording_);
  RunEditor(editor, [&](HWND dialog) {
    for (const Case& c : cases) {
      for (int a = 0; a < 8; ++a) {  // back to the start, silently
        SendDlgItemMessageA(dialog, IDC_STYLE_TEMPERATURE_FIRST + a, TBM_SETPOS, TRUE, -start[a]);
      }
      const std::size_t previews = recording_->previewed.size();
      HWND bar = GetDlgItem(dialog, IDC_STYLE_TEMPERATURE_FIRST + c.area);
      SendMessageA(bar, TBM_SETPOS, TRUE, -c.temperature);
      SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(c.code, 0), reinterpret_cast<LPARAM>(bar));
      EXPECT_EQ(Temperatures(dialog), c.after) << "area " << c.area << " to " << c.temperature;
      EXPECT_EQ(recording_->previewed.size() - previews, c.code == TB_THUMBTRACK ? 0u : 1u);
    }
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
}

TEST_F(StyleEditorTest, DescriptionAndResultAreThoseOfTheCurrentStyleUntilEdited) {
  struct Case {
    std::string style;
    std::string description;
  };
  const Case cases[] = {
      {"100,3|100,0|100,1|100,2|100,4|100,5|100,0|100,1",
       "The temperature in area [255,100] will be attenuated  3.\r\n"},
      {"100,0|100,0|100,1|100,2|100,4|100,5|100,0|100,1",
       "The temperature in area [255,100] will not be attenuated.\r\n"},
      {"200,1|180,0|150,2|100,0|75,1|50,2|255,0|255,2",
       "The temperature in area [255,200] will be attenuated  1.\r\n"
       "The temperature in area [200,180] will not be attenuated.\r\n"
       "The temperature in area [180,150] will be attenuated  2.\r\n"
       "The temperature in area [150,100] will not be attenuated.\r\n"
       "The temperature in area [100,75] will be attenuated  1.\r\n"
       "The temperature in area [75,50] will be attenuated  2.\r\n"},
  };
  for (const Case& c : cases) {
    UseStyle(c.style);
    StyleEditorDialog editor(*recording_);
    const INT_PTR result = RunEditor(editor, [&](HWND dialog) {
      EXPECT_EQ(ItemText(dialog, IDC_STYLE_DESCRIPTION), c.description);
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(editor.GetResult(), c.style);
  }
}

// Spin steps and store picks restyle the fire at once; Cancel gives it back the
// current style; store additions and removals stay.
TEST_F(StyleEditorTest, SpinsAndStorePreviewAndCancelRestoresTheCurrentStyle) {
  const std::string current = "200,1|180,0|150,2|100,0|75,1|50,2|40,0|30,2";
  UseStyle(current);
  const auto storeBefore = settings_.GetStyleStore();
  ASSERT_GE(storeBefore.size(), 2u);
  StyleEditorDialog editor(*recording_);
  const INT_PTR result = RunEditor(editor, [&](HWND dialog) {
    // One step up on area 0's spin box: its mode goes from 1 to 2.
    HWND spin = GetDlgItem(dialog, IDC_STYLE_SPIN_FIRST);
    SendMessageA(spin, UDM_SETPOS32, 0, 2);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), reinterpret_cast<LPARAM>(spin));
    ASSERT_FALSE(recording_->previewed.empty());
    EXPECT_EQ(recording_->previewed.back(), "200,2|180,0|150,2|100,0|75,1|50,2|40,0|30,2");
    EXPECT_EQ(ItemText(dialog, IDC_STYLE_DESCRIPTION).substr(0, 58),
              "The temperature in area [255,200] will be attenuated  2.\r\n");

    HWND store = GetDlgItem(dialog, IDC_STYLE_STORE_LIST);
    ListView_SetItemState(store, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(recording_->previewed.back(), storeBefore[0]);
    // Store the edited style, then remove the first stored one.
    SendMessageA(spin, UDM_SETPOS32, 0, 5);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), reinterpret_cast<LPARAM>(spin));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_STYLE_STORE_ADD, BN_CLICKED), 0);
    EXPECT_EQ(ListView_GetItemCount(store), static_cast<int>(storeBefore.size()) + 1);
    ListView_SetItemState(store, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_STYLE_STORE_REMOVE, BN_CLICKED), 0);
    EXPECT_EQ(ListView_GetItemCount(store), static_cast<int>(storeBefore.size()));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(recording_->previewed.back(), current);
  const auto storeAfter = settings_.GetStyleStore();
  ASSERT_EQ(storeAfter.size(), storeBefore.size());
  EXPECT_EQ(storeAfter.front(), storeBefore[1]);
  FireStyle added = Settings::ParseStyle(storeBefore[0]);
  added.modes[0] = 5;
  EXPECT_EQ(storeAfter.back(), Settings::FormatStyle(added));
  EXPECT_TRUE(settings_.StyleStoreChanged());
}

}  // namespace
