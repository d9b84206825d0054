#pragma once
// The pictures of resources/*.bmp, compiled into the program by the build (the source of
// this unit is generated from those files by EmbedImageResources.cmake).

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ui {

// The bytes of the picture whose file name (without ".bmp") is iName; nullopt if none.
[[nodiscard]] std::optional<std::span<const std::uint8_t>> FindImageResource(std::string_view iName) noexcept;

}  // namespace ui
