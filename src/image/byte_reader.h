#pragma once
#include <cstddef>
#include <cstdint>

// The only way the decoders touch file bytes. Every read is checked against the
// end of the input; a read that does not fit fails, leaves the position where it
// was and makes the reader fail for good, so a decoder can read a whole header and
// check once. Positions and lengths are 64-bit so that no file value can wrap them.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint64_t Size() const { return size_; }
  std::uint64_t Position() const { return position_; }
  std::uint64_t Remaining() const { return size_ - position_; }
  bool Ok() const { return ok_; }

  bool Seek(std::uint64_t position);
  bool Skip(std::uint64_t count);

  std::uint8_t U8();
  std::uint16_t U16Le();
  std::uint16_t U16Be();
  std::uint32_t U32Le();
  std::uint32_t U32Be();

  // The next `count` bytes, or null (and failed) when fewer remain.
  const std::uint8_t* Bytes(std::uint64_t count);

 private:
  bool Fail();

  const std::uint8_t* data_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
  bool ok_ = true;
};
