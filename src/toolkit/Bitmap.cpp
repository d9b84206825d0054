#include "toolkit/Bitmap.hpp"

#include <bit>
#include <limits>

#include "toolkit/ImageResources.hpp"

namespace ui {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
// Far beyond any picture of a window; keeps a forged header from asking for gigabytes.
constexpr std::int64_t kMaxSide = 16384;

class TReader {
 public:
  explicit TReader(std::span<const std::uint8_t> iBytes) : bytes_(iBytes) {}
  [[nodiscard]] bool Has(std::uint64_t iOffset, std::uint64_t iCount) const noexcept {
    return iOffset <= bytes_.size() && iCount <= bytes_.size() - iOffset;
  }
  // Little-endian; the caller has checked the range.
  [[nodiscard]] std::uint32_t U32(std::size_t iOffset) const noexcept {
    return static_cast<std::uint32_t>(bytes_[iOffset]) | static_cast<std::uint32_t>(bytes_[iOffset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes_[iOffset + 2]) << 16 | static_cast<std::uint32_t>(bytes_[iOffset + 3]) << 24;
  }
  [[nodiscard]] std::uint16_t U16(std::size_t iOffset) const noexcept {
    return static_cast<std::uint16_t>(bytes_[iOffset] | bytes_[iOffset + 1] << 8);
  }
  [[nodiscard]] std::int32_t I32(std::size_t iOffset) const noexcept { return static_cast<std::int32_t>(U32(iOffset)); }
  [[nodiscard]] std::uint8_t Byte(std::size_t iOffset) const noexcept { return bytes_[iOffset]; }

 private:
  std::span<const std::uint8_t> bytes_;
};

// One channel mask: a whole byte of the pixel, or 0 for "no such channel".
struct TChannel {
  int Shift = -1;
  [[nodiscard]] std::uint32_t Of(std::uint32_t iPixel, std::uint32_t iMissing) const noexcept {
    return Shift < 0 ? iMissing : (iPixel >> Shift) & 0xFF;
  }
};

[[nodiscard]] std::optional<TChannel> ChannelOf(std::uint32_t iMask) noexcept {
  if (iMask == 0) return TChannel{};
  const int shift = std::countr_zero(iMask);
  if (iMask >> shift != 0xFF) return std::nullopt;
  return TChannel{shift};
}

struct TFormat {
  std::int64_t Width = 0;
  std::int64_t Height = 0;  // rows; the file stores them bottom-up unless TopDown
  bool TopDown = false;
  int BitsPerPixel = 0;
  TChannel Red, Green, Blue, Alpha;
  std::uint64_t DataOffset = 0;
  std::uint64_t Stride = 0;
};

[[nodiscard]] bool ReadMasks(const TReader& iIn, std::uint32_t iHeaderSize, std::uint32_t iCompression,
                             TFormat& ioFormat) {
  if (iCompression == kRgb) {
    ioFormat.Red = {16}, ioFormat.Green = {8}, ioFormat.Blue = {0};
    return true;  // the fourth byte of a plain 32-bit pixel is unused: opaque
  }
  // The masks follow a 40-byte header, or are its own fields in the larger ones: the
  // same offsets either way.
  const std::size_t at = kFileHeaderSize + 40;
  const bool hasAlpha = iHeaderSize >= 56 || iCompression == kAlphaBitFields;
  if (!iIn.Has(at, hasAlpha ? 16 : 12)) return false;
  const auto red = ChannelOf(iIn.U32(at));
  const auto green = ChannelOf(iIn.U32(at + 4));
  const auto blue = ChannelOf(iIn.U32(at + 8));
  const auto alpha = ChannelOf(hasAlpha ? iIn.U32(at + 12) : 0);
  if (!red || !green || !blue || !alpha) return false;
  ioFormat.Red = *red, ioFormat.Green = *green, ioFormat.Blue = *blue, ioFormat.Alpha = *alpha;
  return true;
}

[[nodiscard]] std::optional<TFormat> ReadFormat(const TReader& iIn) {
  if (!iIn.Has(0, kFileHeaderSize + 40) || iIn.Byte(0) != 'B' || iIn.Byte(1) != 'M') return std::nullopt;
  const std::uint32_t headerSize = iIn.U32(14);
  if (headerSize < 40 || !iIn.Has(kFileHeaderSize, headerSize)) return std::nullopt;
  TFormat f;
  f.Width = iIn.I32(18);
  const std::int64_t height = iIn.I32(22);
  f.TopDown = height < 0;
  f.Height = height < 0 ? -height : height;
  if (f.Width <= 0 || f.Height <= 0 || f.Width > kMaxSide || f.Height > kMaxSide) return std::nullopt;
  if (iIn.U16(26) != 1) return std::nullopt;
  f.BitsPerPixel = iIn.U16(28);
  const std::uint32_t compression = iIn.U32(30);
  if (f.BitsPerPixel == 24) {
    if (compression != kRgb) return std::nullopt;
    f.Red = {16}, f.Green = {8}, f.Blue = {0};
  } else if (f.BitsPerPixel == 32) {
    if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields) return std::nullopt;
    if (!ReadMasks(iIn, headerSize, compression, f)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  f.DataOffset = iIn.U32(10);
  f.Stride = (static_cast<std::uint64_t>(f.Width) * static_cast<std::uint64_t>(f.BitsPerPixel) + 31) / 32 * 4;
  if (f.DataOffset < kFileHeaderSize + headerSize) return std::nullopt;
  if (!iIn.Has(f.DataOffset, f.Stride * static_cast<std::uint64_t>(f.Height))) return std::nullopt;
  return f;
}

[[nodiscard]] std::uint32_t PixelAt(const TReader& iIn, const TFormat& iFormat, std::size_t iOffset) noexcept {
  if (iFormat.BitsPerPixel == 24) {
    return 0xFF000000u | static_cast<std::uint32_t>(iIn.Byte(iOffset + 2)) << 16 |
           static_cast<std::uint32_t>(iIn.Byte(iOffset + 1)) << 8 | iIn.Byte(iOffset);
  }
  const std::uint32_t raw = iIn.U32(iOffset);
  return iFormat.Alpha.Of(raw, 0xFF) << 24 | iFormat.Red.Of(raw, 0) << 16 | iFormat.Green.Of(raw, 0) << 8 |
         iFormat.Blue.Of(raw, 0);
}

}  // namespace

std::optional<TBitmap> DecodeBitmap(std::span<const std::uint8_t> iFile) {
  const TReader in(iFile);
  const std::optional<TFormat> format = ReadFormat(in);
  if (!format) return std::nullopt;
  TBitmap bitmap;
  bitmap.Width = static_cast<int>(format->Width);
  bitmap.Height = static_cast<int>(format->Height);
  bitmap.Pixels.reserve(static_cast<std::size_t>(format->Width * format->Height));
  const std::size_t bytesPerPixel = static_cast<std::size_t>(format->BitsPerPixel / 8);
  for (std::int64_t y = 0; y < format->Height; ++y) {
    const std::int64_t fileRow = format->TopDown ? y : format->Height - 1 - y;
    const std::size_t row = static_cast<std::size_t>(format->DataOffset + static_cast<std::uint64_t>(fileRow) * format->Stride);
    for (std::int64_t x = 0; x < format->Width; ++x) {
      bitmap.Pixels.push_back(PixelAt(in, *format, row + static_cast<std::size_t>(x) * bytesPerPixel));
    }
  }
  return bitmap;
}

std::vector<std::uint32_t> PremultipliedPixels(const TBitmap& iBitmap) {
  std::vector<std::uint32_t> out;
  out.reserve(iBitmap.Pixels.size());
  for (const std::uint32_t p : iBitmap.Pixels) {
    const std::uint32_t a = p >> 24;
    const auto times = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    out.push_back(a << 24 | times((p >> 16) & 0xFF) << 16 | times((p >> 8) & 0xFF) << 8 | times(p & 0xFF));
  }
  return out;
}

std::optional<TBitmap> LoadImageResource(std::string_view iName) {
  const auto bytes = FindImageResource(iName);
  if (!bytes) return std::nullopt;
  return DecodeBitmap(*bytes);
}

}  // namespace ui
