#include "rtl/Text.hpp"

#include <gtest/gtest.h>

namespace {

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

TEST(Utf8ToUtf16, DecodesValidAndReplacesEachBrokenSubpart) {
  const Utf8Case cases[] = {
      {"ascii", "orvella:addr", u"orvella:addr"},
      {"two, three and four bytes", "\xC3\xA4\xE3\x81\x82\xF0\x9F\x98\x80", u"\u00E4\u3042\U0001F600"},
      {"overlong NUL", "\xC0\x80", u"\uFFFD\uFFFD"},
      {"truncated at the end", "a\xE3\x81", u"a\uFFFD"},
      {"truncated before ASCII", "\xE3\x81" "A", u"\uFFFDA"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"stray continuation", "\x80x", u"\uFFFDx"},
      {"embedded NUL kept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(rtl::Utf8ToUtf16(c.utf8), c.utf16);
  }
}

TEST(Utf16ToUtf8, EncodesPairsAndReplacesLoneSurrogates) {
  EXPECT_EQ(rtl::Utf16ToUtf8(u"\u00E4\u3042\U0001F600"), "\xC3\xA4\xE3\x81\x82\xF0\x9F\x98\x80");
  EXPECT_EQ(rtl::Utf16ToUtf8(std::u16string{u'a', 0xD800}), "a\xEF\xBF\xBD");
  EXPECT_EQ(rtl::Utf16ToUtf8(std::u16string{0xDC00, u'b'}), "\xEF\xBF\xBD" "b");
  EXPECT_EQ(rtl::Utf16ToUtf8(std::u16string{0xDC00, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Trim, RemovesCharactersUpToU0020OnBothEnds) {
  EXPECT_EQ(rtl::Trim(u" \t\x01" u"a b\r\n "), u"a b");
  EXPECT_EQ(rtl::Trim(u" \t "), u"");
  EXPECT_EQ(rtl::Trim(u""), u"");
  // An ideographic space is above U+0020 and stays.
  EXPECT_EQ(rtl::Trim(u"\u3000a\u3000"), u"\u3000a\u3000");
  EXPECT_EQ(rtl::TrimLeft(u"  a  "), u"a  ");
  EXPECT_EQ(rtl::TrimRight(u"  a  "), u"  a");
}

TEST(ReplaceAll, ReplacesEveryOccurrence) {
  EXPECT_EQ(rtl::ReplaceAll(u"//a/b//", u"/", u""), u"ab");
  EXPECT_EQ(rtl::ReplaceAll(u"a:b:c", u":", u"\r\n"), u"a\r\nb\r\nc");
  EXPECT_EQ(rtl::ReplaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(rtl::ReplaceAll(u"abc", u"", u"x"), u"abc");
}

}  // namespace
