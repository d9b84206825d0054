#pragma once
// The operating-system half of rtl/Locale: Locale.Win.cpp on Windows, Locale.Native.cpp elsewhere.

#include "rtl/Locale.hpp"

namespace rtl::backend {

[[nodiscard]] std::u16string LowerCase(std::u16string_view text);
[[nodiscard]] std::u16string UpperCase(std::u16string_view text);
[[nodiscard]] bool SameText(std::u16string_view a, std::u16string_view b);
[[nodiscard]] FormatSettings UserFormatSettings();

}  // namespace rtl::backend
