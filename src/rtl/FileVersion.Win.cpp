#include <windows.h>

#include <vector>

#include "rtl/FileVersion.hpp"
#include "rtl/Text.hpp"

namespace rtl {

std::optional<TProductVersion> ReadProductVersion(const std::u16string& iFileName) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(WStr(iFileName), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(WStr(iFileName), 0, size, data.data())) return std::nullopt;
  void* block = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", &block, &length) || block == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
  return TProductVersion{HIWORD(info->dwProductVersionMS), LOWORD(info->dwProductVersionMS),
                         HIWORD(info->dwProductVersionLS), LOWORD(info->dwProductVersionLS)};
}

}  // namespace rtl
