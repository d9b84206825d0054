#pragma once
// The portable half of the form loader: finds a compiled-in layout, reads typed property
// values, and arranges a whole layout as its window would. The Windows half builds the
// controls from the same objects, so what the tests arrange is what the window shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/FormResource.hpp"
#include "toolkit/Layout.hpp"

namespace ui {

using TAlphaColor = std::uint32_t;  // 0xAARRGGBB

struct TFormLoadResult {
  std::optional<TResObject> Root;
  std::string Error;
};

// Parses the compiled-in layout iName and checks it (CheckFormResource).
[[nodiscard]] TFormLoadResult LoadFormResource(std::string_view iName);

// Every problem of a parsed layout: unknown properties, values of the wrong kind or
// count, unknown words (alignments, colours), duplicate object names. Empty when sound.
[[nodiscard]] std::vector<std::string> CheckFormResource(const TResObject& iRoot);

[[nodiscard]] std::optional<double> ReadNumber(const TResObject& iObject, std::string_view iName);
[[nodiscard]] std::optional<std::u16string> ReadString(const TResObject& iObject, std::string_view iName);
[[nodiscard]] std::optional<std::u16string> ReadWord(const TResObject& iObject, std::string_view iName);
[[nodiscard]] std::optional<bool> ReadBool(const TResObject& iObject, std::string_view iName);
[[nodiscard]] std::optional<TAlphaColor> ReadColor(const TResObject& iObject, std::string_view iName);
// Two numbers ("Size = 400 565", "ClientSize", "Position").
[[nodiscard]] std::optional<TSizeF> ReadPair(const TResObject& iObject, std::string_view iName);
// Four numbers, left top right bottom ("Margins", "Padding").
[[nodiscard]] std::optional<TBounds> ReadBounds(const TResObject& iObject, std::string_view iName);

// Align, Margins, Position, Size and Visible of a control.
[[nodiscard]] TLayoutItem ReadLayoutItem(const TResObject& iObject);
// Controls take part in layout; components (style book, translation, animation, effect) do not.
[[nodiscard]] bool IsVisualClass(std::string_view iClassName) noexcept;

// Where one control ends up: relative to its parent and to the form's client area, in DIP.
struct TPlacement {
  std::u16string Name;
  std::u16string Parent;
  TRectF InParent;
  TRectF InClient;
};

// Arranges the whole layout in a client area of the form's ClientSize, parents before
// their children, as the window does when it is shown.
[[nodiscard]] std::vector<TPlacement> ArrangeLayout(const TResObject& iRoot);

}  // namespace ui
