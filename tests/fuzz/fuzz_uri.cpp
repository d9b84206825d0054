// Properties of the payment-URI functions that must hold for any input.
// The input is read as UTF-16 code units (so lone surrogates and NULs occur); U+FFFF
// separates the six fields given to CreateORV21.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "payment/uBIP.hpp"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

[[nodiscard]] std::u16string ToUtf16(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  return text;
}

[[nodiscard]] std::vector<std::u16string> Fields(const std::u16string& text) {
  std::vector<std::u16string> fields(1);
  for (const char16_t c : text) {
    if (c == 0xFFFF && fields.size() < 6) {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  fields.resize(6);
  return fields;
}

[[nodiscard]] bool Has(const std::u16string& text, char16_t c) { return text.find(c) != std::u16string::npos; }

void CheckEncoded(const std::u16string& value) {
  const std::u16string encoded = uBIP::EncodeURIValue(value);
  for (const char16_t c : encoded) {
    Check(c >= 0x21 && c <= 0x7E);
    Check(c != u'"' && c != u'#' && c != u'\'' && c != u'<' && c != u'>');
  }
  Check(uBIP::EncodeURIValue(encoded) == encoded);
}

void CheckParse(const std::u16string& uri) {
  const auto parsed = uBIP::ParseBIP21URI(uri);
  Check(parsed.has_value() == Has(uri.substr(0, uri.size() - (!uri.empty() && uri.back() == u'/')), u':'));
  if (!parsed) return;
  Check(!Has(parsed->Address, u'/'));
  Check(uBIP::EncodeURIValue(parsed->Label) == parsed->Label);
  Check(uBIP::EncodeURIValue(parsed->Message) == parsed->Message);
}

void CheckRoundTrip(const std::vector<std::u16string>& f) {
  const auto& [address, amount, label, message, amountExt, amountType] =
      std::tie(f[0], f[1], f[2], f[3], f[4], f[5]);
  const std::u16string uri = uBIP::TBIPUtils::CreateORV21(address, amount, label, message, amountExt, amountType);
  const auto parsed = uBIP::ParseBIP21URI(uri);
  Check(parsed.has_value());
  if (Has(address, u'/') || Has(address, u'?')) return;
  Check(parsed->Address == address);

  // Without "&" in any value and without a slash ending the URI, every value comes back
  // as it was written.
  for (const auto& value : f) {
    if (Has(value, u'&')) return;
  }
  if (uri.back() == u'/') return;
  Check(parsed->Amount == uBIP::EncodeURIValue(amount));
  Check(parsed->Label == uBIP::EncodeURIValue(label));
  Check(parsed->Message == uBIP::EncodeURIValue(message));
  Check(parsed->AmountExt == uBIP::EncodeURIValue(amountExt));
  Check(parsed->AmountType == (amountExt.empty() ? std::u16string() : uBIP::EncodeURIValue(amountType)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = ToUtf16(data, size);
  const std::vector<std::u16string> fields = Fields(text);
  for (const auto& field : fields) CheckEncoded(field);
  CheckParse(text);
  CheckRoundTrip(fields);
  const std::u16string sent = uBIP::BuildSendURI(fields[0], fields[1], fields[2], fields[3]);
  Check(sent.rfind(u"orvella:", 0) == 0);
  return 0;
}
