#pragma once
#include <windows.h>
// windows.h first: ddraw.h relies on its types.
#include <ddraw.h>

class CDXSurface;

// What a surface needs of the screen it was made on: the DirectDraw object to
// create with, the surface list it joins and leaves, and which surfaces are the
// screen's own flipping buffers (restored with the chain, never listed).
// CDXScreen is the implementation; surfaces know only this, so that the screen
// can hold surfaces without the two including each other.
class CDXSurfaceHost {
 public:
  virtual LPDIRECTDRAW7 GetDD() const = 0;
  virtual CDXSurface* GetFront() const = 0;
  virtual CDXSurface* GetBack() const = 0;
  virtual int IsFullScreen() const = 0;
  virtual void AddSurfaceToList(CDXSurface* surface) = 0;
  virtual void RemoveSurfaceFromList(CDXSurface* surface) = 0;

 protected:
  ~CDXSurfaceHost() = default;
};
