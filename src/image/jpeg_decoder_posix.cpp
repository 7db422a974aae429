#include <csetjmp>
#include <cstdio>

#include "image/jpeg_decoder.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// After jpeglib.h, which it builds on.
#include <jerror.h>

namespace {

// A real progressive file has a few dozen scans; thousands of tiny ones are a way
// to make the decoder spin.
constexpr int kMaxScans = 500;
constexpr long kMaxWarnings = 100;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool ranDry;  // the data ended early; libjpeg then feeds an end marker
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1); }

// Damaged data is reported as warnings and decoding goes on, which is what a
// truncated photo needs; a file that does little else is given up.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<ErrorManager*>(cinfo->err)->ranDry = true;
  if (level < 0 && ++cinfo->err->num_warnings > kMaxWarnings) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

void ProgressMonitor(j_common_ptr cinfo) {
  if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    ErrorExit(cinfo);
  }
}

// No object with a destructor may live in this frame: an error leaves it by longjmp.
bool Decompress(jpeg_decompress_struct* cinfo, ErrorManager* err, jpeg_progress_mgr* progress, const std::uint8_t* data,
                std::size_t size, const DecodeLimits& limits, DecodedImage* image, DecodeError* why) {
  cinfo->err = jpeg_std_error(&err->base);
  err->base.error_exit = ErrorExit;
  err->base.emit_message = EmitMessage;
  err->base.output_message = OutputMessage;
  if (setjmp(err->jump) != 0) {
    // Whatever fails after the data ran dry failed for want of it.
    if (err->ranDry || err->base.msg_code == JERR_INPUT_EOF) {
      *why = DecodeError::kTruncated;
    } else if (err->base.msg_code == JERR_IMAGE_TOO_BIG || err->base.msg_code == JERR_OUT_OF_MEMORY) {
      *why = DecodeError::kTooLarge;
    } else {
      *why = DecodeError::kMalformed;
    }
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  jpeg_create_decompress(cinfo);
  progress->progress_monitor = ProgressMonitor;
  cinfo->progress = progress;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
    *why = DecodeError::kTruncated;
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  const std::uint64_t width = cinfo->image_width;
  const std::uint64_t height = cinfo->image_height;
  // A progressive file holds every coefficient of the picture at once, two bytes
  // per sample of each component: bound that as the output buffer is bounded.
  const std::uint64_t coefficients = width * height * static_cast<std::uint64_t>(cinfo->num_components) * 2;
  cinfo->out_color_space = JCS_EXT_BGR;
  cinfo->mem->max_memory_to_use = static_cast<long>(limits.maxPixelBytes * 2);
  std::optional<DecodeError> refused;
  if (coefficients > limits.maxPixelBytes * 2) {
    refused = DecodeError::kTooLarge;
  } else {
    refused =
        AllocateImage(*image, static_cast<std::int64_t>(width), static_cast<std::int64_t>(height), 24, true, limits);
  }
  if (refused) {
    *why = *refused;
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  jpeg_start_decompress(cinfo);
  if (cinfo->output_width != width || cinfo->output_height != height || cinfo->output_components != 3) {
    *why = DecodeError::kUnsupported;
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW row = image->pixels.data() + static_cast<std::size_t>(cinfo->output_scanline) * image->stride;
    jpeg_read_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
  return true;
}

}  // namespace

DecodeResult DecodeJpeg(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  jpeg_progress_mgr progress{};
  DecodedImage image;
  DecodeError why = DecodeError::kMalformed;
  if (!Decompress(&cinfo, &err, &progress, data, size, limits, &image, &why)) return why;
  return image;
}
