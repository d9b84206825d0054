#include "toolkit/Layout.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ui::TAlignLayout;
using ui::TBounds;
using ui::TLayoutItem;
using ui::TRectF;

struct Child {
  TAlignLayout Align;
  TBounds Margins;
  float Width, Height;
  TRectF Expected;
  bool Visible = true;
};

std::vector<TRectF> Arrange(float width, float height, const TBounds& padding, const std::vector<Child>& children) {
  std::vector<TLayoutItem> items;
  for (const Child& c : children) {
    TLayoutItem item;
    item.Align = c.Align;
    item.Margins = c.Margins;
    item.Position = {3, 5};
    item.Size = {c.Width, c.Height};
    item.Visible = c.Visible;
    items.push_back(item);
  }
  std::vector<TLayoutItem*> pointers;
  for (auto& item : items) pointers.push_back(&item);
  ui::AlignChildren({width, height}, padding, pointers);
  std::vector<TRectF> rects;
  for (const auto& item : items) rects.push_back(item.BoundsRect());
  return rects;
}

// Each case is one parent of 100 x 80; the rows give every child's expected rectangle.
TEST(AlignChildren, PlacesEachAlignmentInTheSpaceTheEarlierOnesLeft) {
  struct Case {
    const char* name;
    TBounds padding;
    std::vector<Child> children;
  };
  const Case cases[] = {
      {"top children stack in order, margins between",
       {},
       {{TAlignLayout::Top, {4, 0, 0, 0}, 10, 20, {4, 0, 100, 20}},
        {TAlignLayout::Top, {8, 8, 8, 2}, 10, 10, {8, 28, 92, 38}},
        {TAlignLayout::Top, {}, 10, 5, {0, 40, 100, 45}}}},
      {"bottom is placed before client even when listed after it",
       {},
       {{TAlignLayout::Top, {}, 0, 30, {0, 0, 100, 30}},
        {TAlignLayout::Client, {}, 0, 0, {0, 30, 100, 60}},
        {TAlignLayout::Bottom, {}, 0, 20, {0, 60, 100, 80}}}},
      {"left and right take the full height left, in margins",
       {},
       {{TAlignLayout::Left, {8, 8, 0, 8}, 30, 0, {8, 8, 38, 72}},
        {TAlignLayout::Right, {0, 8, 8, 8}, 30, 0, {62, 8, 92, 72}}}},
      {"padding shrinks the space of every alignment",
       {4, 4, 4, 4},
       {{TAlignLayout::Top, {}, 0, 10, {4, 4, 96, 14}}, {TAlignLayout::Client, {}, 0, 0, {4, 14, 96, 76}}}},
      {"centre is centred in the space left, size kept",
       {},
       {{TAlignLayout::Top, {}, 0, 20, {0, 0, 100, 20}}, {TAlignLayout::Center, {}, 40, 20, {30, 40, 70, 60}}}},
      {"contents covers the whole parent whatever else is aligned",
       {4, 4, 4, 4},
       {{TAlignLayout::Top, {}, 0, 20, {4, 4, 96, 24}}, {TAlignLayout::Contents, {}, 1, 1, {0, 0, 100, 80}}}},
      {"none keeps position and size",
       {},
       {{TAlignLayout::Top, {}, 0, 20, {0, 0, 100, 20}}, {TAlignLayout::None, {}, 7, 9, {3, 5, 10, 14}}}},
      {"a hidden child takes no place",
       {},
       {{TAlignLayout::Top, {}, 0, 20, {3, 5, 3, 25}, false}, {TAlignLayout::Top, {}, 0, 10, {0, 0, 100, 10}}}},
      {"a parent too small gives empty sizes, never negative ones",
       {},
       {{TAlignLayout::Top, {0, 50, 0, 50}, 0, 10, {0, 50, 100, 60}},
        {TAlignLayout::Left, {60, 0, 60, 0}, 10, 0, {60, 80, 70, 80}},
        {TAlignLayout::Client, {0, 0, 0, 0}, 0, 0, {100, 80, 100, 80}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<TRectF> rects = Arrange(100, 80, c.padding, c.children);
    for (std::size_t i = 0; i < rects.size(); ++i) {
      SCOPED_TRACE("child " + std::to_string(i));
      const TRectF& e = c.children[i].Expected;
      EXPECT_FLOAT_EQ(rects[i].Left, e.Left);
      EXPECT_FLOAT_EQ(rects[i].Top, e.Top);
      EXPECT_FLOAT_EQ(rects[i].Right, e.Right);
      EXPECT_FLOAT_EQ(rects[i].Bottom, e.Bottom);
    }
  }
}

TEST(ScaleToPixels, RoundsEdgesSoNeighboursStillTouch) {
  struct Row {
    TRectF dip;
    float scale;
    ui::TRect pixels;
  };
  const Row rows[] = {
      {{0, 32, 270, 50}, 1.0f, {0, 32, 270, 50}},
      {{0, 32, 270, 50}, 1.5f, {0, 48, 405, 75}},
      {{0, 50, 270, 68}, 1.5f, {0, 75, 405, 102}},   // starts where the row above ends
      {{8, 16, 262, 49}, 1.25f, {10, 20, 328, 61}},  // 327.5 and 61.25
      {{8, 16, 262, 49}, 1.75f, {14, 28, 459, 86}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.scale);
    EXPECT_EQ(ui::ScaleToPixels(row.dip, row.scale), row.pixels);
  }
}

}  // namespace
