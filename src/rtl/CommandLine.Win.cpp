#include <windows.h>

#include "rtl/CommandLineBackend.hpp"
#include "rtl/Text.hpp"

namespace rtl::backend {

std::u16string ProcessCommandLine() { return FromW(GetCommandLineW()); }

std::u16string ExecutablePath() {
  // Long paths need more than MAX_PATH; grow until the name fits.
  std::u16string path(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, WBuf(path), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace rtl::backend
