#include "utils/Nox.Utils.ProcessSnap.Win.hpp"

#include <windows.h>

#include "rtl/Text.hpp"
#include "toolkit/UniqueHandle.hpp"

namespace Nox::Utils::ProcessSnap {

std::u16string GetWindowProcessPath(rtl::TWindowHandle iWnd) {
  DWORD processId = 0;
  GetWindowThreadProcessId(reinterpret_cast<HWND>(iWnd), &processId);
  if (processId == 0) return {};
  const ui::TUniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  wchar_t buffer[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!QueryFullProcessImageNameW(process.get(), 0, buffer, &size)) return {};
  return rtl::FromW(buffer, size);
}

}  // namespace Nox::Utils::ProcessSnap
