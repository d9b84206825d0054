#pragma once
// The layout engine: places a parent's children by their alignment, margins and the
// parent's padding, in device-independent units (DIP). Portable, so the positions of a
// window's layout are tested without a screen; forms scale the result by their DPI.

#include <span>

namespace ui {

enum class TAlignLayout { None, Top, Bottom, Left, Right, Client, Center, Contents };

struct TPointF {
  float X = 0, Y = 0;
  friend bool operator==(const TPointF&, const TPointF&) = default;
};

struct TSizeF {
  float Width = 0, Height = 0;
  friend bool operator==(const TSizeF&, const TSizeF&) = default;
};

// Four edge widths: a control's margins or a container's padding.
struct TBounds {
  float Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TBounds&, const TBounds&) = default;
};

struct TRectF {
  float Left = 0, Top = 0, Right = 0, Bottom = 0;
  [[nodiscard]] float Width() const noexcept { return Right - Left; }
  [[nodiscard]] float Height() const noexcept { return Bottom - Top; }
  friend bool operator==(const TRectF&, const TRectF&) = default;
};

// Device pixels.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

// What the engine needs of one child: it reads the alignment and margins and writes the
// position (relative to the parent) and the size.
struct TLayoutItem {
  TAlignLayout Align = TAlignLayout::None;
  TBounds Margins;
  TPointF Position;
  TSizeF Size;
  bool Visible = true;

  [[nodiscard]] TRectF BoundsRect() const noexcept {
    return {Position.X, Position.Y, Position.X + Size.Width, Position.Y + Size.Height};
  }
};

// Aligns the children of a parent of size iParent. As in the classic toolkits, top-aligned
// children take their place first, in child order, then bottom, left, right, client and
// centre, each in the space the earlier ones left; Contents covers the whole parent
// regardless of the others, and None keeps its position and size. Hidden children take
// no place. Sizes never go below zero, however small the parent.
void AlignChildren(TSizeF iParent, const TBounds& iPadding, std::span<TLayoutItem* const> iChildren);

// A rectangle in DIP, relative to the client area, in device pixels at iScale. Edges are
// rounded one by one, so neighbours that touch in DIP touch in pixels too.
[[nodiscard]] TRect ScaleToPixels(const TRectF& iRect, float iScale) noexcept;

}  // namespace ui
