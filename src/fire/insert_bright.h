#pragma once
#include <cstdint>

#include "image/byte_image.h"

// Seeds the heat field along the edges of the background: once per background
// it finds the edge pixels of the grey image, and every frame it scatters short
// random sparks along the rows; where a spark lies on an edge the heat rises to
// that edge pixel's brightness. Sparks come from CRuntimeRandom, so the same
// background and size give the same sparks in every run.
class InsertBright {
 public:
  static constexpr std::uint8_t kEdgeThreshold = 5;

  InsertBright() = default;
  virtual ~InsertBright();
  InsertBright(const InsertBright&) = delete;
  InsertBright& operator=(const InsertBright&) = delete;

  // Builds the edge map of `grey` and empties the spark rows. Throws std::bad_alloc.
  void Prepare(const ByteImage& grey);
  // Frees the edge map and the spark rows; safe to call twice.
  void Release();
  // Inserts this frame's sparks into `heat` (its own pitch; at least the
  // prepared size). Does nothing before Prepare.
  void Update(ByteImage& heat);

  const ByteImage& EdgeMap() const { return edges_; }
  const ByteImage& SparkRows() const { return sparks_; }

 protected:
  // heat[i] = max(heat[i], edge[i] & spark[i]) for `count` bytes, a multiple of 8.
  virtual void MergeRow(std::uint8_t* heat, const std::uint8_t* edge, const std::uint8_t* spark, std::int32_t count);

 private:
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  ByteImage edges_;
  ByteImage sparks_;
};
