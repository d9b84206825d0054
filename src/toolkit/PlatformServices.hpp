#pragma once
// The platform-service registry: operating-system services and factories registered
// under a GUID at unit start-up and looked up by the portable code. Portable itself,
// so that code using it is tested natively with or without services.

#include <map>
#include <memory>

#include "rtl/Guid.hpp"

namespace ui {

using rtl::TGUID;

// Base of every service interface; services are shared and live as long as their last holder.
class IInterface {
 public:
  virtual ~IInterface() = default;
};

class TPlatformServices {
 public:
  [[nodiscard]] static TPlatformServices& Current();

  // Adding a GUID that is registered already is a programming error: throws std::logic_error.
  void AddPlatformService(const TGUID& iServiceGUID, std::shared_ptr<IInterface> iService);
  void RemovePlatformService(const TGUID& iServiceGUID);
  [[nodiscard]] std::shared_ptr<IInterface> GetPlatformService(const TGUID& iServiceGUID) const;

  // True when a service is registered under the GUID and has the interface T.
  template <typename T>
  [[nodiscard]] bool SupportsPlatformService(const TGUID& iServiceGUID, std::shared_ptr<T>& oService) const {
    oService = std::dynamic_pointer_cast<T>(GetPlatformService(iServiceGUID));
    return oService != nullptr;
  }

 private:
  std::map<TGUID, std::shared_ptr<IInterface>> services_;
};

}  // namespace ui
