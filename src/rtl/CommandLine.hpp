#pragma once
// Command-line arguments of the running program.
//
// The splitting rule: characters with codes 1 to 32 separate arguments; a pair of double
// quotes with nothing between them, met where an argument would begin, is skipped; a
// double quote opens a stretch, to the next double quote or the end, in which blanks
// belong to the argument; the quotes themselves are dropped; a backslash is an ordinary
// character. A NUL ends the command line.

#include <string>
#include <string_view>
#include <vector>

namespace rtl {

// Splits a whole command line; element 0 is the program name as it was written.
// An unclosed quote at the very end makes no argument of its own.
[[nodiscard]] std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

// The number of arguments after the program name.
[[nodiscard]] int ParamCount();
// Index 0: the full path of the running executable; 1 to ParamCount(): the arguments;
// any other index: empty text.
[[nodiscard]] std::u16string ParamStr(int index);

}  // namespace rtl
