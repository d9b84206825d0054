// Prints the version text of its own executable, so tests can read the version of a
// program file with and without a version resource.

#include <cstdio>

#include "rtl/Text.hpp"
#include "utils/Nox.Utils.Application.hpp"

int main() {
  std::fputs(rtl::Utf16ToUtf8(Nox::Utils::Application::GetApplicationVersion()).c_str(), stdout);
  return 0;
}
