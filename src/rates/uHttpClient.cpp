#include "rates/uHttpClient.hpp"

#include "rtl/Text.hpp"

namespace uHttpClient {

namespace {

[[nodiscard]] bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

// The deepest nesting of arrays and objects, counted outside strings, stopping as soon
// as it exceeds the limit. Run before parsing, so that the parser never descends that far.
[[nodiscard]] bool NestingWithinLimit(std::string_view iText) {
  std::size_t depth = 0;
  bool inString = false;
  bool escaped = false;
  for (const char c : iText) {
    if (inString) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > MAX_JSON_DEPTH) return false;
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return true;
}

}  // namespace

const rtl::TGUID& HttpTransportFactoryGUID() {
  static const rtl::TGUID guid = rtl::GuidOf(u"{6E0C2B8A-4F1D-4A57-9C3E-2D8B5F7A1C64}");
  return guid;
}

std::shared_ptr<IHttpTransport> CreatePlatformTransport(std::chrono::milliseconds iTimeout) {
  std::shared_ptr<IHttpTransportFactory> factory;
  if (!ui::TPlatformServices::Current().SupportsPlatformService(HttpTransportFactoryGUID(), factory)) return nullptr;
  return factory->CreateTransport(iTimeout);
}

std::u16string EncodeURLSegment(std::u16string_view iValue) {
  static constexpr char HEX[] = "0123456789ABCDEF";
  std::u16string encoded;
  for (const char byte : rtl::Utf16ToUtf8(iValue)) {
    const auto c = static_cast<unsigned char>(byte);
    if (IsUnreserved(c)) {
      encoded.push_back(c);
    } else {
      encoded.push_back(u'%');
      encoded.push_back(HEX[c >> 4]);
      encoded.push_back(HEX[c & 0x0F]);
    }
  }
  return encoded;
}

std::optional<nlohmann::json> ParseJSONBody(std::string_view iBody) {
  if (iBody.empty() || iBody.size() > MAX_BODY_BYTES || !NestingWithinLimit(iBody)) return std::nullopt;
  nlohmann::json value = nlohmann::json::parse(iBody, nullptr, /*allow_exceptions=*/false);
  if (value.is_discarded()) return std::nullopt;
  return value;
}

void TRESTRequest::AddOrSetURLSegment(const std::u16string& iName, const std::u16string& iValue) {
  for (auto& [name, value] : FSegments) {
    if (name == iName) {
      value = iValue;
      return;
    }
  }
  FSegments.emplace_back(iName, iValue);
}

std::u16string TRESTRequest::FullResource() const {
  std::u16string resource = FResource;
  for (const auto& [name, value] : FSegments) {
    if (name.empty()) continue;
    // Encoded values hold no braces, so a value can never form another placeholder.
    resource = rtl::ReplaceAll(resource, u"{" + name + u"}", EncodeURLSegment(value));
  }
  return resource;
}

void TRESTResponse::Assign(THttpReply iReply) {
  FStatusCode = iReply.StatusCode;
  FContent = std::move(iReply.Body);
  FJSONValue = ParseJSONBody(FContent);
}

TRESTClient::TRESTClient(std::u16string iBaseURL, std::shared_ptr<IHttpTransport> iTransport)
    : FBaseURL(std::move(iBaseURL)), FTransport(std::move(iTransport)) {}

bool TRESTClient::Execute(const TRESTRequest& iRequest, TRESTResponse& oResponse,
                          const TAfterExecute& iAfterExecute) {
  oResponse.Clear();
  if (!FTransport) return false;
  std::optional<THttpReply> reply = FTransport->Get(URLOf(iRequest));
  if (!reply || reply->StatusCode >= 500) return false;
  oResponse.Assign(std::move(*reply));
  if (iAfterExecute) iAfterExecute(oResponse);
  return true;
}

}  // namespace uHttpClient
