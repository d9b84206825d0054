// Decoding of the program's pictures: the layouts of BMP files the toolkit reads, and
// damaged files, which must give nothing (the ASan run catches a read past the bytes).
#include "toolkit/Bitmap.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// The picture every layout below encodes: 3 x 2, top row first, 0xAARRGGBB.
const std::vector<std::uint32_t> kPicture = {0xFF102030, 0x80FF0000, 0x00000000,  //
                                             0xFF00FF00, 0xC00000FF, 0xFFFFFFFF};

struct TLayoutRow {
  const char* Name;
  std::uint32_t HeaderSize;
  std::uint16_t Bits;
  std::uint32_t Compression;
  bool TopDown;
  std::uint32_t Masks[4];  // red, green, blue, alpha
  bool KeepsAlpha;
};

// A BMP file of kPicture in the given layout.
Bytes Encode(const TLayoutRow& row) {
  const int width = 3, height = 2;
  const std::size_t stride = (static_cast<std::size_t>(width) * row.Bits + 31) / 32 * 4;
  const bool masksAfterHeader = row.HeaderSize == 40 && row.Compression != 0;
  const std::size_t offset = 14 + row.HeaderSize + (masksAfterHeader ? (row.Compression == 6 ? 16 : 12) : 0);
  Bytes b(offset + stride * height, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  Put32(b, 10, static_cast<std::uint32_t>(offset));
  Put32(b, 14, row.HeaderSize);
  Put32(b, 18, width);
  Put32(b, 22, static_cast<std::uint32_t>(row.TopDown ? -height : height));
  Put16(b, 26, 1);
  Put16(b, 28, row.Bits);
  Put32(b, 30, row.Compression);
  if (row.Compression != 0) {
    for (int i = 0; i < 4; ++i) {
      if (i < 3 || row.HeaderSize >= 56 || row.Compression == 6) Put32(b, 54 + 4 * static_cast<std::size_t>(i), row.Masks[i]);
    }
  }
  const auto field = [](std::uint32_t value, std::uint32_t mask) -> std::uint32_t {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    return (value & 0xFF) << shift;
  };
  for (int y = 0; y < height; ++y) {
    const int fileRow = row.TopDown ? y : height - 1 - y;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = kPicture[static_cast<std::size_t>(y * width + x)];
      const std::size_t at = offset + static_cast<std::size_t>(fileRow) * stride + static_cast<std::size_t>(x) * (row.Bits / 8);
      if (row.Bits == 24) {
        b[at] = static_cast<std::uint8_t>(p), b[at + 1] = static_cast<std::uint8_t>(p >> 8);
        b[at + 2] = static_cast<std::uint8_t>(p >> 16);
      } else if (row.Compression == 0) {
        Put32(b, at, p);
      } else {
        Put32(b, at, field(p >> 16, row.Masks[0]) | field(p >> 8, row.Masks[1]) | field(p, row.Masks[2]) |
                         field(p >> 24, row.Masks[3]));
      }
    }
  }
  return b;
}

const TLayoutRow kLayouts[] = {
    {"v5 BGRA bottom-up", 124, 32, 3, false, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, true},
    {"v5 BGRA top-down", 124, 32, 3, true, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, true},
    {"v4 RGBA masks", 108, 32, 3, false, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}, true},
    {"info header, masks after it", 40, 32, 3, false, {0xFF0000, 0xFF00, 0xFF, 0}, false},
    {"info header, alpha masks after it", 40, 32, 6, true, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, true},
    {"plain 32 bits: fourth byte unused", 40, 32, 0, false, {}, false},
    {"24 bits, padded rows", 40, 24, 0, false, {}, false},
};

TEST(DecodeBitmap, ReadsEveryLayoutAsTheSamePictureTopRowFirst) {
  for (const TLayoutRow& row : kLayouts) {
    SCOPED_TRACE(row.Name);
    const auto bitmap = ui::DecodeBitmap(Encode(row));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->Width, 3);
    EXPECT_EQ(bitmap->Height, 2);
    std::vector<std::uint32_t> expected = kPicture;
    if (!row.KeepsAlpha) {
      for (std::uint32_t& p : expected) p |= 0xFF000000;
    }
    EXPECT_EQ(bitmap->Pixels, expected);
    EXPECT_EQ(bitmap->At(1, 1), expected[4]);
  }
}

TEST(DecodeBitmap, AFileCutShortAnywhereGivesNothing) {
  for (const TLayoutRow& row : kLayouts) {
    SCOPED_TRACE(row.Name);
    const Bytes whole = Encode(row);
    for (std::size_t length = 0; length < whole.size(); ++length) {
      const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_FALSE(ui::DecodeBitmap(cut)) << "length " << length;
    }
  }
}

TEST(DecodeBitmap, HeadersThatDoNotAddUpGiveNothing) {
  struct Row {
    const char* Name;
    std::size_t At;
    int Size;  // 2 or 4 bytes
    std::uint32_t Value;
  };
  const Row rows[] = {
      {"not BM", 0, 2, 0x4142},
      {"core header of 12 bytes", 14, 4, 12},
      {"header larger than the file", 14, 4, 100000},
      {"zero width", 18, 4, 0},
      {"negative width", 18, 4, static_cast<std::uint32_t>(-3)},
      {"zero height", 22, 4, 0},
      {"most negative height", 22, 4, static_cast<std::uint32_t>(INT_MIN)},
      {"huge width", 18, 4, 0x7FFFFFFF},
      {"two planes", 26, 2, 2},
      {"palette picture", 28, 2, 8},
      {"run-length compressed", 30, 4, 1},
      {"PNG inside", 30, 4, 5},
      {"pixels past the end", 10, 4, 0xFFFFFFF0},
      {"pixels inside the header", 10, 4, 20},
      {"red mask of two bytes", 54, 4, 0x00FFFF00},
      {"alpha mask of scattered bits", 66, 4, 0x01010101},
  };
  const Bytes good = Encode(kLayouts[0]);
  ASSERT_TRUE(ui::DecodeBitmap(good));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    Bytes bad = good;
    if (row.Size == 2) Put16(bad, row.At, static_cast<std::uint16_t>(row.Value));
    else Put32(bad, row.At, row.Value);
    EXPECT_FALSE(ui::DecodeBitmap(bad));
  }
}

TEST(PremultipliedPixels, ScalesTheColourByItsAlpha) {
  ui::TBitmap bitmap{4, 1, {0xFF102030, 0x80FF8000, 0x00FFFFFF, 0x40FFFFFF}};
  EXPECT_EQ(ui::PremultipliedPixels(bitmap),
            (std::vector<std::uint32_t>{0xFF102030, 0x80804000, 0x00000000, 0x40404040}));
}

TEST(ImageResource, TheLogoIsCompiledInAsA64By37PictureWithATransparentOutside) {
  const auto logo = ui::LoadImageResource("logo");
  ASSERT_TRUE(logo);
  EXPECT_EQ(logo->Width, 64);
  EXPECT_EQ(logo->Height, 37);
  // The rounded plate leaves the corners clear and fills the middle of each edge.
  for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {0, 36}, {63, 36}}) {
    EXPECT_EQ(logo->At(x, y) >> 24, 0u) << x << "," << y;
  }
  for (const auto& [x, y] : {std::pair{1, 18}, {62, 18}, {32, 1}, {20, 35}}) {
    EXPECT_EQ(logo->At(x, y) >> 24, 0xFFu) << x << "," << y;
  }
  // Top row first: the light band is at the top of the plate, the dark part below.
  EXPECT_EQ(logo->At(8, 8) & 0xFFFFFF, 0x1FA39Bu);
  EXPECT_EQ(logo->At(8, 30) & 0xFFFFFF, 0x17807Au);
  EXPECT_FALSE(ui::LoadImageResource("no-such-picture"));
  EXPECT_FALSE(ui::LoadImageResource(""));
}

}  // namespace
