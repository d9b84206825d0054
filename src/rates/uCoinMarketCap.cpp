#include "rates/uCoinMarketCap.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "rtl/Text.hpp"

namespace uCoinMarketCap {

const std::array<std::u16string_view, 36> CMC_CURRENCIES = {
    u"AUD", u"BRL", u"CAD", u"CHF", u"CLP", u"CNY", u"CZK", u"DKK", u"EUR", u"GBP", u"HKD", u"HUF",
    u"IDR", u"ILS", u"INR", u"JPY", u"KRW", u"MXN", u"MYR", u"NOK", u"NZD", u"PHP", u"PKR", u"PLN",
    u"RUB", u"SEK", u"SGD", u"THB", u"TRY", u"TWD", u"ZAR", u"BTC", u"BCH", u"ETH", u"LTC", u"XRP",
};

namespace {

using nlohmann::json;

#if defined(ORVELLA_PRICE_BASE_URL)
// A test build of the whole program talks to the fake price service instead.
constexpr std::u16string_view DEFAULT_BASE_URL = ORVELLA_PRICE_BASE_URL;
#else
constexpr std::u16string_view DEFAULT_BASE_URL = CMC_BASE_URL;
#endif

// A member of an object by exact name; nothing for a value that is not an object.
[[nodiscard]] const json* Member(const json& iValue, const std::string& iName) {
  if (!iValue.is_object()) return nullptr;
  const auto it = iValue.find(iName);
  return it == iValue.end() ? nullptr : &*it;
}

// Seconds as a 64-bit integer; a value that is not a number, or a fraction or magnitude
// no 64-bit integer holds, counts as missing.
[[nodiscard]] std::optional<std::int64_t> ReadSeconds(const json* iValue) {
  if (iValue == nullptr) return std::nullopt;
  if (iValue->is_number_unsigned()) {
    const auto value = iValue->get<std::uint64_t>();
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
    return static_cast<std::int64_t>(value);
  }
  if (iValue->is_number_integer()) return iValue->get<std::int64_t>();
  if (iValue->is_number_float()) {
    const double value = iValue->get<double>();
    // 2^63 is exact as a double; anything from it on overflows.
    if (!std::isfinite(value) || value != std::trunc(value) || value < -9223372036854775808.0 ||
        value >= 9223372036854775808.0) {
      return std::nullopt;
    }
    return static_cast<std::int64_t>(value);
  }
  return std::nullopt;
}

}  // namespace

TCoinMarketCap::TCoinMarketCap(const std::u16string& iCoinCode)
    : TCoinMarketCap(iCoinCode, std::u16string(DEFAULT_BASE_URL)) {}

TCoinMarketCap::TCoinMarketCap(const std::u16string& iCoinCode, const std::u16string& iBaseURL)
    : TCoinMarketCap(iCoinCode, iBaseURL, uHttpClient::CreatePlatformTransport()) {}

TCoinMarketCap::TCoinMarketCap(const std::u16string& iCoinCode, const std::u16string& iBaseURL,
                               std::shared_ptr<uHttpClient::IHttpTransport> iTransport)
    : FCoinCode(iCoinCode), FCMCClient(iBaseURL, std::move(iTransport)) {}

bool TCoinMarketCap::IsSupportedCurrency(std::u16string_view iCode) {
  return std::find(CMC_CURRENCIES.begin(), CMC_CURRENCIES.end(), iCode) != CMC_CURRENCIES.end();
}

void TCoinMarketCap::GetCoinValue(const std::u16string& iToCurrencyCode, const TGotConvertedValueProc& iProc) {
  if (!iProc || !IsSupportedCurrency(iToCurrencyCode)) return;
  FReqCurrency = iToCurrencyCode;
  FReqProc = iProc;
  FCMCRequest.SetResource(std::u16string(CMC_RESOURCE));
  FCMCRequest.AddOrSetURLSegment(u"COINCODE", FCoinCode);
  FCMCRequest.AddOrSetURLSegment(u"CURRENCY", FReqCurrency);
  // Whether a reply arrived shows in whether the handler ran; a failed request is not
  // reported through the callback.
  (void)FCMCClient.Execute(FCMCRequest, FCMCResponse,
                           [this](const uHttpClient::TRESTResponse& iResponse) { CMCRequestAfterExecute(iResponse); });
}

void TCoinMarketCap::GetCoinValueToJPY(const TGotConvertedValueProc& iProc) { GetCoinValue(u"JPY", iProc); }

void TCoinMarketCap::CMCRequestAfterExecute(const uHttpClient::TRESTResponse& iResponse) {
  const std::optional<json>& root = iResponse.JSONValue();
  if (!root) return;

  const json* data = Member(*root, "data");
  if (data == nullptr) return ReportFailure();
  const std::int64_t lastUpdated = ReadSeconds(Member(*data, "last_updated")).value_or(0);
  const json* quotes = Member(*data, "quotes");
  if (quotes == nullptr) return ReportFailure();
  const json* quote = Member(*quotes, rtl::Utf16ToUtf8(FReqCurrency));
  if (quote == nullptr) return ReportFailure();
  const json* price = Member(*quote, "price");
  if (price == nullptr || !price->is_number()) return ReportFailure();

  if (!FReqProc) return;
  // Copied first: the callback may start another request on this object, which replaces FReqProc.
  const TGotConvertedValueProc proc = FReqProc;
  const std::u16string currency = FReqCurrency;
  proc(true, currency, price->get<double>(), std::chrono::sys_seconds{std::chrono::seconds{lastUpdated}});
}

void TCoinMarketCap::ReportFailure() {
  if (!FReqProc) return;
  const TGotConvertedValueProc proc = FReqProc;
  const std::u16string currency = FReqCurrency;
  proc(false, currency, 0.0, std::chrono::sys_seconds{});
}

}  // namespace uCoinMarketCap
