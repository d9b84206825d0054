// A stand-in program for the tests: it records how it was started (its command line and
// the show command of its STARTUPINFO), then owns a top-level window with the caption it
// was given until that window is closed (at most a minute, so it never outlives a run).
//
//   test_window_app.exe [--record FILE] [--caption TEXT] [further arguments]

#include <windows.h>

#include <string>

#include "../../win/TestSupport.hpp"
#include "rtl/CommandLine.hpp"
#include "rtl/Text.hpp"

namespace {

constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT kLifetimeMs = 60000;

struct TOptions {
  std::u16string Record, Caption = u"test window";
};

[[nodiscard]] TOptions ReadOptions() {
  TOptions options;
  const auto args = rtl::SplitCommandLine(rtl::FromW(GetCommandLineW()));
  for (std::size_t i = 1; i + 1 < args.size(); ++i) {
    if (args[i] == u"--record") options.Record = args[++i];
    else if (args[i] == u"--caption") options.Caption = args[++i];
  }
  return options;
}

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == kLifetimeTimer) DestroyWindow(wnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(wnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const TOptions options = ReadOptions();
  if (!options.Record.empty()) testsupport::WriteStartRecord(options.Record);

  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"OrvellaTestWindow";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, rtl::WStr(options.Caption), WS_OVERLAPPEDWINDOW, 100, 100, 300,
                             200, nullptr, nullptr, instance, nullptr);
  if (!wnd) return 1;
  ShowWindow(wnd, show);
  SetTimer(wnd, kLifetimeTimer, kLifetimeMs, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
