#include "utils/Nox.Utils.Form.hpp"

namespace Nox::Utils::Form {

const rtl::TGUID& IFormUtils::IID() {
  static const rtl::TGUID guid = rtl::GuidOf(u"{C7D3C846-1FA8-47E7-B0D4-F94D0022A85A}");
  return guid;
}

const rtl::TGUID& IFormUtilsFactory::IID() {
  static const rtl::TGUID guid = rtl::GuidOf(u"{17320B02-74E5-4C1B-A64F-122FCD2EE896}");
  return guid;
}

TFormUtils::TFormUtils() {
  std::shared_ptr<IFormUtilsFactory> factory;
  if (ui::TPlatformServices::Current().SupportsPlatformService(IFormUtilsFactory::IID(), factory)) {
    FFormUtils = factory->CreateFormUtils();
  }
}

rtl::TWindowHandle TFormUtils::FindWindow(const std::u16string& iCaption) {
  return FFormUtils ? FFormUtils->FindWindow(iCaption) : 0;
}

void TFormUtils::HideTaskbar() {
  if (FFormUtils) FFormUtils->HideTaskbar();
}

void TFormUtils::ShowTaskbar() {
  if (FFormUtils) FFormUtils->ShowTaskbar();
}

void TFormUtils::BringToFront() {
  if (FFormUtils) FFormUtils->BringToFront();
}

void TFormUtils::BringToFront(rtl::TWindowHandle iWnd) {
  if (FFormUtils) FFormUtils->BringToFront(iWnd);
}

void TFormUtils::RegisterMinimizeProc(const ui::TCommonCustomForm* iForm, const TFormStateNotifyProc& iProc) {
  if (FFormUtils) FFormUtils->RegistMinimizeProc(iForm, iProc);
}

}  // namespace Nox::Utils::Form
