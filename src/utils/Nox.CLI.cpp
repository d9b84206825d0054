#include "utils/Nox.CLI.hpp"

#include <algorithm>

namespace Nox::CLI {

namespace {
constexpr std::u16string_view kLineBreak = u"\r\n";
}  // namespace

const rtl::TGUID& ICLI::IID() {
  static const rtl::TGUID guid = rtl::GuidOf(u"{450FE702-9DD3-400E-A30C-BECFCE96AB01}");
  return guid;
}

const rtl::TGUID& ICLIFactory::IID() {
  static const rtl::TGUID guid = rtl::GuidOf(u"{8C07187D-8A98-404C-85BB-717A8A16A44E}");
  return guid;
}

bool TPendingText::DispatchLines(const TCLIReadEvent& iHandler) {
  for (auto end = FText.find(kLineBreak); end != std::u16string::npos; end = FText.find(kLineBreak)) {
    // The line leaves the pending text before the handler sees it, so a handler that throws
    // does not get the same line again from the remainder.
    const std::u16string line = FText.substr(0, end);
    FText.erase(0, end + kLineBreak.size());
    if (iHandler && !iHandler(line)) return false;
  }
  return true;
}

void TPendingText::DispatchRemainder(const TCLIReadEvent& iHandler) {
  if (FText.empty()) return;
  const std::u16string rest = std::move(FText);
  FText.clear();
  if (iHandler) static_cast<void>(iHandler(rest));
}

std::size_t CompleteCharsLength(std::string_view iBytes, const TCharByteCount& iByteCount) {
  std::size_t at = 0;
  while (at < iBytes.size()) {
    const std::size_t count = std::max<std::size_t>(1, iByteCount(static_cast<unsigned char>(iBytes[at])));
    if (count > iBytes.size() - at) break;
    at += count;
  }
  return at;
}

std::size_t Utf8CharByteCount(unsigned char iLeadByte) noexcept {
  if (iLeadByte >= 0xC2 && iLeadByte <= 0xDF) return 2;
  if (iLeadByte >= 0xE0 && iLeadByte <= 0xEF) return 3;
  if (iLeadByte >= 0xF0 && iLeadByte <= 0xF4) return 4;
  return 1;
}

TCLI::TCLI() {
  std::shared_ptr<ICLIFactory> factory;
  if (ui::TPlatformServices::Current().SupportsPlatformService(ICLIFactory::IID(), factory)) {
    FCLI = factory->CreateCLI();
  }
}

std::u16string TCLI::Execute(const std::u16string& iCommand) {
  return FCLI ? FCLI->Execute(iCommand) : std::u16string();
}

void TCLI::WhileExec(const std::u16string& iCommand, const TCLIReadEvent& iHandler) {
  if (FCLI) {
    FCLI->WhileExec(iCommand, iHandler);
  } else if (iHandler) {
    static_cast<void>(iHandler(std::u16string()));
  }
}

void TCLI::WhileBreak() {
  if (FCLI) FCLI->WhileBreak();
}

}  // namespace Nox::CLI
