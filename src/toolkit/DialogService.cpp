#include "toolkit/DialogService.hpp"

#include <memory>

namespace ui {

TModalResult ModalResultOf(TMsgDlgBtn iButton) noexcept {
  switch (iButton) {
    case TMsgDlgBtn::mbYes: return mrYes;
    case TMsgDlgBtn::mbNo: return mrNo;
    case TMsgDlgBtn::mbOK: return mrOk;
    case TMsgDlgBtn::mbCancel: return mrCancel;
    case TMsgDlgBtn::mbAbort: return mrAbort;
    case TMsgDlgBtn::mbRetry: return mrRetry;
    case TMsgDlgBtn::mbIgnore: return mrIgnore;
    case TMsgDlgBtn::mbAll: return mrAll;
    case TMsgDlgBtn::mbNoToAll: return mrNoToAll;
    case TMsgDlgBtn::mbYesToAll: return mrYesToAll;
    case TMsgDlgBtn::mbHelp: return mrNone;
    case TMsgDlgBtn::mbClose: return mrClose;
  }
  return mrNone;
}

std::u16string DialogTitleOf(TMsgDlgType iType) {
  switch (iType) {
    case TMsgDlgType::mtWarning: return u"Warning";
    case TMsgDlgType::mtError: return u"Error";
    case TMsgDlgType::mtInformation: return u"Information";
    case TMsgDlgType::mtConfirmation: return u"Confirm";
    case TMsgDlgType::mtCustom: return u"";
  }
  return u"";
}

void TDialogService::MessageDialog(const std::u16string& iMessage, TMsgDlgType iType, TMsgDlgButtons iButtons,
                                   TMsgDlgBtn iDefaultButton, int iHelpContext,
                                   const TInputCloseDialogProc& iCloseProc) {
  TModalResult result = mrCancel;
  std::shared_ptr<IFMXDialogServiceSync> service;
  if (TPlatformServices::Current().SupportsPlatformService(IFMXDialogServiceSync::IID(), service)) {
    result = service->MessageDialogSync(iMessage, iType, iButtons, iDefaultButton, iHelpContext);
  }
  if (iCloseProc) iCloseProc(result);
}

}  // namespace ui
