#pragma once
// Message dialogs. TDialogService hands each dialog to the synchronous dialog service
// registered on the platform (on Windows a MessageBoxW); tests register a scripted one.
// The values of types, buttons and results are the toolkit's fixed ones.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "toolkit/PlatformServices.hpp"

namespace ui {

enum class TMsgDlgType : int { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3, mtCustom = 4 };

enum class TMsgDlgBtn : int {
  mbYes = 0, mbNo = 1, mbOK = 2, mbCancel = 3, mbAbort = 4, mbRetry = 5,
  mbIgnore = 6, mbAll = 7, mbNoToAll = 8, mbYesToAll = 9, mbHelp = 10, mbClose = 11
};

// A set of buttons: bit n stands for the button of value n.
class TMsgDlgButtons {
 public:
  constexpr TMsgDlgButtons() noexcept = default;
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> iButtons) noexcept {
    for (const TMsgDlgBtn b : iButtons) bits_ |= Bit(b);
  }
  [[nodiscard]] static constexpr TMsgDlgButtons FromBits(std::uint16_t iBits) noexcept {
    TMsgDlgButtons set;
    set.bits_ = iBits & 0x0FFF;
    return set;
  }
  [[nodiscard]] constexpr bool Contains(TMsgDlgBtn iButton) const noexcept { return (bits_ & Bit(iButton)) != 0; }
  [[nodiscard]] constexpr std::uint16_t Bits() const noexcept { return bits_; }
  friend constexpr bool operator==(TMsgDlgButtons, TMsgDlgButtons) = default;

 private:
  static constexpr std::uint16_t Bit(TMsgDlgBtn b) noexcept { return static_cast<std::uint16_t>(1u << static_cast<int>(b)); }
  std::uint16_t bits_ = 0;
};

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrClose = 8;
inline constexpr TModalResult mrAll = 12;
inline constexpr TModalResult mrNoToAll = 13;
inline constexpr TModalResult mrYesToAll = 14;

// The modal result of the button (Help closes nothing: 0).
[[nodiscard]] TModalResult ModalResultOf(TMsgDlgBtn iButton) noexcept;
// The toolkit's own dialog title for a type (mtCustom: empty, the caller's application title).
[[nodiscard]] std::u16string DialogTitleOf(TMsgDlgType iType);

using TInputCloseDialogProc = std::function<void(TModalResult iResult)>;

// The platform's synchronous dialogs: returns when the user has closed the dialog.
class IFMXDialogServiceSync : public IInterface {
 public:
  [[nodiscard]] static TGUID IID() { return rtl::GuidOf(u"{7E4C2B9A-51D3-4F6E-9A0B-3C8D2E1F4A57}"); }
  [[nodiscard]] virtual TModalResult MessageDialogSync(const std::u16string& iMessage, TMsgDlgType iType,
                                                       TMsgDlgButtons iButtons, TMsgDlgBtn iDefaultButton,
                                                       int iHelpContext) = 0;
};

class TDialogService {
 public:
  // Modal and synchronous: iCloseProc (if given) runs with the modal result before this
  // returns. Without a dialog service, or when no dialog could be shown, the result is
  // mrCancel, as if the user had dismissed the dialog: nothing is confirmed unseen.
  static void MessageDialog(const std::u16string& iMessage, TMsgDlgType iType, TMsgDlgButtons iButtons,
                            TMsgDlgBtn iDefaultButton, int iHelpContext, const TInputCloseDialogProc& iCloseProc);
};

}  // namespace ui
