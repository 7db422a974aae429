#include "app/skin_library.h"

#include "diagnostics/debug_log.h"

namespace {

// GetProcAddress answers a generic function pointer; the detour through the
// function type that matches every other one keeps the compiler's cast check quiet.
template <typename Proc>
Proc As(FARPROC proc) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace

std::string ResolveLibraryPath(const char* name) {
  const std::string text = name;
  if (text.find_first_of("\\/:") != std::string::npos) return text;
  char program[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return text;
  std::string folder(program, length);
  const std::string::size_type slash = folder.find_last_of("\\/");
  if (slash == std::string::npos) return text;
  folder.resize(slash + 1);
  return folder + text;
}

bool SkinLibrary::Bind(const char* name) {
  if (module_ && loaded_) return true;
  if (name == nullptr || *name == '\0') return false;
  if (!module_) {
    // No error box for a missing file or a broken image: the library is optional.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    module_.reset(LoadLibraryA(ResolveLibraryPath(name).c_str()));
    SetErrorMode(previousMode);
    if (!module_) return false;
  }
  for (int entry = 0; entry < kEntryPoints; ++entry) {
    if ((entryPoints_[entry] = GetProcAddress(module_.get(), kEntryPointNames[entry])) == nullptr) return false;
  }
  loaded_ = true;
  return true;
}

void SkinLibrary::Unbind() {
  if (!module_) return;
  module_.reset();
  loaded_ = false;
  for (FARPROC& entry : entryPoints_) entry = nullptr;
}

void SkinLibrary::BindAndStart(const std::string& skinFile) {
  if (!Bind(kLibraryName)) TraceLog().Log("face dll init false");
  StartAndApply(skinFile);
}

void SkinLibrary::StartAndApply(const std::string& skinFile) {
  const auto skinStart = As<SkinStartProc>(entryPoints_[kSkinStart]);
  if (skinStart == nullptr || skinStart(skinFile.c_str(), 1, kSkinKey, 1, 0, 0) == 0) {
    TraceLog().Log("face dll Start false.%s", skinFile.c_str());
  }
  const auto skinWindowSetEx = As<SkinWindowSetExProc>(entryPoints_[kSkinWindowSetEx]);
  if (skinWindowSetEx == nullptr || skinWindowSetEx(nullptr, 660, 0, 206, 0, 0, 0) == 0) {
    TraceLog().Log("face dll skin false");
  }
}

void SkinLibrary::Remove() {
  if (const auto skinRemove = As<SkinRemoveProc>(entryPoints_[kSkinRemove])) skinRemove();
}
