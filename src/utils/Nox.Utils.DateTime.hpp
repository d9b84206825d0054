#pragma once
// Date-time text by a format such as "yyyy/mm/dd hh:nn", with the separators of the
// user's regional settings (rtl::GetFormatSettings).

#include <chrono>
#include <string>

namespace Nox::Utils::DateTime {

// Elements (letters in any case): yyyy (three or more y: at least four digits), yy/y,
// mm/m (month; minutes right after an h element), dd/d, hh/h, nn/n, ss/s, am/pm and a/p
// (12-hour clock for the hour elements before them), "/" and ":" (the separators),
// quoted text (copied without its quotes); every other character is copied.
[[nodiscard]] std::u16string FormatDateTimeText(const std::u16string& format, std::chrono::sys_seconds value);

}  // namespace Nox::Utils::DateTime
