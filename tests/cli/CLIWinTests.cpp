// The Windows command runner against real child processes (tests/cli/CliChild.cpp) under
// Wine: real pipes, real process ends, real termination.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "rtl/Text.hpp"
#include "toolkit/Thread.hpp"
#include "toolkit/UniqueHandle.hpp"
#include "utils/Nox.CLI.Win.hpp"

namespace {

using Nox::CLI::TCLI;

constexpr DWORD kChildLimitMs = 10000;

std::u16string OwnFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string folder = rtl::FromW(path, length);
  return folder.substr(0, folder.rfind(u'\\') + 1);
}

std::u16string ChildPath() { return OwnFolder() + u"cli_child.exe"; }

std::u16string Quoted(const std::u16string& text) { return u"\"" + text + u"\""; }

// The child's path and its steps, each in double quotes (no step holds one).
std::u16string CommandOf(const std::u16string& program, std::initializer_list<std::u16string> steps) {
  std::u16string command = Quoted(program);
  for (const auto& step : steps) command += u" " + Quoted(step);
  return command;
}

std::u16string ChildCommand(std::initializer_list<std::u16string> steps) { return CommandOf(ChildPath(), steps); }

std::u16string Pattern(std::size_t count) {
  std::u16string text(count, u'0');
  for (std::size_t i = 0; i < count; ++i) text[i] = static_cast<char16_t>(u'0' + i % 10);
  return text;
}

std::u16string UniqueName(const std::u16string& stem) {
  static std::atomic<int> counter{0};
  return stem + rtl::AsciiToUtf16(std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
}

std::u16string TempPath(const std::u16string& name) {
  wchar_t folder[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, folder);
  return rtl::FromW(folder, length) + name;
}

// The process named by a "pid:N" line, opened so that the test can wait for it and read its
// exit code after the runner has closed its own handles.
ui::TUniqueKernelHandle OpenChild(const std::u16string& pidLine) {
  const auto pid = static_cast<DWORD>(std::stoul(rtl::Utf16ToUtf8(pidLine.substr(4))));
  return ui::TUniqueKernelHandle(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid));
}

// A child left running would hold the test's output open and keep ctest waiting: it is
// stopped here when it fails to end.
DWORD ExitCodeAfterEnd(const ui::TUniqueKernelHandle& process) {
  const DWORD waited = WaitForSingleObject(process.get(), kChildLimitMs);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "the child did not end";
  if (waited != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 12345);
    return 12345;
  }
  DWORD code = 12345;
  GetExitCodeProcess(process.get(), &code);
  return code;
}

struct TLogEntry {
  int Byte = 0;
  unsigned long long Milliseconds = 0;
};

// What the child's hold step wrote: one entry per byte it read from its input.
std::vector<TLogEntry> ReadLog(const std::u16string& path) {
  std::vector<TLogEntry> entries;
  std::ifstream file(rtl::Utf16ToUtf8(path));  // the temporary folder's path is ASCII
  TLogEntry entry;
  while (file >> entry.Byte >> entry.Milliseconds) entries.push_back(entry);
  return entries;
}

class CLIWin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Nox::CLI::Win::Initialize(); }
  static void TearDownTestSuite() { Nox::CLI::Win::Finalize(); }
};

// An auto-reset event the child waits for between its steps, so that the test decides
// when the child goes on.
class TAck {
 public:
  TAck() : FName(UniqueName(u"orvella-cli-ack-")), FEvent(CreateEventW(nullptr, FALSE, FALSE, rtl::WStr(FName))) {}
  [[nodiscard]] const std::u16string& Name() const { return FName; }
  void Give() const { SetEvent(FEvent.get()); }

 private:
  std::u16string FName;
  ui::TUniqueKernelHandle FEvent;
};

TEST_F(CLIWin, LinesWhileTheChildRunsReachTheHandlerOneByOne) {
  const TAck ack;
  std::vector<std::u16string> lines;
  TCLI cli;
  cli.WhileExec(ChildCommand({u"line:one", u"ack:" + ack.Name(), u"line:", u"ack:" + ack.Name(), u"line:two",
                              u"ack:" + ack.Name()}),
                [&](const std::u16string& line) {
                  lines.push_back(line);
                  ack.Give();
                  return true;
                });
  EXPECT_EQ(lines, (std::vector<std::u16string>{u"one", u"", u"two"}));
}

TEST_F(CLIWin, LinesWrittenJustBeforeTheEndArriveAsOneText) {
  // The handler holds the poll loop until the child has written both lines and ended, so
  // they can only be read after the end.
  const TAck ack;
  std::vector<std::u16string> texts;
  TCLI cli;
  cli.WhileExec(ChildCommand({u"pid", u"ack:" + ack.Name(), u"buffer", u"line:one", u"line:two"}),
                [&](const std::u16string& text) {
                  texts.push_back(text);
                  if (rtl::StartsWith(text, u"pid:")) {
                    const auto child = OpenChild(text);
                    ack.Give();
                    EXPECT_EQ(ExitCodeAfterEnd(child), 0u);
                  }
                  return true;
                });
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1], u"one\r\ntwo\r\n");
}

TEST_F(CLIWin, ExecuteReturnsEveryHandedOutTextFollowedByCRLF) {
  struct TCase {
    const char* Name;
    std::initializer_list<std::u16string> Steps;
    std::u16string Expected;
  };
  const std::u16string big = Pattern(10000);
  const TCase cases[] = {
      // Each line is read while the child pauses.
      {"lines while running", {u"line:one", u"pause:500", u"line:two", u"pause:500"}, u"one\r\ntwo\r\n"},
      {"last line without CR LF", {u"line:one", u"pause:500", u"text:tail"}, u"one\r\ntail\r\n"},
      {"lone CR and LF are no line breaks", {u"text:a\rb\nc"}, u"a\rb\nc\r\n"},
      // More than one buffer at once: all of it, also what is left when the child has ended.
      {"more than 4096 bytes at once", {u"big:10000"}, big + u"\r\n"},
      {"more than 4096 bytes just before the end", {u"buffer", u"line:one", u"big:10000"}, u"one\r\n" + big + u"\r\n"},
      {"blank output", {u"line:", u"pause:500", u"text: "}, u"\r\n \r\n"},
      {"no output", {u"exit:3"}, u""},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.Name);
    TCLI cli;
    EXPECT_EQ(cli.Execute(ChildCommand(row.Steps)), row.Expected);
  }
}

TEST_F(CLIWin, CommandThatCannotStartGivesNothing) {
  struct TCase {
    const char* Name;
    std::u16string Command;
  };
  const std::u16string nul(1, u'\0');
  const TCase cases[] = {
      {"missing program", Quoted(OwnFolder() + u"no such program.exe") + u" line:x"},
      {"empty command", u""},
      // The system would run the part before the NUL.
      {"NUL inside", ChildCommand({u"line:x"}) + nul + u" \"line:y\""},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.Name);
    TCLI cli;
    EXPECT_EQ(cli.Execute(row.Command), u"");
    int calls = 0;
    cli.WhileExec(row.Command, [&](const std::u16string&) {
      ++calls;
      return true;
    });
    EXPECT_EQ(calls, 0);
  }
}

TEST_F(CLIWin, StoppedChildGetsFiveETXAndIsTerminatedWithExitCodeZero) {
  struct TCase {
    const char* Name;
    bool ByWhileBreak;
  };
  for (const TCase row : {TCase{"handler returns false", false}, TCase{"WhileBreak", true}}) {
    SCOPED_TRACE(row.Name);
    const std::u16string log = TempPath(UniqueName(u"orvella-cli-log-") + u".txt");
    ui::TUniqueKernelHandle child;
    TCLI cli;
    cli.WhileExec(ChildCommand({u"pid", u"hold:" + log, u"exit:9"}), [&](const std::u16string& line) {
      if (!rtl::StartsWith(line, u"pid:")) return true;
      child = OpenChild(line);
      if (!row.ByWhileBreak) return false;
      cli.WhileBreak();
      return true;
    });
    ASSERT_TRUE(child.valid());
    EXPECT_EQ(ExitCodeAfterEnd(child), 0u);
    const auto entries = ReadLog(log);
    ASSERT_EQ(entries.size(), 5u);
    for (const auto& entry : entries) EXPECT_EQ(entry.Byte, 3);
    // About 100 ms apart: never all at once.
    EXPECT_GE(entries.back().Milliseconds - entries.front().Milliseconds, 250u);
    DeleteFileW(rtl::WStr(log));
  }
}

TEST_F(CLIWin, OnlyTheShutdownOfAStoppedChildHandlesTheProgramsMessages) {
  struct TCase {
    const char* Name;
    std::initializer_list<std::u16string> Steps;
    bool Stop;
    bool QueuedCallRuns;
  };
  const TCase cases[] = {
      {"stopped child: messages between the ETX bytes", {u"line:x", u"hold:NUL"}, true, true},
      {"child that ends by itself: none", {u"line:x", u"pause:300"}, false, false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.Name);
    bool ran = false;
    TCLI cli;
    cli.WhileExec(ChildCommand(row.Steps), [&](const std::u16string&) {
      ui::TThread::ForceQueue(nullptr, [&ran] { ran = true; });
      return !row.Stop;
    });
    EXPECT_EQ(ran, row.QueuedCallRuns);
    ui::TThread::DropQueued();
  }
}

TEST_F(CLIWin, BreakRequestedBeforeTheRunIsCleared) {
  TCLI cli;
  cli.WhileBreak();
  EXPECT_EQ(cli.Execute(ChildCommand({u"line:one", u"pause:500", u"text:two"})), u"one\r\ntwo\r\n");
}

TEST_F(CLIWin, HandlerThatThrowsLeavesTheChildToEndOnItsOwn) {
  // No ETX and no termination; with the runner's pipe ends closed, the child sees the end of
  // its input and ends with its own exit code.
  const std::u16string log = TempPath(UniqueName(u"orvella-cli-log-") + u".txt");
  ui::TUniqueKernelHandle child;
  TCLI cli;
  EXPECT_THROW(cli.WhileExec(ChildCommand({u"pid", u"hold:" + log, u"exit:7"}),
                             [&](const std::u16string& line) -> bool {
                               child = OpenChild(line);
                               throw std::runtime_error("handler failed");
                             }),
               std::runtime_error);
  ASSERT_TRUE(child.valid());
  EXPECT_EQ(ExitCodeAfterEnd(child), 7u);
  EXPECT_TRUE(ReadLog(log).empty());
  DeleteFileW(rtl::WStr(log));
}

TEST_F(CLIWin, QuotedPathWithBlanksStartsTheRightProgram) {
  // Unquoted, "<temp>\orvella-cli-N dir\child copy.exe" would first be tried as
  // "<temp>\orvella-cli-N.exe": a decoy lies there.
  const std::u16string stem = TempPath(UniqueName(u"orvella-cli-"));
  const std::u16string folder = stem + u" dir";
  const std::u16string program = folder + u"\\child copy.exe";
  const std::u16string decoy = stem + u".exe";
  ASSERT_TRUE(CreateDirectoryW(rtl::WStr(folder), nullptr));
  ASSERT_TRUE(CopyFileW(rtl::WStr(ChildPath()), rtl::WStr(program), FALSE));
  ASSERT_TRUE(CopyFileW(rtl::WStr(ChildPath()), rtl::WStr(decoy), FALSE));

  TCLI cli;
  const std::u16string output = cli.Execute(CommandOf(program, {u"self", u"text:two words"}));
  const auto lineEnd = output.find(u"\r\n");
  ASSERT_NE(lineEnd, std::u16string::npos) << rtl::Utf16ToUtf8(output);
  EXPECT_EQ(lstrcmpiW(rtl::WStr(output.substr(0, lineEnd)), rtl::WStr(program)), 0) << rtl::Utf16ToUtf8(output);
  EXPECT_EQ(output.substr(lineEnd), u"\r\ntwo words\r\n");

  DeleteFileW(rtl::WStr(decoy));
  DeleteFileW(rtl::WStr(program));
  RemoveDirectoryW(rtl::WStr(folder));
}

// Texts the child can write in the ANSI code page this test runs with.
std::u16string NonAsciiTextOfThisCodePage() {
  for (const std::u16string text : {u"日本語の出力、カナ", u"Grüße, café à l'œuvre", u"Привет, мир"}) {
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, rtl::WStr(text),
                                         static_cast<int>(text.size()), nullptr, 0, nullptr, &lost);
    if (size > 0 && !lost) return text;
  }
  return {};
}

TEST_F(CLIWin, NonAsciiOutputInTheAnsiCodePageBecomesTheRightText) {
  const std::u16string text = NonAsciiTextOfThisCodePage();
  ASSERT_FALSE(text.empty()) << "code page " << GetACP();
  SCOPED_TRACE("code page " + std::to_string(GetACP()));
  // 4095 single bytes first: the poll's 4096-byte read ends inside the first character of
  // the text where characters take more than one byte.
  const std::u16string filler = Pattern(4095);
  TCLI cli;
  EXPECT_EQ(cli.Execute(ChildCommand({u"line:" + text, u"pause:500", u"big:4095", u"text:" + text, u"pause:500"})),
            text + u"\r\n" + filler + text + u"\r\n");
}

TEST_F(CLIWin, RegistrationMakesFacadesWork) {
  TCLI before;
  Nox::CLI::Win::Finalize();
  TCLI without;
  EXPECT_EQ(without.Execute(ChildCommand({u"text:x"})), u"");
  // A facade keeps the runner it was given.
  EXPECT_EQ(before.Execute(ChildCommand({u"text:x"})), u"x\r\n");
  Nox::CLI::Win::Initialize();
  EXPECT_THROW(Nox::CLI::Win::Initialize(), std::logic_error);
  TCLI after;
  EXPECT_EQ(after.Execute(ChildCommand({u"text:x"})), u"x\r\n");
}

// The handles open in this process. Wine answers GetProcessHandleCount with 0, so the
// handle values are probed instead: handle values are multiples of four.
int OpenHandleCount() {
  int count = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

TEST_F(CLIWin, ManyRunsLeakNoHandle) {
  TCLI cli;
  const auto runAll = [&] {
    EXPECT_EQ(cli.Execute(ChildCommand({u"text:x"})), u"x\r\n");
    EXPECT_EQ(cli.Execute(Quoted(OwnFolder() + u"no such program.exe")), u"");
    cli.WhileExec(ChildCommand({u"line:x", u"hold:NUL"}), [](const std::u16string&) { return false; });
    EXPECT_THROW(cli.WhileExec(ChildCommand({u"line:x", u"hold:NUL"}),
                               [](const std::u16string&) -> bool { throw std::runtime_error("x"); }),
                 std::runtime_error);
  };
  runAll();  // whatever the system opens once on first use
  DWORD before = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
  const int openBefore = OpenHandleCount();
  ASSERT_GT(openBefore, 0);
  for (int i = 0; i < 5; ++i) runAll();
  DWORD after = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
  EXPECT_EQ(after, before);
  EXPECT_EQ(OpenHandleCount(), openBefore);
}

}  // namespace
