#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "fire/wipe.h"
#include "image/byte_image.h"

class BackgroundSource;
class FireImageCopyer;
class InsertBright;

// Runs the background-change timer and replaces the fire's grey image by the
// next background's with one of four wipes, a 5-pixel strip per frame. The fire
// keeps seeding on the old background's edges until the wipe has ended.
class BackgroundManager {
 public:
  static constexpr std::uint32_t kDefaultPeriodMs = 5000;

  // Neither the source nor the copier is owned; both must outlive the manager.
  BackgroundManager(BackgroundSource& source, FireImageCopyer& copier);
  ~BackgroundManager() { Release(); }
  BackgroundManager(const BackgroundManager&) = delete;
  BackgroundManager& operator=(const BackgroundManager&) = delete;

  // One frame: steps a running wipe, or counts the change timer. True when a
  // change is due; it stays due until a change has started and ended, or until
  // ShowNow or SetChangePeriod.
  bool Tick(std::uint32_t elapsedMs, InsertBright& hotSpots, ByteImage& grey);

  // Loads the name as the target and starts the next wipe; false when the name
  // cannot be loaded (the wipe order has still moved on).
  bool StartChange(const std::string& name);

  // Loads the name straight into the grey image, abandoning any running wipe.
  // A name that cannot be loaded changes nothing.
  void ShowNow(const std::string& name, InsertBright& hotSpots, ByteImage& grey);

  // Time that passed unseen (the saver slept): a running wipe ends with the
  // target wholly in, and the timer counts `elapsedMs` with every change taking
  // no time. Returns how many changes fell due (one still due counts too); the
  // caller shows the last with ShowUnseen.
  std::uint32_t CountUnseen(std::uint32_t elapsedMs, InsertBright& hotSpots, ByteImage& grey);
  // Loads the name straight into the grey image, keeping the timer's count.
  // A name that cannot be loaded leaves a change due, as a failed StartChange does.
  bool ShowUnseen(const std::string& name, InsertBright& hotSpots, ByteImage& grey);

  void SetChangePeriod(std::uint32_t periodMs);
  void EnableChange(bool enable) { changeEnabled_ = enable; }

  // Frees the wipes and the target image; afterwards the manager does nothing. Safe twice.
  void Release();

  bool IsIdle() const { return idle_; }
  bool IsChangeDue() const { return changeDue_; }
  int WipeIndex() const { return wipeIndex_; }

 private:
  FireImageCopyer& copier_;
  BackgroundSource& source_;
  int wipeIndex_ = 0;
  // Left to right, right to left, top to bottom, bottom to top.
  std::array<std::unique_ptr<Wipe>, 4> wipes_;
  Wipe* currentWipe_ = nullptr;
  std::unique_ptr<ByteImage> target_;
  std::uint32_t accumulatorMs_ = 0;
  std::uint32_t periodMs_ = kDefaultPeriodMs;
  bool changeDue_ = false;
  bool idle_ = true;
  bool changeEnabled_ = true;
};
