// Case mapping and comparison by the operating system, for the locale of the main thread.

#include <windows.h>

#include "rtl/LocaleBackend.hpp"
#include "rtl/Text.hpp"

namespace rtl::backend {
namespace {

// Recorded once, as the program starts using it; a thread without a locale counts as en-US.
[[nodiscard]] LCID RecordedLocale() {
  static const LCID locale = [] {
    const LCID thread = GetThreadLocale();
    return thread != 0 ? thread : MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
  }();
  return locale;
}

[[nodiscard]] std::u16string MapCase(std::u16string_view text, DWORD flags) {
  if (text.empty()) return {};
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int needed = LCMapStringW(RecordedLocale(), flags | LCMAP_LINGUISTIC_CASING, source, length, nullptr, 0);
  if (needed <= 0) return std::u16string(text);
  std::u16string out(static_cast<std::size_t>(needed), u'\0');
  const int written = LCMapStringW(RecordedLocale(), flags | LCMAP_LINGUISTIC_CASING, source, length, WBuf(out), needed);
  if (written <= 0) return std::u16string(text);
  out.resize(static_cast<std::size_t>(written));
  return out;
}

[[nodiscard]] std::u16string LocaleText(LCTYPE type, std::u16string fallback) {
  wchar_t buffer[16] = {};
  const int length = GetLocaleInfoW(RecordedLocale(), type, buffer, 16);
  return length > 1 ? FromW(buffer) : fallback;
}

}  // namespace

std::u16string LowerCase(std::u16string_view text) { return MapCase(text, LCMAP_LOWERCASE); }

std::u16string UpperCase(std::u16string_view text) { return MapCase(text, LCMAP_UPPERCASE); }

bool SameText(std::u16string_view a, std::u16string_view b) {
  // Linguistic comparison treats some characters (soft hyphens, zero-width marks) as
  // ignorable; texts of different lengths are never the same key.
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;
  const int result = CompareStringW(RecordedLocale(), NORM_IGNORECASE | SORT_STRINGSORT,
                                    reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                                    reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()));
  return result == CSTR_EQUAL;
}

FormatSettings UserFormatSettings() {
  FormatSettings settings;
  settings.DateSeparator = LocaleText(LOCALE_SDATE, settings.DateSeparator);
  settings.TimeSeparator = LocaleText(LOCALE_STIME, settings.TimeSeparator);
  return settings;
}

}  // namespace rtl::backend
