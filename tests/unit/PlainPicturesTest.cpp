// The game's pictures as every host gets them, without a toolkit: decoded
// from the PNG files built into the binary and checked against hand-worked
// pixels, and the built-in files checked against those in assets/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "assets/DecodePng.h"
#include "assets/EmbeddedPngs.h"
#include "assets/PictureFiles.h"
#include "assets/Pictures.h"

namespace pellmora {

namespace {

using pellmora::DecodePng;
using pellmora::Picture;
namespace pictures = pellmora::pictures;

std::uint32_t Colour(std::uint32_t argb) {
  return argb & 0xFFFFFFu;
}
int Alpha(std::uint32_t argb) {
  return static_cast<int>(argb >> 24);
}
// The grey Qt's qGray() gives: (11 r + 16 g + 5 b) / 32.
int Grey(std::uint32_t argb) {
  const int r = (argb >> 16) & 0xFF;
  const int g = (argb >> 8) & 0xFF;
  const int b = argb & 0xFF;
  return (r * 11 + g * 16 + b * 5) / 32;
}

struct Box {
  int left = 1 << 30;
  int top = 1 << 30;
  int right = -1;
  int bottom = -1;
  int count = 0;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

// Bounds of the pixels darker than a quarter grey inside the given rectangle.
Box DarkPixels(const Picture& picture, int left, int top, int width, int height) {
  Box box;
  for (int y = top; y < top + height; ++y) {
    for (int x = left; x < left + width; ++x) {
      if (Grey(picture.At(x, y)) >= 64) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
      ++box.count;
    }
  }
  return box;
}

std::filesystem::path AssetsDir() {
  return std::filesystem::path(PELLMORA_SOURCE_DIR) / "assets";
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PlainPictures, TileColourFollowsDiagonalSum) {
  const std::uint32_t bySum[15] = {0x00EB00, 0x00EB00, 0x08EB08, 0x18EB18, 0x18EB18,
                                   0x29EF29, 0x39EF39, 0x39EF39, 0x4AEE4A, 0x5AF35A,
                                   0x6BF36B, 0x6BF36B, 0x7BF77B, 0x8CF78C, 0x8CF78C};
  const Picture tile = pictures::BackgroundTile();
  ASSERT_EQ(tile.width, 8);
  ASSERT_EQ(tile.height, 8);
  ASSERT_EQ(tile.argb.size(), 64u);
  EXPECT_EQ(tile.At(0, 0), 0xFF00EB00u);
  EXPECT_EQ(tile.At(7, 7), 0xFF8CF78Cu);
  EXPECT_EQ(tile.At(7, 0), 0xFF39EF39u);  // row-major: x = 7 on the first row
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(tile.At(x, y), 0xFF000000u | bySum[x + y]) << "at " << x << "," << y;
    }
  }
  EXPECT_TRUE(tile.IsOpaque());
}

TEST(PlainPictures, BackgroundRepeatsTileEverywhere) {
  const Picture tile = pictures::BackgroundTile();
  const Picture background = pictures::Background();
  ASSERT_EQ(background.width, 640);
  ASSERT_EQ(background.height, 480);
  ASSERT_EQ(background.argb.size(), 640u * 480u);
  // The last tile, bottom right: its corners and a pixel with x + y = 9.
  EXPECT_EQ(background.At(632, 472), 0xFF00EB00u);
  EXPECT_EQ(background.At(639, 479), 0xFF8CF78Cu);
  EXPECT_EQ(background.At(635, 478), 0xFF5AF35Au);
  int mismatches = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) mismatches += background.At(x, y) != tile.At(x % 8, y % 8);
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(PlainPictures, PaddleRampsRunFromNavyTowardsWhite) {
  const Picture upright = pictures::PaddleUpright();
  ASSERT_EQ(upright.width, 24);
  ASSERT_EQ(upright.height, 1);
  const Picture flat = pictures::PaddleFlat();
  ASSERT_EQ(flat.width, 1);
  ASSERT_EQ(flat.height, 24);
  // Worked by hand: grey 255 i / steps and blue 128 + 127 i / steps, rounded
  // down, over 25 steps upright and 27 flat.
  const std::uint32_t uprightWorked[] = {0x000080, 0x0A0A85, 0x14148A, 0x1E1E8F,
                                         0x282894, 0x333399, 0x3D3D9E, 0x4747A3};
  const std::uint32_t flatWorked[] = {0x000080, 0x090984, 0x121289, 0x1C1C8E,
                                      0x252592, 0x2F2F97, 0x38389C, 0x4242A0};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Colour(upright.At(i, 0)), uprightWorked[i]) << "pixel " << i;
    EXPECT_EQ(Colour(flat.At(0, i)), flatWorked[i]) << "pixel " << i;
  }
  EXPECT_EQ(Colour(upright.At(23, 0)), 0xEAEAF4u);  // 5865 / 25, 128 + 2921 / 25
  EXPECT_EQ(Colour(flat.At(0, 23)), 0xD9D9ECu);     // 5865 / 27, 128 + 2921 / 27
  for (int i = 0; i < 24; ++i) {
    const int grey = 255 * i / 25;
    EXPECT_EQ(upright.At(i, 0), 0xFF000000u | grey << 16 | grey << 8 | (128 + 127 * i / 25));
    const int flatGrey = 255 * i / 27;
    EXPECT_EQ(flat.At(0, i), 0xFF000000u | flatGrey << 16 | flatGrey << 8 | (128 + 127 * i / 27));
  }
  EXPECT_TRUE(upright.IsOpaque());
  EXPECT_TRUE(flat.IsOpaque());
}

TEST(PlainPictures, BallIsExactlyTheListedDiscOnClearPixels) {
  // First and last opaque column of each row.
  const int rows[16][2] = {{8, 8},  {5, 11}, {3, 13}, {2, 14}, {2, 14}, {1, 15}, {1, 15}, {1, 15},
                           {0, 15}, {1, 15}, {1, 15}, {1, 15}, {2, 14}, {2, 14}, {3, 13}, {5, 11}};
  const Picture ball = pictures::Ball();
  ASSERT_EQ(ball.width, 16);
  ASSERT_EQ(ball.height, 16);
  EXPECT_FALSE(ball.IsOpaque());
  int opaque = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= rows[y][0] && x <= rows[y][1];
      opaque += inside;
      // Outside the disc the pixel is fully clear, colour and all.
      EXPECT_EQ(ball.At(x, y), inside ? 0xFFFCFE04u : 0x00000000u) << "at " << x << "," << y;
    }
  }
  EXPECT_EQ(opaque, 195);
}

TEST(PlainPictures, IconIsBevelledFieldInFewColours) {
  const Picture icon = pictures::Icon();
  ASSERT_EQ(icon.width, 32);
  ASSERT_EQ(icon.height, 32);
  EXPECT_FALSE(icon.IsOpaque());
  // The bevel cuts off the corner pixels with x + y < 4, measured from each
  // corner.
  EXPECT_EQ(Alpha(icon.At(0, 3)), 0);
  EXPECT_EQ(Alpha(icon.At(3, 0)), 0);
  EXPECT_EQ(icon.At(0, 4), 0xFFA6CAF0u);
  EXPECT_EQ(icon.At(4, 0), 0xFFA6CAF0u);
  EXPECT_EQ(Alpha(icon.At(31, 28)), 0);
  EXPECT_EQ(icon.At(31, 27), 0xFFA6CAF0u);
  EXPECT_EQ(Alpha(icon.At(28, 31)), 0);
  EXPECT_EQ(Alpha(icon.At(0, 28)), 0);
  EXPECT_EQ(icon.At(0, 27), 0xFFA6CAF0u);

  EXPECT_EQ(icon.At(24, 8), 0xFFA6CAF0u);
  EXPECT_EQ(icon.At(15, 15), 0xFF000000u);  // centre of the cross
  EXPECT_EQ(icon.At(15, 0), 0xFF000000u);   // the cross's upright arm reaches the edge
  EXPECT_EQ(icon.At(16, 12), 0xFF000000u);  // the diamond, four steps from the centre
  EXPECT_EQ(icon.At(17, 17), 0xFF000000u);
  EXPECT_EQ(icon.At(17, 16), 0xFFA6CAF0u);  // inside the diamond

  // A paddle on each edge, green inside a dark-green outline.
  EXPECT_EQ(icon.At(2, 15), 0xFF3FBF3Fu);
  EXPECT_EQ(icon.At(1, 15), 0xFF008000u);
  EXPECT_EQ(icon.At(4, 10), 0xFF008000u);
  EXPECT_EQ(icon.At(29, 15), 0xFF3FBF3Fu);
  EXPECT_EQ(icon.At(15, 2), 0xFF3FBF3Fu);
  EXPECT_EQ(icon.At(15, 29), 0xFF3FBF3Fu);
  // The ball, up and to the left of the centre, its corners cut.
  EXPECT_EQ(icon.At(9, 9), 0xFFFFFF3Fu);
  EXPECT_EQ(icon.At(7, 8), 0xFFFFFF3Fu);
  EXPECT_EQ(icon.At(7, 7), 0xFFA6CAF0u);

  std::set<std::uint32_t> colours;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::uint32_t p = icon.At(x, y);
      EXPECT_TRUE(Alpha(p) == 0 || Alpha(p) == 255) << "half-transparent at " << x << "," << y;
      colours.insert(Alpha(p) == 0 ? 0u : p);
    }
  }
  EXPECT_EQ(colours.size(), 6u);  // clear, field, cross, paddle, outline, ball
}

TEST(PlainPictures, ItemPanelsAreOpaqueFramedAndLettered) {
  const std::uint32_t outermost[6] = {0x313000, 0xFF797B, 0xFF797B, 0xFF797B, 0x3165FF, 0x3165FF};
  const std::uint32_t sixth[6] = {0xCEFFCE, 0xFFE7E7, 0xFFE7E7, 0xFFE7E7, 0xCEFFFF, 0xCEFFFF};
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    const Picture panel = pictures::ItemPanel(k);
    ASSERT_EQ(panel.width, 100);
    ASSERT_EQ(panel.height, 50);
    EXPECT_TRUE(panel.IsOpaque());
    const std::pair<int, int> outerPoints[] = {{0, 0}, {99, 49}, {50, 0}, {0, 25}};
    for (const auto& [x, y] : outerPoints) {
      EXPECT_EQ(Colour(panel.At(x, y)), outermost[k]) << x << "," << y;
    }
    EXPECT_EQ(Colour(panel.At(5, 25)), sixth[k]);
    EXPECT_EQ(Colour(panel.At(94, 44)), sixth[k]);
    EXPECT_EQ(Colour(panel.At(6, 25)), 0xFFFFFFu);
    EXPECT_EQ(Colour(panel.At(8, 8)), 0xC6C3C6u);
    EXPECT_EQ(Colour(panel.At(91, 41)), 0xC6C3C6u);
    const Box letters = DarkPixels(panel, 7, 7, 86, 36);
    EXPECT_GE(letters.Width(), 50) << "lettering missing or too small";
    EXPECT_GE(letters.Height(), 15) << "lettering missing or too small";
  }
}

TEST(PlainPictures, SpeedUpPanelsAreOnePictureAndOthersDiffer) {
  const Picture panels[6] = {pictures::ItemPanel(0), pictures::ItemPanel(1),
                             pictures::ItemPanel(2), pictures::ItemPanel(3),
                             pictures::ItemPanel(4), pictures::ItemPanel(5)};
  EXPECT_EQ(panels[1], panels[2]);
  EXPECT_EQ(panels[1], panels[3]);
  const int distinct[4] = {0, 1, 4, 5};
  for (int a = 0; a < 4; ++a) {
    for (int b = a + 1; b < 4; ++b) {
      EXPECT_NE(panels[distinct[a]], panels[distinct[b]]) << distinct[a] << " vs " << distinct[b];
    }
  }
  EXPECT_TRUE(pictures::ItemPanel(-1).IsNull());
  EXPECT_TRUE(pictures::ItemPanel(6).IsNull());
}

TEST(PlainPictures, ButtonsFadeFromBlueAndCentreTheirText) {
  const Picture buttons[3] = {pictures::ButtonPicture(0), pictures::ButtonPicture(1),
                              pictures::ButtonPicture(2)};
  const std::uint32_t frame[4] = {0x347EFC, 0x6697F2, 0x98B0E8, 0xCAC9DE};
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    const Picture& button = buttons[n];
    ASSERT_EQ(button.width, 196);
    ASSERT_EQ(button.height, 36);
    EXPECT_TRUE(button.IsOpaque());
    for (int j = 0; j < 4; ++j) {
      EXPECT_EQ(Colour(button.At(j, 18)), frame[j]) << "band " << j;
      EXPECT_EQ(Colour(button.At(195 - j, 18)), frame[j]) << "band " << j;
      EXPECT_EQ(Colour(button.At(98, j)), frame[j]) << "band " << j;
      EXPECT_EQ(Colour(button.At(98, 35 - j)), frame[j]) << "band " << j;
    }
    EXPECT_EQ(Colour(button.At(4, 4)), 0xFCE2D4u);
    EXPECT_EQ(Colour(button.At(191, 31)), 0xFCE2D4u);
    const Box letters = DarkPixels(button, 4, 4, 188, 28);
    ASSERT_GT(letters.count, 0) << "no lettering";
    EXPECT_GE(letters.Width(), 80);
    EXPECT_GE(letters.Height(), 12);
    // Centred on (98, 18) within two pixels.
    EXPECT_LE(std::abs(letters.left + letters.right + 1 - 196), 4);
    EXPECT_LE(std::abs(letters.top + letters.bottom + 1 - 36), 4);
  }
  EXPECT_NE(buttons[0], buttons[1]);
  EXPECT_NE(buttons[1], buttons[2]);
  EXPECT_NE(buttons[0], buttons[2]);
  EXPECT_TRUE(pictures::ButtonPicture(-1).IsNull());
  EXPECT_TRUE(pictures::ButtonPicture(3).IsNull());
}

TEST(PlainPictures, TheBinaryHoldsExactlyThePngFilesOfAssets) {
  std::set<std::string> onDisk;
  for (const auto& entry : std::filesystem::directory_iterator(AssetsDir())) {
    if (entry.path().extension() == ".png") onDisk.insert(entry.path().filename().string());
  }
  ASSERT_FALSE(onDisk.empty()) << AssetsDir();

  std::set<std::string> embedded;
  std::string previous;
  for (const pictures::EmbeddedFile& file : pictures::EmbeddedPngs()) {
    const std::string name(file.name);
    EXPECT_LT(previous, name) << "not sorted by name";
    previous = name;
    embedded.insert(name);
    const std::vector<std::uint8_t> bytes = ReadFile(AssetsDir() / name);
    EXPECT_TRUE(std::equal(file.bytes.begin(), file.bytes.end(), bytes.begin(), bytes.end()))
        << name << " differs from the file in assets/";
  }
  EXPECT_EQ(embedded, onDisk);
}

TEST(PlainPictures, EveryNamedPictureFileIsBuiltIn) {
  std::vector<std::string_view> names = {pictures::kBackgroundTileFile, pictures::kIconFile,
                                         pictures::kPaddleUprightFile, pictures::kPaddleFlatFile,
                                         pictures::kBallFile};
  names.insert(names.end(), std::begin(pictures::kItemPanelFiles),
               std::end(pictures::kItemPanelFiles));
  names.insert(names.end(), std::begin(pictures::kButtonFiles), std::end(pictures::kButtonFiles));
  for (const std::string_view name : names) {
    EXPECT_FALSE(pictures::EmbeddedPng(name).empty()) << name;
    EXPECT_FALSE(DecodePng(pictures::EmbeddedPng(name)).IsNull()) << name;
  }
  EXPECT_TRUE(pictures::EmbeddedPng("no-such-picture.png").empty());
}

TEST(PlainPictures, DamagedPngBytesGiveANullPicture) {
  const std::span<const std::uint8_t> ball = pictures::EmbeddedPng(pictures::kBallFile);
  ASSERT_GT(ball.size(), 60u);
  ASSERT_FALSE(DecodePng(ball).IsNull());

  EXPECT_TRUE(DecodePng({}).IsNull());
  EXPECT_TRUE(DecodePng(ball.first(8)).IsNull()) << "the signature alone";
  EXPECT_TRUE(DecodePng(ball.first(ball.size() / 2)).IsNull()) << "cut off in the pixel data";

  std::vector<std::uint8_t> notPng(ball.begin(), ball.end());
  notPng[1] = 'X';  // "\x89XNG": not a PNG signature
  EXPECT_TRUE(DecodePng(notPng).IsNull());

  const std::uint8_t text[] = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_TRUE(DecodePng(text).IsNull());
}

}  // namespace

}  // namespace pellmora
