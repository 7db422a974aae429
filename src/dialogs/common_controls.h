#pragma once
#include <windows.h>

// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

// Typed forms of the few list-view, trackbar and window-text messages the
// dialogs send, so that each dialog says what it does to a control rather than
// how the message packs it. UI thread only.

// The window's whole text, however long.
std::string WindowText(HWND window);

namespace ListView {

int RowCount(HWND list);
// The first selected row, or -1.
int SelectedRow(HWND list);
// The whole text of the row's first column, however long: a path cut short
// would name another file.
std::string RowText(HWND list, int row);
// Inserts a row before `row` (at the end when `row` is the row count); answers
// its index, or -1.
int InsertTextRow(HWND list, int row, const std::string& text);
// A row without text that shows image `image` of the list's small image list.
int InsertImageRow(HWND list, int row, int image);
void SetRowImage(HWND list, int row, int image);
void DeleteRow(HWND list, int row);
// One column as wide as the list's client area.
void InsertColumn(HWND list, const char* title);
// Selected and focused, and scrolled into view. The list notifies its dialog as
// for a click; a dialog that must not act on that guards the call.
void SelectRow(HWND list, int row);
// Whether the change is a row becoming selected and focused, as a click or a
// key makes it. The other notifications of the same click (focus alone, the old
// row losing the selection) are not.
bool BecameCurrent(const NMLISTVIEW& change);

}  // namespace ListView

namespace Trackbar {

int Position(HWND trackbar);
void SetPosition(HWND trackbar, int position);
void SetRange(HWND trackbar, int minimum, int maximum);

}  // namespace Trackbar
