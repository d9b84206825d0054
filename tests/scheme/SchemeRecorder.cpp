// Stand-in for the program in the shell tests: started through a URL scheme, it writes its
// arguments (CommandLineToArgvW, one per line, UTF-16) to "<its own path>.args" and exits.
// The file is written under a temporary name and renamed, so a reader never sees half of it.

#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t self[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  if (length == 0 || length >= MAX_PATH * 2) return 2;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 3;
  std::wstring text;
  for (int i = 1; i < argc; ++i) text += std::wstring(argv[i]) + L"\n";
  LocalFree(argv);

  const std::wstring target = std::wstring(self) + L".args";
  const std::wstring temp = target + L".tmp";
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 4;
  DWORD written = 0;
  const DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  const BOOL ok = WriteFile(file, text.data(), bytes, &written, nullptr) && written == bytes;
  CloseHandle(file);
  if (!ok || !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return 5;
  return 0;
}
