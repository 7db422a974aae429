#pragma once
#include "fire/insert_bright.h"

// InsertBright with the spark merge written one byte at a time from the edge
// map and the spark rows themselves: the reference the SIMD merge is checked against.
class ScalarInsertBright : public InsertBright {
 protected:
  void MergeRow(std::uint8_t* heat, const std::uint8_t* edge, const std::uint8_t* spark, const std::uint8_t* lit,
                std::int32_t count) override;
};
