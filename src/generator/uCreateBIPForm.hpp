#pragma once
// The "BIP21 URI Generator" window: composes a payment URI from typed-in fields, shows
// it and copies it to the clipboard. Each ShowSelf builds a fresh window and frees it
// when it closes.

#include <string>

#include "toolkit/DesignedForm.hpp"

namespace uCreateBIPForm {

class TfrmCreateBIP : public ui::TDesignedForm {
 public:
  TfrmCreateBIP();

  // Opens a new generator window modally with the given style; returns once it has closed.
  static void ShowSelf(const ui::TStyleBook* iStyleBook);

  void FormCreate(ui::TObject* Sender);
  void FormClose(ui::TObject* Sender, ui::TCloseAction& Action);
  void CheckButtonEnabled(ui::TObject* Sender);
  void chbxORV21Change(ui::TObject* Sender);
  void edtAmountValidating(ui::TObject* Sender, std::u16string& Text);
  void btnGenerateClick(ui::TObject* Sender);
  void btnCopyClick(ui::TObject* Sender);
  void btnExitClick(ui::TObject* Sender);

  ui::TEdit& edtAddress;
  ui::TEdit& edtAmount;
  ui::TEdit& edtLabel;
  ui::TEdit& edtMessage;
  ui::TCheckBox& chbxORV21;
  ui::TLabel& lblAmountExt;
  ui::TEdit& edtAmountExt;
  ui::TLabel& lblAmountType;
  ui::TComboBox& cmbbxAmountType;
  ui::TButton& btnGenerate;
  ui::TMemo& memoResult;
  ui::TButton& btnCopy;
  ui::TButton& btnExit;
  ui::TLayout& layoutCopyBase;
  ui::TRoundRect& rectCopied;
  ui::TFloatAnimation& animOpacity;

 private:
  static void SetControlEnabled(ui::TControl& iControl, bool iEnabled);
};

}  // namespace uCreateBIPForm
