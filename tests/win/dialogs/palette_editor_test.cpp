#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialogs/palette_editor_dialog.h"
#include "dialogs/resource.h"
#include "fire/palette_test_support.h"
#include "image/memory_surface.h"
#include "settings/controller_fixture.h"
#include "win/dialogs/dialog_test_support.h"

namespace {

// Lets this thread's windows handle what is queued for `ms` milliseconds (the
// curve editor's 50 ms timer, list notifications).
void PumpMessages(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

// A mouse message as the system sends it, at client position (x, y).
void SendMouse(HWND window, UINT message, int x, int y) {
  const WPARAM buttons = message == WM_LBUTTONUP ? 0 : MK_LBUTTON;
  SendMessageA(window, message, buttons, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// Red, green and blue points apart from one another, except red and green
// handle 1, which lie on each other at (60, 20).
constexpr PalettePoint kRed[4] = {{0, 0}, {60, 20}, {180, 200}, {255, 255}};
constexpr PalettePoint kGreen[4] = {{40, 0}, {60, 20}, {150, 90}, {255, 180}};
constexpr PalettePoint kBlue[4] = {{0, 120}, {100, 60}, {200, 230}, {140, 255}};

// Client position in the curve editor of curve point (x, y).
int WindowX(int x) { return x + 32; }
int WindowY(int y) { return 288 - y; }

void Drag(HWND curve, PalettePoint from, PalettePoint to) {
  SendMouse(curve, WM_LBUTTONDOWN, WindowX(from.x), WindowY(from.y));
  SendMouse(curve, WM_MOUSEMOVE, WindowX((from.x + to.x) / 2), WindowY((from.y + to.y) / 2));
  SendMouse(curve, WM_MOUSEMOVE, WindowX(to.x), WindowY(to.y));
  SendMouse(curve, WM_LBUTTONUP, WindowX(to.x), WindowY(to.y));
}

void PressButton(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

bool Same(const PaletteRecord& a, const PaletteRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class PaletteEditorTest : public ControllerTest {
 protected:
  PaletteRecord Start() const { return MakePalette(kRed, kGreen, kBlue); }

  // Runs the editor on the start palette as the settings dialog's Add button
  // does (the fire draws through the editor's table meanwhile).
  INT_PTR RunEditor(PaletteEditorDialog& editor, const std::function<void(HWND dialog, HWND curve)>& script) {
    EXPECT_TRUE(editor.Prepare(Start(), 32));
    controller_->SetPreviewColorTable(editor.GetColorTable());
    const DialogWatcher watcher([&](HWND dialog) { script(dialog, editor.CurveWindow()); });
    const INT_PTR result = editor.Run(nullptr);
    controller_->RestorePreviewColorTable();
    EXPECT_TRUE(watcher.Seen());
    return result;
  }

  // The fire's present index image drawn through whatever table it uses now.
  std::vector<std::uint8_t> Frame() {
    MemorySurface surface(kWidth, kHeight, 32);
    controller_->UnderFrameLock([&] { fire_->CopyToSurface(surface); });
    return surface.Bytes();
  }
};

TEST_F(PaletteEditorTest, DraggedPointsFollowTheRulesOfEndsAndHandles) {
  struct Case {
    PalettePoint select;  // clicked first to select a curve, or {-1, -1}
    PalettePoint from;
    PalettePoint to;
    int offset;  // the point expected to move, as an index into the record
    PalettePoint lands;
  };
  constexpr PalettePoint kNoSelection = {-1000, -1000};
  const Case cases[] = {
      // The cold end slides along the bottom and left edges.
      {kNoSelection, {0, 0}, {100, 40}, PaletteRecord::kRed + 0, {100, 0}},
      {kNoSelection, {0, 0}, {40, 100}, PaletteRecord::kRed + 0, {0, 100}},
      {kNoSelection, {0, 0}, {70, 70}, PaletteRecord::kRed + 0, {0, 70}},
      // The hot end slides along the top and right edges.
      {kNoSelection, {255, 255}, {300, 200}, PaletteRecord::kRed + 3, {255, 200}},
      {kNoSelection, {255, 255}, {120, 120}, PaletteRecord::kRed + 3, {120, 255}},
      // A handle goes wherever the mouse goes, outside the area too.
      {kNoSelection, {180, 200}, {-20, 300}, PaletteRecord::kRed + 2, {-20, 300}},
      // Where red and green points lie on each other, red wins unless green is selected.
      {kNoSelection, {60, 20}, {90, 90}, PaletteRecord::kRed + 1, {90, 90}},
      {{150, 90}, {60, 20}, {90, 90}, PaletteRecord::kGreen + 1, {90, 90}},
  };
  // One editor for all cases: picking the start palette from the store puts
  // the curves back before each drag (the selection is kept, and only the last
  // case selects green).
  controller_->AddPaletteToStore(Start());
  const int startRow = static_cast<int>(settings_.GetPaletteStore().size()) - 1;
  PaletteEditorDialog editor(*controller_);
  RunEditor(editor, [&](HWND dialog, HWND curve) {
    HWND store = GetDlgItem(dialog, IDC_PALETTE_STORE_LIST);
    for (const Case& c : cases) {
      ListView_SetItemState(store, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_SetItemState(store, startRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      if (c.select.x != kNoSelection.x) Drag(curve, c.select, c.select);
      Drag(curve, c.from, c.to);
      PaletteRecord result{};
      editor.GetRecord(result);
      PaletteRecord expected = Start();
      expected.points[c.offset] = c.lands;
      EXPECT_TRUE(Same(result, expected))
          << "drag from (" << c.from.x << "," << c.from.y << ") to (" << c.to.x << "," << c.to.y << "): point "
          << c.offset << " at (" << result.points[c.offset].x << "," << result.points[c.offset].y << ")";
    }
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
}

// The cursor tells what a click would pick, and what is drawn lies under the
// mouse position that picks it.
TEST_F(PaletteEditorTest, CursorAndDrawingMatchWhatIsUnderTheMouse) {
  HMODULE module = GetModuleHandleA(nullptr);
  struct Case {
    PalettePoint at;
    int cursor;
  };
  const Case cases[] = {
      {{255, 180}, IDC_CURSOR_POINT},  // green's hot end
      {{255 - 40, 0}, IDC_CURSOR_ARROW},
      {{122, 114}, IDC_CURSOR_CURVE},  // the middle of red's curve, far from its points
      {{60, 20}, IDC_CURSOR_POINT},
  };
  PaletteEditorDialog editor(*controller_);
  RunEditor(editor, [&](HWND dialog, HWND curve) {
    for (const Case& c : cases) {
      SendMouse(curve, WM_MOUSEMOVE, WindowX(c.at.x), WindowY(c.at.y));
      EXPECT_EQ(GetCursor(), LoadCursorA(module, MAKEINTRESOURCEA(c.cursor))) << c.at.x << "," << c.at.y;
    }
    PumpMessages(150);
    HDC dc = GetDC(curve);
    // Red's cold end (0, 0): its square spans the three window rows from 288 down.
    EXPECT_EQ(GetPixel(dc, WindowX(0), WindowY(0)), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, WindowX(0), WindowY(0) + 2), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(dc, WindowX(0), WindowY(0) - 1), RGB(255, 0, 0));
    ReleaseDC(curve, dc);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
}

TEST_F(PaletteEditorTest, SwapsAndStorePalettesReplaceCurvesAndTheFireFollowsAtOnce) {
  ASSERT_GE(settings_.GetPaletteStore().size(), 2u);
  const PaletteRecord stored = settings_.GetPaletteStore()[1];
  fire_->Update(33);
  fire_->Render();
  PaletteEditorDialog editor(*controller_);
  RunEditor(editor, [&](HWND dialog, HWND) {
    const auto before = Frame();
    PaletteRecord record{};
    PressButton(dialog, IDC_SWAP_RED_GREEN);
    editor.GetRecord(record);
    EXPECT_FALSE(Same(record, Start()));
    EXPECT_NE(Frame(), before);  // swapped at once, without waiting for the timer
    PressButton(dialog, IDC_SWAP_RED_GREEN);
    editor.GetRecord(record);
    EXPECT_TRUE(Same(record, Start()));
    EXPECT_EQ(Frame(), before);

    HWND store = GetDlgItem(dialog, IDC_PALETTE_STORE_LIST);
    EXPECT_EQ(ListView_GetItemCount(store), static_cast<int>(settings_.GetPaletteStore().size()));
    ListView_SetItemState(store, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    editor.GetRecord(record);
    EXPECT_TRUE(Same(record, stored));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
}

// The fire draws through the editor's table while a point is dragged, and
// through its own again when the editor is gone.
TEST_F(PaletteEditorTest, FirePreviewFollowsADragAndGetsItsOwnTableBackAfterCancel) {
  fire_->Update(33);
  fire_->Render();
  const auto own = Frame();
  PaletteEditorDialog editor(*controller_);
  const INT_PTR result = RunEditor(editor, [&](HWND dialog, HWND curve) {
    const auto opened = Frame();
    // The blue hot end down to the bottom right: the hottest pixels lose their blue.
    SendMouse(curve, WM_LBUTTONDOWN, WindowX(140), WindowY(255));
    SendMouse(curve, WM_MOUSEMOVE, WindowX(255), WindowY(0));
    PumpMessages(150);  // the editor's timer recomputes the table
    const auto dragged = Frame();
    EXPECT_NE(dragged, opened);
    SendMouse(curve, WM_MOUSEMOVE, WindowX(255), WindowY(128));
    PumpMessages(150);
    EXPECT_NE(Frame(), dragged);
    SendMouse(curve, WM_LBUTTONUP, WindowX(255), WindowY(128));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(Frame(), own);
}

}  // namespace
