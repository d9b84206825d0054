#include "payment/uBIP.hpp"

#include <string_view>
#include <vector>

#include "rtl/Format.hpp"
#include "rtl/Locale.hpp"
#include "rtl/Text.hpp"

namespace uBIP {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

[[nodiscard]] bool IsHexDigit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

[[nodiscard]] bool IsUnsafe(unsigned char c) {
  return c == '"' || c == '#' || c == '\'' || c == '<' || c == '>';
}

void AppendEscape(std::u16string& out, unsigned char byte) {
  out.push_back(u'%');
  out.push_back(static_cast<char16_t>(kHexDigits[byte >> 4]));
  out.push_back(static_cast<char16_t>(kHexDigits[byte & 0x0F]));
}

// Appends "?key=value" or "&key=value"; the "?" goes to whichever parameter comes first,
// judged by the whole text so far (an address may hold a "?" itself).
void AppendParam(std::u16string& uri, std::u16string_view key, const std::u16string& value) {
  if (value.empty()) return;
  const std::u16string_view separator = uri.find(u'?') == std::u16string::npos ? u"?" : u"&";
  uri += rtl::Format(u"%s%s=%s", {separator, key, EncodeURIValue(value)});
}

[[nodiscard]] std::vector<std::u16string_view> SplitOn(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start));
    if (end == std::u16string_view::npos) return parts;
    start = end + 1;
  }
}

// The value of the first parameter whose name (the text before its first "=") is the
// key; parameters without "=" are not parameters.
[[nodiscard]] std::u16string FindParam(const std::vector<std::u16string_view>& params, std::u16string_view key) {
  for (const std::u16string_view param : params) {
    const std::size_t equals = param.find(u'=');
    if (equals == std::u16string_view::npos) continue;
    if (rtl::SameText(param.substr(0, equals), key)) return std::u16string(param.substr(equals + 1));
  }
  return {};
}

}  // namespace

std::u16string EncodeURIValue(const std::u16string& value) {
  if (value.empty()) return {};
  const std::string bytes = rtl::Utf16ToUtf8(value);
  std::u16string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == '%' && i + 2 < bytes.size() && IsHexDigit(static_cast<unsigned char>(bytes[i + 1])) &&
        IsHexDigit(static_cast<unsigned char>(bytes[i + 2]))) {
      out.append({u'%', static_cast<char16_t>(bytes[i + 1]), static_cast<char16_t>(bytes[i + 2])});
      i += 2;
    } else if (byte < 0x21 || byte > 0x7E || IsUnsafe(byte)) {
      AppendEscape(out, byte);
    } else {
      out.push_back(byte);
    }
  }
  return out;
}

std::optional<TBIP21Params> ParseBIP21URI(const std::u16string& iBIP21URI) {
  std::u16string_view uri = iBIP21URI;
  if (!uri.empty() && uri.back() == u'/') uri.remove_suffix(1);

  const std::size_t colon = uri.find(u':');
  if (colon == std::u16string_view::npos) return std::nullopt;
  const std::u16string_view rest = uri.substr(colon + 1);
  const std::size_t question = rest.find(u'?');

  TBIP21Params params;
  params.Address = rtl::ReplaceAll(rest.substr(0, question), u"/", u"");
  if (question == std::u16string_view::npos) return params;

  const auto query = SplitOn(rest.substr(question + 1), u'&');
  params.Amount = FindParam(query, u"amount");
  params.Label = EncodeURIValue(FindParam(query, u"label"));
  params.Message = EncodeURIValue(FindParam(query, u"message"));
  params.AmountExt = FindParam(query, u"amountExt");
  params.AmountType = FindParam(query, u"amountType");
  return params;
}

std::u16string BuildSendURI(const std::u16string& address, const std::u16string& amount, const std::u16string& label,
                            const std::u16string& message) {
  std::u16string tail;
  if (!label.empty()) tail += u"&label=" + label;
  if (!message.empty()) tail += u"&message=" + message;
  return rtl::Format(u"orvella:%s?amount=%s%s", {address, amount, tail});
}

std::u16string TBIPUtils::CreateORV21(const std::u16string& iAddress, const std::u16string& iAmount,
                                      const std::u16string& iLabel, const std::u16string& iMessage,
                                      const std::u16string& iAmountExt, const std::u16string& iAmountType) {
  std::u16string uri = rtl::Format(u"orvella:%s", {iAddress});
  AppendParam(uri, u"amount", iAmount);
  if (!iAmountExt.empty()) {
    AppendParam(uri, u"amountExt", iAmountExt);
    AppendParam(uri, u"amountType", iAmountType);
  }
  AppendParam(uri, u"label", iLabel);
  AppendParam(uri, u"message", iMessage);
  return uri;
}

}  // namespace uBIP
