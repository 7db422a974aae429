#pragma once
#include <windows.h>

#include <string>

#include "diagnostics/handles_win.h"

// The optional skinning library of the settings mode. When it is present it draws
// the program's windows with the skin of Hearthmoor.urf; when it is missing or
// broken the dialogs run unskinned, and every failure is only logged.
//
// Owned by the settings mode and used only from its UI thread. Entry points stay
// set exactly as far as the lookup got, so a library missing a later entry point
// is still started and applied with the ones it has.
class SkinLibrary {
 public:
  static constexpr const char* kLibraryName = "appface.dll";
  static constexpr const char* kSkinFileName = "Hearthmoor.urf";
  // The text argument of SkinStart: the library defines it, this is ours.
  static constexpr const char* kSkinKey = "Hearthmoor";

  // The entry points the program calls; the other seven are looked up only.
  using SkinStartProc = int(WINAPI*)(const char* skinFile, int, const char* key, int, int, int);
  using SkinWindowSetExProc = int(WINAPI*)(HWND window, int, int, int, int, int, int);
  using SkinRemoveProc = int(WINAPI*)();

  SkinLibrary() = default;
  ~SkinLibrary() { Unbind(); }
  SkinLibrary(const SkinLibrary&) = delete;
  SkinLibrary& operator=(const SkinLibrary&) = delete;

  // Loads the library and looks up its ten entry points. True at once when it is
  // already bound. An empty name loads nothing. A bare name is looked for only in
  // the program's own folder (see ResolveLibraryPath); a name with a folder is
  // loaded as it stands. False when loading fails or an entry point is missing.
  bool Bind(const char* name);
  // Frees the library and forgets every entry point. Safe to call twice.
  void Unbind();

  // What the settings mode does before its windows exist: binds kLibraryName
  // ("face dll init false" when that fails), then StartAndApply.
  void BindAndStart(const std::string& skinFile);
  // Starts the library with the skin file, then applies the skin; each call is made
  // whenever its entry point is known, and each failure is logged.
  void StartAndApply(const std::string& skinFile);
  // The library's remove call, at the end of the settings mode, when it is known.
  void Remove();

  bool IsBound() const { return loaded_; }

 private:
  // The ten entry points in the order they are looked up, which decides the ones
  // that are set when one is missing.
  enum EntryPoint {
    kSkinStart,
    kSkinStartW,
    kSkinRemove,
    kSkinWindowSet,
    kSkinThread,
    kBkCreate,
    kBkDraw,
    kBkDelete,
    kSkinWindowSetExW,
    kSkinWindowSetEx,
    kEntryPoints
  };
  static constexpr const char* kEntryPointNames[kEntryPoints] = {
      "SkinStart", "SkinStartW", "SkinRemove", "SkinWindowSet",    "SkinThread",
      "BkCreate",  "BkDraw",     "BkDelete",   "SkinWindowSetExW", "SkinWindowSetEx"};

  bool loaded_ = false;
  UniqueModule module_;
  FARPROC entryPoints_[kEntryPoints] = {};
};

// The file a library name stands for: a name without a folder in the folder of the
// running program, anything else unchanged. Loading a bare name through the normal
// search would also try the current directory, which in the settings mode is the
// settings folder, one that users may write to.
std::string ResolveLibraryPath(const char* name);
