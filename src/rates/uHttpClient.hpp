#pragma once
// A small REST client for the price service: a client with a base URL, a request with a
// resource template whose {NAME} placeholders are filled from URL-encoded parameters, and
// a synchronous GET that runs an after-completion handler before it returns.
//
// The network itself sits behind IHttpTransport. On Windows the WinHTTP unit
// (uHttpClient.Win) registers a transport factory as a platform service; tests hand a
// scripted transport to the client directly.

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "rtl/Guid.hpp"
#include "toolkit/PlatformServices.hpp"

namespace uHttpClient {

// A broken or hostile server must not exhaust memory or the stack: bodies beyond this
// size and JSON nested deeper than this are not parsed.
inline constexpr std::size_t MAX_BODY_BYTES = 1024 * 1024;
inline constexpr std::size_t MAX_JSON_DEPTH = 64;
// For connecting and for reading each.
inline constexpr std::chrono::milliseconds DEFAULT_TIMEOUT{30000};

struct THttpReply {
  int StatusCode = 0;
  // A transport keeps at most MAX_BODY_BYTES + 1 bytes, so that an oversized body is known
  // to be oversized without being held whole.
  std::string Body;
};

// One GET of an absolute URL, redirects followed. nullopt when no reply arrived
// (no connection, time-out, malformed URL).
class IHttpTransport : public ui::IInterface {
 public:
  [[nodiscard]] virtual std::optional<THttpReply> Get(const std::u16string& iURL) = 0;
};

class IHttpTransportFactory : public ui::IInterface {
 public:
  [[nodiscard]] virtual std::shared_ptr<IHttpTransport> CreateTransport(std::chrono::milliseconds iTimeout) = 0;
};

// The platform-service key of IHttpTransportFactory.
[[nodiscard]] const rtl::TGUID& HttpTransportFactoryGUID();

// The registered factory's transport, or null when there is none (then nothing is sent).
[[nodiscard]] std::shared_ptr<IHttpTransport> CreatePlatformTransport(
    std::chrono::milliseconds iTimeout = DEFAULT_TIMEOUT);

// Percent-encodes the UTF-8 bytes of everything but A-Z a-z 0-9 - . _ ~ (upper-case hex),
// so that a value can never change the structure of the path or query it is put into.
[[nodiscard]] std::u16string EncodeURLSegment(std::u16string_view iValue);

// The parsed JSON value of a body, or nullopt when the body is empty, larger than
// MAX_BODY_BYTES, nested deeper than MAX_JSON_DEPTH or not valid JSON.
[[nodiscard]] std::optional<nlohmann::json> ParseJSONBody(std::string_view iBody);

class TRESTRequest {
 public:
  void SetResource(std::u16string iResource) { FResource = std::move(iResource); }
  [[nodiscard]] const std::u16string& Resource() const { return FResource; }

  // Setting a parameter that exists already replaces its value.
  void AddOrSetURLSegment(const std::u16string& iName, const std::u16string& iValue);
  [[nodiscard]] const std::vector<std::pair<std::u16string, std::u16string>>& URLSegments() const {
    return FSegments;
  }

  // The resource with every {NAME} of a parameter replaced by its encoded value.
  [[nodiscard]] std::u16string FullResource() const;

 private:
  std::u16string FResource;
  std::vector<std::pair<std::u16string, std::u16string>> FSegments;
};

class TRESTResponse {
 public:
  void Assign(THttpReply iReply);
  void Clear() { Assign({}); }

  [[nodiscard]] int StatusCode() const { return FStatusCode; }
  [[nodiscard]] const std::string& Content() const { return FContent; }
  // nullopt for an empty, oversized, too deeply nested or malformed body.
  [[nodiscard]] const std::optional<nlohmann::json>& JSONValue() const { return FJSONValue; }

 private:
  int FStatusCode = 0;
  std::string FContent;
  std::optional<nlohmann::json> FJSONValue;
};

class TRESTClient {
 public:
  using TAfterExecute = std::function<void(const TRESTResponse&)>;

  TRESTClient(std::u16string iBaseURL, std::shared_ptr<IHttpTransport> iTransport);

  [[nodiscard]] const std::u16string& BaseURL() const { return FBaseURL; }
  [[nodiscard]] std::u16string URLOf(const TRESTRequest& iRequest) const { return FBaseURL + iRequest.FullResource(); }

  // Sends the GET and, when a reply with a status below 500 arrives, stores it in
  // oResponse and runs iAfterExecute before returning true. No reply, a status of 500 or
  // more, or no transport at all: false, and the handler is not run.
  bool Execute(const TRESTRequest& iRequest, TRESTResponse& oResponse, const TAfterExecute& iAfterExecute);

 private:
  std::u16string FBaseURL;
  std::shared_ptr<IHttpTransport> FTransport;
};

}  // namespace uHttpClient
