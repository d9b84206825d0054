#pragma once
// A dialog service that answers from a script and records what it was asked to show;
// installed in place of the platform's for the life of the object.

#include <memory>
#include <string>
#include <vector>

#include "toolkit/DialogService.hpp"

namespace testsupport {

struct TShownDialog {
  std::u16string Text;
  ui::TMsgDlgType Type;
  ui::TMsgDlgButtons Buttons;
  ui::TMsgDlgBtn DefaultButton;
  int HelpContext;
};

class TScriptedDialogService final : public ui::IFMXDialogServiceSync {
 public:
  ui::TModalResult MessageDialogSync(const std::u16string& iMessage, ui::TMsgDlgType iType, ui::TMsgDlgButtons iButtons,
                                     ui::TMsgDlgBtn iDefaultButton, int iHelpContext) override {
    Shown.push_back({iMessage, iType, iButtons, iDefaultButton, iHelpContext});
    return Answer;
  }
  ui::TModalResult Answer = ui::mrOk;
  std::vector<TShownDialog> Shown;
};

class TScriptedDialogs {
 public:
  TScriptedDialogs() : service_(std::make_shared<TScriptedDialogService>()) {
    auto& services = ui::TPlatformServices::Current();
    saved_ = services.GetPlatformService(ui::IFMXDialogServiceSync::IID());
    services.RemovePlatformService(ui::IFMXDialogServiceSync::IID());
    services.AddPlatformService(ui::IFMXDialogServiceSync::IID(), service_);
  }
  TScriptedDialogs(const TScriptedDialogs&) = delete;
  TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;
  ~TScriptedDialogs() {
    auto& services = ui::TPlatformServices::Current();
    services.RemovePlatformService(ui::IFMXDialogServiceSync::IID());
    if (saved_) services.AddPlatformService(ui::IFMXDialogServiceSync::IID(), saved_);
  }
  TScriptedDialogService& operator*() const { return *service_; }
  TScriptedDialogService* operator->() const { return service_.get(); }

 private:
  std::shared_ptr<TScriptedDialogService> service_;
  std::shared_ptr<ui::IInterface> saved_;
};

}  // namespace testsupport
