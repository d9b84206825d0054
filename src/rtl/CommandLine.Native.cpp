// The native build runs only tests, which use SplitCommandLine directly: there is no
// Windows command line to read.

#include "rtl/CommandLineBackend.hpp"

namespace rtl::backend {

std::u16string ProcessCommandLine() { return {}; }

std::u16string ExecutablePath() { return {}; }

}  // namespace rtl::backend
