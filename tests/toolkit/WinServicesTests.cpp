// The toolkit's Windows services for real: MessageBoxW answered by the dialog robot, the
// clipboard, and the user's locale under the LANG the test was started with.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "DialogRobot.hpp"
#include "toolkit/Forms.hpp"
#include "toolkit/WinServices.hpp"

namespace {

class WinServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application().Initialize(); }
};

struct TDialogRow {
  const char* Name;
  ui::TMsgDlgType Type;
  ui::TMsgDlgButtons Buttons;
  ui::TMsgDlgBtn Default;
  const wchar_t* Action;
  ui::TModalResult Expected;
  const char* Report;
};

TEST_F(WinServicesTest, MessageDialogShowsTitleTextAndButtonsAndReturnsTheAnswer) {
  using enum ui::TMsgDlgBtn;
  const TDialogRow rows[] = {
      {"question yes", ui::TMsgDlgType::mtConfirmation, {mbYes, mbNo}, mbYes, L"--press Yes", ui::mrYes,
       "title=Confirm\ntext=Line 1\\r\\nLine 2\nbutton=Yes\nbutton=No\npressed=Yes\n"},
      {"question no", ui::TMsgDlgType::mtConfirmation, {mbYes, mbNo}, mbYes, L"--press No", ui::mrNo,
       "title=Confirm\ntext=Line 1\\r\\nLine 2\nbutton=Yes\nbutton=No\npressed=No\n"},
      {"error notice", ui::TMsgDlgType::mtError, {mbOK}, mbOK, L"--press OK", ui::mrOk,
       "title=Error\ntext=Line 1\\r\\nLine 2\nbutton=OK\npressed=OK\n"},
      {"closed with the close box", ui::TMsgDlgType::mtWarning, {mbOK, mbCancel}, mbOK, L"--close", ui::mrCancel,
       "title=Warning\ntext=Line 1\\r\\nLine 2\nbutton=OK\nbutton=Cancel\nclosed\n"},
  };
  for (const TDialogRow& row : rows) {
    SCOPED_TRACE(row.Name);
    testsupport::TDialogRobot robot(row.Action);
    ASSERT_TRUE(robot.Started());
    std::optional<ui::TModalResult> result;
    ui::TDialogService::MessageDialog(u"Line 1\r\nLine 2", row.Type, row.Buttons, row.Default, 0,
                                      [&result](ui::TModalResult r) { result = r; });
    EXPECT_EQ(result, row.Expected);
    DWORD code = 99;
    EXPECT_EQ(robot.Report(&code), row.Report);
    EXPECT_EQ(code, 0u);
  }
}

TEST(TWinDialogService, StyleFitsTheButtonsAndPlacesTheDefault) {
  using enum ui::TMsgDlgBtn;
  struct TRow {
    ui::TMsgDlgButtons Buttons;
    ui::TMsgDlgBtn Default;
    UINT Expected;
  };
  const TRow rows[] = {
      {{mbYes, mbNo}, mbYes, MB_YESNO | MB_DEFBUTTON1},
      {{mbYes, mbNo}, mbNo, MB_YESNO | MB_DEFBUTTON2},
      {{mbYes, mbNo, mbCancel}, mbCancel, MB_YESNOCANCEL | MB_DEFBUTTON3},
      {{mbOK}, mbOK, MB_OK | MB_DEFBUTTON1},
      {{mbOK, mbCancel}, mbCancel, MB_OKCANCEL | MB_DEFBUTTON2},
      {{mbAbort, mbRetry, mbIgnore}, mbRetry, MB_ABORTRETRYIGNORE | MB_DEFBUTTON2},
      {{mbRetry, mbCancel}, mbRetry, MB_RETRYCANCEL | MB_DEFBUTTON1},
      {{mbYes, mbNo}, mbOK, MB_YESNO | MB_DEFBUTTON1},  // a default that is not shown
      {{}, mbOK, MB_OK | MB_DEFBUTTON1},                // no buttons: still one way out
      {{mbClose}, mbClose, MB_OK | MB_DEFBUTTON1},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Buttons.Bits());
    EXPECT_EQ(ui::TWinDialogService::StyleFor(ui::TMsgDlgType::mtCustom, row.Buttons, row.Default), row.Expected);
  }
  EXPECT_EQ(ui::TWinDialogService::StyleFor(ui::TMsgDlgType::mtError, {mbOK}, mbOK) & MB_ICONMASK, UINT{MB_ICONERROR});
  EXPECT_EQ(ui::TWinDialogService::StyleFor(ui::TMsgDlgType::mtConfirmation, {mbOK}, mbOK) & MB_ICONMASK,
            UINT{MB_ICONQUESTION});
}

TEST_F(WinServicesTest, ClipboardRoundTripsUnicodeText) {
  std::shared_ptr<ui::IFMXClipboardService> clipboard;
  ASSERT_TRUE(ui::TPlatformServices::Current().SupportsPlatformService(ui::IFMXClipboardService::IID(), clipboard));
  const std::u16string texts[] = {u"orvella:Addr1?amount=1.5&message=%E6%97%A5 日本語 ※", u""};
  for (const std::u16string& text : texts) {
    ASSERT_TRUE(clipboard->SetClipboard(text));
    EXPECT_EQ(clipboard->GetClipboard(), text);
  }
  // Another program's view of it: CF_UNICODETEXT.
  ASSERT_TRUE(clipboard->SetClipboard(u"plain"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(data)), L"plain");
  GlobalUnlock(data);
  CloseClipboard();
}

// Run twice by ctest, under LANG=ja_JP.UTF-8 and LANG=en_US.UTF-8, with the answer expected.
TEST_F(WinServicesTest, LocaleServiceAnswersTheUsersLanguage) {
  const char* expected = std::getenv("ORVELLA_EXPECT_LANG");
  if (!expected) GTEST_SKIP() << "run by ctest with ORVELLA_EXPECT_LANG";
  std::shared_ptr<ui::IFMXLocaleService> locale;
  ASSERT_TRUE(ui::TPlatformServices::Current().SupportsPlatformService(ui::IFMXLocaleService::IID(), locale));
  EXPECT_EQ(locale->GetCurrentLangID(), std::u16string(expected, expected + std::char_traits<char>::length(expected)));
}

}  // namespace
