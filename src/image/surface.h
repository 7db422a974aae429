#pragma once
#include <cstdint>

// What the pixel copiers need of a drawing surface: a lock that may be nested
// (only the outermost lock and unlock touch the display), the first pixel's
// address and the pitch while locked, and the surface's size and depth.
// The DirectDraw implementation restores a lost surface and retries inside Lock.
class Surface {
 public:
  virtual ~Surface() = default;

  // Returns a negative number when the surface cannot be locked; then it must
  // not be unlocked.
  virtual int Lock() = 0;
  virtual void Unlock() = 0;

  // Valid only while locked.
  virtual std::uint8_t* FirstPixel() = 0;
  virtual std::int32_t PitchBytes() const = 0;

  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  virtual int BitsPerPixel() const = 0;
};
