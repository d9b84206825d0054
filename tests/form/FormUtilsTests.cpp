// The facade of the window utilities, portable: without a factory it does nothing and
// returns 0; with one, each facade has its own utilities object and forwards to it.

#include "utils/Nox.Utils.Form.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Nox::Utils::Form::IFormUtils;
using Nox::Utils::Form::IFormUtilsFactory;
using Nox::Utils::Form::TFormStateNotifyProc;
using Nox::Utils::Form::TFormUtils;
using ::testing::_;
using ::testing::Return;

class TMockFormUtils : public IFormUtils {
 public:
  MOCK_METHOD(rtl::TWindowHandle, FindWindow, (const std::u16string&), (override));
  MOCK_METHOD(void, HideTaskbar, (), (override));
  MOCK_METHOD(void, ShowTaskbar, (), (override));
  MOCK_METHOD(void, BringToFront, (), (override));
  MOCK_METHOD(void, BringToFront, (rtl::TWindowHandle), (override));
  MOCK_METHOD(void, RegistMinimizeProc, (const ui::TCommonCustomForm*, const TFormStateNotifyProc&), (override));
};

// Hands out mocks and keeps a weak reference to each, so a test sees which are alive.
class TMockFactory final : public Nox::Utils::Form::TFormUtilsFactory {
 public:
  std::shared_ptr<IFormUtils> CreateFormUtils() override {
    auto utils = std::make_shared<::testing::NiceMock<TMockFormUtils>>();
    Made.push_back(utils);
    return utils;
  }
  std::vector<std::weak_ptr<TMockFormUtils>> Made;
};

TEST(FormUtilsIdentity, InterfaceAndFactoryHaveTheirOwnIdentities) {
  EXPECT_EQ(IFormUtils::IID().ToString(), u"{C7D3C846-1FA8-47E7-B0D4-F94D0022A85A}");
  EXPECT_EQ(IFormUtilsFactory::IID().ToString(), u"{17320B02-74E5-4C1B-A64F-122FCD2EE896}");
}

TEST(FormUtilsWithoutFactory, DoesNothingAndFindsNothing) {
  ASSERT_EQ(ui::TPlatformServices::Current().GetPlatformService(IFormUtilsFactory::IID()), nullptr);
  TFormUtils utils;
  EXPECT_EQ(utils.FindWindow(u"ORVELLA CORE ORVL WALLET "), 0u);
  EXPECT_EQ(utils.FindWindow(u""), 0u);
  bool called = false;
  utils.RegisterMinimizeProc(nullptr, [&](bool) { called = true; });
  utils.HideTaskbar();
  utils.ShowTaskbar();
  utils.BringToFront();
  utils.BringToFront(0);
  utils.BringToFront(~rtl::TWindowHandle{0});
  EXPECT_FALSE(called);
}

class FormUtilsWithFactory : public ::testing::Test {
 protected:
  void SetUp() override {
    factory_ = std::make_shared<TMockFactory>();
    ui::TPlatformServices::Current().AddPlatformService(IFormUtilsFactory::IID(), factory_);
  }
  void TearDown() override { ui::TPlatformServices::Current().RemovePlatformService(IFormUtilsFactory::IID()); }

  [[nodiscard]] TMockFormUtils& Made(std::size_t i) const { return *factory_->Made.at(i).lock(); }

  std::shared_ptr<TMockFactory> factory_;
};

TEST_F(FormUtilsWithFactory, EachFacadeOwnsItsOwnObjectUntilItIsFreed) {
  auto first = std::make_unique<TFormUtils>();
  const TFormUtils second;
  ASSERT_EQ(factory_->Made.size(), 2u);
  EXPECT_FALSE(factory_->Made[0].expired());
  first.reset();
  EXPECT_TRUE(factory_->Made[0].expired()) << "the facade must release its object";
  EXPECT_FALSE(factory_->Made[1].expired());
}

TEST_F(FormUtilsWithFactory, ForwardsEachOperationToTheOverloadOfTheSameShape) {
  TFormUtils utils;
  TMockFormUtils& mock = Made(0);
  const auto* form = reinterpret_cast<const ui::TCommonCustomForm*>(&utils);  // compared, never used
  std::vector<bool> reported;
  {
    ::testing::InSequence order;
    EXPECT_CALL(mock, FindWindow(std::u16string(u"ORVELLA CORE ORVL WALLET "))).WillOnce(Return(0x1234u));
    EXPECT_CALL(mock, HideTaskbar());
    EXPECT_CALL(mock, ShowTaskbar());
    EXPECT_CALL(mock, BringToFront(rtl::TWindowHandle{0x1234}));
    EXPECT_CALL(mock, BringToFront());
    EXPECT_CALL(mock, RegistMinimizeProc(form, _))
        .WillOnce([](const ui::TCommonCustomForm*, const TFormStateNotifyProc& iProc) { iProc(true); });
  }
  EXPECT_EQ(utils.FindWindow(u"ORVELLA CORE ORVL WALLET "), 0x1234u);
  utils.HideTaskbar();
  utils.ShowTaskbar();
  utils.BringToFront(0x1234);
  utils.BringToFront();
  utils.RegisterMinimizeProc(form, [&](bool iMinimized) { reported.push_back(iMinimized); });
  EXPECT_EQ(reported, std::vector<bool>{true});
}

}  // namespace
