#pragma once
// The clipboard service: plain Unicode text on the system clipboard.

#include <optional>
#include <string>

#include "toolkit/PlatformServices.hpp"

namespace ui {

class IFMXClipboardService : public IInterface {
 public:
  [[nodiscard]] static TGUID IID() { return rtl::GuidOf(u"{CC9F70B3-E5AE-4E01-A6FB-E3FC54F5C54E}"); }
  // The clipboard's text; nullopt when it holds none or cannot be read.
  [[nodiscard]] virtual std::optional<std::u16string> GetClipboard() = 0;
  // Replaces the clipboard's contents by the text; false when the clipboard could not be set.
  virtual bool SetClipboard(const std::u16string& iText) = 0;
};

}  // namespace ui
