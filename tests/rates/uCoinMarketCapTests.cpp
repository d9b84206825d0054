#include "rates/uCoinMarketCap.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FakeHttpTransport.hpp"
#include "rtl/Text.hpp"
#include "toolkit/PlatformServices.hpp"

namespace {

using namespace std::chrono;
using uCoinMarketCap::CMC_CURRENCIES;
using uCoinMarketCap::TCoinMarketCap;
using rtl::Utf16ToUtf8;

constexpr const char* GOOD_REPLY =
    R"({"data":{"id":12,"last_updated":3600,"quotes":{"USD":{"price":2.5},"JPY":{"price":0.5}}},"metadata":{}})";

struct TCall {
  bool Success;
  std::u16string Currency;
  double Price;
  sys_seconds LastUpdated;
};

class CoinMarketCapTest : public ::testing::Test {
 protected:
  std::shared_ptr<rates_tests::TFakeHttpTransport> FTransport = std::make_shared<rates_tests::TFakeHttpTransport>();
  TCoinMarketCap FCMC{u"12", u"http://127.0.0.1:1/v2/", FTransport};
  std::vector<TCall> FCalls;

  TCoinMarketCap::TGotConvertedValueProc Recorder() {
    return [this](bool s, const std::u16string& c, double p, sys_seconds t) { FCalls.push_back({s, c, p, t}); };
  }

  void Answer(int status, std::string body) { FTransport->Reply = uHttpClient::THttpReply{status, std::move(body)}; }
};

TEST_F(CoinMarketCapTest, GoodReplyCallsBackWithPriceAndUtcTime) {
  Answer(200, GOOD_REPLY);
  FCMC.GetCoinValue(u"JPY", Recorder());
  ASSERT_EQ(FTransport->URLs.size(), 1u);
  EXPECT_EQ(Utf16ToUtf8(FTransport->URLs[0]), "http://127.0.0.1:1/v2/ticker/12/?convert=JPY");
  ASSERT_EQ(FCalls.size(), 1u);
  EXPECT_TRUE(FCalls[0].Success);
  EXPECT_EQ(Utf16ToUtf8(FCalls[0].Currency), "JPY");
  EXPECT_EQ(FCalls[0].Price, 0.5);
  EXPECT_EQ(FCalls[0].LastUpdated, sys_days{1970y / January / 1} + hours{1});
}

TEST_F(CoinMarketCapTest, ReplyTableGivesTheSpecifiedCallback) {
  struct Row {
    const char* name;
    int status;
    std::string body;
    const char16_t* currency;
    int calls;  // 0 or 1
    bool success;
    double price;
    long long lastUpdated;
  };
  const std::string padding(uHttpClient::MAX_BODY_BYTES, ' ');
  const Row rows[] = {
      {"good", 200, GOOD_REPLY, u"JPY", 1, true, 0.5, 3600},
      {"currency not quoted", 200, GOOD_REPLY, u"EUR", 1, false, 0, 0},
      {"no data", 200, R"({"metadata":{"error":null}})", u"JPY", 1, false, 0, 0},
      {"data null", 200, R"({"data":null})", u"JPY", 1, false, 0, 0},
      {"data an array", 200, R"({"data":[{"quotes":{"JPY":{"price":1}}}]})", u"JPY", 1, false, 0, 0},
      {"root an array", 200, R"([{"data":{}}])", u"JPY", 1, false, 0, 0},
      {"root null", 200, "null", u"JPY", 1, false, 0, 0},
      {"no quotes", 200, R"({"data":{"last_updated":3600}})", u"JPY", 1, false, 0, 0},
      {"quotes null", 200, R"({"data":{"quotes":null}})", u"JPY", 1, false, 0, 0},
      {"code in other case", 200, R"({"data":{"quotes":{"jpy":{"price":1}}}})", u"JPY", 1, false, 0, 0},
      {"no price", 200, R"({"data":{"quotes":{"JPY":{"volume_24h":1}}}})", u"JPY", 1, false, 0, 0},
      {"price a string", 200, R"({"data":{"quotes":{"JPY":{"price":"0.5"}}}})", u"JPY", 1, false, 0, 0},
      {"price null", 200, R"({"data":{"quotes":{"JPY":{"price":null}}}})", u"JPY", 1, false, 0, 0},
      {"price an integer", 200, R"({"data":{"quotes":{"JPY":{"price":2}}}})", u"JPY", 1, true, 2, 0},
      {"no last_updated", 200, R"({"data":{"quotes":{"JPY":{"price":0.5}}}})", u"JPY", 1, true, 0.5, 0},
      {"last_updated a string", 200, R"({"data":{"last_updated":"3600","quotes":{"JPY":{"price":0.5}}}})", u"JPY",
       1, true, 0.5, 0},
      {"last_updated null", 200, R"({"data":{"last_updated":null,"quotes":{"JPY":{"price":0.5}}}})", u"JPY", 1,
       true, 0.5, 0},
      {"last_updated a whole float", 200, R"({"data":{"last_updated":3600.0,"quotes":{"JPY":{"price":0.5}}}})",
       u"JPY", 1, true, 0.5, 3600},
      {"last_updated beyond 64 bits", 200,
       R"({"data":{"last_updated":18446744073709551615,"quotes":{"JPY":{"price":0.5}}}})", u"JPY", 1, true, 0.5, 0},
      {"404 read like any reply", 404, GOOD_REPLY, u"JPY", 1, true, 0.5, 3600},
      {"404 without data", 404, R"({"data":null,"metadata":{"error":"id not found"}})", u"JPY", 1, false, 0, 0},
      {"500 is a failed request", 500, GOOD_REPLY, u"JPY", 0, false, 0, 0},
      {"empty body", 200, "", u"JPY", 0, false, 0, 0},
      {"html page", 200, "<!DOCTYPE html><html><body>Service unavailable</body></html>", u"JPY", 0, false, 0, 0},
      {"truncated json", 200, R"({"data":{"quotes":{"JPY":{"price":0.5})", u"JPY", 0, false, 0, 0},
      {"body over 1 MiB", 200, GOOD_REPLY + padding, u"JPY", 0, false, 0, 0},
      {"nested too deep", 200, R"({"data":{"quotes":{"JPY":{"price":0.5}}},"x":)" + std::string(100, '[') +
                                   std::string(100, ']') + "}",
       u"JPY", 0, false, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FCalls.clear();
    Answer(row.status, row.body);
    FCMC.GetCoinValue(row.currency, Recorder());
    ASSERT_EQ(FCalls.size(), static_cast<std::size_t>(row.calls));
    if (row.calls == 0) continue;
    EXPECT_EQ(FCalls[0].Success, row.success);
    EXPECT_EQ(Utf16ToUtf8(FCalls[0].Currency), Utf16ToUtf8(row.currency));
    EXPECT_EQ(FCalls[0].Price, row.price);
    EXPECT_EQ(FCalls[0].LastUpdated.time_since_epoch().count(), row.lastUpdated);
  }
}

TEST_F(CoinMarketCapTest, NoReplyMakesNoCallback) {
  FTransport->Reply.reset();
  FCMC.GetCoinValue(u"JPY", Recorder());
  EXPECT_EQ(FTransport->URLs.size(), 1u);
  EXPECT_TRUE(FCalls.empty());
}

TEST_F(CoinMarketCapTest, RejectedCallsMakeNoRequest) {
  Answer(200, GOOD_REPLY);
  for (const char16_t* code : {u"jpy", u"USD", u"", u"JPY ", u" JPY", u"JP", u"JPYY"}) {
    SCOPED_TRACE(Utf16ToUtf8(code));
    FCMC.GetCoinValue(code, Recorder());
  }
  FCMC.GetCoinValue(u"JPY", nullptr);
  EXPECT_TRUE(FTransport->URLs.empty());
  EXPECT_TRUE(FCalls.empty());
}

TEST_F(CoinMarketCapTest, EveryListedCurrencyIsRequestedAsWritten) {
  Answer(200, GOOD_REPLY);
  ASSERT_EQ(CMC_CURRENCIES.size(), 36u);
  EXPECT_EQ(CMC_CURRENCIES.front(), u"AUD");
  EXPECT_EQ(CMC_CURRENCIES[15], u"JPY");
  EXPECT_EQ(CMC_CURRENCIES.back(), u"XRP");
  for (const std::u16string_view code : CMC_CURRENCIES) FCMC.GetCoinValue(std::u16string(code), Recorder());
  ASSERT_EQ(FTransport->URLs.size(), CMC_CURRENCIES.size());
  for (std::size_t i = 0; i < CMC_CURRENCIES.size(); ++i) {
    EXPECT_EQ(Utf16ToUtf8(FTransport->URLs[i]),
              "http://127.0.0.1:1/v2/ticker/12/?convert=" + Utf16ToUtf8(CMC_CURRENCIES[i]));
  }
}

TEST_F(CoinMarketCapTest, TwoCallsSendTwoRequestsWithOneOfEachParameter) {
  Answer(200, GOOD_REPLY);
  FCMC.GetCoinValue(u"JPY", Recorder());
  FCMC.GetCoinValueToJPY(Recorder());
  FCMC.GetCoinValue(u"EUR", Recorder());
  ASSERT_EQ(FTransport->URLs.size(), 3u);
  EXPECT_EQ(Utf16ToUtf8(FTransport->URLs[1]), "http://127.0.0.1:1/v2/ticker/12/?convert=JPY");
  EXPECT_EQ(Utf16ToUtf8(FTransport->URLs[2]), "http://127.0.0.1:1/v2/ticker/12/?convert=EUR");
  ASSERT_EQ(FCalls.size(), 3u);
  EXPECT_EQ(Utf16ToUtf8(FCalls[2].Currency), "EUR");
  EXPECT_FALSE(FCalls[2].Success);
}

TEST_F(CoinMarketCapTest, CallbackIsHeldUntilTheNextAcceptedCall) {
  Answer(200, GOOD_REPLY);
  auto token = std::make_shared<int>(0);
  FCMC.GetCoinValue(u"JPY", [token](bool, const std::u16string&, double, sys_seconds) {});
  EXPECT_EQ(token.use_count(), 2);
  FCMC.GetCoinValue(u"USD", Recorder());  // rejected: keeps the earlier callback
  EXPECT_EQ(token.use_count(), 2);
  FCMC.GetCoinValue(u"EUR", Recorder());
  EXPECT_EQ(token.use_count(), 1);
}

TEST_F(CoinMarketCapTest, CallbackMayStartAnotherRequestOnTheSameObject) {
  Answer(200, GOOD_REPLY);
  FCMC.GetCoinValue(u"JPY", [this](bool, const std::u16string& code, double, sys_seconds) {
    FCalls.push_back({true, code, 0, {}});
    if (FCalls.size() == 1) FCMC.GetCoinValue(u"EUR", Recorder());
  });
  ASSERT_EQ(FCalls.size(), 2u);
  EXPECT_EQ(Utf16ToUtf8(FCalls[1].Currency), "EUR");
  EXPECT_EQ(FTransport->URLs.size(), 2u);
}

TEST(CoinMarketCap, CoinCodeIsEncodedIntoThePath) {
  auto transport = std::make_shared<rates_tests::TFakeHttpTransport>();
  TCoinMarketCap cmc(u"1 2/?x", u"http://h/v2/", transport);
  cmc.GetCoinValue(u"JPY", [](bool, const std::u16string&, double, sys_seconds) {});
  ASSERT_EQ(transport->URLs.size(), 1u);
  EXPECT_EQ(Utf16ToUtf8(transport->URLs[0]), "http://h/v2/ticker/1%202%2F%3Fx/?convert=JPY");
}

TEST(CoinMarketCap, WithoutHttpClientNothingIsSentOrCalled) {
  // No transport factory is registered in the portable tests.
  std::shared_ptr<uHttpClient::IHttpTransportFactory> none;
  ASSERT_FALSE(ui::TPlatformServices::Current().SupportsPlatformService(uHttpClient::HttpTransportFactoryGUID(), none));
  int calls = 0;
  TCoinMarketCap cmc(std::u16string(uCoinMarketCap::CMC_ORVELLA_COIN_ID));
  cmc.GetCoinValue(u"JPY", [&](bool, const std::u16string&, double, sys_seconds) { ++calls; });
  TCoinMarketCap nullTransport(u"12", u"http://h/", nullptr);
  nullTransport.GetCoinValue(u"JPY", [&](bool, const std::u16string&, double, sys_seconds) { ++calls; });
  EXPECT_EQ(calls, 0);
}

class TFakeFactory final : public uHttpClient::IHttpTransportFactory {
 public:
  std::shared_ptr<rates_tests::TFakeHttpTransport> Transport = std::make_shared<rates_tests::TFakeHttpTransport>();
  std::optional<milliseconds> Timeout;
  std::shared_ptr<uHttpClient::IHttpTransport> CreateTransport(milliseconds iTimeout) override {
    Timeout = iTimeout;
    return Transport;
  }
};

TEST(CoinMarketCap, UsesTheRegisteredTransportAndTheServiceConstants) {
  EXPECT_EQ(uCoinMarketCap::CMC_BASE_URL, u"https://api.coinmarketcap.com/v2/");
  EXPECT_EQ(uCoinMarketCap::CMC_ORVELLA_COIN_ID, u"3000");
  auto factory = std::make_shared<TFakeFactory>();
  auto& services = ui::TPlatformServices::Current();
  services.AddPlatformService(uHttpClient::HttpTransportFactoryGUID(), factory);
  {
    TCoinMarketCap real(std::u16string(uCoinMarketCap::CMC_ORVELLA_COIN_ID));
    real.GetCoinValueToJPY([](bool, const std::u16string&, double, sys_seconds) {});
    TCoinMarketCap local(u"12", u"http://127.0.0.1:8/v2/");
    local.GetCoinValue(u"EUR", [](bool, const std::u16string&, double, sys_seconds) {});
  }
  services.RemovePlatformService(uHttpClient::HttpTransportFactoryGUID());
  EXPECT_EQ(factory->Timeout, seconds(30));
  ASSERT_EQ(factory->Transport->URLs.size(), 2u);
  // A test build of the whole program may have another base URL compiled in.
  EXPECT_TRUE(factory->Transport->URLs[0].ends_with(u"ticker/3000/?convert=JPY"));
  EXPECT_EQ(Utf16ToUtf8(factory->Transport->URLs[1]), "http://127.0.0.1:8/v2/ticker/12/?convert=EUR");
}

}  // namespace
