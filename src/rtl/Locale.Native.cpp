// Invariant case mapping for the native build: Basic Latin, Latin-1, Latin Extended-A,
// Greek, Cyrillic and full-width Latin letters. Enough for the program's texts and
// tests; the Windows build asks the operating system instead.

#include "rtl/LocaleBackend.hpp"

namespace rtl::backend {
namespace {

[[nodiscard]] bool InRange(char16_t c, char16_t first, char16_t last) { return c >= first && c <= last; }

// Latin Extended-A pairs upper and lower case on neighbouring code points; which one is
// upper depends on the block.
[[nodiscard]] bool IsPairedUpperEven(char16_t c) {
  return (InRange(c, 0x100, 0x137) || InRange(c, 0x14A, 0x177)) && c != 0x130 && c != 0x131;
}
[[nodiscard]] bool IsPairedUpperOdd(char16_t c) {
  return InRange(c, 0x139, 0x148) || InRange(c, 0x179, 0x17E);
}

[[nodiscard]] char16_t ToLower(char16_t c) {
  if (InRange(c, u'A', u'Z')) return c + 0x20;
  if (InRange(c, 0xC0, 0xDE) && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (IsPairedUpperEven(c) && c % 2 == 0) return c + 1;
  if (IsPairedUpperOdd(c) && c % 2 == 1) return c + 1;
  if (InRange(c, 0x391, 0x3A9) && c != 0x3A2) return c + 0x20;
  if (InRange(c, 0x410, 0x42F)) return c + 0x20;
  if (InRange(c, 0x400, 0x40F)) return c + 0x50;
  if (InRange(c, 0xFF21, 0xFF3A)) return c + 0x20;
  return c;
}

[[nodiscard]] char16_t ToUpper(char16_t c) {
  if (InRange(c, u'a', u'z')) return c - 0x20;
  if (InRange(c, 0xE0, 0xFE) && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (IsPairedUpperEven(static_cast<char16_t>(c - 1)) && c % 2 == 1) return c - 1;
  if (IsPairedUpperOdd(static_cast<char16_t>(c - 1)) && c % 2 == 0) return c - 1;
  if (InRange(c, 0x3B1, 0x3C9) && c != 0x3C2) return c - 0x20;
  if (InRange(c, 0x430, 0x44F)) return c - 0x20;
  if (InRange(c, 0x450, 0x45F)) return c - 0x50;
  if (InRange(c, 0xFF41, 0xFF5A)) return c - 0x20;
  return c;
}

}  // namespace

std::u16string LowerCase(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = ToLower(c);
  return out;
}

std::u16string UpperCase(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = ToUpper(c);
  return out;
}

bool SameText(std::u16string_view a, std::u16string_view b) { return LowerCase(a) == LowerCase(b); }

FormatSettings UserFormatSettings() { return {}; }

}  // namespace rtl::backend
