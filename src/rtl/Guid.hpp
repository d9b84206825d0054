#pragma once
// GUIDs as values, written and read in the registry form {311A40D4-3D5B-40CC-A201-78465760B25E}.

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rtl {

struct TGUID {
  std::uint32_t D1 = 0;
  std::uint16_t D2 = 0;
  std::uint16_t D3 = 0;
  std::array<std::uint8_t, 8> D4{};

  // Braces are required; hex digits may be of either case. nullopt for anything else.
  [[nodiscard]] static std::optional<TGUID> Parse(std::u16string_view text);
  // Upper-case hex digits, with braces.
  [[nodiscard]] std::u16string ToString() const;

  friend auto operator<=>(const TGUID&, const TGUID&) = default;
};

// For identities written in the source: a malformed literal yields the nil GUID, which a
// test of the identity constants catches.
[[nodiscard]] TGUID GuidOf(std::u16string_view text);

}  // namespace rtl
