// A stand-in for the price service, for tests: an HTTP server on 127.0.0.1 that answers
// every request with the reply the test chose, and records each request line.
//
//   fake-price-service --reply MODE --port-file PATH --log-file PATH --ready-event NAME
//
// It binds a port of its own choosing, writes the number to the port file, then signals
// the named event, so that the test waits for an event instead of polling. It serves one
// connection at a time until the test ends it.

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr std::size_t MAX_HEADER_BYTES = 64 * 1024;
constexpr DWORD SOCKET_TIMEOUT_MS = 5000;

struct TOptions {
  std::string Reply = "good";
  std::string PortFile;
  std::string LogFile;
  std::string ReadyEvent;
};

struct TReply {
  int Status = 200;
  std::string Reason = "OK";
  std::string ContentType = "application/json";
  std::string Body;
  std::string ExtraHeaders;
};

bool ParseOptions(int argc, char** argv, TOptions& oOptions) {
  std::map<std::string, std::string*> names = {{"--reply", &oOptions.Reply},
                                               {"--port-file", &oOptions.PortFile},
                                               {"--log-file", &oOptions.LogFile},
                                               {"--ready-event", &oOptions.ReadyEvent}};
  for (int i = 1; i + 1 < argc; i += 2) {
    const auto it = names.find(argv[i]);
    if (it == names.end()) return false;
    *it->second = argv[i + 1];
  }
  return !oOptions.PortFile.empty() && !oOptions.LogFile.empty() && !oOptions.ReadyEvent.empty();
}

// The value of convert= in the request target, which the good reply quotes in.
std::string RequestedCode(const std::string& iTarget) {
  const std::size_t at = iTarget.find("convert=");
  if (at == std::string::npos) return "JPY";
  const std::size_t begin = at + 8;
  const std::size_t end = iTarget.find_first_of("& ", begin);
  return iTarget.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string Data(const std::string& iMembers) { return "{\"data\":{\"id\":3000,\"name\":\"Orvella\"" + iMembers + "},\"metadata\":{\"error\":null}}"; }

std::string Quotes(const std::string& iCode, const std::string& iQuote) {
  return ",\"quotes\":{\"USD\":{\"price\":2.5},\"" + iCode + "\":" + iQuote + "}";
}

std::string GoodBody(const std::string& iCode) {
  return Data(",\"last_updated\":3600" + Quotes(iCode, "{\"price\":0.5,\"volume_24h\":10}"));
}

TReply Json(int iStatus, const std::string& iReason, std::string iBody) {
  return TReply{iStatus, iReason, "application/json", std::move(iBody), ""};
}

TReply ReplyFor(const std::string& iMode, const std::string& iTarget) {
  const std::string code = RequestedCode(iTarget);
  if (iMode == "good") return Json(200, "OK", GoodBody(code));
  if (iMode == "no-data") return Json(200, "OK", "{\"metadata\":{\"error\":null}}");
  if (iMode == "data-null") return Json(200, "OK", "{\"data\":null}");
  if (iMode == "no-last-updated") return Json(200, "OK", Data(Quotes(code, "{\"price\":0.5}")));
  if (iMode == "no-quotes") return Json(200, "OK", Data(",\"last_updated\":3600"));
  if (iMode == "no-currency") return Json(200, "OK", Data(",\"last_updated\":3600,\"quotes\":{\"USD\":{\"price\":2.5}}"));
  if (iMode == "no-price") return Json(200, "OK", Data(",\"last_updated\":3600" + Quotes(code, "{\"volume_24h\":10}")));
  if (iMode == "string-price") return Json(200, "OK", Data(",\"last_updated\":3600" + Quotes(code, "{\"price\":\"0.5\"}")));
  if (iMode == "empty") return Json(200, "OK", "");
  if (iMode == "html") {
    return TReply{200, "OK", "text/html", "<!DOCTYPE html><html><body><h1>Service unavailable</h1></body></html>", ""};
  }
  if (iMode == "not-found") return Json(404, "Not Found", "{\"data\":null,\"metadata\":{\"error\":\"id not found\"}}");
  if (iMode == "server-error") return Json(500, "Internal Server Error", GoodBody(code));
  if (iMode == "huge") {
    // A good reply after several MiB of padding: only the size cap keeps it from being read.
    return Json(200, "OK", "{\"padding\":\"" + std::string(5 * 1024 * 1024, 'x') + "\"," + GoodBody(code).substr(1));
  }
  if (iMode == "deep") {
    // A good reply next to a member nested far beyond any sane depth.
    const std::size_t depth = 100000;
    return Json(200, "OK", GoodBody(code).substr(0, GoodBody(code).size() - 1) + ",\"deep\":" + std::string(depth, '[') +
                               std::string(depth, ']') + "}");
  }
  if (iMode == "redirect") {
    if (iTarget.rfind("/moved/", 0) == 0) return Json(200, "OK", GoodBody(code));
    TReply reply{302, "Found", "text/plain", "moved", "Location: /moved" + iTarget + "\r\n"};
    return reply;
  }
  return TReply{400, "Bad Request", "text/plain", "unknown reply mode " + iMode, ""};
}

void SendAll(SOCKET iSocket, const std::string& iData) {
  std::size_t sent = 0;
  while (sent < iData.size()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(iData.size() - sent, 64 * 1024));
    const int n = send(iSocket, iData.data() + sent, chunk, 0);
    if (n <= 0) return;  // the client gave up (an oversized body is cut off on purpose)
    sent += static_cast<std::size_t>(n);
  }
}

// Reads up to the end of the request headers; empty when the client sent none.
std::string ReadRequestHead(SOCKET iSocket) {
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < MAX_HEADER_BYTES) {
    const int n = recv(iSocket, buffer, sizeof(buffer), 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  return head;
}

void Log(const TOptions& iOptions, const std::string& iLine) {
  if (FILE* file = std::fopen(iOptions.LogFile.c_str(), "ab")) {
    std::fprintf(file, "%s\n", iLine.c_str());
    std::fclose(file);
  }
}

void SetTimeouts(SOCKET iSocket) {
  const DWORD timeout = SOCKET_TIMEOUT_MS;
  setsockopt(iSocket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
  setsockopt(iSocket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
}

// Returns false when the connection is to be held open without a reply.
bool Serve(const TOptions& iOptions, SOCKET iClient) {
  SetTimeouts(iClient);
  const std::string head = ReadRequestHead(iClient);
  const std::string line = head.substr(0, head.find("\r\n"));
  Log(iOptions, line);
  if (iOptions.Reply == "silent") return false;

  const std::size_t targetBegin = line.find(' ');
  const std::size_t targetEnd = line.find(' ', targetBegin + 1);
  const std::string target =
      targetBegin == std::string::npos ? std::string() : line.substr(targetBegin + 1, targetEnd - targetBegin - 1);
  const TReply reply = ReplyFor(iOptions.Reply, target);
  std::string message = "HTTP/1.1 " + std::to_string(reply.Status) + " " + reply.Reason + "\r\n" +
                        "Content-Type: " + reply.ContentType + "\r\n" +
                        "Content-Length: " + std::to_string(reply.Body.size()) + "\r\n" + reply.ExtraHeaders +
                        "Connection: close\r\n\r\n";
  SendAll(iClient, message);
  SendAll(iClient, reply.Body);
  shutdown(iClient, SD_SEND);
  return true;
}

bool WritePortFile(const std::string& iPath, unsigned iPort) {
  FILE* file = std::fopen(iPath.c_str(), "wb");
  if (!file) return false;
  std::fprintf(file, "%u\n", iPort);
  return std::fclose(file) == 0;
}

bool SignalReady(const std::string& iName) {
  const HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, iName.c_str());
  if (!event) return false;
  const bool ok = SetEvent(event) != FALSE;
  CloseHandle(event);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: fake-price-service --reply MODE --port-file PATH --log-file PATH --ready-event NAME\n");
    return 2;
  }
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 1;

  const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof(address);
  if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(listener, 8) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return 1;
  }
  if (!WritePortFile(options.PortFile, ntohs(address.sin_port)) || !SignalReady(options.ReadyEvent)) return 1;

  std::vector<SOCKET> held;  // connections of the silent mode, open until the process ends
  for (;;) {
    const SOCKET client = accept(listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    if (Serve(options, client)) {
      closesocket(client);
    } else {
      held.push_back(client);
    }
  }
}
