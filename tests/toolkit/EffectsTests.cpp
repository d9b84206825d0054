// The glow effect as the layouts give it, and how it fades with the distance.
#include "toolkit/Effects.hpp"

#include <gtest/gtest.h>

#include "toolkit/FormResource.hpp"

namespace {

TEST(GlowEffect, TheCopiedOverlayCarriesTheGlowOfItsLayout) {
  const ui::TFormLoadResult form = ui::LoadFormResource("uCreateBIPForm");
  ASSERT_TRUE(form.Root) << form.Error;
  const ui::TResObject* rect = form.Root->FindObject(u"rectCopied");
  ASSERT_NE(rect, nullptr);
  const auto glow = ui::FindGlowEffect(*rect);
  ASSERT_TRUE(glow);
  EXPECT_EQ(glow->GlowColor, 0xFF000000u);
  EXPECT_FLOAT_EQ(glow->Softness, 0.4f);
  EXPECT_FLOAT_EQ(glow->Opacity, 0.9f);
  EXPECT_FLOAT_EQ(glow->Extent(), 4.0f);
  // Its siblings have none.
  const ui::TResObject* label = form.Root->FindObject(u"lblCopied");
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(ui::FindGlowEffect(*label));
}

TEST(GlowEffect, FadesFromTheEdgeToNothingAtItsExtent) {
  struct Row {
    ui::TAlphaColor Color;
    float Softness, Opacity, AtEdge;
  };
  const Row rows[] = {
      {0xFF000000, 0.4f, 0.9f, 0.9f},
      {0x80FFD700, 1.0f, 1.0f, 128.0f / 255.0f},
      {0xFF000000, 0.0f, 1.0f, 0.0f},  // no softness: no glow at all
  };
  for (const Row& row : rows) {
    const ui::TGlowEffect glow{row.Color, row.Softness, row.Opacity};
    SCOPED_TRACE(row.Softness);
    EXPECT_NEAR(glow.StrengthAt(0), row.AtEdge, 1e-4);
    EXPECT_EQ(glow.StrengthAt(-1), 0.0f);
    EXPECT_EQ(glow.StrengthAt(glow.Extent()), 0.0f);
    EXPECT_EQ(glow.StrengthAt(glow.Extent() + 5), 0.0f);
    float before = glow.StrengthAt(0);
    for (float d = 0.5f; d < glow.Extent(); d += 0.5f) {
      const float now = glow.StrengthAt(d);
      EXPECT_LT(now, before) << d;
      EXPECT_GT(now, 0.0f) << d;
      before = now;
    }
  }
}

}  // namespace
