#include "rtl/Guid.hpp"

namespace rtl {
namespace {

constexpr std::size_t kGuidTextLength = 38;  // {8-4-4-4-12}

[[nodiscard]] int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Reads `digits` hex digits at `pos`; false when any of them is not a hex digit.
template <typename T>
[[nodiscard]] bool ReadHex(std::u16string_view text, std::size_t pos, std::size_t digits, T& out) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const int v = HexValue(text[pos + i]);
    if (v < 0) return false;
    value = (value << 4) | static_cast<std::uint64_t>(v);
  }
  out = static_cast<T>(value);
  return true;
}

void AppendHex(std::u16string& out, std::uint64_t value, int digits) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xF]);
}

}  // namespace

std::optional<TGUID> TGUID::Parse(std::u16string_view text) {
  if (text.size() != kGuidTextLength || text.front() != u'{' || text.back() != u'}') return std::nullopt;
  if (text[9] != u'-' || text[14] != u'-' || text[19] != u'-' || text[24] != u'-') return std::nullopt;
  TGUID guid;
  if (!ReadHex(text, 1, 8, guid.D1) || !ReadHex(text, 10, 4, guid.D2) || !ReadHex(text, 15, 4, guid.D3)) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < 8; ++i) {
    const std::size_t pos = i < 2 ? 20 + 2 * i : 25 + 2 * (i - 2);
    if (!ReadHex(text, pos, 2, guid.D4[i])) return std::nullopt;
  }
  return guid;
}

std::u16string TGUID::ToString() const {
  std::u16string out = u"{";
  AppendHex(out, D1, 8);
  out.push_back(u'-');
  AppendHex(out, D2, 4);
  out.push_back(u'-');
  AppendHex(out, D3, 4);
  out.push_back(u'-');
  for (std::size_t i = 0; i < 8; ++i) {
    if (i == 2) out.push_back(u'-');
    AppendHex(out, D4[i], 2);
  }
  out.push_back(u'}');
  return out;
}

TGUID GuidOf(std::u16string_view text) { return TGUID::Parse(text).value_or(TGUID{}); }

}  // namespace rtl
