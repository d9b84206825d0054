#include "toolkit/Layout.hpp"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

[[nodiscard]] float NonNegative(float value) noexcept { return std::max(value, 0.0f); }

// The space not yet taken by aligned children.
struct TFreeArea {
  TRectF Rect;

  void PlaceTop(TLayoutItem& item) {
    const TBounds& m = item.Margins;
    item.Position = {Rect.Left + m.Left, Rect.Top + m.Top};
    item.Size.Width = NonNegative(Rect.Width() - m.Left - m.Right);
    Rect.Top = std::min(Rect.Bottom, Rect.Top + m.Top + item.Size.Height + m.Bottom);
  }
  void PlaceBottom(TLayoutItem& item) {
    const TBounds& m = item.Margins;
    item.Size.Width = NonNegative(Rect.Width() - m.Left - m.Right);
    item.Position = {Rect.Left + m.Left, Rect.Bottom - m.Bottom - item.Size.Height};
    Rect.Bottom = std::max(Rect.Top, Rect.Bottom - m.Top - item.Size.Height - m.Bottom);
  }
  void PlaceLeft(TLayoutItem& item) {
    const TBounds& m = item.Margins;
    item.Position = {Rect.Left + m.Left, Rect.Top + m.Top};
    item.Size.Height = NonNegative(Rect.Height() - m.Top - m.Bottom);
    Rect.Left = std::min(Rect.Right, Rect.Left + m.Left + item.Size.Width + m.Right);
  }
  void PlaceRight(TLayoutItem& item) {
    const TBounds& m = item.Margins;
    item.Size.Height = NonNegative(Rect.Height() - m.Top - m.Bottom);
    item.Position = {Rect.Right - m.Right - item.Size.Width, Rect.Top + m.Top};
    Rect.Right = std::max(Rect.Left, Rect.Right - m.Left - item.Size.Width - m.Right);
  }
  void Fill(TLayoutItem& item) const { FillRect(item, Rect); }
  void PlaceCenter(TLayoutItem& item) const {
    const TBounds& m = item.Margins;
    const float w = Rect.Width() - m.Left - m.Right;
    const float h = Rect.Height() - m.Top - m.Bottom;
    item.Position = {Rect.Left + m.Left + (w - item.Size.Width) / 2, Rect.Top + m.Top + (h - item.Size.Height) / 2};
  }

  static void FillRect(TLayoutItem& item, const TRectF& rect) {
    const TBounds& m = item.Margins;
    item.Position = {rect.Left + m.Left, rect.Top + m.Top};
    item.Size = {NonNegative(rect.Width() - m.Left - m.Right), NonNegative(rect.Height() - m.Top - m.Bottom)};
  }
};

template <typename F>
void ForEach(std::span<TLayoutItem* const> children, TAlignLayout align, F&& place) {
  for (TLayoutItem* child : children) {
    if (child && child->Visible && child->Align == align) place(*child);
  }
}

}  // namespace

void AlignChildren(TSizeF iParent, const TBounds& iPadding, std::span<TLayoutItem* const> iChildren) {
  TFreeArea area{{iPadding.Left, iPadding.Top, std::max(iPadding.Left, iParent.Width - iPadding.Right),
                  std::max(iPadding.Top, iParent.Height - iPadding.Bottom)}};
  ForEach(iChildren, TAlignLayout::Top, [&](TLayoutItem& c) { area.PlaceTop(c); });
  ForEach(iChildren, TAlignLayout::Bottom, [&](TLayoutItem& c) { area.PlaceBottom(c); });
  ForEach(iChildren, TAlignLayout::Left, [&](TLayoutItem& c) { area.PlaceLeft(c); });
  ForEach(iChildren, TAlignLayout::Right, [&](TLayoutItem& c) { area.PlaceRight(c); });
  ForEach(iChildren, TAlignLayout::Client, [&](TLayoutItem& c) { area.Fill(c); });
  ForEach(iChildren, TAlignLayout::Center, [&](TLayoutItem& c) { area.PlaceCenter(c); });
  // An overlay: the whole parent, padding and the other children notwithstanding.
  const TRectF whole{0, 0, NonNegative(iParent.Width), NonNegative(iParent.Height)};
  ForEach(iChildren, TAlignLayout::Contents, [&](TLayoutItem& c) { TFreeArea::FillRect(c, whole); });
}

TRect ScaleToPixels(const TRectF& iRect, float iScale) noexcept {
  const auto px = [iScale](float v) { return static_cast<int>(std::lround(v * iScale)); };
  return {px(iRect.Left), px(iRect.Top), px(iRect.Right), px(iRect.Bottom)};
}

}  // namespace ui
