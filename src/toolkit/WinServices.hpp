#pragma once
// The toolkit's Windows services: the user's locale, the clipboard and MessageBoxW dialogs.

#include <windows.h>

#include "toolkit/ClipboardService.hpp"
#include "toolkit/DialogService.hpp"
#include "toolkit/LocaleService.hpp"

namespace ui {

class TWinLocaleService final : public IFMXLocaleService {
 public:
  // "en" when the user's default locale cannot be read.
  [[nodiscard]] std::u16string GetCurrentLangID() override;
};

class TWinClipboardService final : public IFMXClipboardService {
 public:
  [[nodiscard]] std::optional<std::u16string> GetClipboard() override;
  bool SetClipboard(const std::u16string& iText) override;
};

// MessageBoxW, owned by the active form (or by nothing, then modal for the whole thread).
class TWinDialogService final : public IFMXDialogServiceSync {
 public:
  [[nodiscard]] TModalResult MessageDialogSync(const std::u16string& iMessage, TMsgDlgType iType,
                                               TMsgDlgButtons iButtons, TMsgDlgBtn iDefaultButton,
                                               int iHelpContext) override;

  // The MessageBoxW style for a dialog: icon by type, the closest box that holds the asked
  // buttons, the default button by its place in that box.
  [[nodiscard]] static UINT StyleFor(TMsgDlgType iType, TMsgDlgButtons iButtons, TMsgDlgBtn iDefaultButton);
  [[nodiscard]] static TModalResult ResultOf(int iMessageBoxResult);
};

namespace platform {
// Registers each of the three services whose identity is not registered yet, so a service a
// test installed first stays in place.
void RegisterWinServices();
}  // namespace platform

}  // namespace ui
