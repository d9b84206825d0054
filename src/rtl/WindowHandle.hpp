#pragma once
// A native window as the portable code sees it: a pointer-sized integer, 0 for none.

#include <cstdint>

namespace rtl {

using TWindowHandle = std::uintptr_t;

}  // namespace rtl
