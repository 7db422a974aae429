#include "display/cdx_surface_win.h"

#include <cstring>

#include "diagnostics/debug_log.h"
#include "diagnostics/handles_win.h"
#include "display/cdx_image_win.h"
#include "display/cdx_surface_host_win.h"

namespace {
// Ids are unique for the life of the process; the first surface made gets 1.
int g_nextSurfaceId = 1;
}  // namespace

CDXSurface::CDXSurface() { descriptor_.dwSize = sizeof descriptor_; }

CDXSurface::~CDXSurface() {
  TraceLog().Log("CDXSurface::~CDXSurface");
  DropSurface();
}

void CDXSurface::DropSurface() {
  if (surface_ != nullptr) {
    if (dcCount_ > 0) surface_->ReleaseDC(dc_);
    if (lockCount_ > 0) surface_->Unlock(nullptr);
    surface_->Release();
    surface_ = nullptr;
  }
  dc_ = nullptr;
  dcCount_ = 0;
  lockCount_ = 0;
  if (screen_ != nullptr && !IsChainBuffer()) screen_->RemoveSurfaceFromList(this);
}

HRESULT CDXSurface::Create(CDXSurfaceHost* screen, int width, int height, BYTE memoryType) {
  if (screen == nullptr || screen->GetDD() == nullptr) return -1;
  DropSurface();
  const HRESULT result = CreateOffscreenSurface(screen->GetDD(), width, height, memoryType, &surface_);
  if (FAILED(result)) return result;
  memoryType_ = memoryType;
  clip_ = RECT{0, 0, width, height};
  screen_ = screen;
  width_ = width;
  height_ = height;
  fileName_[0] = '\0';
  ReadPixelFormat();
  Register(screen);
  return result;
}

int CDXSurface::LoadImage(CDXSurfaceHost* screen, const char* fileName, BYTE memoryType, DecodeError* why) {
  if (fileName == nullptr || fileName[0] == '\0') return -1;
  // The name is kept for reloading after a lost surface; one that does not fit
  // is refused rather than kept cut short (it would reload another file).
  if (std::strlen(fileName) >= sizeof fileName_) return -1;
  if (screen == nullptr || screen->GetDD() == nullptr) return -1;
  DropSurface();

  CDXImage loader;
  DecodeError fileError = DecodeError::kUnreadable;
  LPDIRECTDRAWSURFACE7 loaded = loader.GetImage(screen->GetDD(), fileName, memoryType, CDXImage::kDetect, &fileError);
  if (loaded == nullptr) {
    // The file gave no picture (the loader already let the system try whatever
    // it safely could); a bitmap resource by that name is the last chance.
    const int result = LoadBitmapResource(screen, fileName, memoryType, &loaded);
    if (result != 1) {
      if (why != nullptr) *why = fileError;
      return result;
    }
  }
  return AdoptPicture(screen, loaded, fileName, memoryType);
}

int CDXSurface::LoadImageFromMemory(CDXSurfaceHost* screen, const std::vector<std::uint8_t>& bytes, BYTE memoryType,
                                    DecodeError* why) {
  if (screen == nullptr || screen->GetDD() == nullptr) return -1;
  DropSurface();
  CDXImage loader;
  DecodeError error = DecodeError::kUnreadable;
  LPDIRECTDRAWSURFACE7 loaded =
      loader.GetImageFromMemory(screen->GetDD(), bytes.size(), bytes.data(), memoryType, CDXImage::kDetect, &error);
  if (loaded == nullptr) {
    if (why != nullptr) *why = error;
    return -2;
  }
  return AdoptPicture(screen, loaded, "", memoryType);
}

int CDXSurface::AdoptPicture(CDXSurfaceHost* screen, LPDIRECTDRAWSURFACE7 loaded, const char* fileName,
                             BYTE memoryType) {
  surface_ = loaded;
  // The descriptor holds the real size only after a lock.
  if (Lock() < 0 || UnlockSurface() < 0) {
    surface_->Release();
    surface_ = nullptr;
    lockCount_ = 0;
    return -4;
  }
  width_ = static_cast<int>(descriptor_.dwWidth);
  height_ = static_cast<int>(descriptor_.dwHeight);
  clip_ = RECT{0, 0, width_, height_};
  screen_ = screen;
  memoryType_ = memoryType;
  std::strcpy(fileName_, fileName);
  ReadPixelFormat();
  Register(screen);
  return 1;
}

int CDXSurface::LoadBitmapResource(CDXSurfaceHost* screen, const char* name, BYTE memoryType,
                                   LPDIRECTDRAWSURFACE7* out) {
  // Never a file: the system's bitmap loader reads a file with fewer checks
  // than the program's own (CDXImage hands it only what it has checked).
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (resource == nullptr) return -2;
  HGLOBAL handle = LoadResource(module, resource);
  if (handle == nullptr) return -3;
  if (LockResource(handle) == nullptr) return -4;
  const UniqueGdiObject<HBITMAP> bitmap(
      static_cast<HBITMAP>(::LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) return -1;

  BITMAP info{};
  GetObjectA(bitmap.get(), sizeof info, &info);
  const int width = info.bmWidth;
  const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  *out = DrawOffscreenSurface(screen->GetDD(), width, height, memoryType, [&](HDC target) {
    const UniqueDc source(CreateCompatibleDC(target));
    const SelectedObject selected(source.get(), bitmap.get());
    return StretchBlt(target, 0, 0, width, height, source.get(), 0, 0, width, height, SRCCOPY) != FALSE;
  });
  return *out != nullptr ? 1 : -1;
}

void CDXSurface::Register(CDXSurfaceHost* screen) {
  screen->AddSurfaceToList(this);
  id_ = g_nextSurfaceId++;
}

void CDXSurface::Attach(CDXSurfaceHost* screen, LPDIRECTDRAWSURFACE7 surface, int width, int height) {
  if (surface_ != nullptr && surface_ != surface) DropSurface();
  surface_ = surface;
  screen_ = screen;
  width_ = width;
  height_ = height;
  clip_ = RECT{0, 0, width, height};
  ReadPixelFormat();
}

bool CDXSurface::IsChainBuffer() const {
  return screen_ != nullptr && (screen_->GetFront() == this || screen_->GetBack() == this);
}

void CDXSurface::ReadPixelFormat() {
  if (surface_ == nullptr) return;
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  if (SUCCEEDED(surface_->GetSurfaceDesc(&desc))) {
    descriptor_ = desc;
  }
}

int CDXSurface::Lock() {
  if (lockCount_ > 0) return ++lockCount_;
  if (surface_ == nullptr) return -1;
  // Locked into a copy: a failed lock must not wipe the pixel format kept in
  // the descriptor.
  DDSURFACEDESC2 locked{};
  locked.dwSize = sizeof locked;
  HRESULT result = surface_->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr);
  for (int attempt = 0; result == DDERR_SURFACELOST && attempt < kMaxRestoreAttempts; ++attempt) {
    Restore();
    result = surface_->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr);
  }
  if (result != DD_OK) return result < 0 ? static_cast<int>(result) : -1;
  descriptor_ = locked;
  return ++lockCount_;
}

void CDXSurface::Unlock() { UnlockSurface(); }

int CDXSurface::UnlockSurface() {
  // Unlocking what is not locked would drive the count below zero and hand a
  // stale pointer to the next user.
  if (lockCount_ <= 0 || surface_ == nullptr) return -1;
  if (lockCount_ > 1) return --lockCount_;
  HRESULT result = surface_->Unlock(nullptr);
  for (int attempt = 0; result == DDERR_SURFACELOST && attempt < kMaxRestoreAttempts; ++attempt) {
    Restore();
    result = surface_->Unlock(nullptr);
  }
  // A lost or restored surface holds no lock any more: the count must drop, or
  // the next Lock would count up and hand out a stale pixel address.
  if (result != DD_OK && result != DDERR_NOTLOCKED && result != DDERR_SURFACELOST) {
    return result < 0 ? static_cast<int>(result) : -1;
  }
  descriptor_.lpSurface = nullptr;
  --lockCount_;
  return result == DDERR_SURFACELOST ? static_cast<int>(result) : lockCount_;
}

std::uint8_t* CDXSurface::FirstPixel() {
  return lockCount_ > 0 ? static_cast<std::uint8_t*>(descriptor_.lpSurface) : nullptr;
}

std::int32_t CDXSurface::PitchBytes() const { return descriptor_.lPitch; }

int CDXSurface::BitsPerPixel() const { return static_cast<int>(descriptor_.ddpfPixelFormat.dwRGBBitCount); }

HDC CDXSurface::GetDC() {
  if (dcCount_ > 0) {
    ++dcCount_;
    return dc_;
  }
  if (surface_ == nullptr) return nullptr;
  HDC dc = nullptr;
  if (FAILED(surface_->GetDC(&dc)) || dc == nullptr) return nullptr;
  dc_ = dc;
  dcCount_ = 1;
  return dc_;
}

int CDXSurface::ReleaseDC() {
  if (dcCount_ <= 0 || surface_ == nullptr) return -1;
  if (dcCount_ > 1) {
    --dcCount_;
    return 0;
  }
  const HRESULT result = surface_->ReleaseDC(dc_);
  dcCount_ = 0;
  dc_ = nullptr;
  return FAILED(result) ? -1 : 0;
}

bool CDXSurface::ClipRect(RECT& rect) const {
  if (rect.left >= clip_.right || rect.top >= clip_.bottom || rect.right <= clip_.left || rect.bottom <= clip_.top) {
    return false;
  }
  if (rect.left < clip_.left) rect.left = clip_.left;
  if (rect.top < clip_.top) rect.top = clip_.top;
  if (rect.right > clip_.right) rect.right = clip_.right;
  if (rect.bottom > clip_.bottom) rect.bottom = clip_.bottom;
  // An inverted rectangle covers nothing; DirectDraw would refuse it.
  return rect.left < rect.right && rect.top < rect.bottom;
}

HRESULT CDXSurface::Blt(CDXSurface* dest, const RECT* destRect, const RECT* srcRect) {
  if (surface_ == nullptr || dest == nullptr || dest->surface_ == nullptr) return -1;
  RECT source = srcRect != nullptr ? *srcRect : RECT{0, 0, width_, height_};
  RECT target = destRect != nullptr ? *destRect : RECT{0, 0, dest->width_, dest->height_};
  if (!ClipRect(source) || !dest->ClipRect(target)) return 0;
  const HRESULT result = dest->surface_->Blt(&target, surface_, &source, DDBLT_WAIT, nullptr);
  if (result == DDERR_SURFACELOST) {
    Restore();
    if (dest->surface_->IsLost() == DDERR_SURFACELOST) dest->Restore();
  }
  return result;
}

HRESULT CDXSurface::FillRect(int left, int top, int right, int bottom, DWORD colour) {
  if (surface_ == nullptr) return -1;
  RECT area{left, top, right, bottom};
  if (!ClipRect(area)) return 0;
  DDBLTFX effects{};
  effects.dwSize = sizeof effects;
  effects.dwFillColor = colour;
  return surface_->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

int CDXSurface::TextOut(int x, int y, COLORREF colour, const char* text) {
  if (text == nullptr || text[0] == '\0') return 0;
  HDC dc = GetDC();
  if (dc == nullptr) return -1;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  const BOOL drawn = ::TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
  ReleaseDC();
  return drawn ? 0 : -1;
}

void CDXSurface::SetClipRect(const RECT& rect) {
  clip_ = rect;
  if (clip_.left < 0) clip_.left = 0;
  if (clip_.top < 0) clip_.top = 0;
  if (clip_.right > width_) clip_.right = width_;
  if (clip_.bottom > height_) clip_.bottom = height_;
}

HRESULT CDXSurface::Restore() {
  if (surface_ == nullptr) return -1;
  HRESULT result;
  CDXSurface* front = screen_ != nullptr ? screen_->GetFront() : nullptr;
  if (screen_ != nullptr && screen_->IsFullScreen() && screen_->GetBack() == this && front != nullptr &&
      front->surface_ != nullptr) {
    // The back buffer of a flipping chain comes back with its front surface.
    result = front->surface_->Restore();
  } else {
    result = surface_->Restore();
  }
  if (FAILED(result)) return result;

  if (fileName_[0] == '\0' || screen_ == nullptr || screen_->GetDD() == nullptr) return -2;
  CDXImage loader;
  const ComPtr<IDirectDrawSurface7> picture(loader.GetImage(screen_->GetDD(), fileName_, CDXMEM_SYSTEMONLY));
  if (!picture) return -2;
  return surface_->Blt(nullptr, picture.get(), nullptr, DDBLT_WAIT, nullptr);
}

void CDXSurface::ForgetScreen() {
  screen_ = nullptr;
  previous_ = nullptr;
  next_ = nullptr;
}
