#pragma once
#include <memory>

#include "app/base_app.h"
#include "app/skin_library.h"
#include "diagnostics/handles_win.h"
#include "settings/locked_settings_controller.h"

class EditorFactory;
class SettingsDialog;

// The settings mode: the settings dialog beside a 600 x 480 window of live fire.
// Two threads: the UI thread (this object's MainLoop) owns the windows and runs
// the dialog's operations through the controller; the render thread draws the
// frames. Both meet only under the controller's frame lock.
class ConfigApp : public BaseApp, public LockedSettingsController {
 public:
  ConfigApp();
  ~ConfigApp() override;

  bool ChooseWindow(char** argv, WindowChoice& choice) override;
  int Init(int argc, char** argv, int framesPerSecond) override;
  // One frame under the frame lock, then the dialog's lists follow the fire's
  // timed changes. Render thread.
  void DrawFrame() override;
  // Pumps the UI thread's messages while the render thread draws; returns when
  // the dialog has ended the mode and the render thread has stopped. The exit
  // code is a quit message's, else 0.
  int MainLoop() override;
  void OnEnd() override;

  // The one ConfigApp of the process, which the render thread and the fire
  // window's procedure use.
  static ConfigApp* Current() { return current_; }
  // The fire window's procedure: closing the window only switches Show Fire off.
  static LRESULT CALLBACK FireWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // SettingsController: the application's values.
  std::string GetUpdateUrl() override;
  std::string GetProductName() override { return kProductName; }
  std::string GetVersion() override { return kVersion; }

  SettingsDialog* GetDialog() const { return dialog_.get(); }

 protected:
  Settings* ControlledSettings() override { return AppSettings(); }
  FireManager* ControlledFire() override { return GetFire(); }
  void ShowFireWindow(bool show) override;

 private:
  void RenderStep();

  // First: the shell (help, links) and the file dialog run on this thread.
  ComApartment com_;
  SkinLibrary skin_;
  std::unique_ptr<EditorFactory> editors_;
  std::unique_ptr<SettingsDialog> dialog_;

  static ConfigApp* current_;
};
