#include "rtl/Locale.hpp"
#include "rtl/Text.hpp"

#include <gtest/gtest.h>

namespace {

TEST(LowerCase, MapsLettersOfCommonAlphabets) {
  EXPECT_EQ(rtl::LowerCase(u"DUMMY"), u"dummy");
  EXPECT_EQ(rtl::LowerCase(u"ORVELLA:ADDR?Amount=1"), u"orvella:addr?amount=1");
  EXPECT_EQ(rtl::LowerCase(u"\u00C4\u00D6\u00DC \u0410\u0411 \u0391\u03A9"), u"\u00E4\u00F6\u00FC \u0430\u0431 \u03B1\u03C9");
  EXPECT_EQ(rtl::LowerCase(u"\uFF24\uFF35\uFF2D"), u"\uFF44\uFF55\uFF4D");
  EXPECT_EQ(rtl::LowerCase(u"-/1 \u3042"), u"-/1 \u3042");
  EXPECT_EQ(rtl::LowerCase(u""), u"");
}

TEST(UpperCase, IsTheInverseForPlainLetters) {
  EXPECT_EQ(rtl::UpperCase(u"jpy"), u"JPY");
  EXPECT_EQ(rtl::UpperCase(u"\u00E4\u0430\u03B1"), u"\u00C4\u0410\u0391");
}

TEST(SameText, IgnoresCaseOnly) {
  struct Row {
    std::u16string_view a, b;
    bool same;
  };
  const Row rows[] = {
      {u"amountExt", u"AMOUNTEXT", true},
      {u"label", u"Label", true},
      {u"\u00E9t\u00E9", u"\u00C9T\u00C9", true},
      {u"", u"", true},
      {u"amount", u"amounts", false},
      {u"amount", u"", false},
      {u"amount", u"amountType", false},
      // A soft hyphen is ignorable to linguistic comparison; it must not make another key.
      {u"amount", u"amo\u00ADunt", false},
      {u"label", u"lab\u0435l", false},  // Cyrillic "e"
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.b));
    EXPECT_EQ(rtl::SameText(row.a, row.b), row.same);
  }
}

TEST(FormatSettings, CanBeReplacedByTests) {
  const rtl::FormatSettings saved = rtl::GetFormatSettings();
  EXPECT_FALSE(saved.TimeSeparator.empty());
  rtl::SetFormatSettings({u".", u""});
  EXPECT_EQ(rtl::GetFormatSettings().DateSeparator, u".");
  EXPECT_EQ(rtl::GetFormatSettings().TimeSeparator, u"");
  rtl::SetFormatSettings(saved);
}

}  // namespace
