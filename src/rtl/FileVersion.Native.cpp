// Only Windows programs carry version resources.

#include "rtl/FileVersion.hpp"

namespace rtl {

std::optional<TProductVersion> ReadProductVersion(const std::u16string&) { return std::nullopt; }

}  // namespace rtl
