#include "toolkit/PlatformServices.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class IGreeter : public ui::IInterface {
 public:
  virtual int Answer() = 0;
};

class TGreeter final : public IGreeter {
 public:
  int Answer() override { return 42; }
};

class IOther : public ui::IInterface {};

const ui::TGUID kGreeterGUID = rtl::GuidOf(u"{0E4A3A4C-9B52-4C0F-8B9E-6A2C1D3E5F70}");

TEST(TPlatformServices, RegistersLooksUpByInterfaceAndRemoves) {
  ui::TPlatformServices services;
  std::shared_ptr<IGreeter> greeter;
  EXPECT_FALSE(services.SupportsPlatformService(kGreeterGUID, greeter));

  services.AddPlatformService(kGreeterGUID, std::make_shared<TGreeter>());
  ASSERT_TRUE(services.SupportsPlatformService(kGreeterGUID, greeter));
  EXPECT_EQ(greeter->Answer(), 42);

  // A service that lacks the asked interface is not supported.
  std::shared_ptr<IOther> other;
  EXPECT_FALSE(services.SupportsPlatformService(kGreeterGUID, other));

  EXPECT_THROW(services.AddPlatformService(kGreeterGUID, std::make_shared<TGreeter>()), std::logic_error);

  const std::shared_ptr<IGreeter> holder = greeter;
  services.RemovePlatformService(kGreeterGUID);
  EXPECT_FALSE(services.SupportsPlatformService(kGreeterGUID, greeter));
  EXPECT_EQ(greeter, nullptr);
  services.RemovePlatformService(kGreeterGUID);  // removing twice is harmless
  // The holder keeps the removed service alive.
  EXPECT_EQ(holder->Answer(), 42);
}

}  // namespace
