#include "dialogs/settings_dialog.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/editor_factory.h"
#include "dialogs/resource.h"
#include "fire/palette_builder.h"
#include "settings/controller_fixture.h"
#include "win/dialogs/dialog_test_support.h"

namespace {

// The controller of the fixture, noting the calls whose order or number the
// dialog decides.
class NotingController : public TestController {
 public:
  using TestController::TestController;
  bool Select(Rotation rotation, Index i) override {
    const char* const notes[] = {"select background", "select palette", "select style"};
    return Note(notes[Slot(rotation)], TestController::Select(rotation, i));
  }
  void SetPreviewColorTable(const std::uint8_t* table) override {
    Note("preview table");
    TestController::SetPreviewColorTable(table);
  }
  void RestorePreviewColorTable() override {
    Note("own table");
    TestController::RestorePreviewColorTable();
  }
  void EnablePaletteChange(bool enable) override {
    Note(enable ? "palette change on" : "palette change off");
    TestController::EnablePaletteChange(enable);
  }
  void EnableStyleChange(bool enable) override {
    Note(enable ? "style change on" : "style change off");
    TestController::EnableStyleChange(enable);
  }
  bool AddPalette(const PaletteRecord& record) override {
    return Note("add palette", TestController::AddPalette(record));
  }

  std::vector<std::string> notes;

 private:
  bool Note(const std::string& what, bool result = true) {
    notes.push_back(what);
    return result;
  }
};

// Editors that note their run and end as scripted.
struct ScriptedEditors : EditorFactory {
  INT_PTR answer = IDOK;
  std::vector<std::string>* notes = nullptr;
  struct Palette : PaletteEditor {
    ScriptedEditors& owner;
    explicit Palette(ScriptedEditors& o) : owner(o) {}
    bool Prepare(const PaletteRecord& start, int) override {
      record = start;
      record.points[0].x = 99;
      return true;
    }
    const std::uint8_t* GetColorTable() const override { return table; }
    void GetRecord(PaletteRecord& out) const override { out = record; }
    INT_PTR Run(HWND) override {
      owner.notes->push_back("palette editor");
      return owner.answer;
    }
    PaletteRecord record{};
    std::uint8_t table[1024] = {};
  };
  struct Style : StyleEditor {
    ScriptedEditors& owner;
    explicit Style(ScriptedEditors& o) : owner(o) {}
    INT_PTR Run(HWND) override {
      owner.notes->push_back("style editor");
      return owner.answer;
    }
    std::string GetResult() const override { return "90,1|80,0|70,2|60,0|50,1|40,2|255,0|255,2"; }
  };
  std::unique_ptr<PaletteEditor> MakePaletteEditor(EditorController&) override {
    return std::make_unique<Palette>(*this);
  }
  std::unique_ptr<StyleEditor> MakeStyleEditor(EditorController&) override { return std::make_unique<Style>(*this); }
};

class SettingsDialogTest : public ControllerTest {
 protected:
  void SetUp() override {
    ControllerTest::SetUp();
    noting_ = std::make_unique<NotingController>(settings_, *fire_);
    editors_.notes = &noting_->notes;
    dialog_ = std::make_unique<SettingsDialog>(*noting_, editors_);
    ASSERT_TRUE(dialog_->Create());
    noting_->SetView(dialog_.get());
    noting_->notes.clear();
  }
  void TearDown() override {
    noting_->SetView(nullptr);
    dialog_.reset();
    noting_.reset();
    ControllerTest::TearDown();
  }

  HWND Item(int id) const { return GetDlgItem(dialog_->Window(), id); }
  void Click(int id) {
    SendMessageA(dialog_->Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
  }
  // As a click on the row does: selected and focused, with the notification.
  void UserSelects(int list, int row) {
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(Item(list), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
  int Selected(int list) const {
    return static_cast<int>(SendMessageA(Item(list), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  std::vector<std::string> Rows(int list) const {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageA(Item(list), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      char text[1024] = {};
      LVITEMA item{};
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(Item(list), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
      rows.push_back(text);
    }
    return rows;
  }
  std::string Text(int id) const {
    char text[256] = {};
    GetWindowTextA(Item(id), text, sizeof text);
    return text;
  }
  void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  int Notes(const std::string& what) const {
    int count = 0;
    for (const std::string& note : noting_->notes) count += note == what ? 1 : 0;
    return count;
  }

  std::unique_ptr<NotingController> noting_;
  ScriptedEditors editors_;
  std::unique_ptr<SettingsDialog> dialog_;
};

// The text of the next message box with this caption (closed with OK), read on
// another thread while this one is inside the box's own loop.
class MessageBoxReader {
 public:
  explicit MessageBoxReader(const char* caption)
      : thread_([this, caption] {
          for (int i = 0; i < 500 && text_.empty(); ++i) {
            HWND box = FindWindowA("#32770", caption);
            if (box != nullptr && GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) {
              char text[512] = {};
              GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
              text_ = text;
              PostMessageA(box, WM_COMMAND, IDOK, 0);
              return;
            }
            Sleep(10);
          }
        }) {}
  std::string Text() {
    if (thread_.joinable()) thread_.join();
    return text_;
  }

 private:
  std::string text_;
  std::thread thread_;
};

TEST_F(SettingsDialogTest, StartsWithTheSettingsShown) {
  EXPECT_EQ(Rows(IDC_BACKGROUND_LIST), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(Selected(IDC_BACKGROUND_LIST), 0);
  EXPECT_EQ(Rows(IDC_PALETTE_LIST).size(), 6u);
  EXPECT_EQ(Rows(IDC_STYLE_LIST).size(), 4u);
  EXPECT_EQ(Text(IDC_BACKGROUND_INTERVAL_TEXT), settings_.IntervalText(Rotation::kBackground));
  EXPECT_EQ(Text(IDC_STYLE_INTERVAL_TEXT), settings_.IntervalText(Rotation::kStyle));
  EXPECT_EQ(SendMessageA(Item(IDC_SHOW_FIRE), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(noting_->notes.empty()) << "starting selects nothing in the controller";
}

// The buttons of the two text lists, each from a known selection: what the list
// and the settings hold afterwards.
TEST_F(SettingsDialogTest, TextListButtons) {
  struct Case {
    const char* name;
    int list;
    int selectFirst;  // -1: clear the selection first
    int button;
    std::vector<std::string> rows;
    int selected;
  };
  const std::string s0 = "200,1|180,0|150,2|100,0|75,1|50,2|255,0|255,2";
  const std::string s1 = "240,10|180,0|120,1|60,0|20,1|255,0|255,0|255,0";
  const std::string s2 = "230,1|160,0|90,1|30,0|255,0|255,0|255,0|255,0";
  const std::string s3 = "200,4|140,3|80,3|30,2|255,0|255,0|255,0|255,0";
  const Case cases[] = {
      {"up on the first row", IDC_BACKGROUND_LIST, 0, IDC_BACKGROUND_UP, {"a", "b", "c"}, 0},
      {"down on the last row", IDC_BACKGROUND_LIST, 2, IDC_BACKGROUND_DOWN, {"a", "b", "c"}, 2},
      {"remove with nothing selected", IDC_BACKGROUND_LIST, -1, IDC_BACKGROUND_REMOVE, {"a", "b", "c"}, -1},
      {"up", IDC_BACKGROUND_LIST, 2, IDC_BACKGROUND_UP, {"a", "c", "b"}, 1},
      {"down", IDC_BACKGROUND_LIST, 0, IDC_BACKGROUND_DOWN, {"b", "a", "c"}, 1},
      {"remove the last", IDC_BACKGROUND_LIST, 2, IDC_BACKGROUND_REMOVE, {"a", "b"}, -1},
      {"style up", IDC_STYLE_LIST, 3, IDC_STYLE_UP, {s0, s1, s3, s2}, 2},
      {"style down on the last row", IDC_STYLE_LIST, 3, IDC_STYLE_DOWN, {s0, s1, s2, s3}, 3},
      {"style remove the first", IDC_STYLE_LIST, 0, IDC_STYLE_REMOVE, {s1, s2, s3}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.selectFirst >= 0) {
      UserSelects(c.list, c.selectFirst);
    } else {
      LVITEMA none{};
      none.stateMask = LVIS_SELECTED;
      SendMessageA(Item(c.list), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    }
    noting_->notes.clear();
    Click(c.button);
    EXPECT_EQ(Rows(c.list), c.rows);
    EXPECT_EQ(Selected(c.list), c.selected);
    Settings::TextList stored;
    Settings::Index current = 0;
    if (c.list == IDC_BACKGROUND_LIST) {
      settings_.GetBackgrounds(stored, current);
    } else {
      settings_.GetStyles(stored, current);
    }
    EXPECT_EQ(stored, c.rows) << "the list is committed whole";
    if (c.selected >= 0) {
      EXPECT_EQ(current, static_cast<Settings::Index>(c.selected));
    }
    EXPECT_TRUE(noting_->notes.empty()) << "the dialog's own re-selection is not acted on";
  }
}

TEST_F(SettingsDialogTest, AddDesktopTwiceAndLongPathsStayWhole) {
  Click(IDC_BACKGROUND_ADD_DESKTOP);
  Click(IDC_BACKGROUND_ADD_DESKTOP);
  EXPECT_EQ(Rows(IDC_BACKGROUND_LIST), (std::vector<std::string>{"a", "b", "c", "Desktop", "Desktop"}));
  // A row longer than 255 characters is committed as it is.
  const std::string longName(300, 'x');
  WriteFileBytes(dir_ / longName.substr(0, 200), "");
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = 5;
  const std::string longPath = dir_.path().string() + "\\" + longName;
  item.pszText = const_cast<char*>(longPath.c_str());
  SendMessageA(Item(IDC_BACKGROUND_LIST), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  Click(IDC_BACKGROUND_ADD_DESKTOP);
  Settings::TextList stored;
  Settings::Index current = 0;
  settings_.GetBackgrounds(stored, current);
  ASSERT_EQ(stored.size(), 7u);
  EXPECT_EQ(stored[5], longPath);
}

TEST_F(SettingsDialogTest, SelectingARowActsOnceAndTheFireFollows) {
  // Focus alone, as the arrow keys with Ctrl give it, picks nothing.
  LVITEMA focus{};
  focus.stateMask = focus.state = LVIS_FOCUSED;
  SendMessageA(Item(IDC_STYLE_LIST), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&focus));
  UserSelects(IDC_BACKGROUND_LIST, 2);
  UserSelects(IDC_PALETTE_LIST, 4);
  UserSelects(IDC_STYLE_LIST, 1);
  EXPECT_EQ(noting_->notes, (std::vector<std::string>{"select background", "select palette", "select style"}));
  EXPECT_EQ(settings_.GetBackgroundIndex(), 2u);
  EXPECT_EQ(settings_.GetPaletteIndex(), 4u);
  EXPECT_EQ(settings_.GetStyleIndex(), 1u);
  EXPECT_EQ(source_.loads.back(), "c");

  // Palette moves re-select through the controller's call-back, guarded.
  noting_->notes.clear();
  Click(IDC_PALETTE_UP);
  EXPECT_EQ(Selected(IDC_PALETTE_LIST), 3);
  Click(IDC_PALETTE_DOWN);
  Click(IDC_PALETTE_DOWN);
  EXPECT_EQ(Selected(IDC_PALETTE_LIST), 5);
  Click(IDC_PALETTE_DOWN);  // on the last row: nothing
  EXPECT_EQ(Selected(IDC_PALETTE_LIST), 5);
  EXPECT_EQ(Notes("select palette"), 0);
}

// Each way a trackbar reports a new position acts at once, with or without an
// end of tracking after it; dragging the thumb does not; OK saves what a
// slider shows even when it was moved without a word to the dialog.
TEST_F(SettingsDialogTest, TrackbarsActOnEveryNewPositionButDrags) {
  struct Case {
    int code;
    int position;
    bool acts;
  };
  const Case cases[] = {{TB_THUMBTRACK, 900, false},   {TB_LINEDOWN, 901, true}, {TB_PAGEUP, 700, true},
                        {TB_THUMBPOSITION, 650, true}, {TB_ENDTRACK, 640, true}, {TB_BOTTOM, 1000, true}};
  HWND bar = Item(IDC_PALETTE_INTERVAL);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const std::uint32_t before = settings_.Interval(Rotation::kPalette);
    SendMessageA(bar, TBM_SETPOS, TRUE, c.position);
    SendMessageA(dialog_->Window(), WM_HSCROLL, MAKEWPARAM(c.code, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(settings_.Interval(Rotation::kPalette), c.acts ? static_cast<std::uint32_t>(c.position) : before);
    EXPECT_EQ(Text(IDC_PALETTE_INTERVAL_TEXT), settings_.IntervalText(Rotation::kPalette));
  }
  SendMessageA(Item(IDC_STYLE_INTERVAL), TBM_SETPOS, TRUE, 321);
  Click(IDOK);
  Settings saved;
  ASSERT_TRUE(saved.LoadFromFolder(dir_.path().string()));
  EXPECT_EQ(saved.Interval(Rotation::kStyle), 321u);
  EXPECT_EQ(saved.Interval(Rotation::kPalette), 1000u);
}

// With every interval at its shortest, the fire's own changes move the rows.
TEST_F(SettingsDialogTest, SelectionFollowsTimedChanges) {
  noting_->SetInterval(Rotation::kBackground, 0);
  noting_->SetInterval(Rotation::kPalette, 0);
  noting_->SetInterval(Rotation::kStyle, 0);
  for (int frame = 0; frame < 12; ++frame) {
    noting_->RunFrame([&] {
      fire_->Update(1000);
      fire_->Render();
    });
    noting_->FollowTimedChanges();
  }
  Pump();
  EXPECT_EQ(Selected(IDC_BACKGROUND_LIST), static_cast<int>(settings_.GetBackgroundIndex()));
  EXPECT_EQ(Selected(IDC_PALETTE_LIST), static_cast<int>(settings_.GetPaletteIndex()));
  EXPECT_EQ(Selected(IDC_STYLE_LIST), static_cast<int>(settings_.GetStyleIndex()));
  EXPECT_NE(settings_.GetPaletteIndex(), 0u);
  EXPECT_EQ(Notes("select background") + Notes("select palette") + Notes("select style"), 0);
}

TEST_F(SettingsDialogTest, EditorsRunBetweenTheirTimedChangeSwitches) {
  Click(IDC_PALETTE_ADD);
  EXPECT_EQ(noting_->notes, (std::vector<std::string>{"preview table", "palette change off", "palette editor",
                                                      "palette change on", "add palette", "own table"}));
  EXPECT_EQ(Rows(IDC_PALETTE_LIST).size(), 7u);
  EXPECT_EQ(Selected(IDC_PALETTE_LIST), 6);
  EXPECT_EQ(settings_.GetPalettes().back().points[0].x, 99);

  noting_->notes.clear();
  editors_.answer = IDCANCEL;
  Click(IDC_PALETTE_ADD);
  EXPECT_EQ(noting_->notes, (std::vector<std::string>{"preview table", "palette change off", "palette editor",
                                                      "own table", "palette change on"}));
  EXPECT_EQ(settings_.PaletteCount(), 7u);

  noting_->notes.clear();
  editors_.answer = IDOK;
  Click(IDC_STYLE_ADD);
  EXPECT_EQ(noting_->notes, (std::vector<std::string>{"style change off", "style editor", "style change on"}));
  EXPECT_EQ(Rows(IDC_STYLE_LIST).back(), "90,1|80,0|70,2|60,0|50,1|40,2|255,0|255,2");
  EXPECT_EQ(Selected(IDC_STYLE_LIST), 4);
  EXPECT_EQ(settings_.GetStyleIndex(), 4u);
}

TEST_F(SettingsDialogTest, TooManyPalettesOpensNoEditor) {
  while (settings_.PaletteCount() < Settings::MaxPalettes()) settings_.AddPalette(Settings::DefaultPalette());
  MessageBoxReader box("Tips");
  Click(IDC_PALETTE_ADD);
  EXPECT_EQ(box.Text(), "There too much pallette, please remove some, then try again.");
  EXPECT_EQ(Notes("palette editor"), 0);
}

// What the user is told, or keeps seeing, where the dialog used to leave them
// guessing: the selected row of a list that lost the focus stays in sight; Help
// without its file, and pictures in a folder too long to be kept, say so in a
// box of the program's own (the file dialog gets a file whose folder has 252
// characters, typed as its full path).
TEST_F(SettingsDialogTest, SaysWhatItCannotDoAndKeepsSelectionsInSight) {
  for (int list : {IDC_BACKGROUND_LIST, IDC_PALETTE_LIST, IDC_STYLE_LIST}) {
    EXPECT_NE(GetWindowLongA(Item(list), GWL_STYLE) & LVS_SHOWSELALWAYS, 0) << list;
  }
  std::filesystem::path folder = dir_.path();
  while (folder.string().size() < 252) {
    folder /= std::string(std::min<std::size_t>(100, 252 - folder.string().size() - 1), 'f');
  }
  std::filesystem::create_directories(folder);
  const std::string picture = (folder / "a.bmp").string();
  WriteFileBytes(picture, "BM");
  struct Case {
    int button;
    const char* caption;
    const char* starts;
  };
  const Case cases[] = {
      {IDC_HELP_BUTTON, "Hearthmoor", "The help file help.chm could not be opened."},
      {IDC_BACKGROUND_ADD_FILE, "Tips", "The folder of these pictures has a path longer than 250 characters."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    std::string caption, text;
    DialogWatcher watcher([&](HWND dialog) {
      if (GetDlgItem(dialog, 0x47C) != nullptr) {  // the file dialog: the name typed, then Open
        SetDlgItemTextA(dialog, 0x47C, picture.c_str());
        SetDlgItemTextA(dialog, 0x480, picture.c_str());
      } else {
        caption = WindowText(dialog);
        text = ItemText(dialog, 0xFFFF);
      }
      PressOk(dialog);
    });
    Click(c.button);
    EXPECT_EQ(caption, c.caption);
    EXPECT_EQ(text.rfind(c.starts, 0), 0u) << text;
  }
  EXPECT_EQ(Rows(IDC_BACKGROUND_LIST), (std::vector<std::string>{"a", "b", "c"}));
}

// Each palette row shows its palette's strip in the screen's format; removing
// the first row leaves the others' strips in order.
class PaletteStripTest : public SettingsDialogTest, public ::testing::WithParamInterface<int> {
 public:
  PaletteStripTest() { depth_ = GetParam(); }

 protected:
  // Row 0 of image i as 0xRRGGBB values.
  std::vector<std::uint32_t> Strip(int image) {
    HIMAGELIST images =
        reinterpret_cast<HIMAGELIST>(SendMessageA(Item(IDC_PALETTE_LIST), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    IMAGEINFO info{};
    if (!ImageList_GetImageInfo(images, image, &info)) return {};
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.rcImage.right;
    format.bmiHeader.biHeight = -(info.rcImage.bottom);
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.rcImage.right) * info.rcImage.bottom);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmImage, 0, info.rcImage.bottom, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    const auto first =
        pixels.begin() + static_cast<std::ptrdiff_t>(info.rcImage.top) * info.rcImage.right + info.rcImage.left;
    std::vector<std::uint32_t> row(first, first + 256);
    for (std::uint32_t& pixel : row) pixel &= 0xFFFFFF;
    return row;
  }
  // What palette `record` looks like in the screen's format, read back as 0xRRGGBB.
  std::vector<std::uint32_t> Expected(const PaletteRecord& record) {
    std::uint8_t table[1024] = {};
    PaletteBuilder().BuildTable32(record, table);
    std::vector<std::uint32_t> row;
    for (int i = 0; i < 256; ++i) {
      std::uint32_t r = table[4 * i + 2], g = table[4 * i + 1], b = table[4 * i];
      if (depth_ == 16) {
        r = (r >> 3) * 255 / 31;
        g = (g >> 2) * 255 / 63;
        b = (b >> 3) * 255 / 31;
      }
      row.push_back(r << 16 | g << 8 | b);
    }
    return row;
  }
  static bool Near(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      for (int shift : {0, 8, 16}) {
        const int x = static_cast<int>(a[i] >> shift & 0xFF), y = static_cast<int>(b[i] >> shift & 0xFF);
        if (x - y > 8 || y - x > 8) return false;
      }
    }
    return true;
  }
};

TEST_P(PaletteStripTest, RowsShowTheirPalettes) {
  const Settings::PaletteList palettes = settings_.GetPalettes();
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(Near(Strip(i), Expected(palettes[i]))) << "row " << i;
  EXPECT_FALSE(Near(Strip(0), Strip(1)));
  UserSelects(IDC_PALETTE_LIST, 0);
  Click(IDC_PALETTE_REMOVE);
  ASSERT_EQ(Rows(IDC_PALETTE_LIST).size(), 5u);
  for (int i = 0; i < 5; ++i) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    SendMessageA(Item(IDC_PALETTE_LIST), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_TRUE(Near(Strip(item.iImage), Expected(palettes[i + 1]))) << "row " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, PaletteStripTest, ::testing::Values(16, 32));

}  // namespace
