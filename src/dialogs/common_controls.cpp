#include "dialogs/common_controls.h"

#include <commctrl.h>

#include <vector>

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

namespace ListView {

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

int SelectedRow(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string RowText(HWND list, int row) {
  std::vector<char> buffer(260);
  for (;;) {
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = static_cast<std::size_t>(
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

int InsertTextRow(HWND list, int row, const std::string& text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<char*>(text.c_str());
  return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int InsertImageRow(HWND list, int row, int image) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.pszText = const_cast<char*>("");
  item.iImage = image;
  return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetRowImage(HWND list, int row, int image) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image;
  SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void DeleteRow(HWND list, int row) { SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }

void InsertColumn(HWND list, const char* title) {
  RECT client{};
  GetClientRect(list, &client);
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = client.right - client.left;
  column.pszText = const_cast<char*>(title);
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

namespace {

constexpr UINT kBoth = LVIS_SELECTED | LVIS_FOCUSED;

}  // namespace

void SelectRow(HWND list, int row) {
  LVITEMA item{};
  item.stateMask = kBoth;
  item.state = kBoth;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

bool BecameCurrent(const NMLISTVIEW& change) {
  return change.iItem >= 0 && (change.uChanged & LVIF_STATE) != 0 && (change.uNewState & kBoth) == kBoth &&
         (change.uOldState & kBoth) != kBoth;
}

}  // namespace ListView

namespace Trackbar {

int Position(HWND trackbar) { return static_cast<int>(SendMessageA(trackbar, TBM_GETPOS, 0, 0)); }

void SetPosition(HWND trackbar, int position) {
  SendMessageA(trackbar, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
}

void SetRange(HWND trackbar, int minimum, int maximum) {
  SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, minimum);
  SendMessageA(trackbar, TBM_SETRANGEMAX, TRUE, maximum);
}

}  // namespace Trackbar
