// The Windows window utilities under Wine: real top-level windows of this process and of a
// helper process, the real WH_CALLWNDPROCRET hook and the toolkit's real forms. Everything
// goes through the facade, so the factory registered at start-up is used as the program
// uses it.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "../win/TestSupport.hpp"
#include "rtl/Text.hpp"
#include "toolkit/Forms.hpp"
#include "toolkit/PlatformWin.hpp"
#include "toolkit/Thread.hpp"
#include "toolkit/UniqueHandle.hpp"
#include "utils/Nox.Utils.Form.Win.hpp"
#include "utils/Nox.Utils.Form.hpp"

namespace {

using namespace std::chrono_literals;
using Nox::Utils::Form::TFormUtils;

constexpr char16_t kWalletCaption[] = u"ORVELLA CORE ORVL WALLET ";

[[nodiscard]] rtl::TWindowHandle H(HWND wnd) { return reinterpret_cast<rtl::TWindowHandle>(wnd); }

// A test_window_app process owning a top-level window with the given caption. It is asked
// to close at the end and terminated if it has not gone within the limit.
class THelperWindow {
 public:
  explicit THelperWindow(const std::u16string& iCaption) {
    std::u16string command = u"\"" + testsupport::ExeDir() + u"test_window_app.exe\" --caption \"" + iCaption + u"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, rtl::WBuf(command), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      return;
    }
    process_.reset(info.hProcess);
    ui::TUniqueKernelHandle thread(info.hThread);
    testsupport::WaitUntil([&] { return (wnd_ = WindowOfProcess(iCaption, info.dwProcessId)) != nullptr; });
  }
  THelperWindow(const THelperWindow&) = delete;
  THelperWindow& operator=(const THelperWindow&) = delete;
  ~THelperWindow() {
    if (!process_) return;
    if (wnd_) PostMessageW(wnd_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
  }

  [[nodiscard]] HWND Wnd() const noexcept { return wnd_; }

 private:
  static HWND WindowOfProcess(const std::u16string& iCaption, DWORD iProcessId) {
    for (HWND wnd = FindWindowExW(nullptr, nullptr, nullptr, rtl::WStr(iCaption)); wnd;
         wnd = FindWindowExW(nullptr, wnd, nullptr, rtl::WStr(iCaption))) {
      DWORD pid = 0;
      GetWindowThreadProcessId(wnd, &pid);
      if (pid == iProcessId) return wnd;
    }
    return nullptr;
  }

  ui::TUniqueKernelHandle process_;
  HWND wnd_ = nullptr;
};

// A plain top-level window of this process.
[[nodiscard]] ui::TUniqueWindow OwnWindow(const wchar_t* iTitle, DWORD iStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
  return ui::TUniqueWindow(
      CreateWindowExW(0, L"STATIC", iTitle, iStyle, 10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr));
}

// True when iUpper comes before iLower in the Z order of the top-level windows.
[[nodiscard]] bool IsAbove(HWND iUpper, HWND iLower) {
  for (HWND wnd = GetTopWindow(nullptr); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
    if (wnd == iUpper) return true;
    if (wnd == iLower) return false;
  }
  return false;
}

// ---- FindWindow ----

TEST(FindWindow, MatchesTheWholeTitleExactly) {
  const THelperWindow wallet(kWalletCaption);
  ASSERT_NE(wallet.Wnd(), nullptr) << "the helper window did not appear";
  TFormUtils utils;

  struct Row {
    const char* what;
    std::u16string caption;
    bool finds;
  };
  const Row rows[] = {
      {"the caption with its trailing blank", kWalletCaption, true},
      {"without the trailing blank", u"ORVELLA CORE ORVL WALLET", false},
      {"with one blank more", u"ORVELLA CORE ORVL WALLET  ", false},
      {"a leading blank", u" ORVELLA CORE ORVL WALLET ", false},
      {"a prefix", u"ORVELLA CORE", false},
      {"the caption and a NUL", std::u16string(kWalletCaption) + u'\0', false},
      {"the caption, a NUL and more", std::u16string(kWalletCaption) + u'\0' + u"x", false},
      {"a prefix, a NUL and the rest", std::u16string(u"ORVELLA CORE\0 ORVL WALLET ", 26), false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(utils.FindWindow(row.caption), row.finds ? H(wallet.Wnd()) : 0u);
  }
}

TEST(FindWindow, AnEmptyCaptionLooksForAnEmptyTitle) {
  const auto untitled = OwnWindow(L"");
  const auto titled = OwnWindow(L"a titled window above");
  ASSERT_TRUE(untitled && titled);
  SetWindowPos(titled.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(IsAbove(titled.get(), untitled.get()));

  const auto found = reinterpret_cast<HWND>(TFormUtils().FindWindow(u""));
  ASSERT_NE(found, nullptr);
  EXPECT_NE(found, titled.get()) << "an empty caption must not match any window";
  EXPECT_EQ(GetWindowTextLengthW(found), 0);
}

// ---- BringToFront ----

// Our own window has the foreground, as the program's does when it hands a payment over.
class BringToFrontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(own_);
    SetForegroundWindow(own_.get());
    ASSERT_TRUE(testsupport::WaitUntil([&] { return GetForegroundWindow() == own_.get(); }, 5s));
  }
  ui::TUniqueWindow own_ = OwnWindow(L"bring to front: foreground");
  TFormUtils utils_;
};

TEST_F(BringToFrontTest, PutsAWindowOfAnotherProcessBelowAnotherOnTop) {
  const THelperWindow lower(u"bring to front: lower");
  const THelperWindow upper(u"bring to front: upper");
  ASSERT_TRUE(lower.Wnd() && upper.Wnd());
  SetWindowPos(upper.Wnd(), lower.Wnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(lower.Wnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(IsAbove(upper.Wnd(), lower.Wnd()));

  const DWORD helperThread = GetWindowThreadProcessId(lower.Wnd(), nullptr);
  ASSERT_TRUE(AttachThreadInput(helperThread, GetCurrentThreadId(), TRUE)) << "the threads cannot be attached";
  ASSERT_TRUE(AttachThreadInput(helperThread, GetCurrentThreadId(), FALSE));

  utils_.BringToFront(H(lower.Wnd()));

  EXPECT_TRUE(IsAbove(lower.Wnd(), upper.Wnd()));
  EXPECT_TRUE(IsAbove(lower.Wnd(), own_.get()));
  EXPECT_FALSE(AttachThreadInput(helperThread, GetCurrentThreadId(), FALSE))
      << "the helper's input is still attached to ours";
}

TEST_F(BringToFrontTest, ShowsAHiddenWindowOnTopKeepingItsPlaceAndSize) {
  const auto hidden = OwnWindow(L"bring to front: hidden", WS_OVERLAPPEDWINDOW);
  ASSERT_TRUE(hidden);
  SetWindowPos(hidden.get(), HWND_BOTTOM, 30, 40, 250, 120, SWP_NOACTIVATE);
  RECT before{};
  GetWindowRect(hidden.get(), &before);

  utils_.BringToFront(H(hidden.get()));

  EXPECT_TRUE(IsWindowVisible(hidden.get()));
  EXPECT_TRUE(IsAbove(hidden.get(), own_.get()));
  RECT after{};
  GetWindowRect(hidden.get(), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(BringToFrontTest, LeavesAMinimisedWindowMinimised) {
  const auto window = OwnWindow(L"bring to front: minimised");
  ASSERT_TRUE(window);
  ShowWindow(window.get(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(window.get()));
  utils_.BringToFront(H(window.get()));
  EXPECT_TRUE(IsIconic(window.get()));
}

TEST_F(BringToFrontTest, NoWindowOrAGoneWindowFailsQuietly) {
  HWND gone = nullptr;
  {
    const auto window = OwnWindow(L"bring to front: gone");
    gone = window.get();
  }
  ASSERT_FALSE(IsWindow(gone));
  utils_.BringToFront(0);
  utils_.BringToFront(H(gone));
  utils_.BringToFront();  // no main form outside a run
  EXPECT_EQ(GetForegroundWindow(), own_.get());
}

// Without an argument the application's main form is raised: only inside a run is there one.
TEST(BringToFrontMainForm, RaisesTheMainFormOfARunningApplication) {
  ui::Application().Initialize();
  const auto above = OwnWindow(L"above the main form");
  ASSERT_TRUE(above);
  bool wasBelow = false;
  bool raised = false;
  ui::TThread::ForceQueue(nullptr, [&] {
    const HWND main = ui::FormToHWND(ui::Application().MainForm());
    SetWindowPos(above.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    wasBelow = main && IsAbove(above.get(), main);
    TFormUtils().BringToFront();
    raised = main && IsAbove(main, above.get());
    ui::Application().Terminate();
  });
  // The way out should the queued call never run.
  const UINT_PTR guard =
      SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { ui::Application().Terminate(); });
  ui::Application().CreateForm<ui::TForm>();
  ui::Application().Run();
  KillTimer(nullptr, guard);
  ASSERT_TRUE(wasBelow);
  EXPECT_TRUE(raised);
}

// ---- HideTaskbar / ShowTaskbar ----

TEST(Taskbar, HideAndShowActOnTheApplicationWindowNotOnTheForms) {
  const auto form = ui::MakeForm<ui::TForm>();
  form->Show();
  const HWND app = ui::ApplicationHWND();
  const HWND formWnd = ui::FormToHWND(form.get());
  ASSERT_TRUE(app && formWnd);
  TFormUtils utils;

  utils.HideTaskbar();
  EXPECT_FALSE(IsWindowVisible(app));
  EXPECT_TRUE(IsWindowVisible(formWnd));
  utils.ShowTaskbar();
  EXPECT_TRUE(IsWindowVisible(app));
  EXPECT_TRUE(IsWindowVisible(formWnd));
  utils.HideTaskbar();
  EXPECT_FALSE(IsWindowVisible(app));
}

// ---- RegistMinimizeProc ----

// A shown toolkit form and a log of what the callbacks reported, as "<name>:<0|1>".
class MinimizeProcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_->Show();
    ShowWindow(Wnd(), SW_RESTORE);
    ASSERT_NE(Wnd(), nullptr);
  }

  [[nodiscard]] HWND Wnd() const { return ui::FormToHWND(form_.get()); }

  [[nodiscard]] Nox::Utils::Form::TFormStateNotifyProc Logger(const std::string& iName) {
    return [this, iName](bool iMinimized) { log_.push_back(iName + (iMinimized ? ":1" : ":0")); };
  }

  std::unique_ptr<TFormUtils> Registered(const std::string& iName) {
    auto utils = std::make_unique<TFormUtils>();
    utils->RegisterMinimizeProc(form_.get(), Logger(iName));
    return utils;
  }

  ui::TFormPtr<ui::TForm> form_ = ui::MakeForm<ui::TForm>();
  std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

TEST_F(MinimizeProcTest, MinimiseGivesOneRestoreZeroMaximiseNothing) {
  const auto utils = Registered("a");
  struct Step {
    const char* what;
    int show;
    Log reported;
    bool iconic;
  };
  const Step steps[] = {
      {"minimise", SW_MINIMIZE, {"a:1"}, true},
      {"restore", SW_RESTORE, {"a:0"}, false},
      {"maximise", SW_MAXIMIZE, {}, false},
      {"restore from maximised", SW_RESTORE, {"a:0"}, false},
      {"minimise again", SW_MINIMIZE, {"a:1"}, true},
      {"maximise from minimised", SW_MAXIMIZE, {}, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    log_.clear();
    ShowWindow(Wnd(), step.show);
    EXPECT_EQ(log_, step.reported);
    EXPECT_EQ(IsIconic(Wnd()) != FALSE, step.iconic) << "the hook must pass the message on";
  }
}

TEST_F(MinimizeProcTest, RegistrationsAreCalledInTheOrderTheirObjectsWereMade) {
  auto a = Registered("a");
  auto b = Registered("b");
  const auto c = Registered("c");
  ShowWindow(Wnd(), SW_MINIMIZE);
  EXPECT_EQ(log_, (Log{"a:1", "b:1", "c:1"}));

  b.reset();
  const auto d = Registered("d");
  log_.clear();
  ShowWindow(Wnd(), SW_RESTORE);
  EXPECT_EQ(log_, (Log{"a:0", "c:0", "d:0"}));
}

TEST_F(MinimizeProcTest, OnlyTheLatestRegistrationOfAnObjectForItsOwnFormIsCalled) {
  const auto other = ui::MakeForm<ui::TForm>();
  other->Show();
  const auto replaced = Registered("first");
  replaced->RegisterMinimizeProc(form_.get(), Logger("second"));
  TFormUtils forOther;
  forOther.RegisterMinimizeProc(other.get(), Logger("other"));
  TFormUtils withoutForm;
  withoutForm.RegisterMinimizeProc(nullptr, Logger("no form"));
  TFormUtils withoutProc;
  withoutProc.RegisterMinimizeProc(form_.get(), nullptr);
  // A plain window of this thread is not a form: nothing may match it, not even "no form".
  const auto plain = OwnWindow(L"not a form");

  ShowWindow(Wnd(), SW_MINIMIZE);
  ShowWindow(plain.get(), SW_MINIMIZE);
  EXPECT_EQ(log_, (Log{"second:1"}));
  log_.clear();
  ShowWindow(ui::FormToHWND(other.get()), SW_MINIMIZE);
  EXPECT_EQ(log_, (Log{"other:1"}));
}

TEST_F(MinimizeProcTest, AfterTheLastFacadeIsGoneNothingIsCalled) {
  auto calls = std::make_shared<int>(0);
  {
    TFormUtils utils;
    utils.RegisterMinimizeProc(form_.get(), [calls](bool) { ++*calls; });
    ShowWindow(Wnd(), SW_MINIMIZE);
    ShowWindow(Wnd(), SW_RESTORE);
    ASSERT_EQ(*calls, 2);
  }
  EXPECT_EQ(calls.use_count(), 1) << "the callback outlived its facade";
  ShowWindow(Wnd(), SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(Wnd()));
  ShowWindow(Wnd(), SW_RESTORE);
  EXPECT_FALSE(IsIconic(Wnd()));
  EXPECT_EQ(*calls, 2);
}

TEST_F(MinimizeProcTest, ACallbackMayFreeFacadesAndThrowWithoutHarm) {
  auto b = std::unique_ptr<TFormUtils>();
  auto a = std::make_unique<TFormUtils>();
  a->RegisterMinimizeProc(form_.get(), [&](bool iMinimized) {
    log_.push_back(iMinimized ? "a:1" : "a:0");
    a.reset();  // its own facade, while its callback runs
    b.reset();  // a later one, before its turn
  });
  b = Registered("b");
  auto thrower = std::make_unique<TFormUtils>();
  thrower->RegisterMinimizeProc(form_.get(), [](bool) { throw std::runtime_error("callback failed"); });
  const auto last = Registered("last");

  ShowWindow(Wnd(), SW_MINIMIZE);
  EXPECT_EQ(log_, (Log{"a:1", "last:1"}));
  EXPECT_TRUE(IsIconic(Wnd()));
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(b, nullptr);
}

// Hooks installed later are called first, so one installed before ours sees only what our
// hook passes on.
class HookChainTest : public MinimizeProcTest {
 protected:
  static LRESULT CALLBACK Probe(int iCode, WPARAM iWParam, LPARAM iLParam) {
    if (iCode >= 0) {
      const auto& message = *reinterpret_cast<const CWPRETSTRUCT*>(iLParam);
      if (message.message == WM_SIZE && message.wParam == SIZE_MINIMIZED) ++minimizedSeen_;
    }
    return CallNextHookEx(nullptr, iCode, iWParam, iLParam);
  }
  void SetUp() override {
    MinimizeProcTest::SetUp();
    minimizedSeen_ = 0;
    Nox::Utils::Form::Win::Finalize();
    probe_.reset(SetWindowsHookExW(WH_CALLWNDPROCRET, &Probe, nullptr, GetCurrentThreadId()));
    Nox::Utils::Form::Win::Initialize();
    ASSERT_TRUE(probe_);
  }
  void TearDown() override {
    Nox::Utils::Form::Win::Finalize();
    probe_.reset();
    Nox::Utils::Form::Win::Initialize();
  }
  static inline int minimizedSeen_ = 0;
  ui::TUniqueHook probe_;
};

TEST_F(HookChainTest, EveryMessageIsPassedOnWithAndWithoutRegistrations) {
  {
    const auto utils = Registered("a");
    ShowWindow(Wnd(), SW_MINIMIZE);
    ShowWindow(Wnd(), SW_RESTORE);
  }
  ShowWindow(Wnd(), SW_MINIMIZE);
  EXPECT_EQ(log_, (Log{"a:1", "a:0"}));
  EXPECT_EQ(minimizedSeen_, 2);
}

TEST_F(MinimizeProcTest, ASecondStartUpFailsAndInstallsNoSecondHook) {
  EXPECT_THROW(Nox::Utils::Form::Win::Initialize(), std::logic_error);
  const auto utils = Registered("a");
  ShowWindow(Wnd(), SW_MINIMIZE);
  EXPECT_EQ(log_, (Log{"a:1"}));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  Nox::Utils::Form::Win::Initialize();
  const int result = RUN_ALL_TESTS();
  Nox::Utils::Form::Win::Finalize();
  return result;
}
