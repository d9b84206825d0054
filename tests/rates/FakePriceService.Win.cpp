// Winsock 2 must come before <windows.h>, which the header brings in.
#include <winsock2.h>

#include "FakePriceService.Win.hpp"

#include <fstream>
#include <sstream>

#include "rtl/Text.hpp"

namespace rates_tests {

namespace {

constexpr DWORD START_TIMEOUT_MS = 10000;

// The build gives the tool's Unix path; under Wine the root of that is drive Z:.
std::u16string ToolPath() {
  std::u16string path = u"Z:" + rtl::Utf8ToUtf16(FAKE_PRICE_SERVICE_EXE);
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  return path;
}

std::u16string TempFile(const std::u16string& iTag) {
  static unsigned counter = 0;
  wchar_t dir[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, dir);
  return rtl::FromW(dir, length) + u"orvella-price-" + rtl::AsciiToUtf16(std::to_string(GetCurrentProcessId())) +
         u"-" + rtl::AsciiToUtf16(std::to_string(++counter)) + iTag;
}

std::string ReadFile(const std::u16string& iPath) {
  std::ifstream file(rtl::WStr(iPath), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

TFakePriceService::TFakePriceService(const std::string& iReply)
    : FPortFile(TempFile(u".port")), FLogFile(TempFile(u".log")) {
  const std::u16string eventName = u"Local\\" + FPortFile.substr(FPortFile.find_last_of(u'\\') + 1);
  const ui::TUniqueKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, rtl::WStr(eventName)));
  if (!ready) return;

  std::u16string command = u"\"" + ToolPath() + u"\" --reply " + rtl::Utf8ToUtf16(iReply) + u" --port-file \"" +
                           FPortFile + u"\" --log-file \"" + FLogFile + u"\" --ready-event " + eventName;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // In a job that ends it when the test program ends, even by a crash: a server left
  // over would hold the test runner's output pipe open.
  FJob.reset(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!FJob || !SetInformationJobObject(FJob.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
    return;
  }
  if (!CreateProcessW(nullptr, rtl::WBuf(command), nullptr, nullptr, FALSE, CREATE_NO_WINDOW | CREATE_SUSPENDED,
                      nullptr, nullptr, &startup, &info)) {
    return;
  }
  const ui::TUniqueKernelHandle thread(info.hThread);
  FProcess.reset(info.hProcess);
  if (!AssignProcessToJobObject(FJob.get(), FProcess.get()) || ResumeThread(thread.get()) == DWORD(-1)) {
    TerminateProcess(FProcess.get(), 1);
    return;
  }

  // Ready, or ended early (then it never will be).
  const HANDLE waits[] = {ready.get(), FProcess.get()};
  if (WaitForMultipleObjects(2, waits, FALSE, START_TIMEOUT_MS) != WAIT_OBJECT_0) return;
  FPort = static_cast<unsigned>(std::stoul("0" + ReadFile(FPortFile)));
}

TFakePriceService::~TFakePriceService() {
  if (FProcess) {
    TerminateProcess(FProcess.get(), 0);
    WaitForSingleObject(FProcess.get(), START_TIMEOUT_MS);
  }
  DeleteFileW(rtl::WStr(FPortFile));
  DeleteFileW(rtl::WStr(FLogFile));
}

std::u16string TFakePriceService::BaseURL() const {
  return u"http://127.0.0.1:" + rtl::AsciiToUtf16(std::to_string(FPort)) + u"/v2/";
}

std::vector<std::string> TFakePriceService::RequestLines() const {
  std::vector<std::string> lines;
  std::istringstream text(ReadFile(FLogFile));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

unsigned UnusedPort() {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 0;
  unsigned port = 0;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(address);
  if (s != INVALID_SOCKET && bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  if (s != INVALID_SOCKET) closesocket(s);
  WSACleanup();
  return port;
}

}  // namespace rates_tests
