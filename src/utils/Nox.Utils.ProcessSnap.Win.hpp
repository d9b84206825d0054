#pragma once
// The executable behind a window, used to start the wallet program that owns the wallet window.

#include <string>

#include "rtl/WindowHandle.hpp"

namespace Nox::Utils::ProcessSnap {

// The full path of the executable of the process that owns the window; empty text for 0,
// a destroyed window, a process that cannot be queried, or a path of 260 characters or more.
[[nodiscard]] std::u16string GetWindowProcessPath(rtl::TWindowHandle iWnd);

}  // namespace Nox::Utils::ProcessSnap
