#pragma once
// Small helpers of the Windows test programs: where the helper programs are, reading the
// files they write, and bounded waiting.

#include <windows.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "rtl/CommandLine.hpp"
#include "rtl/Text.hpp"

namespace testsupport {

// The folder of the running test program, with a trailing backslash; helper programs
// built beside it are found there.
[[nodiscard]] inline std::u16string ExeDir() {
  std::u16string path = rtl::ParamStr(0);
  return path.substr(0, path.find_last_of(u'\\') + 1);
}

// A fresh file name in the temporary folder (the file itself is not created).
[[nodiscard]] inline std::u16string TempFileName(std::u16string_view stem) {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  static int counter = 0;
  return rtl::FromW(dir) + std::u16string(stem) + u"-" + rtl::AsciiToUtf16(std::to_string(GetCurrentProcessId())) +
         u"-" + rtl::AsciiToUtf16(std::to_string(++counter)) + u".txt";
}

[[nodiscard]] inline std::optional<std::string> ReadFileBytes(const std::u16string& path) {
  std::ifstream in(reinterpret_cast<const wchar_t*>(path.c_str()), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Polls `done` every 20 ms (pumping this thread's messages) until it is true or the time is up.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// The value of "key=value" on a line of a record file, or nullopt.
[[nodiscard]] inline std::optional<std::string> RecordValue(const std::string& record, const std::string& key) {
  std::istringstream lines(record);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return std::nullopt;
}

// Records how this process was started: its command line and the show command of its
// STARTUPINFO (-1 when none was given). Written under another name and renamed, so a
// reader never sees half a record.
inline void WriteStartRecord(const std::u16string& path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  const std::u16string partial = path + u".partial";
  {
    std::ofstream out(reinterpret_cast<const wchar_t*>(partial.c_str()), std::ios::binary);
    out << "cmdline=" << rtl::Utf16ToUtf8(rtl::FromW(GetCommandLineW())) << "\n";
    out << "show=" << show << "\n";
    out << "pid=" << GetCurrentProcessId() << "\n";
  }
  MoveFileExW(rtl::WStr(partial), rtl::WStr(path), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace testsupport
