#pragma once
#include <cstdint>

// A TrueColor pixel keeps each channel in the bits of a mask of any width (5, 6,
// 8, 10 ...); the fire's pictures keep 8 bits a channel. These scale between
// the two, both ways the same, so that a picture read back and drawn again keeps
// its colours.

// The channel under `mask` in `pixel`, scaled to 0..255; 0 for an empty mask.
std::uint8_t ChannelFromMask(unsigned long pixel, unsigned long mask);

// An 8-bit channel scaled, rounded, into the bits of `mask`.
unsigned long ChannelToMask(std::uint8_t value, unsigned long mask);
