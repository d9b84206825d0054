#include "app/uCommand.hpp"

#include <gtest/gtest.h>

#include "rtl/CommandLine.hpp"
#include "rtl/Text.hpp"

namespace {

TEST(GetCommand, LowerCasesAndDropsEveryLeadingDashAndSlash) {
  struct Row {
    std::u16string_view argument, word;
  };
  const Row rows[] = {
      {u"dummy", u"dummy"},        {u"DUMMY", u"dummy"},   {u"-dummy", u"dummy"},
      {u"--Dummy", u"dummy"},      {u"/dummy", u"dummy"},  {u"--/dummy", u"dummy"},
      {u"-/-DUMMY", u"dummy"},     {u"dummy2", u"dummy2"}, {u"du-mmy", u"du-mmy"},
      {u"-", u""},                 {u"/", u""},            {u"", u""},
      {u"-du/mmy-", u"du/mmy-"},   {u"orvella:ADDR?amount=1", u"orvella:addr?amount=1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.argument));
    EXPECT_EQ(uCommand::GetCommand(row.argument), row.word);
  }
}

TEST(GetCommand, TakesTheFirstArgumentAsTheCommandLineSplitsIt) {
  const auto args = rtl::SplitCommandLine(u"\"C:\\a b\\OrvellaLink.exe\" \"\" --/DUMMY orvella:x");
  ASSERT_EQ(args.size(), 3u);
  EXPECT_EQ(uCommand::GetCommand(args[1]), u"dummy");
}

TEST(StartsWithAny, IsOrdinalCaseSensitiveAndAnEmptyPrefixMatchesAll) {
  EXPECT_TRUE(uCommand::StartsWithAny(u"-x", {u"-", u"/"}));
  EXPECT_TRUE(uCommand::StartsWithAny(u"/x", {u"-", u"/"}));
  EXPECT_FALSE(uCommand::StartsWithAny(u"x-", {u"-", u"/"}));
  EXPECT_FALSE(uCommand::StartsWithAny(u"Abc", {u"a"}));
  EXPECT_TRUE(uCommand::StartsWithAny(u"abc", {u"b", u""}));
  EXPECT_TRUE(uCommand::StartsWithAny(u"", {u""}));
  EXPECT_FALSE(uCommand::StartsWithAny(u"", {u"a"}));
  EXPECT_FALSE(uCommand::StartsWithAny(u"abc", {}));
  EXPECT_FALSE(uCommand::StartsWithAny(u"ab", {u"abc"}));
}

}  // namespace
