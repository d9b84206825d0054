#pragma once
// Pictures of the program (resources/*.bmp, compiled in) read from their BMP bytes.
// Portable, so that a damaged file is tested without a screen: decoding checks every
// size and offset against the bytes it has and gives nothing rather than reading past them.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ui {

// A decoded picture: rows from top to bottom, each pixel 0xAARRGGBB with straight alpha.
struct TBitmap {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;

  [[nodiscard]] std::uint32_t At(int iX, int iY) const noexcept {
    return Pixels[static_cast<std::size_t>(iY) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(iX)];
  }
};

// Reads a BMP file: 24 bits (opaque) or 32 bits, plain or with byte-wide channel masks
// (an alpha mask gives the transparency), bottom-up or top-down. Nothing for any other
// kind of file, and for one that is cut short or whose sizes do not add up.
[[nodiscard]] std::optional<TBitmap> DecodeBitmap(std::span<const std::uint8_t> iFile);

// The pixels with their colour channels multiplied by their alpha, as alpha blending
// takes them (0xAARRGGBB, which is B G R A in memory).
[[nodiscard]] std::vector<std::uint32_t> PremultipliedPixels(const TBitmap& iBitmap);

// The compiled-in picture resources/<iName>.bmp, decoded; nothing if there is none.
[[nodiscard]] std::optional<TBitmap> LoadImageResource(std::string_view iName);

}  // namespace ui
