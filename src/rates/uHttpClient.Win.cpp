#include "rates/uHttpClient.Win.hpp"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <climits>

#include "rtl/Text.hpp"
#include "toolkit/UniqueHandle.hpp"

namespace uHttpClient::Win {

namespace {

using std::chrono::steady_clock;

constexpr wchar_t USER_AGENT[] = L"OrvellaLink/1.0";
constexpr DWORD READ_CHUNK = 64 * 1024;

struct TTarget {
  std::u16string Host;
  INTERNET_PORT Port = 0;
  std::u16string PathAndQuery;
  bool Secure = false;
};

[[nodiscard]] std::optional<TTarget> CrackURL(const std::u16string& iURL) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  // -1: point into the given text instead of copying.
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
  if (!WinHttpCrackUrl(rtl::WStr(iURL), 0, 0, &parts)) return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
  if (parts.dwHostNameLength == 0) return std::nullopt;
  TTarget target;
  target.Host = rtl::FromW(parts.lpszHostName, parts.dwHostNameLength);
  target.Port = parts.nPort;
  target.PathAndQuery = rtl::FromW(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        rtl::FromW(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (target.PathAndQuery.empty()) target.PathAndQuery = u"/";
  target.Secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return target;
}

[[nodiscard]] int TimeoutMs(std::chrono::milliseconds iTimeout) {
  return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(iTimeout.count(), 1, INT_MAX));
}

[[nodiscard]] std::optional<int> QueryStatus(HINTERNET iRequest) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!WinHttpQueryHeaders(iRequest, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  return static_cast<int>(status);
}

// Reads at most MAX_BODY_BYTES + 1 bytes: enough to know a body is too large without
// holding it. nullopt when the connection fails or the deadline passes.
[[nodiscard]] std::optional<std::string> ReadBody(HINTERNET iRequest, steady_clock::time_point iDeadline) {
  std::string body;
  while (body.size() <= MAX_BODY_BYTES) {
    if (steady_clock::now() > iDeadline) return std::nullopt;
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(iRequest, &available)) return std::nullopt;
    if (available == 0) break;
    const DWORD want = static_cast<DWORD>(
        std::min<std::size_t>({available, READ_CHUNK, MAX_BODY_BYTES + 1 - body.size()}));
    const std::size_t old = body.size();
    body.resize(old + want);
    DWORD read = 0;
    if (!WinHttpReadData(iRequest, body.data() + old, want, &read)) return std::nullopt;
    body.resize(old + read);
    if (read == 0) break;
  }
  return body;
}

class TWinHttpTransportFactory final : public IHttpTransportFactory {
 public:
  [[nodiscard]] std::shared_ptr<IHttpTransport> CreateTransport(std::chrono::milliseconds iTimeout) override {
    return std::make_shared<TWinHttpTransport>(iTimeout);
  }
};

}  // namespace

TWinHttpTransport::TWinHttpTransport(std::chrono::milliseconds iTimeout) : FTimeout(iTimeout) {}

std::optional<THttpReply> TWinHttpTransport::Get(const std::u16string& iURL) {
  const steady_clock::time_point deadline = steady_clock::now() + 2 * FTimeout;
  const std::optional<TTarget> target = CrackURL(iURL);
  if (!target) return std::nullopt;

  const ui::TUniqueInternetHandle session(
      WinHttpOpen(USER_AGENT, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return std::nullopt;
  const int timeout = TimeoutMs(FTimeout);
  if (!WinHttpSetTimeouts(session.get(), timeout, timeout, timeout, timeout)) return std::nullopt;

  const ui::TUniqueInternetHandle connection(WinHttpConnect(session.get(), rtl::WStr(target->Host), target->Port, 0));
  if (!connection) return std::nullopt;
  const ui::TUniqueInternetHandle request(
      WinHttpOpenRequest(connection.get(), L"GET", rtl::WStr(target->PathAndQuery), nullptr, WINHTTP_NO_REFERER,
                         WINHTTP_DEFAULT_ACCEPT_TYPES, target->Secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) return std::nullopt;
  // Waiting for the response headers has a limit of its own, which the session's
  // time-outs do not set.
  DWORD responseTimeout = static_cast<DWORD>(timeout);
  if (!WinHttpSetTimeouts(request.get(), timeout, timeout, timeout, timeout) ||
      !WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                        sizeof(responseTimeout))) {
    return std::nullopt;
  }

  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return std::nullopt;
  }
  const std::optional<int> status = QueryStatus(request.get());
  if (!status) return std::nullopt;
  std::optional<std::string> body = ReadBody(request.get(), deadline);
  if (!body) return std::nullopt;
  return THttpReply{*status, std::move(*body)};
}

void Initialize() {
  ui::TPlatformServices::Current().AddPlatformService(HttpTransportFactoryGUID(),
                                                      std::make_shared<TWinHttpTransportFactory>());
}

void Finalize() { ui::TPlatformServices::Current().RemovePlatformService(HttpTransportFactoryGUID()); }

}  // namespace uHttpClient::Win
