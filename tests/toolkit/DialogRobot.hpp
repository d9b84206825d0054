#pragma once
// Runs the dialog robot against this process while a dialog is shown on the main thread.
// Every wait is limited; if the robot fails, a watchdog answers the dialog so the test ends.

#include <windows.h>

#include <string>
#include <thread>

#include "toolkit/UniqueHandle.hpp"

namespace testsupport {

inline std::wstring WinePath(const std::string& unixPath) {
  std::wstring path = L"Z:";
  for (const char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

class TDialogRobot {
 public:
  // iAction: L"--press Yes", L"--close" ...
  explicit TDialogRobot(const std::wstring& iAction) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    out_ = std::wstring(temp) + L"dialog-robot-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(out_.c_str());
    std::wstring command = L"\"" + WinePath(ORVELLA_DIALOG_ROBOT) + L"\" --pid " +
                           std::to_wstring(GetCurrentProcessId()) + L" --timeout-ms 15000 " + iAction +
                           L" --out \"" + out_ + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      CloseHandle(pi.hThread);
      process_.reset(pi.hProcess);
    }
    dialogThread_ = GetCurrentThreadId();
    done_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    watchdog_ = std::thread([this] { Watch(); });
  }
  TDialogRobot(const TDialogRobot&) = delete;
  TDialogRobot& operator=(const TDialogRobot&) = delete;
  ~TDialogRobot() {
    SetEvent(done_.get());
    watchdog_.join();
  }

  [[nodiscard]] bool Started() const { return process_.valid(); }

  // Waits for the robot to end and returns its report ("" if it did not end in time).
  std::string Report(DWORD* oExitCode = nullptr) {
    if (!process_ || WaitForSingleObject(process_.get(), 20000) != WAIT_OBJECT_0) return {};
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    if (oExitCode) *oExitCode = code;
    ui::TUniqueKernelHandle file(
        CreateFileW(out_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string text(64 * 1024, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) return {};
    text.resize(read);
    return text;
  }

 private:
  static BOOL CALLBACK Answer(HWND wnd, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(wnd, name, 16);
    if (std::wstring(name) == L"#32770") {
      for (const int id : {IDCANCEL, IDNO, IDOK}) PostMessageW(wnd, WM_COMMAND, id, 0);
    }
    return TRUE;
  }
  void Watch() {
    // The robot had its chance (its own limit is 15 s): answer what is left, or the test hangs.
    if (WaitForSingleObject(done_.get(), 25000) == WAIT_OBJECT_0) return;
    EnumThreadWindows(dialogThread_, Answer, 0);
  }

  std::wstring out_;
  ui::TUniqueKernelHandle process_;
  ui::TUniqueKernelHandle done_;
  DWORD dialogThread_ = 0;
  std::thread watchdog_;
};

}  // namespace testsupport
