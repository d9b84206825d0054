// The application object, forms and deferred calls against the real event loop under Wine.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "toolkit/Forms.hpp"

namespace {

// Every run has a way out: a thread timer that ends the run and marks the test failed.
class TRunGuard {
 public:
  TRunGuard() { timer_ = SetTimer(nullptr, 0, 10000, &TRunGuard::Expired); }
  ~TRunGuard() { KillTimer(nullptr, timer_); }
  static bool TimedOut() { return timedOut_; }

 private:
  static void CALLBACK Expired(HWND, UINT, UINT_PTR, DWORD) {
    timedOut_ = true;
    ui::Application().Terminate();
  }
  UINT_PTR timer_ = 0;
  static inline bool timedOut_ = false;
};

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

struct TLog {
  std::vector<std::string> Events;
  bool InsideQueued = false;
};
TLog gLog;

// A main form as the program has one: constructed by Run, shown if it may be.
class TTestForm : public ui::TForm {
 public:
  static inline bool ShowAllowed = true;
  static inline std::function<void(TTestForm&)> Script;

  TTestForm() {
    OnCreate = [this](ui::TObject*) {
      gLog.Events.push_back(ui::Application().MainForm() == nullptr ? "create-not-main-yet" : "create-main");
    };
    OnShow = [this](ui::TObject*) {
      gLog.Events.push_back("show");
      if (Script) Script(*this);
    };
    OnDestroy = [](ui::TObject*) { gLog.Events.push_back("destroy"); };
  }
  bool CanShow() override { return ShowAllowed; }
};

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application().Initialize();
    gLog = {};
    TTestForm::ShowAllowed = true;
    TTestForm::Script = nullptr;
  }
  void RunGuarded() {
    TRunGuard guard;
    ui::Application().CreateForm<TTestForm>();
    ui::Application().Run();
    EXPECT_FALSE(TRunGuard::TimedOut()) << "the run did not end";
  }
};

void Queue(ui::TProc iProc) { ui::TThread::ForceQueue(ui::TThread::CurrentThread(), std::move(iProc)); }

TEST_F(ApplicationTest, ApplicationWindowOwnsTheFormsAndMapsBothWays) {
  const HWND app = ui::ApplicationHWND();
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(ui::ApplicationHWND(), app) << "made once";
  EXPECT_EQ(ClassOf(app), L"TFMAppClass");
  EXPECT_EQ(ui::FindForm(app), nullptr);
  EXPECT_EQ(ui::FormToHWND(nullptr), nullptr);
  EXPECT_EQ(ui::FindForm(nullptr), nullptr);
  EXPECT_EQ(ui::FindForm(GetDesktopWindow()), nullptr);

  auto form = ui::MakeForm<ui::TForm>();
  const HWND wnd = ui::FormToHWND(form.get());
  ASSERT_NE(wnd, nullptr);
  EXPECT_EQ(ui::FindForm(wnd), form.get());
  EXPECT_EQ(GetWindow(wnd, GW_OWNER), app);
  ASSERT_NE(ui::WindowHandleToPlatform(form->Handle()), nullptr);
  EXPECT_EQ(ui::WindowHandleToPlatform(form->Handle())->Wnd(), wnd);
  form.reset();
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(ui::FindForm(wnd), nullptr);
}

TEST_F(ApplicationTest, FormHandleCreationIsAnnounced) {
  std::vector<ui::TCommonCustomForm*> announced;
  const int id = ui::TMessageManager::DefaultManager().SubscribeToMessage<ui::TAfterCreateFormHandle>(
      [&](ui::TObject*, const ui::TMessageBase& m) {
        const auto& message = static_cast<const ui::TAfterCreateFormHandle&>(m);
        EXPECT_NE(ui::FormToHWND(message.Value()), nullptr) << "the window exists when announced";
        announced.push_back(message.Value());
      });
  auto form = ui::MakeForm<ui::TForm>();
  ui::TMessageManager::DefaultManager().Unsubscribe<ui::TAfterCreateFormHandle>(id);
  ASSERT_EQ(announced.size(), 1u);
  EXPECT_EQ(announced[0], form.get());
}

TEST_F(ApplicationTest, ClosingTheMainFormWindowEndsRun) {
  HWND seen = nullptr;
  TTestForm::Script = [&](TTestForm& form) {
    seen = ui::FormToHWND(&form);
    EXPECT_EQ(ui::Application().MainForm(), &form);
    EXPECT_TRUE(IsWindowVisible(ui::ApplicationHWND())) << "the taskbar button's window is shown";
    // The way a user closes it: the close box sends WM_CLOSE.
    Queue([seen] { PostMessageW(seen, WM_CLOSE, 0, 0); });
  };
  RunGuarded();
  EXPECT_TRUE(ui::Application().Terminated());
  EXPECT_EQ(ui::Application().MainForm(), nullptr);
  EXPECT_FALSE(IsWindow(seen)) << "the main form is destroyed when Run returns";
  EXPECT_EQ(gLog.Events, (std::vector<std::string>{"create-not-main-yet", "show", "destroy"}));
}

TEST_F(ApplicationTest, HiddenMainFormRunsUntilClosedFromAnotherThread) {
  TTestForm::ShowAllowed = false;
  std::thread closer;
  TTestForm::Script = nullptr;
  // The loop is waiting with nothing to do: only the queue's wake-up can end it in time.
  Queue([&closer] {
    EXPECT_FALSE(ui::Application().MainForm()->Visible());
    closer = std::thread([] {
      Sleep(100);
      ui::TThread::ForceQueue(nullptr, [] { ui::Application().MainForm()->Close(); });
    });
  });
  RunGuarded();
  if (closer.joinable()) closer.join();
  EXPECT_EQ(gLog.Events, (std::vector<std::string>{"create-not-main-yet", "destroy"}));
}

TEST_F(ApplicationTest, CloseBeforeBecomingMainOnlyHides) {
  struct TEarlyCloser : ui::TForm {
    TEarlyCloser() {
      OnCreate = [this](ui::TObject*) { Close(); };
    }
  };
  TRunGuard guard;
  ui::Application().CreateForm<TEarlyCloser>();
  Queue([] {
    gLog.Events.push_back(ui::Application().Terminated() ? "terminated" : "running");
    ui::Application().MainForm()->Close();
  });
  ui::Application().Run();
  EXPECT_FALSE(TRunGuard::TimedOut());
  EXPECT_EQ(gLog.Events, (std::vector<std::string>{"running"}));
}

TEST_F(ApplicationTest, QueuedCallsRunInOrderAfterTheMessageAndNeverInside) {
  TTestForm::Script = [](TTestForm& form) {
    Queue([] {
      gLog.InsideQueued = true;
      gLog.Events.push_back("A");
      Queue([] { gLog.Events.push_back(gLog.InsideQueued ? "C-inside" : "C"); });
      // Pumping inside a queued call must not run C.
      ui::Application().ProcessMessages();
      gLog.InsideQueued = false;
    });
    Queue([] { gLog.Events.push_back("B"); });
    // A message handled while queued calls are pending: they wait for it to finish.
    SendMessageW(ui::FormToHWND(&form), WM_SIZE, 0, 0);
    gLog.Events.push_back("show-end");
    Queue([] {
      Queue([] { ui::Application().MainForm()->Close(); });
    });
  };
  ui::TThread::ForceQueue(nullptr, [] { gLog.Events.push_back("before-run"); });
  RunGuarded();
  // Run shows the main form before its loop starts, so the call queued before Run runs after "show".
  EXPECT_EQ(gLog.Events, (std::vector<std::string>{"create-not-main-yet", "show", "show-end", "before-run", "A",
                                                    "B", "C", "destroy"}));
}

TEST_F(ApplicationTest, CallsPendingAtTheEndAreDropped) {
  bool ran = false;
  TTestForm::Script = [&ran](TTestForm& form) {
    form.OnClose = [&ran](ui::TObject*, ui::TCloseAction&) { Queue([&ran] { ran = true; }); };
    Queue([] { ui::Application().MainForm()->Close(); });
  };
  RunGuarded();
  EXPECT_FALSE(ran);
  EXPECT_FALSE(ui::TThread::HasQueued());
}

TEST_F(ApplicationTest, ReleasedFormIsDestroyedLater) {
  bool destroyed = false;
  TTestForm::Script = [&destroyed](TTestForm&) {
    auto& other = ui::Application().Adopt(ui::TFormPtr<ui::TCommonCustomForm>(ui::MakeForm<ui::TForm>().release()));
    other.OnClose = [](ui::TObject*, ui::TCloseAction& action) { action = ui::TCloseAction::caFree; };
    other.OnDestroy = [&destroyed](ui::TObject*) { destroyed = true; };
    other.Close();
    EXPECT_FALSE(destroyed) << "not while its own handler may still run";
    Queue([&destroyed] {
      EXPECT_TRUE(destroyed);
      ui::Application().MainForm()->Close();
    });
  };
  RunGuarded();
  EXPECT_TRUE(destroyed);
}

}  // namespace
