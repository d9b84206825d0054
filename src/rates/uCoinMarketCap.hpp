#pragma once
// The price of one coin in one currency, from the CoinMarketCap public API (version 2).
// Each accepted GetCoinValue sends one GET, synchronously on the caller's thread, and
// when a usable reply arrives calls the callback before it returns.
//
// No callback at all means: no callback given, a code not in CMC_CURRENCIES, no HTTP
// client, no reply, a status of 500 or more, or a body that is not JSON. Callers that
// must go on in every case note whether the callback ran.

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "rates/uHttpClient.hpp"

namespace uCoinMarketCap {

// The codes GetCoinValue accepts (compared case-sensitively), also the generator's
// currency list. "USD" is not among them.
extern const std::array<std::u16string_view, 36> CMC_CURRENCIES;

// The service's version 2 base URL, and its numeric id of the ORVELLA coin.
inline constexpr std::u16string_view CMC_BASE_URL = u"https://api.coinmarketcap.com/v2/";
inline constexpr std::u16string_view CMC_ORVELLA_COIN_ID = u"3000";
inline constexpr std::u16string_view CMC_RESOURCE = u"ticker/{COINCODE}/?convert={CURRENCY}";

class TCoinMarketCap {
 public:
  // success, the requested code, the price of one coin (0 on failure), and the time the
  // service last updated the coin, in UTC (the epoch when it is not given).
  using TGotConvertedValueProc = std::function<void(bool, const std::u16string&, double, std::chrono::sys_seconds)>;

  // The service's real base URL (a test build of the program may set another) and the
  // platform's HTTP client.
  explicit TCoinMarketCap(const std::u16string& iCoinCode);
  TCoinMarketCap(const std::u16string& iCoinCode, const std::u16string& iBaseURL);
  // With a transport of the caller's; null means no client, so nothing is ever sent.
  TCoinMarketCap(const std::u16string& iCoinCode, const std::u16string& iBaseURL,
                 std::shared_ptr<uHttpClient::IHttpTransport> iTransport);

  TCoinMarketCap(const TCoinMarketCap&) = delete;
  TCoinMarketCap& operator=(const TCoinMarketCap&) = delete;

  void GetCoinValue(const std::u16string& iToCurrencyCode, const TGotConvertedValueProc& iProc);
  void GetCoinValueToJPY(const TGotConvertedValueProc& iProc);

  [[nodiscard]] static bool IsSupportedCurrency(std::u16string_view iCode);

 private:
  void CMCRequestAfterExecute(const uHttpClient::TRESTResponse& iResponse);
  void ReportFailure();

  std::u16string FCoinCode;
  uHttpClient::TRESTRequest FCMCRequest;
  uHttpClient::TRESTClient FCMCClient;
  uHttpClient::TRESTResponse FCMCResponse;
  std::u16string FReqCurrency;
  TGotConvertedValueProc FReqProc;
};

}  // namespace uCoinMarketCap
