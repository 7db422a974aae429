#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/big_app.h"
#include "app/small_app.h"

// A hidden window of a class with the procedure under test; what the procedure
// posts to the thread's queue is collected after each sent message.
class ProcedureWindow {
 public:
  ProcedureWindow(const char* className, WNDPROC procedure) : className_(className) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    window_ =
        CreateWindowExA(0, className, "test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
    Posted();  // drop whatever creation queued
  }
  ~ProcedureWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
    Posted();
    UnregisterClassA(className_, GetModuleHandleA(nullptr));
  }
  HWND Handle() const { return window_; }

  // The close and quit messages posted to this thread since the last call;
  // anything else the system queues is dropped.
  std::vector<std::string> Posted() {
    std::vector<std::string> names;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_CLOSE) {
        names.push_back(message.hwnd == window_ ? "WM_CLOSE" : "WM_CLOSE elsewhere");
      } else if (message.message == WM_QUIT) {
        names.push_back("WM_QUIT " + std::to_string(message.wParam));
      }
    }
    return names;
  }

 private:
  const char* className_;
  HWND window_ = nullptr;
};

TEST(FullScreenWindow, KeysCloseTheWindowTheMouseDoesNot) {
  struct Case {
    UINT message;
    WPARAM wParam;
    std::vector<std::string> posted;
  };
  const Case cases[] = {
      {WM_KEYDOWN, VK_SPACE, {"WM_CLOSE"}},
      {WM_KEYDOWN, VK_ESCAPE, {"WM_CLOSE"}},
      {WM_SYSKEYDOWN, VK_MENU, {"WM_CLOSE"}},
      {WM_MOUSEMOVE, 0, {}},
      {WM_LBUTTONDOWN, MK_LBUTTON, {}},
      {WM_RBUTTONDOWN, MK_RBUTTON, {}},
      {WM_MOUSEWHEEL, 0, {}},
      {WM_ACTIVATE, WA_INACTIVE, {}},
  };
  ProcedureWindow window("HearthmoorTestFull", &BigApp::WindowProc);
  ASSERT_NE(window.Handle(), nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    SendMessageA(window.Handle(), c.message, c.wParam, 0);
    EXPECT_EQ(window.Posted(), c.posted);
    EXPECT_TRUE(IsWindow(window.Handle()));
  }
}

TEST(ApplicationWindows, ClosingEndsTheLoopButKeepsTheWindowForDirectDraw) {
  for (WNDPROC procedure : {&BigApp::WindowProc, &BaseApp::AppWindowProc}) {
    ProcedureWindow window("HearthmoorTestClose", procedure);
    SendMessageA(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window.Handle()));
    EXPECT_EQ(window.Posted(), std::vector<std::string>{"WM_QUIT 0"});
    DestroyWindow(window.Handle());
    EXPECT_EQ(window.Posted(), std::vector<std::string>{"WM_QUIT 0"});
  }
}

TEST(PreviewWindows, DestroyingEitherWindowEndsTheLoop) {
  for (WNDPROC procedure : {&BaseApp::AppWindowProc, &SmallApp::PreviewWindowProc}) {
    ProcedureWindow window("HearthmoorTestPreview", procedure);
    SendMessageA(window.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(window.Posted().empty()) << "input does not end a preview";
    DestroyWindow(window.Handle());
    EXPECT_EQ(window.Posted(), std::vector<std::string>{"WM_QUIT 0"});
  }
}
