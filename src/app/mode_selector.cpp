#include "app/mode_selector.h"

#include <windows.h>

#include "app/big_app.h"
#include "app/small_app.h"
#include "settings/settings.h"

static constexpr int kFramesPerSecond = 30;

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

int ModeSelector::RunSettingsMode(int, char**) {
  // The settings dialog is not part of this program yet. Say so the way the
  // system's own savers without options do, instead of silently doing nothing
  // when the user presses "Settings". Loading the settings makes their folder
  // the current directory, where the timing report is written at the end, as
  // in the other modes.
  Settings settings;
  settings.Load();
  MessageBoxA(nullptr, "This screen saver has no options that you can set.", "Hearthmoor", MB_OK | MB_ICONINFORMATION);
  return 0;
}

int ModeSelector::RunPreviewMode(int argc, char** argv) {
  SmallApp app;
  return app.Run(argc, argv, kFramesPerSecond);
}

int ModeSelector::RunFullScreenMode(int argc, char** argv) {
  BigApp app;
  return app.Run(argc, argv, kFramesPerSecond);
}
