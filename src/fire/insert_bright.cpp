#include "fire/insert_bright.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

#include "diagnostics/performance_monitor.h"
#include "fire/avx2_flame_step.h"
#include "fire/c_runtime_random.h"

namespace {

// A spark: six hot bytes and two cold ones. A later spark overwrites an
// earlier one, its cold bytes included.
constexpr std::uint8_t kSpark[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};

}  // namespace

InsertBright::InsertBright(bool useAvx2) : useAvx2_(useAvx2 && Avx2Available()) {}

InsertBright::~InsertBright() { Release(); }

void InsertBright::Prepare(const ByteImage& grey) {
  if (edges_.data != nullptr &&
      (edges_.width != grey.width || edges_.height != grey.height || edges_.pitch != grey.width)) {
    Release();
  }
  if (edges_.data == nullptr) edges_.Create(grey.width, grey.height);
  if (sparks_.data == nullptr) sparks_.Create(grey.width, grey.height);
  if (lit_.data == nullptr) lit_.Create(grey.width, grey.height);
  const std::size_t size = static_cast<std::size_t>(edges_.pitch) * static_cast<std::size_t>(edges_.height);
  std::memset(edges_.data, 0, size);
  std::memset(sparks_.data, 0, size);
  std::memset(lit_.data, 0, size);
  width_ = grey.width;
  height_ = grey.height;
  nextRow_ = height_;
  draws_.resize(static_cast<std::size_t>(std::max(width_ / 32, 0)));

  // An edge pixel is brighter than its right or its lower neighbour by more
  // than the threshold; a darker pixel next to a bright one is not an edge.
  for (std::int32_t y = 0; y <= height_ - 3; ++y) {
    const std::uint8_t* row = grey.Row(y);
    const std::uint8_t* below = grey.Row(y + 1);
    std::uint8_t* edge = edges_.Row(y);
    for (std::int32_t x = 1; x <= width_ - 2; ++x) {
      const int c = row[x];
      if (c - row[x + 1] > kEdgeThreshold || c - below[x] > kEdgeThreshold) edge[x] = static_cast<std::uint8_t>(c);
    }
  }
}

void InsertBright::Release() {
  edges_.Release();
  sparks_.Release();
  lit_.Release();
  draws_ = {};
  width_ = 0;
  height_ = 0;
  nextRow_ = 0;
}

void InsertBright::Update(ByteImage& heat) {
  PerformanceScope scope("InsertBright::Update()");
  BeginSeeding();
  SeedRowsBefore(heat, heat.height);
}

void InsertBright::BeginSeeding() { nextRow_ = 1; }

void InsertBright::SeedRowsBefore(ByteImage& heat, std::int32_t endRow) {
  if (height_ <= 2 || edges_.data == nullptr || heat.data == nullptr) return;
  if (nextRow_ == 1) {
    mergeCount_ = width_ >= 8 ? 8 * ((width_ - 8) / 8) : 0;
    // A heat field smaller than the prepared image is merged only where it
    // exists; the draws stay the same so the sequence does not shift.
    while (mergeCount_ > 0 && mergeCount_ + 1 > heat.width) mergeCount_ -= 8;
  }
  // Every row is drawn for, even past the end of a smaller heat field.
  const std::int32_t end = endRow >= heat.height ? height_ - 1 : std::min(endRow, height_ - 1);
  for (; nextRow_ < end; ++nextRow_) SeedRow(heat, nextRow_);
}

void InsertBright::SeedRow(ByteImage& heat, std::int32_t y) {
  std::uint8_t* spark = sparks_.Row(y);
  if (CRuntimeRandom::Next() % 4 == 1) {
    if (width_ > 1) std::memset(spark + 1, 0, static_cast<std::size_t>(width_ - 1));
    const std::int32_t sparksPerRow = width_ / 32;
    CRuntimeRandom::Next(draws_.data(), sparksPerRow);
    for (std::int32_t i = 0; i < sparksPerRow; ++i) {
      const std::int32_t offset = draws_[static_cast<std::size_t>(i)] % (width_ - 8);
      std::memcpy(spark + offset + 1, kSpark, sizeof kSpark);
    }
    const std::uint8_t* edge = edges_.Row(y);
    std::uint8_t* lit = lit_.Row(y);
    std::int32_t x = 0;
    for (; x + 16 <= width_; x += 16) {
      const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i*>(edge + x));
      const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(spark + x));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(lit + x), _mm_and_si128(e, s));
    }
    for (; x < width_; ++x) lit[x] = static_cast<std::uint8_t>(edge[x] & spark[x]);
  }
  if (mergeCount_ > 0 && y < heat.height) {
    MergeRow(heat.Row(y) + 1, edges_.Row(y) + 1, spark + 1, lit_.Row(y) + 1, mergeCount_);
  }
}

void InsertBright::MergeRow(std::uint8_t* heat, const std::uint8_t* /*edge*/, const std::uint8_t* /*spark*/,
                            const std::uint8_t* lit, std::int32_t count) {
  if (useAvx2_) {
    Avx2MergeBrighter(heat, lit, count);
    return;
  }
  std::int32_t i = 0;
  for (; i + 16 <= count; i += 16) {
    __m128i* target = reinterpret_cast<__m128i*>(heat + i);
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lit + i));
    _mm_storeu_si128(target, _mm_max_epu8(_mm_loadu_si128(target), v));
  }
  for (; i + 8 <= count; i += 8) {
    __m128i* target = reinterpret_cast<__m128i*>(heat + i);
    const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(lit + i));
    _mm_storel_epi64(target, _mm_max_epu8(_mm_loadl_epi64(target), v));
  }
}
