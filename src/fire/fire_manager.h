#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "fire/fire_errors.h"
#include "image/byte_image.h"

class BackgroundManager;
class BackgroundSource;
class ColorTable;
class FireImageCopyer;
class Flame;
class FlameRender;
class InsertBright;
class FireSequence;
class Surface;
struct PaletteRecord;

// Where and how large the fire is drawn: the screen's size and depth, and the
// place of the fire's top-left corner on the surface (always 0, 0 here).
struct FireParameters {
  std::int32_t width = 0;
  std::int32_t height = 0;
  int bitsPerPixel = 32;
  std::int32_t xOffset = 0;
  std::int32_t yOffset = 0;
};

// Which timed changes happened since the last TakeChanges.
struct FireChanges {
  bool background = false;
  bool palette = false;
  bool style = false;
};

// Owns every piece of the fire and runs them in a fixed order each frame:
// Update (background, palette, sparks, heat step and style), Render (heat and
// background into palette indices), CopyToSurface (indices through the colour
// table into the surface). It also applies the timed changes, taking the next
// entry of each list from the fire sequence. No lock of its own: the caller keeps
// every operation to one thread at a time.
//
// Where the work happens: Update seeds, spreads and attenuates the heat field
// in one walk. Render only notes that the indices of the current heat and
// background are due, and CopyToSurface makes them row by row on its way to
// the surface, so the full-size index image is neither written nor read. The
// index image is made only when it is asked for (OutputImage), or when the
// background is replaced between a Render and the copies of its indices.
class FireManager {
 public:
  static constexpr int kUnsupportedDepth = kFireErrorManagerDepth;

  // The sequence is not owned and must outlive the manager.
  explicit FireManager(FireSequence& sequence);
  virtual ~FireManager();
  FireManager(const FireManager&) = delete;
  FireManager& operator=(const FireManager&) = delete;

  // 0, or -10 for a depth other than 16, 24 and 32, or the colour table's -8/-9
  // (then nothing is kept). Shows the sequence's current background, palette and
  // style. The source is not owned. Throws std::bad_alloc.
  int Create(const FireParameters& parameters, BackgroundSource& source);
  // Destroys every piece; safe twice. The frame operations then do nothing.
  void Release();

  void Update(std::uint32_t elapsedMs);
  void Render();
  void CopyToSurface(Surface& surface);
  // Time that passed while nobody saw the fire (the saver slept and drew no
  // frame): the timed changes go on by the clock, each list moving on by as
  // many entries as fell due in `elapsedMs`, counting every change as taking
  // no time. The last entry of each is shown at once (a running wipe or fade
  // ends), as nobody was there to watch it come in. The heat field stays.
  void PassUnseen(std::uint32_t elapsedMs);

  // Settings-mode entry points.
  void ShowBackground(const std::string& name);
  void SetBackgroundPeriod(std::uint32_t periodMs);
  void SetPalettePeriod(std::uint32_t periodMs);
  void SetStylePeriod(std::uint32_t periodMs);
  void ShowPalette(const PaletteRecord& palette);
  void ShowStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]);
  void EnableBackgroundChange(bool enable);
  void EnablePaletteChange(bool enable);
  void EnableStyleChange(bool enable);
  // Draws through a table of the caller's (in the screen's format, alive until
  // RestoreColorTable); timed palette changes go on in the colour table unseen.
  void UseColorTable(const std::uint8_t* table);
  void RestoreColorTable();
  // The three changed flags, cleared by the call. All true after construction.
  FireChanges TakeChanges();

  bool IsCreated() const { return flame_ != nullptr; }
  const FireParameters& Parameters() const { return parameters_; }
  // The palette indices of the last Render; width × height, pitch = width.
  // Made when asked for: until the next Render, and as long as Update has not
  // run since, these are the indices CopyToSurface draws.
  const ByteImage& OutputImage() const;
  const ByteImage& BackgroundGrey() const { return grey_; }
  // The heat field; empty before Create.
  const ByteImage& HeatImage() const;
  // The colour table's current entries in the screen's format; null before Create.
  const std::uint8_t* ColorTableData() const;

 protected:
  // Whether Render leaves the indices to CopyToSurface (true) or writes the
  // index image that CopyToSurface then copies, as the scalar reference does.
  virtual bool RendersWhileCopying() const { return true; }

  // The pieces a new fire is made of; the benchmark puts the scalar reference
  // versions in their place. The copier reads its table through `table`.
  virtual std::unique_ptr<FireImageCopyer> MakeCopier(int bitsPerPixel, std::int32_t xOffset, std::int32_t yOffset,
                                                      const std::uint8_t* table);
  virtual std::unique_ptr<Flame> MakeFlame();
  virtual std::unique_ptr<FlameRender> MakeRender();
  virtual std::unique_ptr<InsertBright> MakeHotSpots();

 private:
  void ApplyCurrentStyle();
  // Writes the indices that are due into the index image.
  void FixIndices() const;

  // Field order is the order of construction; Release destroys them in its own order.
  // The index image is filled on demand, also from OutputImage, hence mutable.
  mutable ByteImage output_;
  ByteImage grey_;
  std::unique_ptr<FireImageCopyer> copier_;
  std::unique_ptr<BackgroundManager> backgrounds_;
  FireParameters parameters_;
  std::unique_ptr<Flame> flame_;
  std::unique_ptr<FlameRender> render_;
  std::unique_ptr<InsertBright> hotSpots_;
  std::unique_ptr<ColorTable> colorTable_;
  FireSequence& sequence_;
  bool backgroundChanged_ = true;
  bool paletteChanged_ = true;
  bool styleChanged_ = true;
  // Render has run and its indices are those of the heat field and the grey
  // image as they are now (the index image does not hold them).
  mutable bool indicesDue_ = false;
  // CopyToSurface has drawn the due indices at least once.
  bool indicesDrawn_ = false;
};
