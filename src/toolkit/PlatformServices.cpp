#include "toolkit/PlatformServices.hpp"

#include <stdexcept>

#include "rtl/Text.hpp"

namespace ui {

TPlatformServices& TPlatformServices::Current() {
  static TPlatformServices services;
  return services;
}

void TPlatformServices::AddPlatformService(const TGUID& iServiceGUID, std::shared_ptr<IInterface> iService) {
  if (!services_.try_emplace(iServiceGUID, std::move(iService)).second) {
    throw std::logic_error("platform service registered twice: " + rtl::Utf16ToUtf8(iServiceGUID.ToString()));
  }
}

void TPlatformServices::RemovePlatformService(const TGUID& iServiceGUID) { services_.erase(iServiceGUID); }

std::shared_ptr<IInterface> TPlatformServices::GetPlatformService(const TGUID& iServiceGUID) const {
  const auto found = services_.find(iServiceGUID);
  return found == services_.end() ? nullptr : found->second;
}

}  // namespace ui
