// The process and system utilities against the real system under Wine: elevated starts
// of real programs, the executable behind real windows, version resources of real files,
// and the restart up to (not including) the call that would restart the machine.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "../win/TestSupport.hpp"
#include "rtl/CommandLine.hpp"
#include "rtl/Locale.hpp"
#include "utils/Nox.Utils.Application.hpp"
#include "utils/Nox.Utils.ProcessSnap.Win.hpp"
#include "utils/Nox.Utils.RunAsAdmin.Win.hpp"
#include "utils/Nox.Utils.Shutdown.Win.hpp"

namespace {

using namespace std::chrono_literals;
using testsupport::ExeDir;
using testsupport::RecordValue;

// Started again by RunSelfAsAdmin, this program records how and exits: see main().
constexpr char kRecordVariable[] = "ORVELLA_TEST_RECORD";

[[nodiscard]] std::u16string WindowApp() { return ExeDir() + u"test_window_app.exe"; }

// Waits for a helper's record file and reads it; the file is removed afterwards.
[[nodiscard]] std::string AwaitRecord(const std::u16string& path) {
  std::optional<std::string> record;
  EXPECT_TRUE(testsupport::WaitUntil([&] { return (record = testsupport::ReadFileBytes(path)).has_value(); }))
      << "the started program wrote no record";
  DeleteFileW(rtl::WStr(path));
  return record.value_or("");
}

// Closes the helper windows a test opened, whatever the test's outcome.
void CloseWindowsWithCaption(const std::u16string& caption) {
  while (HWND wnd = FindWindowW(nullptr, rtl::WStr(caption))) {
    SendMessageW(wnd, WM_CLOSE, 0, 0);
    if (FindWindowW(nullptr, rtl::WStr(caption)) == wnd) break;
  }
}

[[nodiscard]] std::vector<std::u16string> ArgumentsOf(const std::string& record) {
  auto args = rtl::SplitCommandLine(rtl::Utf8ToUtf16(RecordValue(record, "cmdline").value_or("")));
  if (!args.empty()) args.erase(args.begin());
  return args;
}

TEST(RunAsAdmin, StartsTheProgramWithTheParameterTextAndShowCommand) {
  struct Row {
    std::u16string parameters;
    bool show;
    std::vector<std::u16string> arguments;
    int showCommand;
  };
  const Row rows[] = {
      {u"a b", false, {u"a", u"b"}, SW_HIDE},
      {u"\"quoted arg\" x", true, {u"quoted arg", u"x"}, SW_SHOWNORMAL},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.parameters));
    const std::u16string record = testsupport::TempFileName(u"runas");
    const std::u16string caption = u"runas helper " + record;
    ASSERT_TRUE(Nox::Utils::RunAsAdmin::RunAsAdmin(
        WindowApp(), u"--record \"" + record + u"\" --caption \"" + caption + u"\" " + row.parameters, row.show));
    const std::string text = AwaitRecord(record);
    auto args = ArgumentsOf(text);
    ASSERT_GE(args.size(), 4u);
    EXPECT_EQ(std::vector<std::u16string>(args.begin() + 4, args.end()), row.arguments);
    EXPECT_EQ(RecordValue(text, "show"), std::to_string(row.showCommand));
    testsupport::WaitUntil([&] { return FindWindowW(nullptr, rtl::WStr(caption)) != nullptr; }, 5s);
    CloseWindowsWithCaption(caption);
  }
}

TEST(RunAsAdmin, AMissingProgramGivesFalse) {
  EXPECT_FALSE(Nox::Utils::RunAsAdmin::RunAsAdmin(ExeDir() + u"no-such-program.exe", u"", true));
}

TEST(RunSelfAsAdmin, StartsThisProgramWithExactlyDummyShownNormally) {
  const std::u16string record = testsupport::TempFileName(u"runself");
  SetEnvironmentVariableW(L"ORVELLA_TEST_RECORD", rtl::WStr(record));
  const bool started = Nox::Utils::RunAsAdmin::RunSelfAsAdmin(u"dummy", true);
  SetEnvironmentVariableW(L"ORVELLA_TEST_RECORD", nullptr);
  ASSERT_TRUE(started);
  const std::string text = AwaitRecord(record);
  const auto all = rtl::SplitCommandLine(rtl::Utf8ToUtf16(RecordValue(text, "cmdline").value_or("")));
  ASSERT_EQ(all.size(), 2u);
  EXPECT_TRUE(rtl::SameText(all[0], rtl::ParamStr(0)));
  EXPECT_EQ(all[1], u"dummy");
  EXPECT_EQ(RecordValue(text, "show"), std::to_string(SW_SHOWNORMAL));
}

// Windows before Vista has no elevation: the program is started through WinExec.
TEST(RunWithWinExec, QuotesThePathAndAlwaysShowsNormally) {
  const std::u16string record = testsupport::TempFileName(u"winexec");
  const std::u16string caption = u"winexec helper " + record;
  ASSERT_TRUE(Nox::Utils::RunAsAdmin::RunWithWinExec(
      WindowApp(), u"--record \"" + record + u"\" --caption \"" + caption + u"\" p q"));
  const std::string text = AwaitRecord(record);
  const auto args = ArgumentsOf(text);
  ASSERT_EQ(args.size(), 6u);
  EXPECT_EQ(args[4], u"p");
  EXPECT_EQ(RecordValue(text, "show"), std::to_string(SW_SHOWNORMAL));
  EXPECT_EQ(RecordValue(text, "cmdline").value_or("").rfind("\"" + rtl::Utf16ToUtf8(WindowApp()) + "\" ", 0), 0u);
  testsupport::WaitUntil([&] { return FindWindowW(nullptr, rtl::WStr(caption)) != nullptr; }, 5s);
  CloseWindowsWithCaption(caption);
  EXPECT_FALSE(Nox::Utils::RunAsAdmin::RunWithWinExec(ExeDir() + u"no-such-program.exe", u""));
}

TEST(GetWindowProcessPath, IsTheExecutableOfTheWindowsProcess) {
  const std::u16string caption = u"process path helper " + testsupport::TempFileName(u"snap");
  ASSERT_TRUE(Nox::Utils::RunAsAdmin::RunAsAdmin(WindowApp(), u"--caption \"" + caption + u"\"", false));
  HWND wnd = nullptr;
  ASSERT_TRUE(testsupport::WaitUntil([&] { return (wnd = FindWindowW(nullptr, rtl::WStr(caption))) != nullptr; }));
  const std::u16string path = Nox::Utils::ProcessSnap::GetWindowProcessPath(reinterpret_cast<rtl::TWindowHandle>(wnd));
  EXPECT_TRUE(rtl::SameText(path, WindowApp())) << rtl::Utf16ToUtf8(path);

  SendMessageW(wnd, WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindow(wnd));
  EXPECT_EQ(Nox::Utils::ProcessSnap::GetWindowProcessPath(reinterpret_cast<rtl::TWindowHandle>(wnd)), u"");
  EXPECT_EQ(Nox::Utils::ProcessSnap::GetWindowProcessPath(0), u"");
}

TEST(GetWindowProcessPath, OfAWindowOfThisProcessIsThisProgram) {
  HWND wnd = CreateWindowExW(0, L"STATIC", L"own", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  const std::u16string path = Nox::Utils::ProcessSnap::GetWindowProcessPath(reinterpret_cast<rtl::TWindowHandle>(wnd));
  DestroyWindow(wnd);
  EXPECT_TRUE(rtl::SameText(path, rtl::ParamStr(0))) << rtl::Utf16ToUtf8(path);
}

TEST(GetApplicationVersion, ReadsMajorMinorBuildOfTheProductVersion) {
  const auto version = rtl::ReadProductVersion(ExeDir() + u"version_probe.exe");
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->Release, 7);
  EXPECT_FALSE(rtl::ReadProductVersion(ExeDir() + u"version_probe_plain.exe").has_value());
  EXPECT_FALSE(rtl::ReadProductVersion(ExeDir() + u"no-such-file.exe").has_value());

  struct Row {
    const char* program;
    const char* text;
  };
  for (const Row row : {Row{"version_probe.exe", "2.10.0"}, Row{"version_probe_plain.exe", "unknown"}}) {
    SCOPED_TRACE(row.program);
    const std::string command = "\"" + rtl::Utf16ToUtf8(ExeDir()) + row.program + "\"";
    FILE* pipe = _popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[64] = {};
    const std::size_t read = std::fread(buffer, 1, sizeof buffer - 1, pipe);
    _pclose(pipe);
    EXPECT_EQ(std::string(buffer, read), row.text);
  }
}

// The restart: the token and privilege steps run for real; ExitWindowsEx is recorded.
class RestartWindowsTest : public ::testing::Test {
 protected:
  static BOOL WINAPI Record(UINT flags, DWORD reason) {
    calls_++;
    flags_ = flags;
    reason_ = reason;
    return answer_;
  }
  void SetUp() override {
    calls_ = 0;
    answer_ = TRUE;
    previous_ = Nox::Utils::Shutdown::SetExitWindowsExProc(&Record);
  }
  void TearDown() override { Nox::Utils::Shutdown::SetExitWindowsExProc(previous_); }

  static inline int calls_ = 0;
  static inline UINT flags_ = 0;
  static inline DWORD reason_ = 0;
  static inline BOOL answer_ = TRUE;
  Nox::Utils::Shutdown::TExitWindowsExProc previous_ = nullptr;
};

TEST_F(RestartWindowsTest, AsksForARebootThatForcesOnlyHungPrograms) {
  EXPECT_TRUE(Nox::Utils::Shutdown::RestartWindows());
  EXPECT_EQ(calls_, 1);
  EXPECT_EQ(flags_, static_cast<UINT>(EWX_REBOOT | EWX_FORCEIFHUNG));
  EXPECT_EQ(flags_ & EWX_FORCE, 0u) << "running programs must get the chance to save";
  EXPECT_EQ(reason_, 0u);
}

TEST_F(RestartWindowsTest, ARefusedRequestGivesFalse) {
  answer_ = FALSE;
  EXPECT_FALSE(Nox::Utils::Shutdown::ShutdownWindows(EWX_LOGOFF));
  EXPECT_EQ(calls_, 1);
  EXPECT_EQ(flags_, static_cast<UINT>(EWX_LOGOFF | EWX_FORCEIFHUNG));
}

}  // namespace

int main(int argc, char** argv) {
  // Started again by RunSelfAsAdmin: record how, then end without running the tests.
  if (const char* record = std::getenv(kRecordVariable); record && rtl::ParamCount() >= 1) {
    testsupport::WriteStartRecord(rtl::Utf8ToUtf16(record));
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
