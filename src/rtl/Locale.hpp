#pragma once
// Locale-aware case handling and the format settings of the user's locale.
// On Windows these follow the locale recorded at start-up (the main thread's locale,
// English (United States) when none is reported); the native build uses an invariant
// fallback that knows the common alphabets.

#include <string>
#include <string_view>

namespace rtl {

[[nodiscard]] std::u16string LowerCase(std::u16string_view text);
[[nodiscard]] std::u16string UpperCase(std::u16string_view text);

// Equality without regard to letter case, as the locale decides which letters are the same.
[[nodiscard]] bool SameText(std::u16string_view a, std::u16string_view b);

struct FormatSettings {
  std::u16string DateSeparator = u"/";
  std::u16string TimeSeparator = u":";
};

// The settings of the user's locale, read once; tests may replace them.
[[nodiscard]] const FormatSettings& GetFormatSettings();
void SetFormatSettings(const FormatSettings& settings);

}  // namespace rtl
