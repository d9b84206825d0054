#pragma once
// The product version in a program file's version resource.

#include <cstdint>
#include <optional>
#include <string>

namespace rtl {

struct TProductVersion {
  std::uint16_t Major = 0, Minor = 0, Build = 0, Release = 0;
};

// nullopt when the file has no readable version resource (or the system has none).
[[nodiscard]] std::optional<TProductVersion> ReadProductVersion(const std::u16string& iFileName);

}  // namespace rtl
