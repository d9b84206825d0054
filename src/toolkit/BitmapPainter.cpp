#include "toolkit/BitmapPainter.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ui {

TBitmapPainter::TBitmapPainter(const TBitmap& iBitmap) : width_(iBitmap.Width), height_(iBitmap.Height) {
  if (width_ <= 0 || height_ <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down, as TBitmap holds its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dib_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib_ || !bits) {
    dib_.reset();
    return;
  }
  const std::vector<std::uint32_t> pixels = PremultipliedPixels(iBitmap);
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
}

void TBitmapPainter::Draw(HDC iDC, const TRect& iPixels, float iOpacity) const {
  const int width = iPixels.Right - iPixels.Left;
  const int height = iPixels.Bottom - iPixels.Top;
  const auto alpha = static_cast<BYTE>(std::lround(std::clamp(iOpacity, 0.0f, 1.0f) * 255.0f));
  if (!dib_ || width <= 0 || height <= 0 || alpha == 0) return;
  const TUniqueMemoryDC source(CreateCompatibleDC(iDC));
  if (!source) return;
  const TSelectObject selected(source.get(), dib_.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  AlphaBlend(iDC, iPixels.Left, iPixels.Top, width, height, source.get(), 0, 0, width_, height_, blend);
}

}  // namespace ui
