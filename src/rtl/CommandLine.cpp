#include "rtl/CommandLine.hpp"

#include "rtl/CommandLineBackend.hpp"

namespace rtl {
namespace {

[[nodiscard]] bool IsSeparator(char16_t c) { return c >= 1 && c <= 32; }

// Moves `pos` to where the next argument begins, past separators and empty quote pairs.
void SkipToArgument(std::u16string_view text, std::size_t& pos) {
  for (;;) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    if (pos + 1 < text.size() && text[pos] == u'"' && text[pos + 1] == u'"') {
      pos += 2;
    } else {
      return;
    }
  }
}

[[nodiscard]] std::u16string ReadArgument(std::u16string_view text, std::size_t& pos) {
  std::u16string argument;
  bool quoted = false;
  while (pos < text.size()) {
    const char16_t c = text[pos];
    if (!quoted && IsSeparator(c)) break;
    ++pos;
    if (c == u'"') {
      quoted = !quoted;
    } else {
      argument.push_back(c);
    }
  }
  return argument;
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine) {
  commandLine = commandLine.substr(0, commandLine.find(u'\0'));
  std::vector<std::u16string> arguments;
  std::size_t pos = 0;
  for (;;) {
    SkipToArgument(commandLine, pos);
    if (pos >= commandLine.size()) break;
    const std::size_t start = pos;
    std::u16string argument = ReadArgument(commandLine, pos);
    // Only a lone opening quote at the end reads as nothing; it is no argument.
    if (argument.empty() && pos - start == 1) break;
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

int ParamCount() {
  const auto arguments = SplitCommandLine(backend::ProcessCommandLine());
  return arguments.empty() ? 0 : static_cast<int>(arguments.size()) - 1;
}

std::u16string ParamStr(int index) {
  if (index == 0) return backend::ExecutablePath();
  if (index < 0) return {};
  auto arguments = SplitCommandLine(backend::ProcessCommandLine());
  if (static_cast<std::size_t>(index) >= arguments.size()) return {};
  return std::move(arguments[static_cast<std::size_t>(index)]);
}

}  // namespace rtl
