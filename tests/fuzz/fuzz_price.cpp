// Properties of the price-reply handling that must hold for any body: no crash, at most
// one callback, the requested code handed back, and a price only with success.
// The first byte picks the HTTP status and the requested currency; the rest is the body.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "rates/uCoinMarketCap.hpp"
#include "rates/uHttpClient.hpp"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

class TScriptedTransport final : public uHttpClient::IHttpTransport {
 public:
  uHttpClient::THttpReply Reply;
  int Requests = 0;
  std::optional<uHttpClient::THttpReply> Get(const std::u16string&) override {
    ++Requests;
    return Reply;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t selector = data[0];
  static constexpr int STATUSES[] = {200, 200, 200, 404, 301, 500};
  auto transport = std::make_shared<TScriptedTransport>();
  transport->Reply.StatusCode = STATUSES[selector % std::size(STATUSES)];
  transport->Reply.Body.assign(reinterpret_cast<const char*>(data + 1), size - 1);
  // Mostly JPY, as the seeds are written for it; other codes now and then.
  const std::u16string code((selector & 0x80) ? uCoinMarketCap::CMC_CURRENCIES[(selector >> 3) % 36] : u"JPY");

  int calls = 0;
  uCoinMarketCap::TCoinMarketCap cmc(u"3000", u"http://127.0.0.1/v2/", transport);
  cmc.GetCoinValue(code, [&](bool success, const std::u16string& currency, double price, std::chrono::sys_seconds t) {
    ++calls;
    Check(currency == code);
    if (!success) Check(price == 0.0 && t.time_since_epoch().count() == 0);
  });
  Check(transport->Requests == 1);
  Check(calls <= 1);
  if (transport->Reply.StatusCode >= 500 || !uHttpClient::ParseJSONBody(transport->Reply.Body)) Check(calls == 0);
  return 0;
}
