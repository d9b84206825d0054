#include "rtl/Format.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "rtl/Text.hpp"

namespace rtl {
namespace {

constexpr int kMaxDecimals = 20;

[[nodiscard]] std::u16string IntegerText(long long value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return AsciiToUtf16(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

struct ArgText {
  void operator()(std::u16string_view text) const { out.append(text); }
  void operator()(long long number) const { out.append(IntegerText(number)); }
  void operator()(double number) const { out.append(FormatFixed(number, decimals)); }
  std::u16string& out;
  int decimals;
};

[[nodiscard]] bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// %d of a floating-point argument truncates toward zero; values that no integer holds write nothing.
[[nodiscard]] std::u16string TruncatedText(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 9.2e18) return {};
  return IntegerText(static_cast<long long>(value));
}

}  // namespace

std::u16string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return std::isnan(value) ? u"nan" : (value < 0 ? u"-inf" : u"inf");
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  // 308 integer digits, a sign, a point and the decimals fit.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return {};
  return AsciiToUtf16(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

std::u16string Format(std::u16string_view format, std::initializer_list<FormatArg> args) {
  std::u16string out;
  const FormatArg* next = args.begin();
  std::size_t i = 0;
  while (i < format.size()) {
    const char16_t c = format[i];
    if (c != u'%' || i + 1 >= format.size()) {
      out.push_back(c);
      ++i;
      continue;
    }
    const std::size_t start = i++;
    if (format[i] == u'%') {
      out.push_back(u'%');
      ++i;
      continue;
    }
    int decimals = 2;
    if (format[i] == u'.') {
      std::size_t j = i + 1;
      int n = 0;
      while (j < format.size() && IsDigit(format[j]) && n <= kMaxDecimals) n = n * 10 + (format[j++] - u'0');
      if (j == i + 1 || j >= format.size() || format[j] != u'f') {
        out.append(format.substr(start, j - start));
        i = j;
        continue;
      }
      decimals = n;
      i = j;
    }
    const char16_t kind = format[i++];
    if (kind != u's' && kind != u'd' && kind != u'f') {
      out.append(format.substr(start, i - start));
      continue;
    }
    if (next == args.end()) continue;
    const FormatArg::Value& value = (next++)->value();
    if (kind == u'd' && std::holds_alternative<double>(value)) {
      out.append(TruncatedText(std::get<double>(value)));
    } else if (kind == u'f' && std::holds_alternative<long long>(value)) {
      out.append(FormatFixed(static_cast<double>(std::get<long long>(value)), decimals));
    } else if (kind == u'd' || kind == u'f') {
      if (!std::holds_alternative<std::u16string_view>(value)) std::visit(ArgText{out, decimals}, value);
    } else {
      std::visit(ArgText{out, decimals}, value);
    }
  }
  return out;
}

}  // namespace rtl
