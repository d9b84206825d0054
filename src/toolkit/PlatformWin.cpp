#include "toolkit/PlatformWin.hpp"

#include <cmath>

#include "toolkit/Forms.hpp"
#include "toolkit/Thread.hpp"

namespace ui {
namespace {

constexpr const wchar_t* kFormWindowClass = L"TFMForm";
constexpr const wchar_t* kWakeWindowClass = L"TFMWakeWindow";

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// The application window: closing it (from the taskbar) closes the main form, so the run
// ends the way it always does.
LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

struct TAppWindow {
  TUniqueWindow Wnd;
  bool ShownOnce = false;
};

TAppWindow& AppWindow() {
  static TAppWindow window;
  return window;
}

LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      if (TCommonCustomForm* main = Application().MainForm()) {
        main->Close();
      } else {
        Application().Terminate();
      }
      return 0;
    case WM_ACTIVATE:
      // A click on the taskbar button activates this window; the user means the main form.
      if (LOWORD(wParam) != WA_INACTIVE) {
        const HWND main = FormToHWND(Application().MainForm());
        if (main && IsWindowVisible(main)) SetActiveWindow(main);
      }
      return 0;
    case WM_NCDESTROY:
      if (AppWindow().Wnd.get() == wnd) (void)AppWindow().Wnd.release();
      break;
    default:
      break;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK FormWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<TCommonCustomForm*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(wnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
  return form->WndProc(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK WakeWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The wake-up message itself does nothing: the event loop that dispatched it runs the
  // queued calls once the message has been handled. A modal loop (a message box) only
  // swallows it, which keeps queued calls from running inside the dialog.
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

ATOM RegisterClassOnce(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  wc.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(1));
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  return RegisterClassExW(&wc);
}

struct TWakeWindow {
  TUniqueWindow Wnd;
  UINT Message = 0;
  ~TWakeWindow() { TThread::SetWakeMainThread(nullptr); }
};

TWakeWindow& WakeWindow() {
  static TWakeWindow window;
  return window;
}

}  // namespace

namespace {
// The class-level forced scale; 0 while none is forced.
float& ForcedScaleValue() noexcept {
  static float value = 0;
  return value;
}
}  // namespace

float TWinWindowHandle::Scale() const noexcept {
  if (const float forced = ForcedScale(); forced > 0) return forced;
  const UINT dpi = wnd_ ? GetDpiForWindow(wnd_.get()) : 0;
  return dpi ? static_cast<float>(dpi) / 96.0f : 1.0f;
}

void TWinWindowHandle::SetForcedScale(float iScale) noexcept {
  // Also a NaN is taken as 1.
  ForcedScaleValue() = iScale >= 1.0f ? iScale : 1.0f;
}

void TWinWindowHandle::ResetForcedScale() noexcept { ForcedScaleValue() = 0; }

float TWinWindowHandle::ForcedScale() noexcept { return ForcedScaleValue(); }

TRect TWinWindowHandle::Bounds() const noexcept {
  RECT r{};
  if (wnd_) GetWindowRect(wnd_.get(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

void TWinWindowHandle::SetBounds(const TRect& iBounds) noexcept {
  if (!wnd_) return;
  SetWindowPos(wnd_.get(), nullptr, iBounds.Left, iBounds.Top, iBounds.Right - iBounds.Left,
               iBounds.Bottom - iBounds.Top, SWP_NOZORDER | SWP_NOACTIVATE);
}

TSizeF TWinWindowHandle::ClientSize() const noexcept {
  return {static_cast<float>(form_.ClientWidth()), static_cast<float>(form_.ClientHeight())};
}

void TWinWindowHandle::SetClientSize(const TSizeF& iSize) {
  form_.SetClientSize(static_cast<int>(std::lround(iSize.Width)), static_cast<int>(std::lround(iSize.Height)));
}

void TWinWindowHandle::ScaleChanged() {
  // The same logical size, made again at the present scale; fonts follow the scale.
  form_.SetClientSize(form_.ClientWidth(), form_.ClientHeight());
  if (wnd_) InvalidateRect(wnd_.get(), nullptr, TRUE);
}

HWND ApplicationHWND() {
  TAppWindow& app = AppWindow();
  if (!app.Wnd) {
    static const ATOM atom = RegisterClassOnce(kApplicationWindowClass, AppWndProc);
    if (!atom) return nullptr;
    // A zero-sized popup: it exists only to own the forms and the taskbar button.
    app.Wnd.reset(CreateWindowExW(WS_EX_APPWINDOW, kApplicationWindowClass, L"",
                                  WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                                  nullptr, nullptr, Instance(), nullptr));
  }
  return app.Wnd.get();
}

TWinWindowHandle* WindowHandleToPlatform(TWindowHandle* iHandle) noexcept {
  return dynamic_cast<TWinWindowHandle*>(iHandle);
}

HWND FormToHWND(const TCommonCustomForm* iForm) noexcept {
  if (!iForm) return nullptr;
  const TWinWindowHandle* handle = WindowHandleToPlatform(iForm->Handle());
  return handle ? handle->Wnd() : nullptr;
}

TCommonCustomForm* FindForm(HWND iWnd) noexcept {
  if (!iWnd || !IsWindow(iWnd)) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(iWnd, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;
  // Only our own class's windows carry a form pointer in their user data.
  if (static_cast<ATOM>(GetClassLongPtrW(iWnd, GCW_ATOM)) != platform::FormWindowClass()) return nullptr;
  return reinterpret_cast<TCommonCustomForm*>(GetWindowLongPtrW(iWnd, GWLP_USERDATA));
}

namespace platform {

ATOM FormWindowClass() {
  static const ATOM atom = RegisterClassOnce(kFormWindowClass, FormWndProc);
  return atom;
}

void InstallMainThreadWake() {
  TWakeWindow& wake = WakeWindow();
  if (wake.Wnd) return;
  static const ATOM atom = RegisterClassOnce(kWakeWindowClass, WakeWndProc);
  if (!atom) return;
  wake.Message = RegisterWindowMessageW(L"OrvellaLink.Toolkit.WakeMainThread");
  wake.Wnd.reset(CreateWindowExW(0, kWakeWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 Instance(), nullptr));
  if (!wake.Wnd || !wake.Message) return;
  const HWND wnd = wake.Wnd.get();
  const UINT message = wake.Message;
  // A failed post (a full queue) loses nothing: the call stays queued and runs after the
  // next message the loop handles.
  TThread::SetWakeMainThread([wnd, message] { PostMessageW(wnd, message, 0, 0); });
}

void ShowApplicationWindowOnce() {
  TAppWindow& app = AppWindow();
  const HWND wnd = ApplicationHWND();
  if (!wnd || app.ShownOnce) return;
  app.ShownOnce = true;
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
}

}  // namespace platform

}  // namespace ui
