#include "app/uCommand.hpp"

#include "rtl/CommandLine.hpp"
#include "rtl/Locale.hpp"
#include "rtl/Text.hpp"

namespace uCommand {

std::u16string GetCommand() { return GetCommand(rtl::ParamStr(1)); }

std::u16string GetCommand(std::u16string_view iArgument) {
  std::u16string text = rtl::LowerCase(iArgument);
  std::size_t drop = 0;
  while (StartsWithAny(std::u16string_view(text).substr(drop), {u"-", u"/"})) ++drop;
  return text.substr(drop);
}

bool StartsWithAny(std::u16string_view iText, std::initializer_list<std::u16string_view> iPrefixes) {
  for (const std::u16string_view prefix : iPrefixes) {
    if (rtl::StartsWith(iText, prefix)) return true;
  }
  return false;
}

}  // namespace uCommand
