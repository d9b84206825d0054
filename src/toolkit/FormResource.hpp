#pragma once
// The text format of window layouts in resources/ and its reader. One object per block:
//
//   object btnExit: TButton      # a comment runs to the end of the line
//     Align = Top
//     Margins = 8 0 8 0          # left top right bottom
//     Text = "Exit"
//   end
//
// A value is a list of numbers, "strings" (UTF-8; \" \\ \n and \uXXXX escapes) and words
// (identifiers, true/false, #AARRGGBB colours). Indentation is for the reader only.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct TResValue {
  enum class TKind { Number, String, Word };
  TKind Kind = TKind::Word;
  double Number = 0;
  std::u16string Text;  // the string, or the word as written
};

struct TResProperty {
  std::string Name;
  std::vector<TResValue> Values;
  int Line = 0;
};

struct TResObject {
  std::u16string Name;
  std::string ClassName;
  std::vector<TResProperty> Properties;
  std::vector<TResObject> Children;
  int Line = 0;

  // The last property of that name (a later line overrides an earlier one); null if none.
  [[nodiscard]] const TResProperty* Find(std::string_view iName) const noexcept;
  // The child object of that name at any depth, or null.
  [[nodiscard]] const TResObject* FindObject(std::u16string_view iName) const noexcept;
};

struct TResParseResult {
  std::optional<TResObject> Root;
  std::string Error;  // "line N: ..." when Root is empty
};

// Reads one resource whose text holds exactly one top-level object.
[[nodiscard]] TResParseResult ParseFormResource(std::string_view iText);

}  // namespace ui
