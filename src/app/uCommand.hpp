#pragma once
// The command word: the first argument in lower case, without its leading "-" and "/".
// "dummy", "-Dummy" and "/DUMMY" all give "dummy"; a payment URI gives something else.

#include <initializer_list>
#include <string>
#include <string_view>

namespace uCommand {

// The command word of the program's first argument.
[[nodiscard]] std::u16string GetCommand();
// The command word of the given argument.
[[nodiscard]] std::u16string GetCommand(std::u16string_view iArgument);

// True when the text starts with one of the prefixes (ordinal, case-sensitive); an empty
// prefix matches every text.
[[nodiscard]] bool StartsWithAny(std::u16string_view iText, std::initializer_list<std::u16string_view> iPrefixes);

}  // namespace uCommand
