#pragma once
#include "image/image_decoder.h"

// JPEG files with a JFIF or Exif marker (kJpegDecoder). The native build decodes
// them into B,G,R; the Windows build draws JPEG through the system's picture
// loader instead, so its DecodeJpeg only checks the headers and answers
// kUnsupported for a file the system may be given.
DecodeResult DecodeJpeg(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits);

// Walks the markers up to the first scan: nothing when they lie inside the data
// and the frame's size is within the limits, else why not.
std::optional<DecodeError> CheckJpegHeaders(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits);
