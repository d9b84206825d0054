#include "generator/uCreateBIPForm.hpp"

#include <array>

#include "generator/uCreateBIPRules.hpp"
#include "rates/uCoinMarketCap.hpp"
#include "toolkit/ClipboardService.hpp"
#include "toolkit/PlatformServices.hpp"
#include "toolkit/Thread.hpp"

namespace uCreateBIPForm {

using namespace ui;

TfrmCreateBIP::TfrmCreateBIP()
    : TDesignedForm("uCreateBIPForm"),
      edtAddress(Control<TEdit>(u"edtAddress")),
      edtAmount(Control<TEdit>(u"edtAmount")),
      edtLabel(Control<TEdit>(u"edtLabel")),
      edtMessage(Control<TEdit>(u"edtMessage")),
      chbxORV21(Control<TCheckBox>(u"chbxORV21")),
      lblAmountExt(Control<TLabel>(u"lblAmountExt")),
      edtAmountExt(Control<TEdit>(u"edtAmountExt")),
      lblAmountType(Control<TLabel>(u"lblAmountType")),
      cmbbxAmountType(Control<TComboBox>(u"cmbbxAmountType")),
      btnGenerate(Control<TButton>(u"btnGenerate")),
      memoResult(Control<TMemo>(u"memoResult")),
      btnCopy(Control<TButton>(u"btnCopy")),
      btnExit(Control<TButton>(u"btnExit")),
      layoutCopyBase(Control<TLayout>(u"layoutCopyBase")),
      rectCopied(Control<TRoundRect>(u"rectCopied")),
      animOpacity(Animation(u"animOpacity")) {
  const auto notify = [this](void (TfrmCreateBIP::*handler)(TObject*)) {
    return [this, handler](TObject* sender) { (this->*handler)(sender); };
  };
  RegisterHandler(u"CheckButtonEnabled", notify(&TfrmCreateBIP::CheckButtonEnabled));
  RegisterHandler(u"chbxORV21Change", notify(&TfrmCreateBIP::chbxORV21Change));
  RegisterHandler(u"btnGenerateClick", notify(&TfrmCreateBIP::btnGenerateClick));
  RegisterHandler(u"btnCopyClick", notify(&TfrmCreateBIP::btnCopyClick));
  RegisterHandler(u"btnExitClick", notify(&TfrmCreateBIP::btnExitClick));
  RegisterValidator(u"edtAmountValidating",
                    [this](TObject* sender, std::u16string& text) { edtAmountValidating(sender, text); });
  OnCreate = notify(&TfrmCreateBIP::FormCreate);
  OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
}

void TfrmCreateBIP::ShowSelf(const TStyleBook* iStyleBook) {
  TFormPtr<TfrmCreateBIP> form = MakeForm<TfrmCreateBIP>();
  form->SetStyleBook(iStyleBook);
  form->ShowModal();
  // The loop also ends when the program is terminating; the window is closed either way,
  // and freed here.
  if (form->Visible()) form->Close();
}

void TfrmCreateBIP::FormCreate(TObject*) {
  rectCopied.SetVisible(false);
  memoResult.SetWordWrap(true);
  edtAddress.SetFocus();
  layoutCopyBase.SetAlign(TAlignLayout::Contents);
  for (const std::u16string_view code : uCoinMarketCap::CMC_CURRENCIES) cmbbxAmountType.AddItem(std::u16string(code));
  cmbbxAmountType.SetItemIndex(cmbbxAmountType.IndexOf(u"JPY"));
  chbxORV21Change(&chbxORV21);
}

void TfrmCreateBIP::FormClose(TObject*, TCloseAction& Action) { Action = TCloseAction::caFree; }

void TfrmCreateBIP::SetControlEnabled(TControl& iControl, bool iEnabled) {
  static constexpr std::array<float, 2> kOpacity = {0.5f, 1.0f};
  iControl.SetEnabled(iEnabled);
  iControl.SetOpacity(kOpacity[iEnabled ? 1 : 0]);
}

void TfrmCreateBIP::chbxORV21Change(TObject*) {
  const bool checked = chbxORV21.IsChecked();
  SetControlEnabled(edtAmountExt, checked);
  SetControlEnabled(cmbbxAmountType, checked);
  SetControlEnabled(lblAmountExt, checked);
  SetControlEnabled(lblAmountType, checked);
  CheckButtonEnabled(&chbxORV21);
}

void TfrmCreateBIP::CheckButtonEnabled(TObject*) {
  btnGenerate.SetEnabled(uCreateBIPRules::CanGenerate(edtAddress.Text(), edtAmount.Text(), chbxORV21.IsChecked(),
                                                      edtAmountExt.Text()));
}

void TfrmCreateBIP::edtAmountValidating(TObject* Sender, std::u16string& Text) {
  uCreateBIPRules::TAmountFilterResult filtered = uCreateBIPRules::FilterAmount(Text);
  Text = std::move(filtered.Text);
  auto* edit = dynamic_cast<TEdit*>(Sender);
  if (!filtered.CaretStep || !edit) return;
  // Later, once the edit holds the new text; the edit may be gone by then.
  TThread::ForceQueue(TThread::CurrentThread(), [alive = edit->AliveToken()] {
    if (const auto control = alive.lock()) {
      if (auto* target = dynamic_cast<TEdit*>(*control)) target->SetSelStart(target->SelStart() + 1);
    }
  });
}

void TfrmCreateBIP::btnGenerateClick(TObject*) {
  uCreateBIPRules::TGeneratorFields fields;
  fields.Address = edtAddress.Text();
  fields.Amount = edtAmount.Text();
  fields.Label = edtLabel.Text();
  fields.Message = edtMessage.Text();
  fields.AmountExt = edtAmountExt.Text();
  fields.ORV21 = chbxORV21.IsChecked();
  const int index = cmbbxAmountType.ItemIndex();
  if (index >= 0) fields.SelectedCurrency = cmbbxAmountType.Items()[static_cast<std::size_t>(index)];
  memoResult.SetText(uCreateBIPRules::GenerateURI(fields));
  btnCopy.SetEnabled(true);
}

void TfrmCreateBIP::btnCopyClick(TObject*) {
  std::shared_ptr<IFMXClipboardService> clipboard;
  if (!TPlatformServices::Current().SupportsPlatformService(IFMXClipboardService::IID(), clipboard)) return;
  // Only a copy that reached the clipboard is confirmed.
  if (!clipboard->SetClipboard(memoResult.Text())) return;
  rectCopied.SetVisible(true);
  animOpacity.Start();
}

void TfrmCreateBIP::btnExitClick(TObject*) { Close(); }

}  // namespace uCreateBIPForm
