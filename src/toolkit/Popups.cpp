#include "toolkit/Popups.hpp"

#include <algorithm>
#include <cmath>

#include "toolkit/Screen.hpp"

namespace ui {

namespace {

constexpr UINT_PTR kAniTimer = 0x5050;
constexpr UINT kAniInterval = 15;  // ms

}  // namespace

TCustomPopupForm::TCustomPopupForm(TCommonCustomForm& iOwner, HWND iPlacement)
    : owner_(iOwner), placement_(iPlacement) {
  SetFormStyle(TFormStyle::Popup);
  SetStyleBook(iOwner.StyleBook());
}

TCustomPopupForm::~TCustomPopupForm() {
  if (const HWND wnd = HostWnd()) KillTimer(wnd, kAniTimer);
  Screen().RemovePopupForm(*this);
}

HWND TCustomPopupForm::ParentWnd() const noexcept {
  // Owned by the form it belongs to: it stays above it and goes with it.
  const HWND owner = FormToHWND(&owner_);
  return owner ? owner : TForm::ParentWnd();
}

void TCustomPopupForm::CreateParams(TCreateParams& ioParams) {
  TForm::CreateParams(ioParams);
  ioParams.ExStyle |= WS_EX_LAYERED;
}

void TCustomPopupForm::HandleCreated() { SetAlpha(kAniSteps); }

void TCustomPopupForm::SetAlpha(int iStep) {
  if (const HWND wnd = HostWnd()) {
    const int alpha = 255 * std::clamp(iStep, 1, kAniSteps) / kAniSteps;
    SetLayeredWindowAttributes(wnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
  }
}

void TCustomPopupForm::Popup(float iHeight) {
  HandleNeeded();
  const TWinWindowHandle* handle = WindowHandleToPlatform(Handle());
  if (!handle) return;
  RECT control{};
  GetWindowRect(placement_, &control);
  const float scale = handle->Scale();
  SetClientSize(static_cast<int>(std::lround((control.right - control.left) / scale)),
                static_cast<int>(std::lround(iHeight)));
  const TRect size = handle->Bounds();
  const int height = size.Bottom - size.Top;
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(placement_, MONITOR_DEFAULTTONEAREST), &info);
  const bool below = control.bottom + height <= info.rcWork.bottom || control.top - height < info.rcWork.top;
  const int top = below ? control.bottom : control.top - height;
  SetWindowPos(handle->Wnd(), HWND_TOPMOST, control.left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  Show();
}

void TCustomPopupForm::Show() {
  HandleNeeded();
  TWinWindowHandle* owner = WindowHandleToPlatform(owner_.Handle());
  // Showing the popup must not count as the owner's deactivation, whatever the window
  // manager does with it.
  if (owner) owner->SetDisableDeactivate(true);
  Screen().AddPopupForm(*this, placement_);
  aniStep_ = 0;
  SetAlpha(1);
  TForm::Show();
  if (owner) owner->SetDisableDeactivate(false);
  if (const HWND wnd = HostWnd()) SetTimer(wnd, kAniTimer, kAniInterval, nullptr);
}

void TCustomPopupForm::Hide() {
  if (const HWND wnd = HostWnd()) KillTimer(wnd, kAniTimer);
  aniStep_ = kAniSteps;
  const bool wasVisible = Visible();
  TForm::Hide();
  Screen().RemovePopupForm(*this);
  if (wasVisible && OnClosedByToolkit) OnClosedByToolkit();
}

void TCustomPopupForm::AniTick() {
  if (aniStep_ >= kAniSteps) return;
  ++aniStep_;
  SetAlpha(aniStep_);
  if (aniStep_ >= kAniSteps) {
    if (const HWND wnd = HostWnd()) KillTimer(wnd, kAniTimer);
  }
  if (OnAniTimer) OnAniTimer(this);
}

LRESULT TCustomPopupForm::WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  if (iMsg == WM_TIMER && iWParam == kAniTimer) {
    AniTick();
    return 0;
  }
  return TForm::WndProc(iWnd, iMsg, iWParam, iLParam);
}

}  // namespace ui
