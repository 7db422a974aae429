#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "display/cdx_image_win.h"
#include "image/decoded_image.h"
#include "win/display/display_test_support.h"

namespace {
namespace fs = std::filesystem;

fs::path ImageDataDir() {
  std::string root = HEARTHMOOR_SOURCE_DIR;
  if (!root.empty() && root[0] == '/') root = "Z:" + root;
  return fs::path(root) / "tests" / "data" / "image";
}
fs::path GoldenDir() { return ImageDataDir() / "golden"; }

// A binary PPM (P6, 8-bit) as 0xRRGGBB per pixel; width 0 when unreadable.
RgbPixels ReadPpm(const fs::path& file) {
  RgbPixels out;
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  in >> magic >> out.width >> out.height >> maxValue;
  in.get();
  if (!in || magic != "P6" || maxValue != 255) return RgbPixels{};
  for (int i = 0; i < out.width * out.height; ++i) {
    unsigned char rgb[3] = {};
    in.read(reinterpret_cast<char*>(rgb), 3);
    out.rgb.push_back((rgb[0] << 16) | (rgb[1] << 8) | rgb[2]);
  }
  return in ? out : RgbPixels{};
}

class ImageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { display_ = new WindowedScreen(); }
  static void TearDownTestSuite() {
    delete display_;
    display_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(0, display_->createResult()); }
  LPDIRECTDRAW7 dd() { return display_->screen().GetDD(); }
  static WindowedScreen* display_;
  CDXImage image_;
};
WindowedScreen* ImageTest::display_ = nullptr;

// Every sample file the decoders know, drawn through the loader, must land on
// the surface as its reference picture.
TEST_F(ImageTest, SampleFilesLandOnTheSurfaceAsTheirReferencePictures) {
  int checked = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(GoldenDir())) {
    const fs::path reference = entry.path();
    if (reference.extension() != ".ppm") continue;
    const fs::path sample = reference.parent_path() / reference.stem();
    SCOPED_TRACE(sample.filename().string());
    const RgbPixels expected = ReadPpm(reference);
    ASSERT_GT(expected.width, 0);
    LPDIRECTDRAWSURFACE7 surface = image_.GetImage(dd(), sample.string().c_str(), CDXMEM_SYSTEMONLY);
    ASSERT_NE(nullptr, surface);
    const RgbPixels actual = ReadAllRgb(surface);
    surface->Release();
    ASSERT_EQ(expected.width, actual.width);
    ASSERT_EQ(expected.height, actual.height);
    // JPEG is the system's decoder, and 5-bit channels widen by a plain shift
    // where the references replicate bits: both only close to the reference.
    const bool jpeg = sample.extension() == ".jpg";
    const int tolerance = jpeg ? 24 : sample.filename().string().find("_t16") != std::string::npos ? 7 : 0;
    int mismatches = 0;
    for (int y = 0; y < actual.height; ++y) {
      for (int x = 0; x < actual.width; ++x) {
        if (!NearColour(expected.at(x, y), actual.at(x, y), tolerance) && mismatches++ < 3) {
          ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << expected.at(x, y) << " vs "
                        << actual.at(x, y);
        }
      }
    }
    ++checked;
  }
  EXPECT_GE(checked, 20);
}

DecodedImage MakeImage(int width, int height, int bpp, bool topDown) {
  DecodedImage image;
  image.width = width;
  image.height = height;
  image.bitsPerPixel = bpp;
  image.topDown = topDown;
  image.stride = (bpp * width + 31) / 32 * 4;
  image.pixels.assign(static_cast<std::size_t>(image.stride) * height, 0);
  if (bpp == 8) image.colorTable.assign(1024, 0);
  return image;
}

// Paints the stored row `row` (in storage order) pixel 0 with blue/green/red.
void PaintFirstPixelOfStoredRow(DecodedImage& image, int row, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  std::uint8_t* p = image.pixels.data() + static_cast<std::size_t>(row) * image.stride;
  if (image.bitsPerPixel == 8) {
    p[0] = 7;
    image.colorTable[7 * 4 + 0] = b;
    image.colorTable[7 * 4 + 1] = g;
    image.colorTable[7 * 4 + 2] = r;
  } else {
    p[0] = b;
    p[1] = g;
    p[2] = r;
  }
}

TEST_F(ImageTest, DecodedImagesAreDrawnUprightAtEveryDepth) {
  const struct {
    int bpp;
    bool topDown;
    int width;
  } cases[] = {{8, false, 5}, {8, true, 5}, {24, false, 3}, {24, true, 3}, {32, false, 2}, {32, true, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.bpp) + (c.topDown ? " top-down" : " bottom-up"));
    DecodedImage image = MakeImage(c.width, 4, c.bpp, c.topDown);
    // The stored first row is the top row only when the image is top-down.
    PaintFirstPixelOfStoredRow(image, 0, 0x10, 0x80, 0xF0);
    LPDIRECTDRAWSURFACE7 surface = image_.DrawDecoded(dd(), image, CDXMEM_SYSTEMONLY);
    ASSERT_NE(nullptr, surface);
    const RgbPixels pixels = ReadAllRgb(surface);
    surface->Release();
    ASSERT_EQ(c.width, pixels.width);
    const int paintedRow = c.topDown ? 0 : 3;
    EXPECT_EQ(0xF08010u, pixels.at(0, paintedRow));
    EXPECT_EQ(0u, pixels.at(0, 3 - paintedRow));
    EXPECT_EQ(0u, pixels.at(c.width - 1, paintedRow));
  }
}

TEST_F(ImageTest, InconsistentImagesAndUnknownContentGiveNoSurface) {
  DecodedImage wrongDepth = MakeImage(4, 4, 24, false);
  wrongDepth.bitsPerPixel = 16;
  DecodedImage shortBuffer = MakeImage(4, 4, 24, false);
  shortBuffer.pixels.resize(shortBuffer.pixels.size() - 1);
  DecodedImage narrowStride = MakeImage(5, 2, 24, false);
  narrowStride.stride = 12;
  DecodedImage empty = MakeImage(0, 3, 32, false);
  for (const DecodedImage* bad : {&wrongDepth, &shortBuffer, &narrowStride, &empty}) {
    EXPECT_EQ(nullptr, image_.DrawDecoded(dd(), *bad, CDXMEM_SYSTEMONLY));
  }

  const std::vector<std::uint8_t> noise(300, 0x5A);
  EXPECT_EQ(nullptr, image_.GetImageFromMemory(dd(), noise.size(), noise.data(), CDXMEM_SYSTEMONLY));
  const std::vector<std::uint8_t> bmpHeaderOnly = {'B', 'M', 0, 0};
  EXPECT_EQ(nullptr, image_.GetImageFromMemory(dd(), bmpHeaderOnly.size(), bmpHeaderOnly.data(), CDXMEM_SYSTEMONLY));
  const std::vector<std::uint8_t> brokenJpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1};
  EXPECT_EQ(nullptr, image_.GetImageFromMemory(dd(), brokenJpeg.size(), brokenJpeg.data(), CDXMEM_SYSTEMONLY));
  EXPECT_EQ(nullptr, image_.GetImage(dd(), TestDataFile("no_such_file.bmp").string().c_str(), CDXMEM_SYSTEMONLY));
  EXPECT_EQ(nullptr, image_.GetImage(nullptr, TestDataFile("green_6x4.bmp").string().c_str(), CDXMEM_SYSTEMONLY));
}

// Every hostile file: a surface only where the decoders gave a picture or the
// rule let the system try (which may still refuse); never where a decoder found
// the file damaged, and never a crash in the system's loaders.
TEST_F(ImageTest, HostileFilesGiveASurfaceOnlyWhereTheRuleAllows) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(ImageDataDir() / "malformed")) {
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const DecodeResult decoded = DecodeImage(bytes.data(), bytes.size());
    const bool systemMayTry = !decoded && SystemLoaderMayTry(bytes.data(), bytes.size(), decoded.error());
    DecodeError why = DecodeError::kUnreadable;
    LPDIRECTDRAWSURFACE7 surface =
        image_.GetImage(dd(), entry.path().string().c_str(), CDXMEM_SYSTEMONLY, CDXImage::kDetect, &why);
    if (decoded) {
      EXPECT_NE(nullptr, surface);
    } else if (!systemMayTry) {
      EXPECT_EQ(nullptr, surface);
      EXPECT_EQ(decoded.error(), why);
    }
    if (surface != nullptr) surface->Release();
    ++files;
  }
  EXPECT_GT(files, 40);
}
}  // namespace
