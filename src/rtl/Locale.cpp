#include "rtl/Locale.hpp"

#include "rtl/LocaleBackend.hpp"

namespace rtl {
namespace {

FormatSettings& Settings() {
  static FormatSettings settings = backend::UserFormatSettings();
  return settings;
}

}  // namespace

std::u16string LowerCase(std::u16string_view text) { return backend::LowerCase(text); }

std::u16string UpperCase(std::u16string_view text) { return backend::UpperCase(text); }

bool SameText(std::u16string_view a, std::u16string_view b) { return backend::SameText(a, b); }

const FormatSettings& GetFormatSettings() { return Settings(); }

void SetFormatSettings(const FormatSettings& settings) { Settings() = settings; }

}  // namespace rtl
