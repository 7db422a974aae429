#pragma once
#include "fire/insert_bright.h"

// InsertBright with the spark merge written one byte at a time: the reference
// the SIMD merge is checked against.
class ScalarInsertBright : public InsertBright {
 protected:
  void MergeRow(std::uint8_t* heat, const std::uint8_t* edge, const std::uint8_t* spark, std::int32_t count) override;
};
