#pragma once
// A scripted HTTP transport for the portable tests: answers every GET with the reply set
// by the test (nullopt: no reply) and records the URLs it was asked for.

#include <optional>
#include <string>
#include <vector>

#include "rates/uHttpClient.hpp"

namespace rates_tests {

class TFakeHttpTransport final : public uHttpClient::IHttpTransport {
 public:
  std::optional<uHttpClient::THttpReply> Reply;
  std::vector<std::u16string> URLs;

  [[nodiscard]] std::optional<uHttpClient::THttpReply> Get(const std::u16string& iURL) override {
    URLs.push_back(iURL);
    return Reply;
  }
};

}  // namespace rates_tests
