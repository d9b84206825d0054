#include "payment/uBIP.hpp"

#include <gtest/gtest.h>

#include "rtl/Text.hpp"

namespace {

using uBIP::TBIP21Params;

TEST(EncodeURIValue, EscapesOnlyUnsafeAndNonPrintableBytes) {
  struct Row {
    std::u16string value, encoded;
  };
  const Row rows[] = {
      {u"", u""},
      {u"a b", u"a%20b"},
      {u"a+b&c=d", u"a+b&c=d"},
      {u"/:?;,!*()[]@$~`^{}|\\", u"/:?;,!*()[]@$~`^{}|\\"},
      {u"<\"x\">", u"%3C%22x%22%3E"},
      {u"#'", u"%23%27"},
      {u"50% off", u"50%%20off"},
      {u"%41", u"%41"},
      {u"%e3%81", u"%e3%81"},
      {u"%4g", u"%4g"},
      {u"%4", u"%4"},
      {u"%", u"%"},
      {u"\u3042", u"%E3%81%82"},
      {u"\U0001F600", u"%F0%9F%98%80"},
      {u"\t\r\n\x7F", u"%09%0D%0A%7F"},
      {std::u16string(u"a\0b", 3), u"a%00b"},
      {std::u16string{0xD800}, u"%EF%BF%BD"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.value));
    const std::u16string once = uBIP::EncodeURIValue(row.value);
    EXPECT_EQ(once, row.encoded);
    EXPECT_EQ(uBIP::EncodeURIValue(once), once) << "encoding twice must change nothing";
  }
}

TEST(CreateORV21, WritesNonEmptyParametersInOrderWithOneQuestionMark) {
  struct Row {
    std::u16string address, amount, label, message, amountExt, amountType, uri;
  };
  const Row rows[] = {
      {u"addr", u"1.5", u"", u"", u"", u"", u"orvella:addr?amount=1.5"},
      {u"addr", u"", u"Shop", u"", u"", u"", u"orvella:addr?label=Shop"},
      {u"addr", u"1", u"", u"", u"", u"JPY", u"orvella:addr?amount=1"},
      {u"addr", u"", u"", u"", u"100", u"", u"orvella:addr?amountExt=100"},
      {u"addr", u"", u"", u"", u"", u"", u"orvella:addr"},
      {u"ad?dr", u"1", u"", u"", u"", u"", u"orvella:ad?dr&amount=1"},
      {u"addr", u"2", u"Shop A", u"Order 2024/05", u"1000", u"JPY",
       u"orvella:addr?amount=2&amountExt=1000&amountType=JPY&label=Shop%20A&message=Order%202024/05"},
      {u"addr", u"", u"<b>", u"\u3042", u"", u"", u"orvella:addr?label=%3Cb%3E&message=%E3%81%82"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.uri));
    EXPECT_EQ(uBIP::TBIPUtils::CreateORV21(row.address, row.amount, row.label, row.message, row.amountExt,
                                           row.amountType),
              row.uri);
  }
}

struct ParseRow {
  const char* name;
  std::u16string uri;
  TBIP21Params expected;  // Address, Amount, Label, Message, AmountExt, AmountType
};

void ExpectParsed(const ParseRow& row) {
  SCOPED_TRACE(row.name);
  const auto parsed = uBIP::ParseBIP21URI(row.uri);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->Address, row.expected.Address);
  EXPECT_EQ(parsed->Amount, row.expected.Amount);
  EXPECT_EQ(parsed->Label, row.expected.Label);
  EXPECT_EQ(parsed->Message, row.expected.Message);
  EXPECT_EQ(parsed->AmountExt, row.expected.AmountExt);
  EXPECT_EQ(parsed->AmountType, row.expected.AmountType);
}

TEST(ParseBIP21URI, ReadsAddressAndParameters) {
  const ParseRow rows[] = {
      {"shell form with escape kept", u"orvella://addr?amount=2&label=Shop%20A", {u"addr", u"2", u"Shop%20A", u"", u"", u""}},
      {"any key case, first wins", u"orvella:addr?AMOUNT=3&amount=4&Label=x", {u"addr", u"3", u"x", u"", u"", u""}},
      {"empty address", u"orvella:?amount=1", {u"", u"1", u"", u"", u"", u""}},
      {"address only", u"orvella:addr", {u"addr", u"", u"", u"", u"", u""}},
      {"equals sign in a value", u"orvella:addr?message=a=b&amount=", {u"addr", u"", u"", u"a=b", u"", u""}},
      {"bare word is no parameter", u"orvella:addr?amount&amount=7", {u"addr", u"7", u"", u"", u"", u""}},
      {"currency extension", u"orvella:addr?amountExt=100&amountType=JPY", {u"addr", u"", u"", u"", u"100", u"JPY"}},
      {"ampersand ends a label", u"orvella:addr?label=a&b", {u"addr", u"", u"a", u"", u"", u""}},
      {"label and message re-encoded", u"orvella:addr?label=Shop A&message=<b>\u3042", {u"addr", u"", u"Shop%20A", u"%3Cb%3E%E3%81%82", u"", u""}},
      {"other scheme is not examined", u"bitcoin:addr?amount=1", {u"addr", u"1", u"", u"", u"", u""}},
      {"address is kept unencoded", u"orvella:ad%20dr", {u"ad%20dr", u"", u"", u"", u"", u""}},
  };
  for (const auto& row : rows) ExpectParsed(row);
}

// Slashes, colons and question marks inside values are data; only the address loses its
// slashes, and one slash that ends the whole URI (added by browsers) is dropped.
TEST(ParseBIP21URI, KeepsSlashColonAndQuestionMarkInValues) {
  const ParseRow rows[] = {
      {"colon in label", u"orvella:addr?label=a:b", {u"addr", u"", u"a:b", u"", u"", u""}},
      {"slash in label", u"orvella:addr?label=a/b", {u"addr", u"", u"a/b", u"", u"", u""}},
      {"date in message", u"orvella:addr?message=Order 2024/05&amount=1", {u"addr", u"1", u"", u"Order%202024/05", u"", u""}},
      {"link in message", u"orvella:addr?message=https://shop.example/p?id=7", {u"addr", u"", u"", u"https://shop.example/p?id=7", u"", u""}},
      {"browser slash after address", u"orvella://addr/", {u"addr", u"", u"", u"", u"", u""}},
      {"slashes around address", u"orvella://addr/?amount=1", {u"addr", u"1", u"", u"", u"", u""}},
      {"browser slash after query", u"orvella:addr?amount=1/", {u"addr", u"1", u"", u"", u"", u""}},
      {"only one ending slash dropped", u"orvella:addr?message=a//", {u"addr", u"", u"", u"a/", u"", u""}},
      {"address is no parameter", u"orvella:amount=5", {u"amount=5", u"", u"", u"", u"", u""}},
  };
  for (const auto& row : rows) ExpectParsed(row);
}

TEST(ParseBIP21URI, FailsWithoutAnAddressLine) {
  for (const std::u16string uri : {u"", u"orvella", u"orvella//addr?amount=1", u"/"}) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(uri));
    EXPECT_FALSE(uBIP::ParseBIP21URI(uri).has_value());
  }
}

TEST(BuildSendURI, AlwaysWritesTheAmountKeyThenLabelAndMessage) {
  EXPECT_EQ(uBIP::BuildSendURI(u"addr", u"5", u"", u"note"), u"orvella:addr?amount=5&message=note");
  EXPECT_EQ(uBIP::BuildSendURI(u"addr", u"", u"", u""), u"orvella:addr?amount=");
  EXPECT_EQ(uBIP::BuildSendURI(u"addr", u"1.5", u"Shop%20A", u"a%25b"), u"orvella:addr?amount=1.5&label=Shop%20A&message=a%25b");
}

TEST(PaymentURI, WhatTheGeneratorWritesTheFlowReadsBack) {
  const std::u16string uri =
      uBIP::TBIPUtils::CreateORV21(u"ORVaddr123", u"0.25", u"Caf\u00E9 & Bar", u"Order 2024/05: 2 items?", u"", u"");
  const auto parsed = uBIP::ParseBIP21URI(uri);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->Address, u"ORVaddr123");
  EXPECT_EQ(parsed->Amount, u"0.25");
  // An ampersand written unescaped still ends the label: the generator never escapes it.
  EXPECT_EQ(parsed->Label, u"Caf%C3%A9%20");
  EXPECT_EQ(parsed->Message, u"Order%202024/05:%202%20items?");
  EXPECT_EQ(uBIP::BuildSendURI(parsed->Address, parsed->Amount, parsed->Label, parsed->Message),
            u"orvella:ORVaddr123?amount=0.25&label=Caf%C3%A9%20&message=Order%202024/05:%202%20items?");
}

}  // namespace
