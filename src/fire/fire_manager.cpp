#include "fire/fire_manager.h"

#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "fire/background_manager.h"
#include "fire/color_table.h"
#include "fire/depth_image_copyer.h"
#include "fire/fire_sequence.h"
#include "fire/flame.h"
#include "fire/flame_render.h"
#include "fire/insert_bright.h"
#include "fire/unseen_time.h"

FireManager::FireManager(FireSequence& sequence) : sequence_(sequence) {}

FireManager::~FireManager() { Release(); }

std::unique_ptr<FireImageCopyer> FireManager::MakeCopier(int bitsPerPixel, std::int32_t xOffset, std::int32_t yOffset,
                                                         const std::uint8_t* table) {
  switch (bitsPerPixel) {
    case 16:
      return std::make_unique<FireImageCopyer16>(table, xOffset, yOffset);
    case 24:
      return std::make_unique<FireImageCopyer24>(table, xOffset, yOffset);
    default:
      return std::make_unique<FireImageCopyer32>(table, xOffset, yOffset);
  }
}

std::unique_ptr<Flame> FireManager::MakeFlame() { return std::make_unique<Flame>(); }

std::unique_ptr<FlameRender> FireManager::MakeRender() { return std::make_unique<FlameRender>(); }

std::unique_ptr<InsertBright> FireManager::MakeHotSpots() { return std::make_unique<InsertBright>(); }

int FireManager::Create(const FireParameters& parameters, BackgroundSource& source) {
  TraceLog().Log("FireManager::Create x = %d, y = %d, bpp = %d, w = %d, h = %d", parameters.xOffset, parameters.yOffset,
                 parameters.bitsPerPixel, parameters.width, parameters.height);
  if (parameters.bitsPerPixel != 16 && parameters.bitsPerPixel != 24 && parameters.bitsPerPixel != 32) {
    return kUnsupportedDepth;
  }
  // A second Create starts from nothing rather than leaking the first fire.
  Release();
  parameters_ = parameters;

  colorTable_ = std::make_unique<ColorTable>();
  const int code = colorTable_->Create(parameters.bitsPerPixel);
  if (code != 0) {
    TraceLog().Log("colorTable::create false");
    Release();
    return code;
  }
  copier_ = MakeCopier(parameters.bitsPerPixel, parameters.xOffset, parameters.yOffset, colorTable_->Table());
  backgrounds_ = std::make_unique<BackgroundManager>(source, *copier_);
  output_.Create(parameters.width, parameters.height);
  grey_.Create(parameters.width, parameters.height);
  flame_ = MakeFlame();
  flame_->Create(grey_);
  render_ = MakeRender();
  hotSpots_ = MakeHotSpots();
  hotSpots_->Prepare(grey_);

  backgrounds_->ShowNow(sequence_.CurrentBackground(), *hotSpots_, grey_);
  colorTable_->Apply(sequence_.CurrentPalette());
  copier_->SetTable(colorTable_->Table());
  ApplyCurrentStyle();

  TraceLog().Log("FireManager::Create success");
  return 0;
}

void FireManager::Release() {
  indicesDue_ = false;
  indicesDrawn_ = false;
  output_.Release();
  copier_.reset();
  colorTable_.reset();
  flame_.reset();
  render_.reset();
  hotSpots_.reset();
  grey_.Release();
  backgrounds_.reset();
}

void FireManager::ApplyCurrentStyle() { flame_->SetStyle(sequence_.CurrentStyle()); }

void FireManager::Update(std::uint32_t elapsedMs) {
  PerformanceScope scope("FireManager::Update()");
  if (!IsCreated()) return;
  // Indices rendered but never drawn are kept before the field moves on. Once
  // drawn they are not: the frame order never copies again without a Render.
  if (indicesDue_ && !indicesDrawn_) FixIndices();
  if (backgrounds_->Tick(elapsedMs, *hotSpots_, grey_)) {
    // A name that cannot be loaded leaves the change due: the next frame moves
    // on to the entry after it.
    if (backgrounds_->StartChange(sequence_.NextBackground())) backgroundChanged_ = true;
  }
  if (colorTable_->Tick(elapsedMs)) {
    // The copier keeps the table's address; the change rewrites it in place.
    colorTable_->ChangeTo(sequence_.NextPalette());
    paletteChanged_ = true;
  }
  if (flame_->Update(elapsedMs, *hotSpots_)) {
    sequence_.NextStyle();
    ApplyCurrentStyle();
    styleChanged_ = true;
  }
}

void FireManager::PassUnseen(std::uint32_t elapsedMs) {
  if (!IsCreated()) return;
  if (indicesDue_ && !indicesDrawn_) FixIndices();
  if (const std::uint32_t due = backgrounds_->CountUnseen(elapsedMs, *hotSpots_, grey_); due > 0) {
    MoveOn(
        due, [this] { sequence_.NextBackground(); }, [this] { return sequence_.GetBackgroundIndex(); });
    if (backgrounds_->ShowUnseen(sequence_.CurrentBackground(), *hotSpots_, grey_)) backgroundChanged_ = true;
  }
  if (const std::uint32_t due = colorTable_->CountUnseen(elapsedMs); due > 0) {
    MoveOn(
        due, [this] { sequence_.NextPalette(); }, [this] { return sequence_.GetPaletteIndex(); });
    colorTable_->ShowUnseen(sequence_.CurrentPalette());
    paletteChanged_ = true;
  }
  if (const std::uint32_t due = flame_->CountUnseen(elapsedMs); due > 0) {
    MoveOn(
        due, [this] { sequence_.NextStyle(); }, [this] { return sequence_.GetStyleIndex(); });
    ApplyCurrentStyle();
    styleChanged_ = true;
  }
}

void FireManager::Render() {
  PerformanceScope scope("FireManager::Render()");
  if (!IsCreated()) return;
  if (RendersWhileCopying()) {
    indicesDue_ = true;
    indicesDrawn_ = false;
    return;
  }
  render_->Rander(flame_->HeatImage(), grey_, output_);
}

void FireManager::CopyToSurface(Surface& surface) {
  PerformanceScope scope("FireManager::CopyToSurface()");
  if (!IsCreated()) return;
  if (indicesDue_) {
    copier_->RenderToSurface(flame_->HeatImage(), grey_, surface);
    indicesDrawn_ = true;
  } else {
    copier_->CopyImageToSurface(output_, surface);
  }
}

void FireManager::FixIndices() const {
  if (!indicesDue_) return;
  render_->Rander(flame_->HeatImage(), grey_, output_);
  indicesDue_ = false;
}

const ByteImage& FireManager::OutputImage() const {
  FixIndices();
  return output_;
}

void FireManager::ShowBackground(const std::string& name) {
  if (!IsCreated()) return;
  // The indices of the last Render stay what a later copy draws.
  FixIndices();
  backgrounds_->ShowNow(name, *hotSpots_, grey_);
}

void FireManager::SetBackgroundPeriod(std::uint32_t periodMs) {
  if (IsCreated()) backgrounds_->SetChangePeriod(periodMs);
}

void FireManager::SetPalettePeriod(std::uint32_t periodMs) {
  if (IsCreated()) colorTable_->SetChangePeriod(periodMs);
}

void FireManager::SetStylePeriod(std::uint32_t periodMs) {
  if (IsCreated()) flame_->SetStylePeriod(periodMs);
}

void FireManager::ShowPalette(const PaletteRecord& palette) {
  if (!IsCreated()) return;
  colorTable_->Apply(palette);
  copier_->SetTable(colorTable_->Table());
}

void FireManager::ShowStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) {
  if (IsCreated()) flame_->SetStyle(temperatures, modes);
}

void FireManager::EnableBackgroundChange(bool enable) {
  if (IsCreated()) backgrounds_->EnableChange(enable);
}

void FireManager::EnablePaletteChange(bool enable) {
  if (IsCreated()) colorTable_->EnableChange(enable);
}

void FireManager::EnableStyleChange(bool enable) {
  if (IsCreated()) flame_->EnableStyleChange(enable);
}

void FireManager::UseColorTable(const std::uint8_t* table) {
  if (IsCreated() && table != nullptr) copier_->SetTable(table);
}

void FireManager::RestoreColorTable() {
  if (IsCreated()) copier_->SetTable(colorTable_->Table());
}

const ByteImage& FireManager::HeatImage() const {
  static const ByteImage kNone;
  return flame_ ? flame_->HeatImage() : kNone;
}

const std::uint8_t* FireManager::ColorTableData() const { return colorTable_ ? colorTable_->Table() : nullptr; }

FireChanges FireManager::TakeChanges() {
  const FireChanges changes{backgroundChanged_, paletteChanged_, styleChanged_};
  backgroundChanged_ = paletteChanged_ = styleChanged_ = false;
  return changes;
}
