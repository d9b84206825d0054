#include "utils/Nox.Utils.DateTime.hpp"

#include <gtest/gtest.h>

#include "rtl/Locale.hpp"
#include "rtl/Text.hpp"

namespace {

using namespace std::chrono;
using Nox::Utils::DateTime::FormatDateTimeText;

[[nodiscard]] sys_seconds At(int y, unsigned mo, unsigned d, int h, int mi, int s = 0) {
  return sys_days{year{y} / month{mo} / day{d}} + hours{h} + minutes{mi} + seconds{s};
}

// Each test states the separators it relies on and puts the user's back afterwards.
class FormatDateTimeTextTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = rtl::GetFormatSettings(); }
  void TearDown() override { rtl::SetFormatSettings(saved_); }
  rtl::FormatSettings saved_;
};

TEST_F(FormatDateTimeTextTest, WritesEachElement) {
  rtl::SetFormatSettings({u"/", u":"});
  struct Row {
    std::u16string format;
    sys_seconds value;
    std::u16string text;
  };
  const Row rows[] = {
      {u"yyyy/mm/dd hh:nn", At(2018, 5, 29, 14, 5), u"2018/05/29 14:05"},
      {u"yyyy/mm/dd hh:nn", At(2019, 1, 5, 9, 7), u"2019/01/05 09:07"},
      {u"YYYY/MM/DD HH:NN", At(2019, 1, 5, 9, 7), u"2019/01/05 09:07"},
      {u"y yy yyy", At(2007, 3, 4, 0, 0), u"07 07 2007"},
      {u"yyyy", At(987, 3, 4, 0, 0), u"0987"},
      {u"m d h n s", At(2019, 1, 5, 9, 7, 3), u"1 5 9 7 3"},
      // m and mm right after an hour element are minutes; after anything else the month.
      {u"hh:mm", At(2019, 1, 5, 9, 7), u"09:07"},
      {u"h m", At(2019, 1, 5, 9, 7), u"9 7"},
      {u"mm hh", At(2019, 1, 5, 9, 7), u"01 09"},
      {u"hh dd mm", At(2019, 1, 5, 9, 7), u"09 05 01"},
      {u"hh:nn am/pm", At(2019, 1, 5, 21, 7), u"09:07 pm"},
      {u"h:nn A/P", At(2019, 1, 5, 0, 30), u"12:30 A"},
      {u"\"Date\" yyyy 'at' hh", At(2019, 1, 5, 9, 7), u"Date 2019 at 09"},
      {u"'unclosed", At(2019, 1, 5, 9, 7), u"unclosed"},
      {u"[dd]-x", At(2019, 1, 5, 9, 7), u"[05]-x"},
      {u"", At(2019, 1, 5, 9, 7), u""},
      {u"dd/mm/yyyy", At(1970, 1, 1, 0, 0), u"01/01/1970"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.format));
    EXPECT_EQ(FormatDateTimeText(row.format, row.value), row.text);
  }
}

TEST_F(FormatDateTimeTextTest, UsesTheSeparatorsOfTheSettings) {
  const sys_seconds value = At(2018, 5, 29, 14, 5);
  rtl::SetFormatSettings({u".", u":"});
  EXPECT_EQ(FormatDateTimeText(u"yyyy/mm/dd hh:nn", value), u"2018.05.29 14:05");
  rtl::SetFormatSettings({u"", u""});
  EXPECT_EQ(FormatDateTimeText(u"yyyy/mm/dd hh:nn", value), u"20180529 1405");
  rtl::SetFormatSettings({u"-", u"h"});
  EXPECT_EQ(FormatDateTimeText(u"yyyy/mm/dd hh:nn", value), u"2018-05-29 14h05");
}

}  // namespace
