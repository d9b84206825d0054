#include "utils/Nox.Utils.Application.hpp"

#include "rtl/CommandLine.hpp"
#include "rtl/Format.hpp"

namespace Nox::Utils::Application {

std::u16string GetApplicationFileName() { return rtl::ParamStr(0); }

std::u16string GetApplicationVersion() { return VersionText(rtl::ReadProductVersion(GetApplicationFileName())); }

std::u16string VersionText(const std::optional<rtl::TProductVersion>& iVersion) {
  if (!iVersion) return u"unknown";
  return rtl::Format(u"%d.%d.%d", {int{iVersion->Major}, int{iVersion->Minor}, int{iVersion->Build}});
}

}  // namespace Nox::Utils::Application
