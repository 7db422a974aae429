#include "fire/background_manager.h"

#include "fire/background_source.h"
#include "fire/fire_image_copyer.h"
#include "fire/insert_bright.h"
#include "fire/unseen_time.h"

BackgroundManager::BackgroundManager(BackgroundSource& source, FireImageCopyer& copier)
    : copier_(copier), source_(source) {
  using enum StripWipe::Direction;
  wipes_[0] = std::make_unique<StripWipe>(kLeftToRight);
  wipes_[1] = std::make_unique<StripWipe>(kRightToLeft);
  wipes_[2] = std::make_unique<StripWipe>(kTopToBottom);
  wipes_[3] = std::make_unique<StripWipe>(kBottomToTop);
}

bool BackgroundManager::Tick(std::uint32_t elapsedMs, InsertBright& hotSpots, ByteImage& grey) {
  if (!idle_) {
    if (currentWipe_ == nullptr || !target_) {
      idle_ = true;
      return false;
    }
    int progress = 0;
    currentWipe_->Step(grey, *target_, progress);
    if (progress > 99) {
      idle_ = true;
      accumulatorMs_ = 0;
      changeDue_ = false;
      // The sparks move to the new background's edges only once it is wholly in.
      // Prepare alone rebuilds the edges in the images it already has: this
      // runs inside a frame, where nothing is freed or allocated.
      hotSpots.Prepare(grey);
    }
    return false;
  }
  if (!changeEnabled_) return false;
  if (changeDue_) return true;
  accumulatorMs_ += elapsedMs;
  if (accumulatorMs_ >= periodMs_) {
    accumulatorMs_ -= periodMs_;  // the excess carries over into the next period
    changeDue_ = true;
    return true;
  }
  return false;
}

bool BackgroundManager::StartChange(const std::string& name) {
  if (wipes_[0] == nullptr) return false;
  if (currentWipe_ != nullptr) currentWipe_->Reset();
  wipeIndex_ = wipeIndex_ + 1 == static_cast<int>(wipes_.size()) ? 0 : wipeIndex_ + 1;
  currentWipe_ = wipes_[static_cast<std::size_t>(wipeIndex_)].get();
  currentWipe_->Reset();

  Surface* surface = source_.Load(name);
  if (surface == nullptr) return false;
  if (!target_) target_ = std::make_unique<ByteImage>();
  if (target_->width != surface->Width() || target_->height != surface->Height()) {
    target_->Create(surface->Width(), surface->Height());
  }
  copier_.ReadSurface(*target_, *surface);
  idle_ = false;
  return true;
}

void BackgroundManager::ShowNow(const std::string& name, InsertBright& hotSpots, ByteImage& grey) {
  Surface* surface = source_.Load(name);
  if (surface == nullptr) return;
  idle_ = true;
  accumulatorMs_ = 0;
  changeDue_ = false;
  copier_.ReadSurface(grey, *surface);
  hotSpots.Release();
  hotSpots.Prepare(grey);
}

std::uint32_t BackgroundManager::CountUnseen(std::uint32_t elapsedMs, InsertBright& hotSpots, ByteImage& grey) {
  if (!idle_) {
    if (currentWipe_ != nullptr && target_) ByteImage::CopyRect(grey, 0, 0, *target_, 0, 0, grey.width, grey.height);
    idle_ = true;
    accumulatorMs_ = 0;
    changeDue_ = false;
    hotSpots.Prepare(grey);
  }
  if (!changeEnabled_) return 0;
  const std::uint32_t due = changeDue_ ? 1 : 0;
  changeDue_ = false;
  return due + CountPeriods(accumulatorMs_, elapsedMs, periodMs_);
}

bool BackgroundManager::ShowUnseen(const std::string& name, InsertBright& hotSpots, ByteImage& grey) {
  Surface* surface = source_.Load(name);
  if (surface == nullptr) {
    changeDue_ = true;
    return false;
  }
  copier_.ReadSurface(grey, *surface);
  hotSpots.Prepare(grey);
  return true;
}

void BackgroundManager::SetChangePeriod(std::uint32_t periodMs) {
  periodMs_ = periodMs;
  accumulatorMs_ = 0;
  changeDue_ = false;
}

void BackgroundManager::Release() {
  currentWipe_ = nullptr;
  for (auto& wipe : wipes_) wipe.reset();
  target_.reset();
  idle_ = true;
}
