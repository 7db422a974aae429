#pragma once
#include <windows.h>
// windows.h first: ddraw.h relies on its types.
#include <ddraw.h>

#include <cstdint>
#include <vector>

#include "display/offscreen_surface_win.h"
#include "image/decoded_image.h"
#include "image/surface.h"

class CDXSurfaceHost;

// One DirectDraw surface with counted locking and counted device-context
// access, a clip rectangle that bounds every blit and fill, and loading from an
// image file. The fire copiers draw into it through the Surface interface.
//
// Locks and device contexts nest: only the outermost Lock/Unlock and
// GetDC/ReleaseDC pair reaches DirectDraw. A surface found lost while locking
// is restored and the lock retried, at most kMaxRestoreAttempts times, so that
// a surface that stays lost (another program owns the display) fails the frame
// instead of hanging it.
//
// Not thread-safe: a surface is used by one thread at a time.
class CDXSurface : public Surface {
 public:
  static constexpr int kMaxRestoreAttempts = 4;
  static constexpr int kMaxFileName = 256;  // characters, terminator included

  CDXSurface();
  ~CDXSurface() override;
  CDXSurface(const CDXSurface&) = delete;
  CDXSurface& operator=(const CDXSurface&) = delete;

  // Makes an off-screen plain surface in the screen's pixel format; joins the
  // screen's surface list and takes the next id. Returns DD_OK or a DirectDraw
  // failure (negative); -1 without a screen or DirectDraw.
  HRESULT Create(CDXSurfaceHost* screen, int width, int height, BYTE memoryType = CDXMEM_SYSTEMONLY);

  // Makes a surface holding the picture of an image file (BMP, TGA, PCX, PSD,
  // JPEG), or of a bitmap resource of the program by that name, at its own size.
  // 1 on success; -1 no name, name too long or not loadable, -2 no such bitmap
  // resource or file, -3 bitmap not loadable, -4 surface not lockable.
  // A file that gives no picture answers -2 with `why` (when given) saying why.
  int LoadImage(CDXSurfaceHost* screen, const char* fileName, BYTE memoryType = CDXMEM_SYSTEMONLY,
                DecodeError* why = nullptr);
  // The same for a file's bytes read beforehand (a picture on another machine,
  // read off the frame thread). Nothing to reload from: Restore answers -2.
  int LoadImageFromMemory(CDXSurfaceHost* screen, const std::vector<std::uint8_t>& bytes,
                          BYTE memoryType = CDXMEM_SYSTEMONLY, DecodeError* why = nullptr);

  // Surface: new lock count, or a negative DirectDraw result.
  int Lock() override;
  void Unlock() override;
  std::uint8_t* FirstPixel() override;
  std::int32_t PitchBytes() const override;
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  int BitsPerPixel() const override;

  // Unlock with its result: the new lock count, or a negative DirectDraw result
  // (the count is then unchanged).
  int UnlockSurface();

  // The same context for nested calls; null when DirectDraw gives none.
  HDC GetDC();
  // 0, or -1 when there is no context out or DirectDraw refuses it back.
  int ReleaseDC();

  // Copies from this surface to `dest`. Null rectangles mean the whole surface.
  // Both rectangles are clipped to their surface's clip rectangle first; if
  // either clips to nothing the result is 0 and nothing is drawn. Different
  // rectangle sizes stretch.
  HRESULT Blt(CDXSurface* dest, const RECT* destRect, const RECT* srcRect);

  // `colour` is a pixel value in this surface's format.
  HRESULT FillRect(int left, int top, int right, int bottom, DWORD colour);

  // 0, or -1 when no device context or the drawing failed.
  int TextOut(int x, int y, COLORREF colour, const char* text);

  void SetClipRect(const RECT& rect);

  // Restores lost video memory and reloads the picture from the file it came
  // from. The reload's result: -2 when there is nothing to reload (no file name),
  // else the blit's result; a failed restore returns its own result.
  HRESULT Restore();

  LPDIRECTDRAWSURFACE7 GetDDS() const { return surface_; }
  const DDSURFACEDESC2& GetDescriptor() const { return descriptor_; }
  const RECT& GetClipRect() const { return clip_; }
  const char* GetFileName() const { return fileName_; }
  CDXSurfaceHost* GetScreen() const { return screen_; }
  HDC GetHDC() const { return dc_; }
  int GetLockCount() const { return lockCount_; }
  int GetDCCount() const { return dcCount_; }
  BYTE GetMemoryType() const { return memoryType_; }
  int GetId() const { return id_; }

  // Takes over a DirectDraw surface made elsewhere (the screen's front and back
  // buffers, a picture from CDXImage): the surface is released with this object.
  // Size and a whole-surface clip rectangle are set; the surface does not join
  // the screen's list.
  void Attach(CDXSurfaceHost* screen, LPDIRECTDRAWSURFACE7 surface, int width, int height);

 private:
  friend class CDXScreen;
  // Reads the pixel format (and size) into the descriptor.
  void ReadPixelFormat();
  // Takes over a picture surface LoadImage or LoadImageFromMemory made: 1, or
  // -4 (and the surface released) when it cannot be locked.
  int AdoptPicture(CDXSurfaceHost* screen, LPDIRECTDRAWSURFACE7 loaded, const char* fileName, BYTE memoryType);
  // Joins the screen's list and takes the next process-wide id.
  void Register(CDXSurfaceHost* screen);
  // Releases the DirectDraw surface (giving back a held context or lock) and
  // leaves the screen's list.
  void DropSurface();
  // The resource fall-back of LoadImage: a bitmap resource of the program by
  // that name. 1, or its negative code (-2 when there is no such resource).
  static int LoadBitmapResource(CDXSurfaceHost* screen, const char* name, BYTE memoryType, LPDIRECTDRAWSURFACE7* out);
  // Called by the screen when it empties its list.
  void ForgetScreen();
  // Pulls the rectangle inside the clip rectangle; false when nothing remains.
  bool ClipRect(RECT& rect) const;
  bool IsChainBuffer() const;

  DDSURFACEDESC2 descriptor_{};
  LPDIRECTDRAWSURFACE7 surface_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  char fileName_[kMaxFileName] = {};
  HDC dc_ = nullptr;
  CDXSurfaceHost* screen_ = nullptr;
  RECT clip_{};
  int lockCount_ = 0;
  int dcCount_ = 0;
  BYTE memoryType_ = CDXMEM_SYSTEMONLY;
  int id_ = -1;
  CDXSurface* previous_ = nullptr;
  CDXSurface* next_ = nullptr;
};

// A surface's device context for a scope: GetDC when made, ReleaseDC when gone.
class SurfaceDc {
 public:
  explicit SurfaceDc(CDXSurface& surface) : surface_(surface), dc_(surface.GetDC()) {}
  ~SurfaceDc() {
    if (dc_ != nullptr) surface_.ReleaseDC();
  }
  SurfaceDc(const SurfaceDc&) = delete;
  SurfaceDc& operator=(const SurfaceDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  CDXSurface& surface_;
  HDC dc_;
};
