#pragma once
// Draws a decoded picture with its transparency: the pixels are kept premultiplied in a
// DIB section, made once, and alpha-blended into the target at any size.

#include <windows.h>

#include "toolkit/Bitmap.hpp"
#include "toolkit/Layout.hpp"
#include "toolkit/UniqueHandle.hpp"

namespace ui {

class TBitmapPainter {
 public:
  explicit TBitmapPainter(const TBitmap& iBitmap);

  // False when the DIB section could not be made: Draw then draws nothing.
  [[nodiscard]] bool Valid() const noexcept { return dib_.valid(); }
  [[nodiscard]] int Width() const noexcept { return width_; }
  [[nodiscard]] int Height() const noexcept { return height_; }

  // Stretches the picture over iPixels and blends it over what iDC holds there, faded as
  // a whole by iOpacity (0..1).
  void Draw(HDC iDC, const TRect& iPixels, float iOpacity) const;

 private:
  TUniqueGdiObject dib_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace ui
