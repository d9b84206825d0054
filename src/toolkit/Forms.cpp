#include "toolkit/Forms.hpp"

#include <algorithm>
#include <cmath>

#include "rtl/Text.hpp"
#include "toolkit/WinServices.hpp"

namespace ui {

// ---- TCommonCustomForm ----

TCommonCustomForm::TCommonCustomForm() = default;

TCommonCustomForm::~TCommonCustomForm() {
  // A form destroyed without BeforeDestruction still takes its window with it, silently.
  destroying_ = true;
  if (Application().MainForm() == this) Application().Terminate();
  DestroyHandle();
}

void TCommonCustomForm::AfterConstruction() {
  HandleNeeded();
  if (OnCreate) OnCreate(this);
}

void TCommonCustomForm::BeforeDestruction() {
  if (destroying_) return;
  destroying_ = true;
  if (OnDestroy) OnDestroy(this);
  DestroyHandle();
}

void TCommonCustomForm::DestroyHandle() {
  if (!handle_) return;
  // Detached first: the messages of destruction must not reach a form being destroyed.
  SetWindowLongPtrW(handle_->Wnd(), GWLP_USERDATA, 0);
  handle_.reset();
}

void TCommonCustomForm::HandleNeeded() {
  if (!handle_) CreateHandle();
}

void TCommonCustomForm::CreateHandle() {
  TCreateParams params;
  CreateParams(params);
  const ATOM atom = platform::FormWindowClass();
  if (!atom) return;
  // WM_NCCREATE attaches this object to the window, so the messages of creation reach it.
  const HWND wnd = CreateWindowExW(params.ExStyle, MAKEINTATOM(atom), rtl::WStr(caption_), params.Style,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   ApplicationHWND(), nullptr, GetModuleHandleW(nullptr), this);
  if (!wnd) return;
  handle_ = std::make_unique<TWinWindowHandle>(*this, wnd);
  ApplyClientSize();
  const TAfterCreateFormHandle message(this);
  TMessageManager::DefaultManager().Send(this, message);
}

void TCommonCustomForm::ApplyClientSize() {
  if (!handle_) return;
  const HWND wnd = handle_->Wnd();
  const float scale = handle_->Scale();
  RECT rect{0, 0, static_cast<LONG>(std::lround(clientWidth_ * scale)),
            static_cast<LONG>(std::lround(clientHeight_ * scale))};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE));
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  SetWindowPos(wnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCommonCustomForm::SetClientSize(int iWidth, int iHeight) {
  clientWidth_ = std::max(iWidth, 0);
  clientHeight_ = std::max(iHeight, 0);
  ApplyClientSize();
}

void TCommonCustomForm::SetCaption(const std::u16string& iCaption) {
  caption_ = iCaption;
  if (handle_) SetWindowTextW(handle_->Wnd(), rtl::WStr(caption_));
}

bool TCommonCustomForm::Visible() const { return handle_ && IsWindowVisible(handle_->Wnd()); }

void TCommonCustomForm::Show() {
  if (!CanShow()) return;
  HandleNeeded();
  if (!handle_) return;
  platform::ShowApplicationWindowOnce();
  ShowWindow(handle_->Wnd(), SW_SHOW);
  SetForegroundWindow(handle_->Wnd());
}

void TCommonCustomForm::Hide() {
  if (handle_) ShowWindow(handle_->Wnd(), SW_HIDE);
}

bool TCommonCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCommonCustomForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (Application().MainForm() == this) {
    Application().Terminate();
    return;
  }
  switch (action) {
    case TCloseAction::caHide:
      Hide();
      break;
    case TCloseAction::caMinimize:
      if (handle_) ShowWindow(handle_->Wnd(), SW_MINIMIZE);
      break;
    case TCloseAction::caFree:
      Release();
      break;
    case TCloseAction::caNone:
      break;
  }
}

void TCommonCustomForm::Release() {
  Hide();
  Application().ReleaseForm(this);
}

LRESULT TCommonCustomForm::WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  switch (iMsg) {
    case WM_CLOSE:
      // The close box and Alt+F4 go through the form's own close rules.
      Close();
      return 0;
    case WM_SHOWWINDOW:
      if (iWParam && OnShow) OnShow(this);
      if (!iWParam && OnHide) OnHide(this);
      break;
    case WM_ACTIVATE:
      if (LOWORD(iWParam) == WA_INACTIVE) {
        if (OnDeactivate) OnDeactivate(this);
      } else if (OnActivate) {
        OnActivate(this);
      }
      break;
    case WM_SIZE:
      if (OnResize) OnResize(this);
      break;
    case WM_NCDESTROY:
      // Destroyed by Windows (its owner went first): the handle object must not destroy again.
      if (handle_ && handle_->Wnd() == iWnd) {
        handle_->Detach();
        handle_.reset();
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(iWnd, iMsg, iWParam, iLParam);
}

// ---- TApplication ----

TApplication& Application() {
  static TApplication application;
  return application;
}

void TApplication::Initialize() {
  platform::InstallMainThreadWake();
  platform::RegisterWinServices();
}

void TApplication::Run() {
  terminated_ = false;
  mainForm_ = nullptr;
  auto pending = std::move(pending_);
  pending_.clear();
  for (auto& make : pending) {
    TCommonCustomForm& form = Adopt(make());
    if (!mainForm_) mainForm_ = &form;
  }
  if (mainForm_) {
    mainForm_->Show();
    while (!terminated_) HandleMessage();
  }
  DestroyForms();
  // Calls still queued at the end of the run are dropped without running.
  TThread::DropQueued();
}

void TApplication::DestroyForms() {
  // The main form last, as it was made first.
  while (!forms_.empty()) {
    TFormPtr<TCommonCustomForm> form = std::move(forms_.back());
    forms_.pop_back();
    if (form.get() == mainForm_) mainForm_ = nullptr;
    form.reset();
  }
  mainForm_ = nullptr;
}

void TApplication::Terminate() {
  terminated_ = true;
  // Wakes a loop waiting in HandleMessage.
  PostMessageW(nullptr, WM_NULL, 0, 0);
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  ++dispatchDepth_;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  --dispatchDepth_;
  return true;
}

void TApplication::RunQueued() {
  // Only between messages: a handler that pumps messages must not run queued calls inside.
  if (dispatchDepth_ == 0) TThread::CheckSynchronize();
}

void TApplication::HandleMessage() {
  const bool handled = ProcessMessage();
  const bool ranQueued = dispatchDepth_ == 0 && TThread::CheckSynchronize();
  if (!handled && !ranQueued && !terminated_) WaitMessage();
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
  RunQueued();
}

TCommonCustomForm& TApplication::Adopt(TFormPtr<TCommonCustomForm> iForm) {
  forms_.push_back(std::move(iForm));
  return *forms_.back();
}

bool TApplication::Owns(const TCommonCustomForm* iForm) const noexcept {
  return std::any_of(forms_.begin(), forms_.end(), [iForm](const auto& f) { return f.get() == iForm; });
}

void TApplication::ReleaseForm(TCommonCustomForm* iForm) {
  if (!Owns(iForm)) return;
  // Destroyed later: Release is called from the form's own handlers.
  TThread::ForceQueue(TThread::CurrentThread(), [this, iForm] {
    const auto found = std::find_if(forms_.begin(), forms_.end(), [iForm](const auto& f) { return f.get() == iForm; });
    if (found == forms_.end()) return;
    TFormPtr<TCommonCustomForm> form = std::move(*found);
    forms_.erase(found);
    if (mainForm_ == form.get()) mainForm_ = nullptr;
  });
}

}  // namespace ui
