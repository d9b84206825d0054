#pragma once
// The window layouts of resources/*.layout, compiled into the program by the build (the
// source of this unit is generated from those files).

#include <optional>
#include <string_view>

namespace ui {

// The text of the layout whose file name (without ".layout") is iName; nullopt if none.
[[nodiscard]] std::optional<std::string_view> FindFormResource(std::string_view iName) noexcept;

}  // namespace ui
