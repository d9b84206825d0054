#pragma once
// The locale service: the user's language as a short code.

#include <string>

#include "toolkit/PlatformServices.hpp"

namespace ui {

class IFMXLocaleService : public IInterface {
 public:
  [[nodiscard]] static TGUID IID() { return rtl::GuidOf(u"{311A40D4-3D5B-40CC-A201-78465760B25E}"); }
  // The two-letter ISO 639 name of the user's default locale ("ja", "en", ...).
  [[nodiscard]] virtual std::u16string GetCurrentLangID() = 0;
};

}  // namespace ui
