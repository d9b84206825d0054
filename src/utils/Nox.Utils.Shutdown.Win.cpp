#include "utils/Nox.Utils.Shutdown.Win.hpp"

#include <utility>

#include "toolkit/UniqueHandle.hpp"

namespace Nox::Utils::Shutdown {
namespace {

TExitWindowsExProc& ExitWindowsExProc() {
  static TExitWindowsExProc proc = &ExitWindowsEx;
  return proc;
}

[[nodiscard]] bool EnableShutdownPrivilege() {
  ui::TUniqueKernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) return false;
  LUID luid{};
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &luid)) return false;
  TOKEN_PRIVILEGES wanted{};
  wanted.PrivilegeCount = 1;
  wanted.Privileges[0].Luid = luid;
  wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  TOKEN_PRIVILEGES previous{};
  DWORD previousSize = sizeof previous;
  // A token without the privilege passes here; ExitWindowsEx then refuses.
  return AdjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof previous, &previous, &previousSize) != FALSE;
}

}  // namespace

bool ShutdownWindows(UINT iFlags) {
  if (!EnableShutdownPrivilege()) return false;
  return ExitWindowsExProc()(iFlags | EWX_FORCEIFHUNG, 0) != FALSE;
}

bool RestartWindows() { return ShutdownWindows(EWX_REBOOT); }

TExitWindowsExProc SetExitWindowsExProc(TExitWindowsExProc proc) {
  return std::exchange(ExitWindowsExProc(), proc ? proc : &ExitWindowsEx);
}

}  // namespace Nox::Utils::Shutdown
