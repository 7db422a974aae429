#pragma once
#include <cstdint>
#include <vector>

#include "fire/heat_seeder.h"
#include "image/byte_image.h"

// Seeds the heat field along the edges of the background: once per background
// it finds the edge pixels of the grey image, and every frame it scatters short
// random sparks along the rows; where a spark lies on an edge the heat rises to
// that edge pixel's brightness. Sparks come from CRuntimeRandom, so the same
// background and size give the same sparks in every run.
//
// Rows are seeded in increasing order, either all at once (Update) or row by
// row as the heat step asks for them (HeatSeeder); the draws are the same.
class InsertBright : public HeatSeeder {
 public:
  static constexpr std::uint8_t kEdgeThreshold = 5;

  // `useAvx2` false keeps the spark merge to SSE2 even where AVX2 is present
  // (tests of that path).
  explicit InsertBright(bool useAvx2 = true);
  ~InsertBright() override;
  InsertBright(const InsertBright&) = delete;
  InsertBright& operator=(const InsertBright&) = delete;

  // Builds the edge map of `grey` and empties the spark rows. Throws std::bad_alloc.
  void Prepare(const ByteImage& grey);
  // Frees the edge map and the spark rows; safe to call twice.
  void Release();
  // Inserts this frame's sparks into `heat` (its own pitch; at least the
  // prepared size). Does nothing before Prepare.
  void Update(ByteImage& heat);

  void BeginSeeding() override;
  void SeedRowsBefore(ByteImage& heat, std::int32_t endRow) override;

  const ByteImage& EdgeMap() const { return edges_; }
  const ByteImage& SparkRows() const { return sparks_; }

 protected:
  // heat[i] = max(heat[i], edge[i] & spark[i]) for `count` bytes, a multiple of
  // 8; `lit` holds edge & spark already.
  virtual void MergeRow(std::uint8_t* heat, const std::uint8_t* edge, const std::uint8_t* spark,
                        const std::uint8_t* lit, std::int32_t count);

 private:
  void SeedRow(ByteImage& heat, std::int32_t y);

  bool useAvx2_;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int32_t mergeCount_ = 0;  // columns merged this frame, from column 1
  std::int32_t nextRow_ = 0;     // the next row to seed this frame
  ByteImage edges_;
  ByteImage sparks_;
  // edge & spark, kept up to date as spark rows are renewed, so that merging a
  // row reads one image instead of two.
  ByteImage lit_;
  std::vector<int> draws_;  // one row's spark positions as drawn
};
