#include "generator/uCreateBIPRules.hpp"

#include "payment/uBIP.hpp"

namespace uCreateBIPRules {

TAmountFilterResult FilterAmount(std::u16string_view iProposed) {
  TAmountFilterResult result;
  bool dotSeen = false;
  for (const char16_t c : iProposed) {
    if (c >= u'0' && c <= u'9') {
      result.Text += c;
    } else if (c == u'.' && !dotSeen) {
      dotSeen = true;
      result.Text += c;
    }
  }
  if (!result.Text.empty() && result.Text.front() == u'.') {
    result.Text.insert(result.Text.begin(), u'0');
    result.CaretStep = true;
  }
  return result;
}

bool CanGenerate(std::u16string_view iAddress, std::u16string_view iAmount, bool iORV21,
                 std::u16string_view iAmountExt) noexcept {
  return !iAddress.empty() && (!iAmount.empty() || (iORV21 && !iAmountExt.empty()));
}

std::u16string GenerateURI(const TGeneratorFields& iFields) {
  std::u16string amountExt;
  std::u16string amountType;
  if (iFields.ORV21) {
    amountExt = iFields.AmountExt;
    if (iFields.SelectedCurrency) amountType = *iFields.SelectedCurrency;
  }
  return uBIP::TBIPUtils::CreateORV21(iFields.Address, iFields.Amount, iFields.Label, iFields.Message, amountExt,
                                      amountType);
}

}  // namespace uCreateBIPRules
