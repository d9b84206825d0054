#pragma once
// The running program's file name and version, as the main window shows them.

#include <optional>
#include <string>

#include "rtl/FileVersion.hpp"

namespace Nox::Utils::Application {

// The full path of the running executable.
[[nodiscard]] std::u16string GetApplicationFileName();

// major.minor.build of the executable's product version; "unknown" without one.
[[nodiscard]] std::u16string GetApplicationVersion();

// The version text of a product version; "unknown" for none.
[[nodiscard]] std::u16string VersionText(const std::optional<rtl::TProductVersion>& iVersion);

}  // namespace Nox::Utils::Application
