#pragma once
// The generator window's rules, apart from its window so that they are tested natively:
// what an amount field may hold, when Generate may be pressed, and what Generate builds.

#include <optional>
#include <string>
#include <string_view>

namespace uCreateBIPRules {

struct TAmountFilterResult {
  std::u16string Text;
  // A "0" was put in front: the caret must move one place right to stay behind the
  // character just typed.
  bool CaretStep = false;
};

// Keeps the ASCII digits and the first "." of the proposed text and drops everything
// else (signs, blanks, separators, further dots, full-width digits); a text that then
// starts with "." gets a "0" in front.
[[nodiscard]] TAmountFilterResult FilterAmount(std::u16string_view iProposed);

// Generate may be pressed when there is an address and an amount, or an amount in another
// currency while ORV21 is on. A text of blanks counts as not empty.
[[nodiscard]] bool CanGenerate(std::u16string_view iAddress, std::u16string_view iAmount, bool iORV21,
                               std::u16string_view iAmountExt) noexcept;

struct TGeneratorFields {
  std::u16string Address, Amount, Label, Message, AmountExt;
  bool ORV21 = false;
  std::optional<std::u16string> SelectedCurrency;  // the combo box's item, none selected: nullopt
};

// The payment URI of the fields, exactly as the edits hold them; with ORV21 off the
// amount in another currency and the currency are left out.
[[nodiscard]] std::u16string GenerateURI(const TGeneratorFields& iFields);

}  // namespace uCreateBIPRules
