#include "rtl/Format.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Format, FillsTextIntegerAndFixedDirectivesInOrder) {
  EXPECT_EQ(rtl::Format(u"orvella:%s?amount=%s%s", {u"addr", u"5", u""}), u"orvella:addr?amount=5");
  EXPECT_EQ(rtl::Format(u"%d.%d.%d", {1, 0, 2}), u"1.0.2");
  EXPECT_EQ(rtl::Format(u"%.8f", {0.5}), u"0.50000000");
  EXPECT_EQ(rtl::Format(u"%.0f|%f", {2.5, 1.0}), u"2|1.00");
  EXPECT_EQ(rtl::Format(u"%d", {-42}), u"-42");
  EXPECT_EQ(rtl::Format(u"\"%s\" \"%s\"", {u"C:\\w.exe", u"orvella:a"}), u"\"C:\\w.exe\" \"orvella:a\"");
}

TEST(Format, ArgumentsAreNeverReadAsDirectives) {
  EXPECT_EQ(rtl::Format(u"%s=%s", {u"a%sb", u"50%"}), u"a%sb=50%");
}

TEST(Format, OddFormatsNeitherThrowNorReadPastTheArguments) {
  EXPECT_EQ(rtl::Format(u"100%%", {}), u"100%");
  EXPECT_EQ(rtl::Format(u"%s and %s", {u"one"}), u"one and ");
  EXPECT_EQ(rtl::Format(u"%x %.q %", {u"unused"}), u"%x %.q %");
  EXPECT_EQ(rtl::Format(u"%d", {std::numeric_limits<double>::quiet_NaN()}), u"");
  EXPECT_EQ(rtl::Format(u"%d", {u"text"}), u"");
}

TEST(FormatFixed, AlwaysUsesAPointAndHandlesExtremes) {
  EXPECT_EQ(rtl::FormatFixed(1234.5678, 2), u"1234.57");
  EXPECT_EQ(rtl::FormatFixed(1e20, 1), u"100000000000000000000.0");
  EXPECT_EQ(rtl::FormatFixed(std::numeric_limits<double>::infinity(), 2), u"inf");
  EXPECT_EQ(rtl::FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), u"nan");
  EXPECT_EQ(rtl::FormatFixed(-std::numeric_limits<double>::max(), 2).substr(0, 4), u"-179");
}

}  // namespace
