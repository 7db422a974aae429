#pragma once

enum class SaverMode { kSettings, kPreview, kFullScreen };

// The mode the host asks for with the first argument: its last character "p" or
// "P" is the preview (the host window follows as the next argument), else "s" or
// "S" is the full screen; anything else, or no argument, is the settings mode.
// The text is stepped through character by character in the ANSI code page, so a
// trail byte of a double-byte character is never mistaken for a letter.
SaverMode ModeFromArguments(int argc, char** argv);

// Chooses the mode from the command line and runs it. Each Run...Mode builds
// its application object, runs it at 30 frames a second and returns its result,
// which becomes the process's exit code.
class ModeSelector {
 public:
  virtual ~ModeSelector() = default;
  virtual int Select(int argc, char** argv);
  virtual int RunSettingsMode(int argc, char** argv);
  virtual int RunPreviewMode(int argc, char** argv);
  virtual int RunFullScreenMode(int argc, char** argv);
};
