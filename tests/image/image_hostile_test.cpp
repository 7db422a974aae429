#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "image/decoded_image.h"
#include "image_test_files.h"

namespace {

namespace fs = std::filesystem;

constexpr ImageFormat kAllFormats[] = {ImageFormat::kUnknown, ImageFormat::kBmp, ImageFormat::kPsd,
                                       ImageFormat::kTga,     ImageFormat::kPcx, ImageFormat::kJpeg};

// A picture or nothing, never a sanitizer report or an image that lies about its buffer.
void ExpectPictureOrNothing(const std::vector<std::uint8_t>& bytes, const DecodeLimits& limits,
                            const std::string& what) {
  for (ImageFormat format : kAllFormats) {
    const DecodeResult image = DecodeImage(bytes.data(), bytes.size(), format, limits);
    if (image) {
      ASSERT_TRUE(IsConsistent(*image)) << what << " as format " << static_cast<int>(format);
    }
  }
}

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<fs::path> GoldenSamples() {
  std::vector<fs::path> samples;
  for (const fs::path& file : FilesIn(DisplayDataDir() / "golden")) {
    const std::string ext = file.extension().string();
    if (ext != ".ppm" && ext != ".pgm") samples.push_back(file);
  }
  return samples;
}

TEST(HostileFilesTest, FuzzCorporaReplayCleanly) {
  // The fuzz targets' own budget, so that replaying costs what fuzzing did.
  DecodeLimits limits;
  limits.maxPixelBytes = 1u << 20;
  const std::vector<fs::path> files = FilesIn(fs::path(HEARTHMOOR_SOURCE_DIR) / "fuzz" / "corpus");
  ASSERT_FALSE(files.empty());
  for (const fs::path& file : files) ExpectPictureOrNothing(ReadBytes(file), limits, file.string());
}

TEST(HostileFilesTest, EveryPrefixAndHeaderByteChangeOfEverySample) {
  DecodeLimits limits;
  limits.maxPixelBytes = 1u << 20;
  for (const fs::path& file : GoldenSamples()) {
    const std::vector<std::uint8_t> bytes = ReadBytes(file);
    ASSERT_FALSE(bytes.empty());
    for (std::size_t length = 1; length < bytes.size(); ++length) {
      const std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
      const DecodeResult image = DecodeImage(prefix.data(), prefix.size(), ImageFormat::kUnknown, limits);
      if (image) {
        ASSERT_TRUE(IsConsistent(*image)) << file << " cut to " << length;
      }
    }
    // Headers and colour tables sit in the first bytes; the TGA footer in the last.
    const std::size_t head = std::min<std::size_t>(bytes.size(), 160);
    for (std::size_t at = 0; at < bytes.size(); at = at + 1 == head ? std::max(head, bytes.size() - 26) : at + 1) {
      for (int change : {0x00, 0xFF, 0x80, 0x7F, 0x01}) {
        std::vector<std::uint8_t> changed = bytes;
        changed[at] = change == 0x80 ? static_cast<std::uint8_t>(bytes[at] ^ 0x80) : static_cast<std::uint8_t>(change);
        const DecodeResult image = DecodeImage(changed.data(), changed.size(), ImageFormat::kUnknown, limits);
        if (image) {
          ASSERT_TRUE(IsConsistent(*image)) << file << " byte " << at << " = " << change;
        }
      }
    }
  }
}

// Each file's outcome: a picture, or the kind of reason there is none.
constexpr std::optional<DecodeError> kPicture;
using enum DecodeError;

struct Malformed {
  const char* file;
  std::optional<DecodeError> refused;
};

const Malformed kHostileFiles[] = {
    {"bmp_dims_overflow_32bit.bmp", kTooLarge},
    {"bmp_height_int_min.bmp", kTooLarge},
    {"bmp_header_only_claims_gigabytes.bmp", kTruncated},
    {"bmp_stride_overflow_32bit.bmp", kTooLarge},
    {"tga_header_only_claims_gigabytes.tga", kTruncated},
    {"tga_no_pixel_type_claims_gigabytes.tga", kTooLarge},
    {"pcx_header_only_claims_gigabytes.pcx", kTruncated},
    {"psd_dims_overflow_32bit.psd", kTooLarge},
    {"psd_header_only_claims_gigabytes.psd", kTruncated},
    {"psd_row_table_past_end.psd", kTruncated},
    {"bmp_rle_run_past_row.bmp", kPicture},
    {"bmp_rle_run_past_image.bmp", kTruncated},
    {"bmp_rle_literal_past_row.bmp", kPicture},
    {"bmp_rle_literal_past_file.bmp", kTruncated},
    {"bmp_rle_delta_past_image.bmp", kPicture},
    {"bmp_rle_delta_past_row.bmp", kPicture},
    {"bmp_rle_eol_past_image.bmp", kPicture},
    {"bmp_rle_truncated.bmp", kTruncated},
    {"bmp_rle4_unsupported.bmp", kUnsupported},
    {"bmp_colors_used_huge.bmp", kPicture},
    {"bmp_data_offset_past_end.bmp", kTruncated},
    {"bmp_header_size_huge.bmp", kTruncated},
    {"tga_rle_run_past_image.tga", kPicture},
    {"tga_rle_raw_packet_past_image.tga", kPicture},
    {"tga_rle_truncated.tga", kNotAPicture},  // its footer went with its end
    {"tga_map_first_plus_length_past_256.tga", kPicture},
    {"tga_map_first_past_256.tga", kPicture},
    {"tga_index_past_map.tga", kPicture},
    {"tga_map_past_end.tga", kTruncated},
    {"tga_map_entry_size_odd.tga", kMalformed},
    {"tga_depth_15.tga", kNotAPicture},
    {"pcx_bytes_per_line_below_width.pcx", kMalformed},
    {"pcx_run_past_line.pcx", kMalformed},
    {"pcx_inverted_extent.pcx", kMalformed},
    {"pcx_truncated_line.pcx", kTruncated},
    {"pcx_4_bits_unsupported.pcx", kUnsupported},
    {"pcx_palette_marker_in_header.pcx", kPicture},
    {"psd_colour_section_ffffffff.psd", kTruncated},
    {"psd_resources_ffffffff.psd", kTruncated},
    {"psd_layers_ffffffff.psd", kTruncated},
    {"psd_packbits_past_plane.psd", kMalformed},
    {"psd_packbits_truncated.psd", kTruncated},
    {"psd_channels_25.psd", kMalformed},
    {"psd_raw_truncated.psd", kTruncated},
    {"jpeg_frame_claims_gigabytes.jpg", kTooLarge},
};

class MalformedTest : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedTest, GivesTheSafeOutcome) {
  const fs::path file = DisplayDataDir() / "malformed" / GetParam().file;
  const std::vector<std::uint8_t> bytes = ReadBytes(file);
  ASSERT_FALSE(bytes.empty()) << file;
  ExpectPictureOrNothing(bytes, DecodeLimits{}, file.string());
  const DecodeResult image = DecodeImageFile(file.string());
  ASSERT_EQ(image.has_value(), !GetParam().refused.has_value());
  if (!image) {
    EXPECT_EQ(image.error(), *GetParam().refused);
  }
}

// A file cut in half is refused as cut short (or, shorter than its format's
// header, as no picture at all), or still gives what it holds: a reader that
// runs dry must not be taken for a damaged value.
TEST(MalformedTest, HalfFilesAreCutShortNotDamaged) {
  int refused = 0;
  for (const fs::path& file : FilesIn(DisplayDataDir() / "malformed")) {
    const std::string name = file.filename().string();
    if (name.rfind("truncated_half_", 0) != 0) continue;
    const DecodeResult image = DecodeImageFile(file.string());
    if (image) continue;
    ++refused;
    // Where JPEG scans are the system's to read (Windows), a file whose headers
    // are whole is left to it.
    const bool leftToSystem = name.find("jpeg") != std::string::npos && image.error() == DecodeError::kUnsupported;
    EXPECT_TRUE(image.error() == DecodeError::kTruncated || image.error() == DecodeError::kNotAPicture || leftToSystem)
        << name << " refused as " << static_cast<int>(image.error());
  }
  EXPECT_GE(refused, 10);
}

INSTANTIATE_TEST_SUITE_P(Files, MalformedTest, ::testing::ValuesIn(kHostileFiles), [](const auto& info) {
  std::string name = info.param.file;
  std::replace(name.begin(), name.end(), '.', '_');
  return name;
});

TEST(MalformedTest, EveryFileReplaysCleanly) {
  for (const fs::path& file : FilesIn(DisplayDataDir() / "malformed")) {
    ExpectPictureOrNothing(ReadBytes(file), DecodeLimits{}, file.string());
  }
}

// What the cut packets leave behind: nothing spills into the neighbouring row,
// and indices with no colour-map entry show black.
TEST(MalformedTest, CutPacketsStayInTheirRow) {
  struct Case {
    const char* file;
    std::vector<std::uint8_t> indices;  // stored order, width per row
  };
  const Case cases[] = {
      {"bmp_rle_run_past_row.bmp", {7, 7, 7, 7, 9, 9, 9, 0}},
      {"bmp_rle_literal_past_row.bmp", {1, 2, 0, 0}},
      {"bmp_rle_delta_past_row.bmp", {0, 0, 0, 0, 1, 1, 1, 1}},
      {"bmp_rle_delta_past_image.bmp", {0, 0, 0, 0, 0, 0, 0, 0}},
      {"tga_index_past_map.tga", {250, 255}},
  };
  for (const Case& c : cases) {
    const DecodeResult image = DecodeImageFile((DisplayDataDir() / "malformed" / c.file).string());
    ASSERT_TRUE(image.has_value()) << c.file;
    ASSERT_EQ(image->bitsPerPixel, 8);
    std::vector<std::uint8_t> got;
    for (int y = 0; y < image->height; ++y) {
      for (int x = 0; x < image->width; ++x)
        got.push_back(image->pixels[static_cast<std::size_t>(y) * image->stride + x]);
    }
    EXPECT_EQ(got, c.indices) << c.file;
  }
  const DecodeResult mapped = DecodeImageFile((DisplayDataDir() / "malformed" / "tga_index_past_map.tga").string());
  ASSERT_TRUE(mapped.has_value());
  std::uint8_t bgr[3] = {1, 1, 1};
  mapped->PixelBgr(0, 0, bgr);
  EXPECT_EQ(bgr[0] + bgr[1] + bgr[2], 0);
}

}  // namespace
