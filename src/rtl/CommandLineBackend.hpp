#pragma once
// The operating-system half of rtl/CommandLine.

#include <string>

namespace rtl::backend {

// The process's command line as the system holds it (empty where there is none).
[[nodiscard]] std::u16string ProcessCommandLine();
// The full path of the running executable (empty where it cannot be read).
[[nodiscard]] std::u16string ExecutablePath();

}  // namespace rtl::backend
