#include "toolkit/Animations.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Clock = ui::TFloatAnimation::TClock;

TEST(FloatAnimation, GoesLinearlyFromStartToStopAndRestartsFromStart) {
  std::vector<float> seen;
  ui::TFloatAnimation fade(u"animOpacity", [&](float v) { seen.push_back(v); });
  fade.StartValue = 1.0f;
  fade.StopValue = 0.0f;
  fade.Duration = 1.0;
  const Clock::time_point t0{};
  fade.Start(t0);
  fade.Tick(t0 + std::chrono::milliseconds(250));
  fade.Tick(t0 + std::chrono::milliseconds(500));
  EXPECT_TRUE(fade.Running());
  // Restarted before the end: back to full at once.
  fade.Start(t0 + std::chrono::milliseconds(600));
  fade.Tick(t0 + std::chrono::milliseconds(1100));
  fade.Tick(t0 + std::chrono::milliseconds(1700));
  EXPECT_FALSE(fade.Running());
  fade.Tick(t0 + std::chrono::milliseconds(1800));  // stopped: no more changes
  const std::vector<float> expected = {1.0f, 0.75f, 0.5f, 1.0f, 0.5f, 0.0f};
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_FLOAT_EQ(seen[i], expected[i]) << i;
}

TEST(FloatAnimation, AZeroDurationEndsAtTheStopValue) {
  ui::TFloatAnimation jump(u"a", nullptr);
  jump.StartValue = 2;
  jump.StopValue = 5;
  jump.Duration = 0;
  EXPECT_FLOAT_EQ(jump.ValueAt(0), 5.0f);
  EXPECT_FLOAT_EQ(jump.ValueAt(-1), 5.0f);
  jump.Duration = 2;
  EXPECT_FLOAT_EQ(jump.ValueAt(-1), 2.0f);
  EXPECT_FLOAT_EQ(jump.ValueAt(3), 5.0f);
}

}  // namespace
