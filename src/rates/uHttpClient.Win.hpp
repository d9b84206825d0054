#pragma once
// The HTTP transport of the Windows build: WinHTTP (HTTP and HTTPS, the system's proxy
// settings and TLS), synchronous, redirects followed.
//
// Initialize() registers its factory as the platform service that TCoinMarketCap asks
// for; Finalize() removes it again.

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "rates/uHttpClient.hpp"

namespace uHttpClient::Win {

class TWinHttpTransport final : public IHttpTransport {
 public:
  // iTimeout limits resolving, connecting, sending and each wait for data; the whole
  // exchange ends after twice that at most, so a server trickling bytes cannot hold us.
  explicit TWinHttpTransport(std::chrono::milliseconds iTimeout = DEFAULT_TIMEOUT);

  [[nodiscard]] std::optional<THttpReply> Get(const std::u16string& iURL) override;

 private:
  std::chrono::milliseconds FTimeout;
};

void Initialize();
void Finalize();

}  // namespace uHttpClient::Win
