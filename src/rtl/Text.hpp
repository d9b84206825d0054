#pragma once
// UTF-16 text helpers: the program's text type is std::u16string throughout.

#include <string>
#include <string_view>

namespace rtl {

// Invalid UTF-8 sequences become U+FFFD, one for each maximal bad subpart.
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view text);
// Lone surrogates become U+FFFD (EF BF BD).
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

// Characters up to U+0020 (blanks and control characters) are trimmed.
[[nodiscard]] std::u16string Trim(std::u16string_view text);
[[nodiscard]] std::u16string TrimLeft(std::u16string_view text);
[[nodiscard]] std::u16string TrimRight(std::u16string_view text);

// Replaces every occurrence of `from` (which must not be empty) by `to`.
[[nodiscard]] std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from,
                                        std::u16string_view to);

[[nodiscard]] constexpr bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// ASCII-only conversions for texts that are known to be ASCII (codes, keys).
[[nodiscard]] std::u16string AsciiToUtf16(std::string_view text);

#if defined(_WIN32)
// Win32 wide strings and ours are both UTF-16 with 16-bit units on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
[[nodiscard]] inline const wchar_t* WStr(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
[[nodiscard]] inline wchar_t* WBuf(std::u16string& text) {
  return reinterpret_cast<wchar_t*>(text.data());
}
[[nodiscard]] inline std::u16string FromW(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}
[[nodiscard]] inline std::u16string FromW(const wchar_t* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
#endif

}  // namespace rtl
