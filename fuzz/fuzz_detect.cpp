#include "fuzz_decode.h"

// Detection, then whichever decoder it picks, as a file of unknown kind is loaded.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ImageFormat format = DetectImageFormat(data, size);
  if (format < ImageFormat::kUnknown || format > ImageFormat::kJpeg) std::abort();
  FuzzDecode(data, size, ImageFormat::kUnknown);
  return 0;
}
