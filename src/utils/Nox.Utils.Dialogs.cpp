#include "utils/Nox.Utils.Dialogs.hpp"

namespace Nox::Utils::Dialogs {

using ui::TMsgDlgBtn;
using ui::TMsgDlgType;

void ShowInfoDialog(const std::u16string& iText) {
  ui::TDialogService::MessageDialog(iText, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, TMsgDlgBtn::mbOK, 0,
                                    [](ui::TModalResult) {});
}

void ShowErrorDialog(const std::u16string& iText) {
  ui::TDialogService::MessageDialog(iText, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, TMsgDlgBtn::mbOK, 0,
                                    [](ui::TModalResult) {});
}

void QueryMessageDialog(const std::u16string& iText, ui::TMsgDlgButtons iButtons, ui::TMsgDlgBtn iDefaultButton,
                        ui::TModalResult iOKResult, const TDialogResultProc& iProc) {
  // The close procedure holds its own reference, so the callback lives until it has run.
  ui::TDialogService::MessageDialog(iText, TMsgDlgType::mtConfirmation, iButtons, iDefaultButton, 0,
                                    [iOKResult, proc = iProc](ui::TModalResult iResult) {
                                      if (proc) proc(iResult == iOKResult);
                                    });
}

void QueryMessageDialog(const std::u16string& iText, const TDialogResultProc& iProc) {
  QueryMessageDialog(iText, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, TMsgDlgBtn::mbYes, ui::mrYes, iProc);
}

}  // namespace Nox::Utils::Dialogs
