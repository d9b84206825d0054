#include "toolkit/DialogService.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

TEST(TDialogService, ButtonValuesSetsAndModalResults) {
  using enum ui::TMsgDlgBtn;
  EXPECT_EQ((ui::TMsgDlgButtons{mbOK}).Bits(), 0x0004);
  EXPECT_EQ((ui::TMsgDlgButtons{mbYes, mbNo}).Bits(), 0x0003);
  EXPECT_EQ(ui::TMsgDlgButtons::FromBits(0x0003), (ui::TMsgDlgButtons{mbYes, mbNo}));
  struct TRow {
    ui::TMsgDlgBtn Button;
    ui::TModalResult Result;
  };
  const TRow rows[] = {{mbYes, 6},  {mbNo, 7},       {mbOK, 1},        {mbCancel, 2}, {mbAbort, 3}, {mbRetry, 4},
                       {mbIgnore, 5}, {mbAll, 12},   {mbNoToAll, 13}, {mbYesToAll, 14}, {mbHelp, 0}, {mbClose, 8}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.Button));
    EXPECT_EQ(ui::ModalResultOf(row.Button), row.Result);
  }
  EXPECT_EQ(static_cast<int>(ui::TMsgDlgType::mtConfirmation), 3);
}

class TOneAnswer final : public ui::IFMXDialogServiceSync {
 public:
  explicit TOneAnswer(ui::TModalResult iAnswer) : answer_(iAnswer) {}
  ui::TModalResult MessageDialogSync(const std::u16string& iMessage, ui::TMsgDlgType iType, ui::TMsgDlgButtons,
                                     ui::TMsgDlgBtn, int) override {
    shownText = iMessage;
    shownType = iType;
    return answer_;
  }
  std::u16string shownText;
  std::optional<ui::TMsgDlgType> shownType;

 private:
  ui::TModalResult answer_;
};

TEST(TDialogService, HandsTheDialogToTheServiceAndTheResultToTheCloseProc) {
  auto& services = ui::TPlatformServices::Current();
  const auto saved = services.GetPlatformService(ui::IFMXDialogServiceSync::IID());
  services.RemovePlatformService(ui::IFMXDialogServiceSync::IID());

  std::optional<ui::TModalResult> result;
  const auto record = [&result](ui::TModalResult r) { result = r; };
  ui::TDialogService::MessageDialog(u"no service", ui::TMsgDlgType::mtConfirmation, {ui::TMsgDlgBtn::mbYes},
                                    ui::TMsgDlgBtn::mbYes, 0, record);
  EXPECT_EQ(result, ui::mrCancel) << "without a dialog nothing counts as confirmed";

  const auto service = std::make_shared<TOneAnswer>(ui::mrYes);
  services.AddPlatformService(ui::IFMXDialogServiceSync::IID(), service);
  ui::TDialogService::MessageDialog(u"text", ui::TMsgDlgType::mtError, {ui::TMsgDlgBtn::mbOK}, ui::TMsgDlgBtn::mbOK,
                                    0, record);
  EXPECT_EQ(result, ui::mrYes);
  EXPECT_EQ(service->shownText, u"text");
  EXPECT_EQ(service->shownType, ui::TMsgDlgType::mtError);
  ui::TDialogService::MessageDialog(u"no proc", ui::TMsgDlgType::mtError, {}, ui::TMsgDlgBtn::mbOK, 0, nullptr);

  services.RemovePlatformService(ui::IFMXDialogServiceSync::IID());
  if (saved) services.AddPlatformService(ui::IFMXDialogServiceSync::IID(), saved);
}

}  // namespace
