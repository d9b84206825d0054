#pragma once
// The payment URI: written by the generator, read from the command line, and handed to
// the wallet in a normalised form.
//
//   orvella:ADDRESS?amount=1.5&label=Shop&message=Order%2012
//
// Values are written through EncodeURIValue and are never percent-decoded: an escape
// that arrives in a URI stays as it is all the way to the wallet.

#include <optional>
#include <string>

namespace uBIP {

struct TBIP21Params {
  std::u16string Address, Amount, Label, Message, AmountExt, AmountType;
};

// Escapes bytes outside 0x21..0x7E and the five characters " # ' < > as %XX (upper-case
// hex) of their UTF-8 bytes. A "%" that already begins an escape is kept, so encoding
// twice changes nothing.
[[nodiscard]] std::u16string EncodeURIValue(const std::u16string& value);

// Reads a payment URI: the scheme up to the first ":", the address up to the first "?"
// after it, then parameters separated by "&". Every "/" is removed from the address
// (shells turn orvella:addr into orvella://addr/), and one "/" ending the whole URI is
// dropped. Values keep "/", ":" and "?". Keys match without regard to case; the first
// match wins. The label and message come back encoded once more.
// nullopt: the text has no ":", so there is no address at all.
[[nodiscard]] std::optional<TBIP21Params> ParseBIP21URI(const std::u16string& iBIP21URI);

// The URI handed to the wallet: always the amount (its key even when empty), then the
// label and the message when they are not empty.
[[nodiscard]] std::u16string BuildSendURI(const std::u16string& address, const std::u16string& amount,
                                          const std::u16string& label, const std::u16string& message);

class TBIPUtils {
 public:
  // Writes a payment URI; empty values are left out, amountType only with an amountExt.
  [[nodiscard]] static std::u16string CreateORV21(const std::u16string& iAddress, const std::u16string& iAmount,
                                                  const std::u16string& iLabel, const std::u16string& iMessage,
                                                  const std::u16string& iAmountExt,
                                                  const std::u16string& iAmountType);
};

}  // namespace uBIP
