#pragma once
// printf-style formatting over UTF-16 for the directives the program uses:
// %s (text), %d (integer), %.Nf (fixed-point with N decimals; %f means %.2f) and %%.
// Numbers are always written with "." as the decimal separator: the texts built with
// this function are URIs and command lines, not display text.

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace rtl {

class FormatArg {
 public:
  FormatArg(std::u16string_view text) : value_(text) {}
  FormatArg(const std::u16string& text) : value_(std::u16string_view(text)) {}
  FormatArg(const char16_t* text) : value_(std::u16string_view(text ? text : u"")) {}
  FormatArg(int number) : value_(static_cast<long long>(number)) {}
  FormatArg(long number) : value_(static_cast<long long>(number)) {}
  FormatArg(long long number) : value_(number) {}
  FormatArg(unsigned number) : value_(static_cast<long long>(number)) {}
  FormatArg(double number) : value_(number) {}

  using Value = std::variant<std::u16string_view, long long, double>;
  [[nodiscard]] const Value& value() const { return value_; }

 private:
  Value value_;
};

// A directive without a matching argument writes nothing; an unknown directive is
// copied as it stands. Nothing here throws on a bad format.
[[nodiscard]] std::u16string Format(std::u16string_view format, std::initializer_list<FormatArg> args);

// Fixed-point text of a number with "." as the separator ("inf"/"nan" for non-finite values).
[[nodiscard]] std::u16string FormatFixed(double value, int decimals);

}  // namespace rtl
