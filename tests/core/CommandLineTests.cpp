#include "rtl/CommandLine.hpp"

#include <gtest/gtest.h>

#include "rtl/Text.hpp"

namespace {

using Args = std::vector<std::u16string>;

struct SplitCase {
  std::u16string commandLine;
  Args expected;
};

TEST(SplitCommandLine, FollowsTheQuoteAndSeparatorRules) {
  const SplitCase cases[] = {
      {u"prog.exe", {u"prog.exe"}},
      {u"", {}},
      {u"   ", {}},
      {u"\"C:\\Program Files\\Orvella Link\\OrvellaLink.exe\" dummy",
       {u"C:\\Program Files\\Orvella Link\\OrvellaLink.exe", u"dummy"}},
      // An empty pair of quotes where an argument would begin is no argument.
      {u"prog \"\"", {u"prog"}},
      {u"prog \"\" \"\"\"\" dummy", {u"prog", u"dummy"}},
      {u"prog \"orvella:addr?message=Order 12\" extra", {u"prog", u"orvella:addr?message=Order 12", u"extra"}},
      // Quotes inside an argument are dropped, blanks between them kept.
      {u"prog a\"b c\"d", {u"prog", u"ab cd"}},
      {u"prog a\"\"b", {u"prog", u"ab"}},
      // A backslash is an ordinary character, also before a quote.
      {u"prog C:\\dir\\ \"a\\\"b", {u"prog", u"C:\\dir\\", u"a\\b"}},
      // Every code from 1 to 32 separates; DEL and non-ASCII do not.
      {u"prog\ta\x01" u"b\x1F" u"c\x7F" u"d \u3042\u3000x", {u"prog", u"a", u"b", u"c\x7F" u"d", u"\u3042\u3000x"}},
      {u"prog \"unclosed arg", {u"prog", u"unclosed arg"}},
      {u"prog \"", {u"prog"}},
      {u"prog - /", {u"prog", u"-", u"/"}},
      {std::u16string(u"prog a\0b", 8), {u"prog", u"a"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(c.commandLine));
    EXPECT_EQ(rtl::SplitCommandLine(c.commandLine), c.expected);
  }
}

TEST(ParamStr, IndexesOutsideTheArgumentsGiveEmptyText) {
  EXPECT_EQ(rtl::ParamStr(-1), u"");
  EXPECT_EQ(rtl::ParamStr(rtl::ParamCount() + 1), u"");
}

#if defined(_WIN32)
TEST(ParamStr, ZeroIsTheFullPathOfTheRunningProgram) {
  const std::u16string path = rtl::ParamStr(0);
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(path.substr(path.size() - 4), u".exe");
  EXPECT_NE(path.find(u'\\'), std::u16string::npos);
}
#endif

}  // namespace
