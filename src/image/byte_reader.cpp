#include "image/byte_reader.h"

bool ByteReader::Fail() {
  ok_ = false;
  return false;
}

bool ByteReader::Seek(std::uint64_t position) {
  if (!ok_ || position > size_) return Fail();
  position_ = position;
  return true;
}

bool ByteReader::Skip(std::uint64_t count) {
  if (!ok_ || count > Remaining()) return Fail();
  position_ += count;
  return true;
}

const std::uint8_t* ByteReader::Bytes(std::uint64_t count) {
  if (!ok_ || count > Remaining()) {
    Fail();
    return nullptr;
  }
  const std::uint8_t* bytes = data_ + position_;
  position_ += count;
  return bytes;
}

std::uint8_t ByteReader::U8() {
  const std::uint8_t* b = Bytes(1);
  return b != nullptr ? b[0] : 0;
}

std::uint16_t ByteReader::U16Le() {
  const std::uint8_t* b = Bytes(2);
  return b != nullptr ? static_cast<std::uint16_t>(b[0] | b[1] << 8) : 0;
}

std::uint16_t ByteReader::U16Be() {
  const std::uint8_t* b = Bytes(2);
  return b != nullptr ? static_cast<std::uint16_t>(b[0] << 8 | b[1]) : 0;
}

std::uint32_t ByteReader::U32Le() {
  const std::uint8_t* b = Bytes(4);
  return b != nullptr ? static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                            static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24
                      : 0;
}

std::uint32_t ByteReader::U32Be() {
  const std::uint8_t* b = Bytes(4);
  return b != nullptr ? static_cast<std::uint32_t>(b[0]) << 24 | static_cast<std::uint32_t>(b[1]) << 16 |
                            static_cast<std::uint32_t>(b[2]) << 8 | static_cast<std::uint32_t>(b[3])
                      : 0;
}
