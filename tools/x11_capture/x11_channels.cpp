#include "x11_channels.h"

namespace {

int LowestBit(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

}  // namespace

std::uint8_t ChannelFromMask(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = LowestBit(mask);
  const unsigned long max = mask >> shift;
  return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / max);
}

unsigned long ChannelToMask(std::uint8_t value, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = LowestBit(mask);
  const unsigned long max = mask >> shift;
  return ((value * max + 127) / 255) << shift;
}
