#pragma once
// Restarting Windows (after a registration that only takes full effect then).

#include <windows.h>

namespace Nox::Utils::Shutdown {

// Enables the shutdown privilege and asks Windows to log off, shut down or restart as the
// EWX_* flags say. Programs that hang are forced to end (EWX_FORCEIFHUNG); the others are
// asked first, so nobody's unsaved document is thrown away. True when Windows accepted.
[[nodiscard]] bool ShutdownWindows(UINT iFlags);

// ShutdownWindows(EWX_REBOOT).
[[nodiscard]] bool RestartWindows();

// The one call that acts: replaceable so that tests never restart or log off the machine.
using TExitWindowsExProc = BOOL(WINAPI*)(UINT uFlags, DWORD dwReason);
// Installs `proc` (nullptr: the system's ExitWindowsEx) and returns the one it replaces.
TExitWindowsExProc SetExitWindowsExProc(TExitWindowsExProc proc);

}  // namespace Nox::Utils::Shutdown
