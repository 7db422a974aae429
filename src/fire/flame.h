#pragma once
#include <cstdint>
#include <memory>

#include "fire/fire_style.h"
#include "fire/flame_filter.h"
#include "fire/heat_seeder.h"
#include "image/byte_image.h"

// The fire's heat field and its step, plus the timer that says when the style
// should change. The heat image is read and written in place between steps by
// the seeding and the renderer. Not locked: one thread at a time.
class Flame {
 public:
  Flame() = default;
  virtual ~Flame();
  Flame(const Flame&) = delete;
  Flame& operator=(const Flame&) = delete;

  // Sizes the field to `reference` (its data is not read): pitch is the width
  // rounded up to a multiple of 8, both buffers zero-filled, default style.
  // Throws std::bad_alloc.
  virtual bool Create(const ByteImage& reference);
  // Frees everything; safe to call twice.
  virtual void Destroy();
  // One step: spread upward, attenuate by the style. True when the style
  // period has run out (and style change is enabled). False before Create.
  virtual bool Update(std::uint32_t elapsedMs);
  // The same step with the seeding of this frame done on the way: `seeder`
  // seeds each row of the field just before the step first reads it, which
  // leaves the field as seeding everything first and then stepping would.
  bool Update(std::uint32_t elapsedMs, HeatSeeder& seeder);

  // Area 1 first in both arrays; takes effect at the next step. Ignored before Create.
  void SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]);
  void SetStyle(const FireStyle& style) { SetStyle(style.temperatures, style.modes); }
  // Sets the period and restarts the timer.
  void SetStylePeriod(std::uint32_t periodMs);
  // Time that passed unseen (the saver slept): the style timer counts
  // `elapsedMs` by the clock, keeping what is left over. Returns how many style
  // changes fell due in it. The heat field does not move.
  std::uint32_t CountUnseen(std::uint32_t elapsedMs);
  // Stops or resumes the timer without clearing what it has gathered.
  void EnableStyleChange(bool enable);

  ByteImage& HeatImage() { return heat_; }
  const ByteImage& HeatImage() const { return heat_; }

 protected:
  // The filter a new field uses; the scalar reference replaces it in tests.
  virtual std::unique_ptr<FlameFilter> MakeFilter();

 private:
  bool Step(std::uint32_t elapsedMs, HeatSeeder* seeder);

  ByteImage heat_;  // pitch and height describe both buffers
  // The field of the step before: the plain step writes here and swaps the two;
  // the fast one works in place and keeps here only what it will read again.
  std::uint8_t* other_ = nullptr;
  std::unique_ptr<FlameFilter> filter_;
  std::uint32_t styleElapsed_ = 0;
  std::uint32_t stylePeriod_ = 5000;
  bool styleChangeEnabled_ = true;
};
