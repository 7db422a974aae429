#pragma once
#include <windows.h>

#include <string>

#include "diagnostics/handles_win.h"
#include "dialogs/link_opener.h"

// Turns a static text control of a dialog into a link: the text is drawn in the
// link colour with an underlined copy of the dialog's font, the hand cursor and a
// tooltip with the target show over it, and a click (or Enter or Space while it
// has the focus) opens the target through the LinkOpener. A link whose target
// opened is drawn in the visited colour from then on.
//
// The object must outlive the window or be destroyed first; either way the
// control gets its own window procedure back. UI thread only.
class HyperLink {
 public:
  static constexpr COLORREF kDefaultLinkColor = RGB(0, 0, 255);
  static constexpr COLORREF kDefaultVisitedColor = RGB(128, 0, 128);
  // The user's browser colours, each "red,green,blue" in decimal.
  static constexpr const char* kColorKey = "Software\\Microsoft\\Internet Explorer\\Settings";
  static constexpr const char* kLinkColorValue = "Anchor Color";
  static constexpr const char* kVisitedColorValue = "Anchor Color Visited";

  explicit HyperLink(LinkOpener& opener = ShellOpener());
  ~HyperLink();
  HyperLink(const HyperLink&) = delete;
  HyperLink& operator=(const HyperLink&) = delete;

  // Takes over the control's window procedure and prepares cursor, fonts, tooltip,
  // label and colours. False when the control is not a window or is taken already.
  bool SubclassWindow(HWND control);
  // The text shown; also becomes the control's window text.
  void SetLabel(const std::string& label);
  // What is opened; also the tooltip's text.
  void SetTarget(const std::string& target);

  const std::string& Label() const { return label_; }
  const std::string& Target() const { return target_; }
  bool Visited() const { return visited_; }
  COLORREF LinkColor() const { return linkColor_; }
  COLORREF VisitedColor() const { return visitedColor_; }
  // The part of the client area the text covers.
  const RECT& LabelRect() const { return labelRect_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint(HDC dc);
  void OnSetFont(HFONT font);
  void Navigate();
  bool OverLabel(POINT client) const;
  bool CursorOverLabel() const;
  UINT AlignmentFlags() const;
  void ComputeLabelRect();
  void UpdateTooltip();
  void ReadColors();
  void Detach();

  LinkOpener& opener_;
  HWND window_ = nullptr;
  WNDPROC previous_ = nullptr;
  std::string label_;
  std::string target_;
  COLORREF linkColor_ = kDefaultLinkColor;
  COLORREF visitedColor_ = kDefaultVisitedColor;
  HFONT normalFont_ = nullptr;  // the dialog's; not owned
  UniqueGdiObject<HFONT> linkFont_;
  HCURSOR hand_ = nullptr;
  RECT labelRect_{};
  HWND tooltip_ = nullptr;
  bool toolAdded_ = false;
  bool paintLabel_ = true;
  bool visited_ = false;
};

// Reads a colour written "red,green,blue" in decimal: two commas and a non-empty
// third part are needed, and each part counts modulo 256. False leaves `color`.
bool ParseLinkColor(const char* text, COLORREF& color);
