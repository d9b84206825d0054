#include "utils/Nox.CLI.Win.hpp"

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "rtl/Text.hpp"
#include "toolkit/Forms.hpp"
#include "toolkit/PlatformServices.hpp"
#include "toolkit/UniqueHandle.hpp"

namespace Nox::CLI::Win {

namespace {

constexpr DWORD kPollMilliseconds = 100;
constexpr DWORD kReadBufferSize = 4096;
constexpr int kBreakByteCount = 5;
constexpr char kBreakByte = 0x03;  // ETX, what Ctrl+C sends to a console program

struct TPipeEnds {
  ui::TUniqueKernelHandle Read;
  ui::TUniqueKernelHandle Write;
};

// The child inherits only its own ends. Were the runner's ends inherited too, the child
// would hold both sides of each pipe: it would never see end of input, and once the runner
// had gone its writes would fill the pipe and block it for ever.
TPipeEnds CreateChildPipe(bool iRunnerReads) {
  TPipeEnds ends;
  SECURITY_ATTRIBUTES attributes{};
  attributes.nLength = sizeof(attributes);
  attributes.bInheritHandle = TRUE;
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (!CreatePipe(&read, &write, &attributes, 0)) return ends;
  ends.Read.reset(read);
  ends.Write.reset(write);
  SetHandleInformation(iRunnerReads ? read : write, HANDLE_FLAG_INHERIT, 0);
  return ends;
}

// The pipes of one run. Members close in reverse order: input read, input write, output
// write, output read.
struct TChildPipes {
  TPipeEnds Output = CreateChildPipe(true);
  TPipeEnds Input = CreateChildPipe(false);
};

struct TChild {
  ui::TUniqueKernelHandle Process;
  ui::TUniqueKernelHandle Thread;
};

// A command line with a NUL in it would run only the part before the NUL: refused.
bool StartChild(const std::u16string& iCommand, const TChildPipes& iPipes, TChild& oChild) {
  if (iCommand.find(u'\0') != std::u16string::npos) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = iPipes.Input.Read.get();
  startup.hStdOutput = iPipes.Output.Write.get();
  startup.hStdError = iPipes.Output.Write.get();
  std::u16string commandLine = iCommand;  // CreateProcessW may write into its command line
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, rtl::WBuf(commandLine), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return false;
  }
  oChild.Process.reset(info.hProcess);
  oChild.Thread.reset(info.hThread);
  return true;
}

TCharByteCount AnsiCharByteCount() {
  const UINT codePage = GetACP();
  if (codePage == CP_UTF8) return Utf8CharByteCount;
  return [codePage](unsigned char iLeadByte) -> std::size_t {
    return IsDBCSLeadByteEx(codePage, iLeadByte) ? 2 : 1;
  };
}

std::u16string AnsiToText(std::string_view iBytes) {
  if (iBytes.empty()) return {};
  const int size = static_cast<int>(iBytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, iBytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, iBytes.data(), size, rtl::WBuf(text), length);
  return text;
}

// Reads the child's output as text in the ANSI code page. It reads only bytes the peek has
// shown, so a read never blocks: the runner keeps the pipe's write end open, and the pipe
// never reports its end.
class TOutputReader {
 public:
  explicit TOutputReader(HANDLE iPipe) : FPipe(iPipe), FCharByteCount(AnsiCharByteCount()) {}

  // One poll: at most one buffer; a child that writes faster waits for the next poll.
  [[nodiscard]] std::u16string ReadPoll() {
    ReadBytes(std::min(Waiting(), kReadBufferSize));
    return TakeText(false);
  }

  // After the loop: all that is waiting now, however many buffers it takes, so that output
  // written just before the child ended is not lost. Bounded by what the pipe held.
  [[nodiscard]] std::u16string ReadRest() {
    ReadBytes(Waiting());
    return TakeText(true);
  }

 private:
  [[nodiscard]] DWORD Waiting() const {
    DWORD waiting = 0;
    if (!PeekNamedPipe(FPipe, nullptr, 0, nullptr, &waiting, nullptr)) return 0;
    return waiting;
  }

  void ReadBytes(DWORD iCount) {
    char buffer[kReadBufferSize];
    while (iCount > 0) {
      DWORD read = 0;
      if (!ReadFile(FPipe, buffer, std::min(iCount, kReadBufferSize), &read, nullptr) || read == 0) return;
      FBytes.append(buffer, read);
      iCount -= std::min(iCount, read);
    }
  }

  // A character split between two reads stays as bytes until the next read completes it.
  [[nodiscard]] std::u16string TakeText(bool iFinal) {
    const std::size_t complete = iFinal ? FBytes.size() : CompleteCharsLength(FBytes, FCharByteCount);
    std::u16string text = AnsiToText(std::string_view(FBytes).substr(0, complete));
    FBytes.erase(0, complete);
    return text;
  }

  HANDLE FPipe;
  TCharByteCount FCharByteCount;
  std::string FBytes;
};

// A child that ended by itself is left alone. One still running gets a few ETX bytes on its
// input, the way a console user would stop it, and is then terminated.
void ShutDown(HANDLE iProcess, HANDLE iInput) {
  int count = kBreakByteCount;
  while (WaitForSingleObject(iProcess, kPollMilliseconds) == WAIT_TIMEOUT && count > 0) {
    DWORD written = 0;
    WriteFile(iInput, &kBreakByte, 1, &written, nullptr);
    ui::Application().ProcessMessages();  // the program stays responsive while it waits
    --count;
  }
  if (count == 0) TerminateProcess(iProcess, 0);
}

}  // namespace

std::u16string TCLIWin::Execute(const std::u16string& iCommand) {
  std::u16string result;
  const auto execLineHandler = [&result](const std::u16string& iLine) {
    result.append(iLine).append(u"\r\n");
    return true;
  };
  WhileExec(iCommand, execLineHandler);
  return result;
}

void TCLIWin::WhileExec(const std::u16string& iCommand, const TCLIReadEvent& iHandler) {
  const TChildPipes pipes;
  TChild child;
  if (!StartChild(iCommand, pipes, child)) return;

  FWhileBreak = false;
  TPendingText pending;
  TOutputReader reader(pipes.Output.Read.get());
  while (WaitForSingleObject(child.Process.get(), kPollMilliseconds) == WAIT_TIMEOUT) {
    pending.Append(reader.ReadPoll());
    if (!pending.DispatchLines(iHandler) || FWhileBreak) break;
  }
  pending.Append(reader.ReadRest());
  pending.DispatchRemainder(iHandler);
  ShutDown(child.Process.get(), pipes.Input.Write.get());
}

std::shared_ptr<ICLI> TCLIFactoryWin::CreateCLI() { return std::make_shared<TCLIWin>(); }

void Initialize() {
  ui::TPlatformServices::Current().AddPlatformService(ICLIFactory::IID(), std::make_shared<TCLIFactoryWin>());
}

void Finalize() { ui::TPlatformServices::Current().RemovePlatformService(ICLIFactory::IID()); }

}  // namespace Nox::CLI::Win
