// dialog-robot --pid N [--timeout-ms N] [--press CAPTION | --close] [--out FILE]
//
// Waits up to the time limit for a visible message dialog (class "#32770") of process N,
// then writes, UTF-8, one item a line: "title=...", "text=..." (CR and LF written as \r and
// \n) and "button=..." for each button (captions without their "&"). Then it presses the
// button whose caption matches (case-insensitively) or closes the dialog.
// Exit codes: 0 done, 1 bad arguments, 2 no dialog in time, 3 no such button.

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

struct TArgs {
  DWORD Pid = 0;
  DWORD TimeoutMs = 10000;
  std::wstring Press;
  bool Close = false;
  std::wstring Out;
};

bool ParseArgs(int argc, wchar_t** argv, TArgs& args) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring name = argv[i];
    const bool hasValue = i + 1 < argc;
    if (name == L"--pid" && hasValue) {
      args.Pid = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (name == L"--timeout-ms" && hasValue) {
      args.TimeoutMs = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (name == L"--press" && hasValue) {
      args.Press = argv[++i];
    } else if (name == L"--close") {
      args.Close = true;
    } else if (name == L"--out" && hasValue) {
      args.Out = argv[++i];
    } else {
      return false;
    }
  }
  return args.Pid != 0;
}

std::wstring TextOf(HWND wnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

struct TFind {
  DWORD Pid;
  HWND Found = nullptr;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM lParam) {
  auto& find = *reinterpret_cast<TFind*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid == find.Pid && IsWindowVisible(wnd) && ClassOf(wnd) == L"#32770") {
    find.Found = wnd;
    return FALSE;
  }
  return TRUE;
}

// No event tells another process that a dialog has appeared: look every 20 ms, up to the limit.
HWND WaitForDialog(DWORD pid, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    TFind find{pid};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&find));
    if (find.Found) return find.Found;
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(20);
  }
}

struct TButton {
  HWND Wnd;
  std::wstring Caption;
};

BOOL CALLBACK CollectButton(HWND wnd, LPARAM lParam) {
  if (ClassOf(wnd) == L"Button" && IsWindowVisible(wnd)) {
    std::wstring caption;
    for (const wchar_t c : TextOf(wnd)) {
      if (c != L'&') caption += c;
    }
    reinterpret_cast<std::vector<TButton>*>(lParam)->push_back({wnd, caption});
  }
  return TRUE;
}

BOOL CALLBACK FirstStaticText(HWND wnd, LPARAM lParam) {
  auto& text = *reinterpret_cast<std::wstring*>(lParam);
  if (ClassOf(wnd) == L"Static" && GetWindowTextLengthW(wnd) > 0) {
    text = TextOf(wnd);
    return FALSE;
  }
  return TRUE;
}

std::wstring DialogText(HWND dialog) {
  // MessageBoxW puts its text in the static control 0xFFFF.
  if (const HWND text = GetDlgItem(dialog, 0xFFFF)) return TextOf(text);
  std::wstring text;
  EnumChildWindows(dialog, FirstStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (const wchar_t c : text) {
    if (c == L'\r') out += L"\\r";
    else if (c == L'\n') out += L"\\n";
    else if (c == L'\\') out += L"\\\\";
    else out += c;
  }
  return out;
}

void Write(const TArgs& args, const std::string& report) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE file = INVALID_HANDLE_VALUE;
  if (!args.Out.empty()) {
    file = CreateFileW(args.Out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    out = file;
  }
  if (out && out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(out, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  TArgs args;
  if (!ParseArgs(argc, argv, args)) {
    Write(args, "usage: dialog-robot --pid N [--timeout-ms N] [--press CAPTION | --close] [--out FILE]\n");
    return 1;
  }
  const HWND dialog = WaitForDialog(args.Pid, args.TimeoutMs);
  if (!dialog) {
    Write(args, "error=no dialog\n");
    return 2;
  }
  std::vector<TButton> buttons;
  EnumChildWindows(dialog, CollectButton, reinterpret_cast<LPARAM>(&buttons));
  std::wstring report = L"title=" + Escaped(TextOf(dialog)) + L"\ntext=" + Escaped(DialogText(dialog)) + L"\n";
  for (const TButton& b : buttons) report += L"button=" + b.Caption + L"\n";

  int status = 0;
  if (!args.Press.empty()) {
    const TButton* target = nullptr;
    for (const TButton& b : buttons) {
      if (CompareStringOrdinal(b.Caption.c_str(), -1, args.Press.c_str(), -1, TRUE) == CSTR_EQUAL) target = &b;
    }
    if (target) {
      // As a click does it: the dialog gets BN_CLICKED from the button.
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target->Wnd), BN_CLICKED),
                   reinterpret_cast<LPARAM>(target->Wnd));
      report += L"pressed=" + target->Caption + L"\n";
    } else {
      report += L"error=no button " + args.Press + L"\n";
      status = 3;
    }
  } else if (args.Close) {
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    report += L"closed\n";
  }
  Write(args, Utf8(report));
  return status;
}
