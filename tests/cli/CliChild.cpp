// A child for the command runner's tests. Each argument is one step, done in order:
//   line:TEXT   write TEXT and CR LF          text:TEXT   write TEXT alone
//   pause:MS    sleep                         ack:NAME    wait (10 s at most) for event NAME
//   buffer      keep all later output and write it in one piece just before exiting
//   big:N       write N bytes "0123456789..." in one piece, without CR LF
//   pid         write "pid:N" and CR LF       self        write its own path and CR LF
//   hold:FILE   read standard input until it ends; each byte read appends a line
//               "<byte> <milliseconds since start>" to FILE
//   exit:N      the exit code (0 when not given)
// Text is written in the ANSI code page.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string gBuffered;
bool gBuffering = false;
const ULONGLONG gStart = GetTickCount64();

void WriteOut(const std::string& bytes) {
  if (gBuffering) {
    gBuffered += bytes;
    return;
  }
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                      nullptr);
  return bytes;
}

void Hold(const std::wstring& file) {
  const HANDLE log = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  char byte = 0;
  DWORD read = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr) && read == 1) {
    char entry[64];
    const int length = std::snprintf(entry, sizeof(entry), "%d %llu\r\n", static_cast<unsigned char>(byte),
                                     static_cast<unsigned long long>(GetTickCount64() - gStart));
    DWORD written = 0;
    WriteFile(log, entry, static_cast<DWORD>(length), &written, nullptr);
  }
  CloseHandle(log);
}

bool WaitForAck(const std::wstring& name) {
  const HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, name.c_str());
  if (!event) return false;
  const bool signalled = WaitForSingleObject(event, 10000) == WAIT_OBJECT_0;
  CloseHandle(event);
  return signalled;
}

std::string SelfPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return ToAnsi(std::wstring(path, length));
}

std::string Pattern(std::size_t count) {
  std::string bytes(count, '0');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>('0' + i % 10);
  return bytes;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  UINT exitCode = 0;
  for (int i = 1; i < argc; ++i) {
    const std::wstring step = argv[i];
    const auto colon = step.find(L':');
    const std::wstring name = step.substr(0, colon);
    const std::wstring value = colon == std::wstring::npos ? std::wstring() : step.substr(colon + 1);
    if (name == L"line") {
      WriteOut(ToAnsi(value) + "\r\n");
    } else if (name == L"text") {
      WriteOut(ToAnsi(value));
    } else if (name == L"pause") {
      Sleep(static_cast<DWORD>(std::wcstoul(value.c_str(), nullptr, 10)));
    } else if (name == L"ack") {
      if (!WaitForAck(value)) return 98;
    } else if (name == L"buffer") {
      gBuffering = true;
    } else if (name == L"big") {
      WriteOut(Pattern(std::wcstoul(value.c_str(), nullptr, 10)));
    } else if (name == L"pid") {
      WriteOut("pid:" + std::to_string(GetCurrentProcessId()) + "\r\n");
    } else if (name == L"self") {
      WriteOut(SelfPath() + "\r\n");
    } else if (name == L"hold") {
      Hold(value);
    } else if (name == L"exit") {
      exitCode = static_cast<UINT>(std::wcstoul(value.c_str(), nullptr, 10));
    } else {
      return 97;
    }
  }
  LocalFree(argv);
  gBuffering = false;
  WriteOut(gBuffered);
  return static_cast<int>(exitCode);
}
