#include "app/mode_selector.h"

#include <windows.h>

#include "app/big_app.h"
#include "app/config_app.h"
#include "app/small_app.h"
#include "diagnostics/handles_win.h"

static constexpr int kFramesPerSecond = 30;
// Held by the settings mode while it runs.
static constexpr const char* kSettingsModeMutex = "Local\\Hearthmoor settings mode";
static constexpr const char* kDialogClass = "#32770";
static constexpr const char* kDialogCaption = "Hearthmoor";

// Whether the text from some character on is exactly the one letter given, in
// either case: the last character of the text, found the multi-byte safe way.
static bool EndsWithLetter(const char* text, char lower, char upper) {
  for (const char* p = text; *p != '\0'; p = CharNextA(p)) {
    if ((p[0] == lower || p[0] == upper) && p[1] == '\0') return true;
  }
  return false;
}

SaverMode ModeFromArguments(int argc, char** argv) {
  if (argc < 2 || argv == nullptr || argv[1] == nullptr) return SaverMode::kSettings;
  if (EndsWithLetter(argv[1], 'p', 'P')) return SaverMode::kPreview;
  if (EndsWithLetter(argv[1], 's', 'S')) return SaverMode::kFullScreen;
  return SaverMode::kSettings;
}

int ModeSelector::Select(int argc, char** argv) {
  switch (ModeFromArguments(argc, argv)) {
    case SaverMode::kPreview:
      return RunPreviewMode(argc, argv);
    case SaverMode::kFullScreen:
      return RunFullScreenMode(argc, argv);
    case SaverMode::kSettings:
      break;
  }
  return RunSettingsMode(argc, argv);
}

int ModeSelector::RunSettingsMode(int argc, char** argv) {
  // One settings mode per session: a second one would write the same files as
  // the first; the first one's dialog comes to the front instead.
  const UniqueKernelHandle lock(CreateMutexA(nullptr, FALSE, kSettingsModeMutex));
  if (lock && GetLastError() == ERROR_ALREADY_EXISTS) {
    if (HWND dialog = FindWindowA(kDialogClass, kDialogCaption)) {
      if (IsIconic(dialog)) ShowWindow(dialog, SW_RESTORE);
      SetForegroundWindow(dialog);
    }
    return 0;
  }
  ConfigApp app;
  return app.Run(argc, argv, kFramesPerSecond);
}

int ModeSelector::RunPreviewMode(int argc, char** argv) {
  SmallApp app;
  return app.Run(argc, argv, kFramesPerSecond);
}

int ModeSelector::RunFullScreenMode(int argc, char** argv) {
  BigApp app;
  return app.Run(argc, argv, kFramesPerSecond);
}
