#pragma once
#include "image/image_decoder.h"

// Windows bitmaps (kBmpDecoder): 1, 4, 8, 16, 24 and 32 bits uncompressed, and
// 8-bit RLE. Bit-field masks, 4-bit runs and OS/2 headers are left to the system.

// Whether everything the system's DIB drawing would read of this file (header,
// masks, colour table, pixel data or the stated run-length data) lies inside
// it, within the limits. Only then may a variant the decoder leaves alone be
// handed to the system.
bool SystemCanDrawBmpWithin(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits);
