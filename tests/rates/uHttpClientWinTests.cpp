// The price client over real WinHTTP against the fake price service on 127.0.0.1.

#include <winsock2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "FakePriceService.Win.hpp"
#include "rates/uCoinMarketCap.hpp"
#include "rates/uHttpClient.Win.hpp"
#include "rtl/Text.hpp"

namespace {

using namespace std::chrono;
using rates_tests::TFakePriceService;
using uCoinMarketCap::TCoinMarketCap;
using uHttpClient::Win::TWinHttpTransport;

constexpr milliseconds TEST_TIMEOUT{3000};

struct TCall {
  bool Success;
  std::u16string Currency;
  double Price;
  sys_seconds LastUpdated;
};

struct TResult {
  std::vector<TCall> Calls;
  milliseconds Elapsed{};
};

TResult AskJPY(const std::u16string& iBaseURL, milliseconds iTimeout = TEST_TIMEOUT) {
  TResult result;
  TCoinMarketCap cmc(std::u16string(uCoinMarketCap::CMC_ORVELLA_COIN_ID), iBaseURL,
                     std::make_shared<TWinHttpTransport>(iTimeout));
  const auto start = steady_clock::now();
  cmc.GetCoinValue(u"JPY", [&](bool s, const std::u16string& c, double p, sys_seconds t) {
    result.Calls.push_back({s, c, p, t});
  });
  result.Elapsed = duration_cast<milliseconds>(steady_clock::now() - start);
  return result;
}

TEST(WinHttpPriceService, SendsTheExactPathAndReadsTheGoodReply) {
  TFakePriceService service("good");
  ASSERT_NE(service.Port(), 0u);
  const TResult result = AskJPY(service.BaseURL());
  EXPECT_EQ(service.RequestLines(), std::vector<std::string>{"GET /v2/ticker/3000/?convert=JPY HTTP/1.1"});
  ASSERT_EQ(result.Calls.size(), 1u);
  EXPECT_TRUE(result.Calls[0].Success);
  EXPECT_EQ(rtl::Utf16ToUtf8(result.Calls[0].Currency), "JPY");
  EXPECT_EQ(result.Calls[0].Price, 0.5);
  EXPECT_EQ(result.Calls[0].LastUpdated, sys_seconds{seconds{3600}});
}

TEST(WinHttpPriceService, RepliesGiveTheExpectedCallback) {
  struct Row {
    const char* reply;
    int calls;
    bool success;
    double price;
    long long lastUpdated;
    std::size_t requests;
  };
  const Row rows[] = {
      {"no-data", 1, false, 0, 0, 1},
      {"data-null", 1, false, 0, 0, 1},
      {"no-last-updated", 1, true, 0.5, 0, 1},
      {"no-quotes", 1, false, 0, 0, 1},
      {"no-currency", 1, false, 0, 0, 1},
      {"no-price", 1, false, 0, 0, 1},
      {"string-price", 1, false, 0, 0, 1},
      {"not-found", 1, false, 0, 0, 1},  // a 404 is read like any reply
      {"empty", 0, false, 0, 0, 1},
      {"html", 0, false, 0, 0, 1},
      {"server-error", 0, false, 0, 0, 1},
      {"huge", 0, false, 0, 0, 1},
      {"deep", 0, false, 0, 0, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reply);
    TFakePriceService service(row.reply);
    ASSERT_NE(service.Port(), 0u);
    const TResult result = AskJPY(service.BaseURL());
    EXPECT_EQ(service.RequestLines().size(), row.requests);
    ASSERT_EQ(result.Calls.size(), static_cast<std::size_t>(row.calls));
    if (row.calls == 0) continue;
    EXPECT_EQ(result.Calls[0].Success, row.success);
    EXPECT_EQ(rtl::Utf16ToUtf8(result.Calls[0].Currency), "JPY");
    EXPECT_EQ(result.Calls[0].Price, row.price);
    EXPECT_EQ(result.Calls[0].LastUpdated.time_since_epoch().count(), row.lastUpdated);
  }
}

TEST(WinHttpPriceService, RedirectIsFollowedToTheNewPath) {
  TFakePriceService service("redirect");
  ASSERT_NE(service.Port(), 0u);
  ASSERT_EQ(AskJPY(service.BaseURL()).Calls.size(), 1u);
  EXPECT_EQ(service.RequestLines(), (std::vector<std::string>{"GET /v2/ticker/3000/?convert=JPY HTTP/1.1",
                                                              "GET /moved/v2/ticker/3000/?convert=JPY HTTP/1.1"}));
}

TEST(WinHttpPriceService, RefusedConnectionGivesNoCallback) {
  const unsigned port = rates_tests::UnusedPort();
  ASSERT_NE(port, 0u);
  const TResult result = AskJPY(u"http://127.0.0.1:" + rtl::AsciiToUtf16(std::to_string(port)) + u"/v2/");
  EXPECT_TRUE(result.Calls.empty());
}

TEST(WinHttpPriceService, SilentServerEndsTheCallWithinTheTimeout) {
  TFakePriceService service("silent");
  ASSERT_NE(service.Port(), 0u);
  constexpr milliseconds timeout{1000};
  const TResult result = AskJPY(service.BaseURL(), timeout);
  EXPECT_TRUE(result.Calls.empty());
  EXPECT_EQ(service.RequestLines().size(), 1u);
  // Connecting and reading are each limited by the time-out; allow for a slow machine.
  EXPECT_LT(result.Elapsed, 2 * timeout + milliseconds{1500});
}

TEST(WinHttpPriceService, MalformedURLsSendNothing) {
  TWinHttpTransport transport(TEST_TIMEOUT);
  for (const char16_t* url : {u"", u"not a url", u"ftp://127.0.0.1/v2/", u"http:///v2/"}) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(url));
    EXPECT_FALSE(transport.Get(url).has_value());
  }
}

TEST(WinHttpPriceService, RegisteredFactoryServesTheTwoArgumentConstructor) {
  TFakePriceService service("good");
  ASSERT_NE(service.Port(), 0u);
  uHttpClient::Win::Initialize();
  int successes = 0;
  {
    TCoinMarketCap cmc(u"3000", service.BaseURL());
    cmc.GetCoinValueToJPY([&](bool s, const std::u16string&, double, sys_seconds) { successes += s ? 1 : 0; });
  }
  uHttpClient::Win::Finalize();
  EXPECT_EQ(successes, 1);
  std::shared_ptr<uHttpClient::IHttpTransportFactory> factory;
  EXPECT_FALSE(ui::TPlatformServices::Current().SupportsPlatformService(uHttpClient::HttpTransportFactoryGUID(), factory));
}

}  // namespace
