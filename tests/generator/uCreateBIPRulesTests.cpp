#include "generator/uCreateBIPRules.hpp"

#include <gtest/gtest.h>

#include "rtl/Text.hpp"

namespace {

using uCreateBIPRules::CanGenerate;
using uCreateBIPRules::FilterAmount;
using uCreateBIPRules::GenerateURI;
using uCreateBIPRules::TGeneratorFields;

TEST(FilterAmount, KeepsDigitsAndTheFirstDotOnly) {
  struct Row {
    std::u16string proposed, text;
    bool caretStep;
  };
  const Row rows[] = {
      {u"", u"", false},
      {u".", u"0.", true},
      {u"..", u"0.", true},
      {u".5", u"0.5", true},
      {u"0.", u"0.", false},
      {u"1.", u"1.", false},
      {u"1.2.3", u"1.23", false},
      {u"1,5", u"15", false},
      {u"-3", u"3", false},
      {u"+3", u"3", false},
      {u"1 000", u"1000", false},
      {u"1e5", u"15", false},
      {u"\uFF11", u"", false},          // full-width one
      {u"2\uFF0E5", u"25", false},      // full-width full stop
      {u"\u0661\u0662", u"", false},    // Arabic-Indic digits
      {u"\u00B2\u00BD", u"", false},    // superscript two, one half
      {u"abc", u"", false},
      {u"a.b", u"0.", true},
      {u"x.1.2", u"0.12", true},
      {std::u16string(u"1\0" u"2", 3), u"12", false},
      {u"007", u"007", false},
      {u"\U0001F600" u"9", u"9", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.proposed));
    const auto result = FilterAmount(row.proposed);
    EXPECT_EQ(result.Text, row.text);
    EXPECT_EQ(result.CaretStep, row.caretStep);
    // What the filter leaves passes it again unchanged, so the edit settles at once.
    const auto again = FilterAmount(result.Text);
    EXPECT_EQ(again.Text, result.Text);
    EXPECT_FALSE(again.CaretStep);
  }
}

TEST(CanGenerate, NeedsAnAddressAndSomeAmount) {
  struct Row {
    std::u16string address, amount;
    bool orv21;
    std::u16string amountExt;
    bool enabled;
  };
  const Row rows[] = {
      {u"", u"", false, u"", false},
      {u"a", u"", false, u"", false},
      {u"a", u"1", false, u"", true},
      {u"", u"1", false, u"", false},
      {u"", u"", true, u"5", false},
      {u"a", u"", true, u"5", true},
      {u"a", u"", false, u"5", false},  // a currency amount counts only with ORV21 on
      {u"a", u"", true, u"", false},
      {u"a", u"1", true, u"", true},
      {u" ", u" ", false, u"", true},   // blanks are not empty
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.address + u"|" + row.amount + u"|" + row.amountExt) +
                 (row.orv21 ? " ORV21" : ""));
    EXPECT_EQ(CanGenerate(row.address, row.amount, row.orv21, row.amountExt), row.enabled);
  }
}

TEST(GenerateURI, PassesTheCurrencyFieldsOnlyWithORV21) {
  struct Row {
    const char* name;
    TGeneratorFields fields;
    std::u16string uri;
  };
  const Row rows[] = {
      {"ORV21 off: amount in another currency and currency are dropped",
       {u"addr", u"1.5", u"", u"", u"1000", false, u"JPY"},
       u"orvella:addr?amount=1.5"},
      {"ORV21 on with a currency", {u"addr", u"", u"", u"", u"1000", true, u"JPY"},
       u"orvella:addr?amountExt=1000&amountType=JPY"},
      {"ORV21 on, no currency selected", {u"addr", u"", u"", u"", u"1000", true, std::nullopt},
       u"orvella:addr?amountExt=1000"},
      {"ORV21 on, no amount in another currency", {u"addr", u"2", u"", u"", u"", true, u"EUR"},
       u"orvella:addr?amount=2"},
      {"texts go as the edits hold them", {u" addr ", u"0.", u"My Shop", u"Order 7", u"", false, std::nullopt},
       u"orvella: addr ?amount=0.&label=My%20Shop&message=Order%207"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(GenerateURI(row.fields), row.uri);
  }
}

}  // namespace
