#include "rtl/Guid.hpp"

#include <gtest/gtest.h>

namespace {

TEST(TGUID, ParsesTheRegistryFormAndWritesItBack) {
  const auto guid = rtl::TGUID::Parse(u"{311a40d4-3D5B-40CC-A201-78465760B25E}");
  ASSERT_TRUE(guid.has_value());
  EXPECT_EQ(guid->D1, 0x311A40D4u);
  EXPECT_EQ(guid->D2, 0x3D5Bu);
  EXPECT_EQ(guid->D3, 0x40CCu);
  EXPECT_EQ(guid->D4[0], 0xA2);
  EXPECT_EQ(guid->D4[7], 0x5E);
  EXPECT_EQ(guid->ToString(), u"{311A40D4-3D5B-40CC-A201-78465760B25E}");
}

TEST(TGUID, RejectsEveryMalformedText) {
  for (const std::u16string_view text : {
           u"",
           u"311A40D4-3D5B-40CC-A201-78465760B25E",
           u"{311A40D4-3D5B-40CC-A201-78465760B25E",
           u"{311A40D4-3D5B-40CC-A20178465760B25E0}",
           u"{311A40D4-3D5B-40CC-A201-78465760B25G}",
           u"{311A40D4+3D5B-40CC-A201-78465760B25E}",
           u"{311A40D4-3D5B-40CC-A201-78465760B25E}x",
       }) {
    EXPECT_FALSE(rtl::TGUID::Parse(text).has_value());
  }
  EXPECT_EQ(rtl::GuidOf(u"nonsense"), rtl::TGUID{});
}

}  // namespace
