#include "utils/Nox.Utils.DateTime.hpp"

#include <cstdlib>
#include <string_view>

#include "rtl/Format.hpp"
#include "rtl/Locale.hpp"

namespace Nox::Utils::DateTime {
namespace {

struct TParts {
  int Year, Month, Day, Hour, Minute, Second;
};

[[nodiscard]] TParts Split(std::chrono::sys_seconds value) {
  using namespace std::chrono;
  const sys_days day = floor<days>(value);
  const year_month_day ymd{day};
  const hh_mm_ss<seconds> time{value - day};
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(time.hours().count()),
          static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count())};
}

[[nodiscard]] char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c; }

[[nodiscard]] bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

[[nodiscard]] std::u16string Number(int value, int digits) {
  std::u16string text = rtl::Format(u"%d", {std::abs(value)});
  if (text.size() < static_cast<std::size_t>(digits)) text.insert(0, static_cast<std::size_t>(digits) - text.size(), u'0');
  return value < 0 ? u"-" + text : text;
}

[[nodiscard]] bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[i]) != prefix[i]) return false;
  }
  return true;
}

// An am/pm element anywhere after `pos` turns the hour elements before it into a 12-hour clock.
[[nodiscard]] bool AmPmFollows(std::u16string_view format, std::size_t pos) {
  for (std::size_t i = pos; i < format.size(); ++i) {
    if (StartsWithNoCase(format.substr(i), u"am/pm") || StartsWithNoCase(format.substr(i), u"a/p")) return true;
  }
  return false;
}

class TWriter {
 public:
  TWriter(std::u16string_view format, TParts parts) : format_(format), parts_(parts) {}

  [[nodiscard]] std::u16string Run() {
    while (pos_ < format_.size()) Step();
    return out_;
  }

 private:
  void Step() {
    const char16_t c = format_[pos_];
    if (c == u'"' || c == u'\'') return Quoted(c);
    if (c == u'/') return Literal(rtl::GetFormatSettings().DateSeparator);
    if (c == u':') return Literal(rtl::GetFormatSettings().TimeSeparator);
    if (StartsWithNoCase(format_.substr(pos_), u"am/pm")) return AmPm(5, u"am", u"pm");
    if (StartsWithNoCase(format_.substr(pos_), u"a/p")) return AmPm(3, u"a", u"p");
    const char16_t letter = Lower(c);
    if (letter == u'y' || letter == u'm' || letter == u'd' || letter == u'h' || letter == u'n' || letter == u's') {
      return Element(letter);
    }
    out_.push_back(c);
    ++pos_;
    if (IsLetter(c)) afterHour_ = false;
  }

  void Quoted(char16_t quote) {
    const std::size_t end = format_.find(quote, pos_ + 1);
    const std::size_t stop = end == std::u16string_view::npos ? format_.size() : end;
    out_.append(format_.substr(pos_ + 1, stop - pos_ - 1));
    pos_ = end == std::u16string_view::npos ? format_.size() : end + 1;
  }

  void Literal(const std::u16string& text) {
    out_.append(text);
    ++pos_;
  }

  // Writes "am"/"pm" (or "a"/"p") in the letter case the format uses.
  void AmPm(std::size_t length, std::u16string_view am, std::u16string_view pm) {
    const bool upper = format_[pos_] >= u'A' && format_[pos_] <= u'Z';
    std::u16string text(parts_.Hour < 12 ? am : pm);
    if (upper) text = rtl::UpperCase(text);
    out_.append(text);
    pos_ += length;
    afterHour_ = false;
  }

  void Element(char16_t letter) {
    std::size_t count = 0;
    while (pos_ + count < format_.size() && Lower(format_[pos_ + count]) == letter) ++count;
    const bool twelveHour = letter == u'h' && AmPmFollows(format_, pos_ + count);
    const int hour = twelveHour ? (parts_.Hour % 12 == 0 ? 12 : parts_.Hour % 12) : parts_.Hour;
    const int digits = count >= 2 ? 2 : 1;
    switch (letter) {
      case u'y':
        out_.append(count >= 3 ? Number(parts_.Year, 4) : Number(((parts_.Year % 100) + 100) % 100, 2));
        break;
      case u'm':
        out_.append(Number(afterHour_ ? parts_.Minute : parts_.Month, digits));
        break;
      case u'd':
        out_.append(Number(parts_.Day, digits));
        break;
      case u'h':
        out_.append(Number(hour, digits));
        break;
      case u'n':
        out_.append(Number(parts_.Minute, digits));
        break;
      default:
        out_.append(Number(parts_.Second, digits));
        break;
    }
    pos_ += count;
    afterHour_ = letter == u'h';
  }

  std::u16string_view format_;
  TParts parts_;
  std::size_t pos_ = 0;
  bool afterHour_ = false;
  std::u16string out_;
};

}  // namespace

std::u16string FormatDateTimeText(const std::u16string& format, std::chrono::sys_seconds value) {
  return TWriter(format, Split(value)).Run();
}

}  // namespace Nox::Utils::DateTime
