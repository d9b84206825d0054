#include "utils/Nox.Utils.Form.Win.hpp"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "rtl/Text.hpp"
#include "toolkit/Forms.hpp"
#include "toolkit/PlatformServices.hpp"
#include "toolkit/PlatformWin.hpp"
#include "toolkit/UniqueHandle.hpp"

// The member, not the macro of <windows.h>.
#undef FindWindow

namespace Nox::Utils::Form::Win {

namespace {

// Every live TFormUtilsWin, in order of construction; null while there is none.
std::unique_ptr<std::vector<TFormUtilsWin*>> FormUtilsWinList;
ui::TUniqueHook CallWndRetHook;

[[nodiscard]] HWND ToHWND(rtl::TWindowHandle iWnd) noexcept { return reinterpret_cast<HWND>(iWnd); }

[[nodiscard]] bool IsLive(const TFormUtilsWin* iObject) {
  return FormUtilsWinList && std::find(FormUtilsWinList->begin(), FormUtilsWinList->end(), iObject) !=
                                 FormUtilsWinList->end();
}

// WM_SIZE codes about the window itself that are reported; maximised and the codes about
// other windows are not.
[[nodiscard]] std::optional<bool> MinimizedStateOf(WPARAM iSizeType) noexcept {
  if (iSizeType == SIZE_MINIMIZED) return true;
  if (iSizeType == SIZE_RESTORED) return false;
  return std::nullopt;
}

// A callback may free or create utilities objects: the walk goes over a copy of the list,
// skips objects freed meanwhile, and calls a copy of each callback, so that a callback
// that frees its own object is not destroyed while it runs. The registered form is only
// compared, never used, so a form freed while registered does no harm.
void NotifyRegistrations(HWND iWnd, bool iMinimized) {
  const ui::TCommonCustomForm* form = ui::FindForm(iWnd);
  if (!form) return;
  const std::vector<TFormUtilsWin*> snapshot = *FormUtilsWinList;
  for (const TFormUtilsWin* object : snapshot) {
    if (!IsLive(object) || object->RegisteredForm() != form) continue;
    const TFormStateNotifyProc proc = object->RegisteredProc();
    if (!proc) continue;
    // An exception must not unwind through the frames of Windows that called the hook.
    try {
      proc(iMinimized);
    } catch (...) {
    }
  }
}

// The cheap tests come first: the hook runs after every message sent on this thread.
LRESULT CALLBACK CallWndRetHookProc(int iCode, WPARAM iWParam, LPARAM iLParam) {
  if (iCode >= 0 && iLParam != 0 && FormUtilsWinList) {
    const auto& message = *reinterpret_cast<const CWPRETSTRUCT*>(iLParam);
    if (message.message == WM_SIZE) {
      if (const auto minimized = MinimizedStateOf(message.wParam)) NotifyRegistrations(message.hwnd, *minimized);
    }
  }
  return CallNextHookEx(CallWndRetHook.get(), iCode, iWParam, iLParam);
}

// Attaches one thread's input to another's for a scope, and detaches again however the
// scope ends. A failed attach (the same thread, or no foreground window) is harmless: the
// detach then fails quietly too.
class TThreadInputAttachment {
 public:
  TThreadInputAttachment(DWORD iThread, DWORD iToThread) noexcept : FThread(iThread), FToThread(iToThread) {
    AttachThreadInput(FThread, FToThread, TRUE);
  }
  TThreadInputAttachment(const TThreadInputAttachment&) = delete;
  TThreadInputAttachment& operator=(const TThreadInputAttachment&) = delete;
  ~TThreadInputAttachment() { AttachThreadInput(FThread, FToThread, FALSE); }

 private:
  DWORD FThread;
  DWORD FToThread;
};

}  // namespace

TFormUtilsWin::TFormUtilsWin() {
  if (!FormUtilsWinList) FormUtilsWinList = std::make_unique<std::vector<TFormUtilsWin*>>();
  FormUtilsWinList->push_back(this);
}

TFormUtilsWin::~TFormUtilsWin() {
  if (!FormUtilsWinList) return;
  const auto at = std::find(FormUtilsWinList->begin(), FormUtilsWinList->end(), this);
  if (at != FormUtilsWinList->end()) FormUtilsWinList->erase(at);
  if (FormUtilsWinList->empty()) FormUtilsWinList.reset();
}

rtl::TWindowHandle TFormUtilsWin::FindWindow(const std::u16string& iCaption) {
  if (iCaption.find(u'\0') != std::u16string::npos) return 0;
  // An empty caption is passed as an empty title, never as null (which matches any window).
  return reinterpret_cast<rtl::TWindowHandle>(FindWindowW(nullptr, rtl::WStr(iCaption)));
}

void TFormUtilsWin::HideTaskbar() { ShowWindow(ui::ApplicationHWND(), SW_HIDE); }

void TFormUtilsWin::ShowTaskbar() { ShowWindow(ui::ApplicationHWND(), SW_SHOW); }

void TFormUtilsWin::BringToFront() {
  BringToFront(reinterpret_cast<rtl::TWindowHandle>(ui::FormToHWND(ui::Application().MainForm())));
}

void TFormUtilsWin::BringToFront(rtl::TWindowHandle iWnd) {
  const HWND wnd = ToHWND(iWnd);
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD targetThread = GetWindowThreadProcessId(wnd, nullptr);
  const TThreadInputAttachment attachment(targetThread, foregroundThread);
  SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void TFormUtilsWin::RegistMinimizeProc(const ui::TCommonCustomForm* iForm, const TFormStateNotifyProc& iProc) {
  FRegsitedForm = iForm;
  FRegistedProc = iProc;
}

std::shared_ptr<IFormUtils> TFormUtilsFactoryWin::CreateFormUtils() { return std::make_shared<TFormUtilsWin>(); }

void Initialize() {
  ui::TPlatformServices::Current().AddPlatformService(IFormUtilsFactory::IID(),
                                                      std::make_shared<TFormUtilsFactoryWin>());
  CallWndRetHook.reset(SetWindowsHookExW(WH_CALLWNDPROCRET, &CallWndRetHookProc, nullptr, GetCurrentThreadId()));
}

void Finalize() {
  CallWndRetHook.reset();
  ui::TPlatformServices::Current().RemovePlatformService(IFormUtilsFactory::IID());
}

}  // namespace Nox::Utils::Form::Win
