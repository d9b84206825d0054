#pragma once
// Starting a program elevated, through the elevation prompt.

#include <string>

namespace Nox::Utils::RunAsAdmin {

// Starts the program with the parameters (one text, passed on as it stands) through the
// "runas" verb, shown normally or hidden. Blocks until Windows has decided on the start,
// the elevation prompt included. True when the start was accepted; false when it was
// declined or failed. Windows shows no error box of its own.
[[nodiscard]] bool RunAsAdmin(const std::u16string& iProgramPath, const std::u16string& iParameters, bool iShow);

// RunAsAdmin with the running program's own executable.
[[nodiscard]] bool RunSelfAsAdmin(const std::u16string& iParameters, bool iShow);

// The start on Windows before Vista, which has no elevation: the quoted path, a blank and
// the parameters, in the ANSI code page, always shown normally.
[[nodiscard]] bool RunWithWinExec(const std::u16string& iProgramPath, const std::u16string& iParameters);

}  // namespace Nox::Utils::RunAsAdmin
