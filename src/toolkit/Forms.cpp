#include "toolkit/Forms.hpp"

#include <algorithm>
#include <cmath>

#include "rtl/Text.hpp"
#include "toolkit/Screen.hpp"
#include "toolkit/WinServices.hpp"

namespace ui {

void ForEachControl(TControl& iControl, const std::function<void(TControl&)>& iDo) {
  iDo(iControl);
  for (const auto& child : iControl.Children()) ForEachControl(*child, iDo);
}

namespace {

[[nodiscard]] bool IsMouseDown(UINT iMsg) noexcept {
  switch (iMsg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      return true;
    default:
      return false;
  }
}

}  // namespace

// ---- TCommonCustomForm: life ----

TCommonCustomForm::TCommonCustomForm() = default;

TCommonCustomForm::~TCommonCustomForm() {
  // A form destroyed without BeforeDestruction still takes its window with it, silently.
  destroying_ = true;
  Screen().FormDestroyed(*this);
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
  Screen().FormDestroyed(*this);
  DestroyHandle();
}

void TCommonCustomForm::DestroyHandle() {
  if (!handle_) return;
  // Detached first: the messages of destruction must not reach a form being destroyed.
  // The controls' windows go with the form's and forget themselves as they go.
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
                                   ParentWnd(), nullptr, GetModuleHandleW(nullptr), this);
  if (!wnd) return;
  handle_ = std::make_unique<TWinWindowHandle>(*this, wnd);
  ApplyClientSize();
  AttachControls(root_);
  HandleCreated();
  Realign();
  const TAfterCreateFormHandle message(this);
  TMessageManager::DefaultManager().Send(this, message);
}

void TCommonCustomForm::RecreateHandle() {
  if (!handle_) return;
  const bool wasVisible = Visible();
  const bool wasActiveWindow = GetActiveWindow() == handle_->Wnd();
  RECT bounds{};
  GetWindowRect(handle_->Wnd(), &bounds);
  state_.Include(TFmxFormState::Recreating);
  // The old window goes only after the new one has taken over the activation: destroyed
  // first, it would hand the activation to another form, which the new window would then
  // deactivate, leaving the screen without an active form.
  std::unique_ptr<TWinWindowHandle> old = std::move(handle_);
  SetWindowLongPtrW(old->Wnd(), GWLP_USERDATA, 0);
  CreateHandle();
  if (handle_) {
    SetWindowPos(handle_->Wnd(), nullptr, bounds.left, bounds.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const bool activate = wasActiveWindow && formStyle_ != TFormStyle::Popup;
    if (wasVisible) ShowWindow(handle_->Wnd(), activate ? SW_SHOW : SW_SHOWNOACTIVATE);
  }
  old.reset();
  state_.Exclude(TFmxFormState::Recreating);
}

void TCommonCustomForm::CreateParams(TCreateParams& ioParams) {
  if (formStyle_ == TFormStyle::Popup) {
    // Never activated: the form that opened the popup keeps the focus and the activation.
    ioParams.Style = WS_POPUP | WS_CLIPCHILDREN | WS_BORDER;
    ioParams.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;
    return;
  }
  DWORD style = WS_CLIPCHILDREN;
  switch (borderStyle_) {
    case TFormBorderStyle::None:
      style |= WS_POPUP;
      break;
    case TFormBorderStyle::Single:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
      break;
    case TFormBorderStyle::Sizeable:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      break;
  }
  if (minMaxBoxes_ && borderStyle_ != TFormBorderStyle::None) style |= WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  ioParams.Style = style;
  ioParams.ExStyle = formStyle_ == TFormStyle::StayOnTop ? WS_EX_TOPMOST : 0;
}

void TCommonCustomForm::SetFormStyle(TFormStyle iStyle) {
  if (formStyle_ == iStyle) return;
  formStyle_ = iStyle;
  RecreateHandle();
}

void TCommonCustomForm::SetBorderStyle(TFormBorderStyle iStyle) {
  if (borderStyle_ == iStyle) return;
  borderStyle_ = iStyle;
  RecreateHandle();
}

void TCommonCustomForm::SetMinMaxBoxes(bool iShow) {
  if (minMaxBoxes_ == iShow) return;
  minMaxBoxes_ = iShow;
  RecreateHandle();
}

// ---- TCommonCustomForm: size and place ----

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
  Realign();
}

int TCommonCustomForm::Left() const {
  if (!handle_) return 0;
  return static_cast<int>(std::lround(static_cast<float>(handle_->Bounds().Left) / handle_->Scale()));
}

int TCommonCustomForm::Top() const {
  if (!handle_) return 0;
  return static_cast<int>(std::lround(static_cast<float>(handle_->Bounds().Top) / handle_->Scale()));
}

void TCommonCustomForm::SetLeft(int iLeft) {
  if (!handle_) return;
  const int x = static_cast<int>(std::lround(static_cast<float>(iLeft) * handle_->Scale()));
  SetWindowPos(handle_->Wnd(), nullptr, x, handle_->Bounds().Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCommonCustomForm::SetTop(int iTop) {
  if (!handle_) return;
  const int y = static_cast<int>(std::lround(static_cast<float>(iTop) * handle_->Scale()));
  SetWindowPos(handle_->Wnd(), nullptr, handle_->Bounds().Left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCommonCustomForm::SetCaption(const std::u16string& iCaption) {
  caption_ = iCaption;
  if (handle_) SetWindowTextW(handle_->Wnd(), rtl::WStr(caption_));
}

void TCommonCustomForm::PlaceOnShow() {
  const HWND wnd = HostWnd();
  if (!wnd || formStyle_ == TFormStyle::Popup || Position == TFormPosition::Default) return;
  RECT window{};
  GetWindowRect(wnd, &window);
  RECT area{};
  const HWND main = FormToHWND(Application().MainForm());
  if (Position == TFormPosition::MainFormCenter && main && main != wnd && IsWindowVisible(main)) {
    GetWindowRect(main, &area);
  } else {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(wnd, MONITOR_DEFAULTTOPRIMARY), &info);
    area = info.rcWork;
  }
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  const int x = area.left + (area.right - area.left - w) / 2;
  const int y = std::max<int>(area.top + (area.bottom - area.top - h) / 2, 0);
  SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- TCommonCustomForm: controls ----

TControl& TCommonCustomForm::AddObject(std::unique_ptr<TControl> iControl) {
  TControl& added = root_.AddChild(std::move(iControl));
  if (handle_) {
    added.Attach(*this);
    AttachControls(added);
    added.ApplyStyle();
    Realign();
  }
  return added;
}

void TCommonCustomForm::AttachControls(TControl& iParent) {
  for (const auto& child : iParent.Children()) {
    child->Attach(*this);
    AttachControls(*child);
  }
}

void TCommonCustomForm::SetStyleBook(const TStyleBook* iStyleBook) {
  styleBook_ = iStyleBook;
  background_.reset();
  ForEachControl(root_, [](TControl& c) { c.ApplyStyle(); });
  if (const HWND wnd = HostWnd()) InvalidateRect(wnd, nullptr, TRUE);
}

HWND TCommonCustomForm::HostWnd() const noexcept { return handle_ ? handle_->Wnd() : nullptr; }

float TCommonCustomForm::HostScale() const noexcept { return handle_ ? handle_->Scale() : 1.0f; }

const TStyleBook& TCommonCustomForm::HostStyleBook() const noexcept {
  return styleBook_ ? *styleBook_ : TStyleBook::Jet();
}

void TCommonCustomForm::ControlChanged(TControl& iControl, bool iRealign) {
  (void)iControl;
  const HWND wnd = HostWnd();
  if (!wnd || IsUpdating()) return;
  if (iRealign) Realign();
  InvalidateRect(wnd, nullptr, TRUE);
}

void TCommonCustomForm::BeginUpdate() { ++updating_; }

void TCommonCustomForm::EndUpdate() {
  if (updating_ == 0 || --updating_ > 0) return;
  Realign();
  if (const HWND wnd = HostWnd()) RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TCommonCustomForm::Realign() {
  if (!handle_ || IsUpdating()) return;
  root_.Layout.Size = {static_cast<float>(clientWidth_), static_cast<float>(clientHeight_)};
  root_.SetClientRect({0, 0, root_.Layout.Size.Width, root_.Layout.Size.Height});
  RealignChildren(root_);
}

void TCommonCustomForm::RealignChildren(TControl& iParent) {
  std::vector<TLayoutItem*> items;
  for (const auto& child : iParent.Children()) items.push_back(&child->Layout);
  const TRectF& area = iParent.ClientRect();
  AlignChildren({area.Width(), area.Height()}, iParent.Padding, items);
  const float scale = HostScale();
  for (const auto& child : iParent.Children()) {
    const TRectF r = child->Layout.BoundsRect();
    child->SetClientRect({area.Left + r.Left, area.Top + r.Top, area.Left + r.Right, area.Top + r.Bottom});
    child->PlaceNative(ScaleToPixels(child->ClientRect(), scale));
    RealignChildren(*child);
  }
}

void TCommonCustomForm::PaintControls(HDC iDC, TControl& iParent) {
  const float scale = HostScale();
  const TStyle& style = HostStyleBook().Default();
  for (const auto& child : iParent.Children()) {
    if (!child->Visible()) continue;
    // A control with a window of its own draws itself and its children there.
    if (child->NativeWnd()) continue;
    child->Paint(iDC, ScaleToPixels(child->ClientRect(), scale), style);
    PaintControls(iDC, *child);
  }
}

void TCommonCustomForm::Paint(HWND iWnd) {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(iWnd, &ps);
  if (!background_) background_.reset(CreateSolidBrush(HostStyleBook().Default().Background));
  FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(background_.get()));
  PaintControls(dc, root_);
  EndPaint(iWnd, &ps);
}

TControl* TCommonCustomForm::ControlOfWindow(HWND iWnd) noexcept {
  if (!iWnd) return nullptr;
  TControl* found = nullptr;
  ForEachControl(root_, [&](TControl& c) {
    if (!found && c.NativeWnd() == iWnd) found = &c;
  });
  return found;
}

namespace {

void CollectTabStops(TControl& iParent, std::vector<TControl*>& out) {
  // Within each parent by tab order (controls without one by their place), depth first.
  std::vector<std::pair<int, TControl*>> ordered;
  int index = 0;
  for (const auto& child : iParent.Children()) {
    const int key = child->TabOrder >= 0 ? child->TabOrder : index;
    ordered.emplace_back(key, child.get());
    ++index;
  }
  std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [key, child] : ordered) {
    (void)key;
    if (child->TabStop && child->CanFocus()) out.push_back(child);
    CollectTabStops(*child, out);
  }
}

}  // namespace

void TCommonCustomForm::FocusNext(TControl& iFrom, bool iBackwards) {
  std::vector<TControl*> stops;
  CollectTabStops(root_, stops);
  std::erase_if(stops, [&](TControl* c) { return c != &iFrom && (!c->Showing() || !c->Enabled()); });
  if (stops.empty()) return;
  const auto at = std::find(stops.begin(), stops.end(), &iFrom);
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(stops.size());
  const std::ptrdiff_t i = at == stops.end() ? -1 : at - stops.begin();
  const std::ptrdiff_t next = iBackwards ? (i <= 0 ? n - 1 : i - 1) : (i + 1) % n;
  stops[static_cast<std::size_t>(next)]->SetFocus();
}

void TCommonCustomForm::FocusControl(TControl& iControl) {
  focused_ = iControl.AliveToken();
  const HWND wnd = iControl.NativeWnd();
  const HWND form = HostWnd();
  // Only in the active window: focusing a control of another window would activate that
  // window. An inactive or hidden form gives the focus when it is activated.
  if (wnd && form && GetActiveWindow() == form && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) ::SetFocus(wnd);
}

void TCommonCustomForm::CancelPressed() {
  TButton* cancel = nullptr;
  ForEachControl(root_, [&](TControl& c) {
    if (auto* button = dynamic_cast<TButton*>(&c); button && button->Cancel && !cancel) cancel = button;
  });
  if (cancel) cancel->Click();
}

// ---- TCommonCustomForm: showing, closing, activation ----

bool TCommonCustomForm::Visible() const { return handle_ && IsWindowVisible(handle_->Wnd()); }

void TCommonCustomForm::Show() {
  if (!CanShow()) return;
  HandleNeeded();
  if (!handle_) return;
  if (formStyle_ == TFormStyle::Popup) {
    SetWindowPos(handle_->Wnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(handle_->Wnd(), SW_SHOWNOACTIVATE);
    return;
  }
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
  // A close that comes back through the handlers of a close in progress is the same close.
  if (state_.Contains(TFmxFormState::Closing)) return;
  state_.Include(TFmxFormState::Closing);
  struct TEnd {
    TFormStates& States;
    ~TEnd() { States.Exclude(TFmxFormState::Closing); }
  } end{state_};
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

void TCommonCustomForm::ShowModal() {
  HandleNeeded();
  if (!handle_) return;
  const HWND self = handle_->Wnd();
  // Every other window of the program is disabled while this one runs, and enabled again
  // however the loop ends.
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM data) -> BOOL {
        auto& list = *reinterpret_cast<std::vector<HWND>*>(data);
        if (IsWindowVisible(wnd) && IsWindowEnabled(wnd)) list.push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled));
  std::erase(disabled, self);
  for (const HWND wnd : disabled) EnableWindow(wnd, FALSE);
  struct TReenable {
    std::vector<HWND>& Windows;
    TFormStates& States;
    ~TReenable() {
      States.Exclude(TFmxFormState::Modal);
      for (const HWND wnd : Windows) {
        if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
      }
    }
  } reenable{disabled, state_};
  state_.Include(TFmxFormState::Modal);
  Show();
  while (Visible() && !Application().Terminated()) Application().HandleMessage();
}

void TCommonCustomForm::Activate() {
  active_ = true;
  Screen().SetActiveForm(this);
  if (OnActivate) OnActivate(this);
  if (const auto focused = focused_.lock()) {
    const HWND wnd = (*focused)->NativeWnd();
    if (wnd && IsWindowEnabled(wnd) && IsWindowVisible(wnd)) ::SetFocus(wnd);
  }
}

void TCommonCustomForm::Deactivate() {
  if (TControl* focused = ControlOfWindow(GetFocus())) focused_ = focused->AliveToken();
  active_ = false;
  if (Screen().ActiveForm() == this) Screen().SetActiveForm(nullptr);
  if (OnDeactivate) OnDeactivate(this);
}

void TCommonCustomForm::ControlGotFocus(TControl& iControl) { focused_ = iControl.AliveToken(); }

void TCommonCustomForm::HandleActivateMessage(WPARAM iWParam) {
  // A window being made again, and a popup, which never holds the activation, change
  // nothing; nor does a deactivation the toolkit itself asked to be ignored.
  if (state_.Contains(TFmxFormState::Recreating) || formStyle_ == TFormStyle::Popup) return;
  if (LOWORD(iWParam) == WA_INACTIVE) {
    if (handle_ && handle_->DisableDeactivate()) return;
    Screen().PrepareClosePopups(nullptr);
    Deactivate();
    Screen().ClosePopupForms();
  } else if (HIWORD(iWParam) == 0) {
    Activate();
  }
}

bool TCommonCustomForm::HandleControlMessage(UINT iMsg, WPARAM iWParam, LPARAM iLParam, LRESULT& oResult) {
  switch (iMsg) {
    case WM_COMMAND:
      if (TControl* control = ControlOfWindow(reinterpret_cast<HWND>(iLParam))) {
        control->Command(HIWORD(iWParam));
        oResult = 0;
        return true;
      }
      return false;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(iLParam);
      if (TControl* control = ControlOfWindow(item->hwndItem)) {
        control->DrawItem(*item);
        oResult = TRUE;
        return true;
      }
      return false;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (TControl* control = ControlOfWindow(reinterpret_cast<HWND>(iLParam))) {
        if (const HBRUSH brush = control->ControlColor(reinterpret_cast<HDC>(iWParam))) {
          oResult = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

LRESULT TCommonCustomForm::WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  if (LRESULT result = 0; HandleControlMessage(iMsg, iWParam, iLParam, result)) return result;
  switch (iMsg) {
    case WM_CLOSE:
      // The close box and Alt+F4 go through the form's own close rules.
      Close();
      return 0;
    case WM_SHOWWINDOW:
      if (iWParam) PlaceOnShow();
      if (!iWParam) Screen().RemovePopupForm(*this);
      if (iWParam && OnShow) OnShow(this);
      if (!iWParam && OnHide) OnHide(this);
      break;
    case WM_ACTIVATE:
      // The default handling first: it gives the window the focus, which Activate then
      // passes on to the control that had it.
      DefWindowProcW(iWnd, iMsg, iWParam, iLParam);
      HandleActivateMessage(iWParam);
      return 0;
    case WM_MOUSEACTIVATE:
      if (formStyle_ == TFormStyle::Popup) return MA_NOACTIVATE;
      break;
    case WM_DPICHANGED: {
      // With a forced scale the DPI does not decide the layout.
      if (TWinWindowHandle::ForcedScale() > 0) return 0;
      // Windows suggests the window's rectangle at the new DPI; the controls, their fonts
      // and positions follow from the new scale.
      const auto* suggested = reinterpret_cast<const RECT*>(iLParam);
      SetWindowPos(iWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Realign();
      InvalidateRect(iWnd, nullptr, TRUE);
      return 0;
    }
    case WM_SIZE:
      if (handle_ && iWParam != SIZE_MINIMIZED) {
        // The user may size the window: the layout follows its client area.
        const float scale = handle_->Scale();
        clientWidth_ = static_cast<int>(std::lround(LOWORD(iLParam) / scale));
        clientHeight_ = static_cast<int>(std::lround(HIWORD(iLParam) / scale));
        Realign();
        InvalidateRect(iWnd, nullptr, TRUE);
      }
      if (OnResize) OnResize(this);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(iWnd);
      return 0;
    case WM_KEYDOWN:
      if (iWParam == VK_ESCAPE) {
        CancelPressed();
        return 0;
      }
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
  // A click outside the open popups closes them before the click itself is handled.
  if (IsMouseDown(msg.message)) Screen().MouseDown(msg.hwnd);
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
