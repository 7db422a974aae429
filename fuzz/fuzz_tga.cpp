#include "fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzDecode(data, size, ImageFormat::kTga);
  return 0;
}
