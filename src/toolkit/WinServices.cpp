#include "toolkit/WinServices.hpp"

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "rtl/Text.hpp"
#include "toolkit/Forms.hpp"

namespace ui {

// ---- locale ----

std::u16string TWinLocaleService::GetCurrentLangID() {
  std::array<wchar_t, 16> name{};
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, name.data(),
                                    static_cast<int>(name.size()));
  if (length <= 1) return u"en";
  return rtl::FromW(name.data());
}

// ---- clipboard ----

namespace {

// Another program may hold the clipboard for a moment; a few short tries, then give up.
class TClipboardLock {
 public:
  TClipboardLock() {
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(ApplicationHWND()) != FALSE;
      if (!open_) Sleep(20);
    }
  }
  TClipboardLock(const TClipboardLock&) = delete;
  TClipboardLock& operator=(const TClipboardLock&) = delete;
  ~TClipboardLock() {
    if (open_) CloseClipboard();
  }
  [[nodiscard]] bool Open() const noexcept { return open_; }

 private:
  bool open_ = false;
};

struct TGlobalTraits {
  using Type = HGLOBAL;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { GlobalFree(h); }
};

}  // namespace

std::optional<std::u16string> TWinClipboardService::GetClipboard() {
  const TClipboardLock lock;
  if (!lock.Open()) return std::nullopt;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (!text) return std::nullopt;
  // The block may lack its terminator: never read past its size.
  const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < capacity && text[length] != L'\0') ++length;
  std::u16string result = rtl::FromW(text, length);
  GlobalUnlock(data);
  return result;
}

bool TWinClipboardService::SetClipboard(const std::u16string& iText) {
  const TClipboardLock lock;
  if (!lock.Open()) return false;
  const std::size_t bytes = (iText.size() + 1) * sizeof(char16_t);
  TUniqueHandle<TGlobalTraits> memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return false;
  void* target = GlobalLock(memory.get());
  if (!target) return false;
  std::memcpy(target, iText.c_str(), bytes);
  GlobalUnlock(memory.get());
  if (!EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  // The clipboard owns the memory now.
  (void)memory.release();
  return true;
}

// ---- dialogs ----

namespace {

struct TBox {
  UINT Style;
  std::vector<TMsgDlgBtn> Buttons;  // in the order MessageBoxW shows them
};

// The boxes MessageBoxW can show, best first for a set that holds their buttons.
const std::vector<TBox>& Boxes() {
  using enum TMsgDlgBtn;
  static const std::vector<TBox> boxes = {
      {MB_YESNOCANCEL, {mbYes, mbNo, mbCancel}},
      {MB_YESNO, {mbYes, mbNo}},
      {MB_ABORTRETRYIGNORE, {mbAbort, mbRetry, mbIgnore}},
      {MB_RETRYCANCEL, {mbRetry, mbCancel}},
      {MB_OKCANCEL, {mbOK, mbCancel}},
      {MB_OK, {mbOK}},
  };
  return boxes;
}

// The box with the most of the asked buttons and no others; when none fits exactly (All,
// Close and the like have no MessageBoxW button), the one sharing most asked buttons.
const TBox& BoxFor(TMsgDlgButtons iButtons) {
  const TBox* best = &Boxes().back();
  int bestScore = -1;
  for (const TBox& box : Boxes()) {
    int shared = 0;
    int foreign = 0;
    for (const TMsgDlgBtn b : box.Buttons) (iButtons.Contains(b) ? shared : foreign)++;
    const int score = shared * 4 - foreign;
    if (shared > 0 && score > bestScore) {
      best = &box;
      bestScore = score;
    }
  }
  return *best;
}

UINT IconFor(TMsgDlgType iType) {
  switch (iType) {
    case TMsgDlgType::mtWarning: return MB_ICONWARNING;
    case TMsgDlgType::mtError: return MB_ICONERROR;
    case TMsgDlgType::mtInformation: return MB_ICONINFORMATION;
    case TMsgDlgType::mtConfirmation: return MB_ICONQUESTION;
    case TMsgDlgType::mtCustom: return 0;
  }
  return 0;
}

HWND DialogOwner() {
  const HWND active = GetActiveWindow();
  TCommonCustomForm* form = FindForm(active);
  return form && form->Visible() ? active : nullptr;
}

}  // namespace

UINT TWinDialogService::StyleFor(TMsgDlgType iType, TMsgDlgButtons iButtons, TMsgDlgBtn iDefaultButton) {
  const TBox& box = BoxFor(iButtons);
  static constexpr std::array<UINT, 3> kDefault = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
  UINT defaultStyle = MB_DEFBUTTON1;
  for (std::size_t i = 0; i < box.Buttons.size(); ++i) {
    if (box.Buttons[i] == iDefaultButton) defaultStyle = kDefault[i];
  }
  return box.Style | IconFor(iType) | defaultStyle;
}

TModalResult TWinDialogService::ResultOf(int iMessageBoxResult) {
  switch (iMessageBoxResult) {
    case IDOK: return mrOk;
    case IDCANCEL: return mrCancel;
    case IDABORT: return mrAbort;
    case IDRETRY: return mrRetry;
    case IDIGNORE: return mrIgnore;
    case IDYES: return mrYes;
    case IDNO: return mrNo;
    case IDCLOSE: return mrClose;
    case IDTRYAGAIN: return mrRetry;
    case IDCONTINUE: return mrIgnore;
    default: return mrCancel;  // 0: the box could not be shown
  }
}

TModalResult TWinDialogService::MessageDialogSync(const std::u16string& iMessage, TMsgDlgType iType,
                                                  TMsgDlgButtons iButtons, TMsgDlgBtn iDefaultButton,
                                                  int /*iHelpContext*/) {
  const HWND owner = DialogOwner();
  UINT style = StyleFor(iType, iButtons, iDefaultButton) | MB_SETFOREGROUND;
  // Without an owner the box still keeps the user from the program's other windows.
  if (!owner) style |= MB_TASKMODAL;
  std::u16string title = DialogTitleOf(iType);
  if (title.empty() && Application().MainForm()) title = Application().MainForm()->Caption();
  // An embedded NUL would cut the text short without a word: show it as a visible mark.
  std::u16string text = iMessage;
  for (char16_t& c : text) {
    if (c == u'\0') c = u'\uFFFD';
  }
  return ResultOf(MessageBoxW(owner, rtl::WStr(text), rtl::WStr(title), style));
}

// ---- registration ----

namespace platform {

namespace {
template <typename Interface, typename Implementation>
void AddIfMissing() {
  if (!TPlatformServices::Current().GetPlatformService(Interface::IID())) {
    TPlatformServices::Current().AddPlatformService(Interface::IID(), std::make_shared<Implementation>());
  }
}
}  // namespace

void RegisterWinServices() {
  AddIfMissing<IFMXLocaleService, TWinLocaleService>();
  AddIfMissing<IFMXClipboardService, TWinClipboardService>();
  AddIfMissing<IFMXDialogServiceSync, TWinDialogService>();
}

}  // namespace platform

}  // namespace ui
