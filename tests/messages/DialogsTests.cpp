// The dialog routines against a scripted dialog service: what each asks the toolkit to show
// and how a question's modal result becomes the Boolean answer.

#include "utils/Nox.Utils.Dialogs.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "ScriptedDialogs.hpp"

namespace {

using ui::TMsgDlgBtn;
using ui::TMsgDlgType;
namespace Dialogs = Nox::Utils::Dialogs;

TEST(Dialogs, NoticesShowTheirTypeWithOneOkButton) {
  testsupport::TScriptedDialogs dialogs;
  Dialogs::ShowInfoDialog(u"info\r\nline 2");
  Dialogs::ShowErrorDialog(u"error");
  ASSERT_EQ(dialogs->Shown.size(), 2u);
  EXPECT_EQ(dialogs->Shown[0].Text, u"info\r\nline 2");
  EXPECT_EQ(dialogs->Shown[0].Type, TMsgDlgType::mtInformation);
  EXPECT_EQ(dialogs->Shown[1].Type, TMsgDlgType::mtError);
  for (const auto& shown : dialogs->Shown) {
    EXPECT_EQ(shown.Buttons.Bits(), 0x0004);
    EXPECT_EQ(shown.DefaultButton, TMsgDlgBtn::mbOK);
    EXPECT_EQ(shown.HelpContext, 0);
  }
}

TEST(Dialogs, ShortQuestionIsTrueOnlyForYes) {
  struct TRow {
    ui::TModalResult Answer;
    bool Expected;
  };
  // No, the close box (Cancel), a dialog that could not be shown, and stray results.
  const TRow rows[] = {{ui::mrYes, true}, {ui::mrNo, false}, {ui::mrCancel, false},
                       {ui::mrNone, false}, {ui::mrOk, false}, {ui::mrYesToAll, false}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Answer);
    testsupport::TScriptedDialogs dialogs;
    dialogs->Answer = row.Answer;
    std::optional<bool> answer;
    Dialogs::QueryMessageDialog(u"sure?", [&answer](bool yes) { answer = yes; });
    EXPECT_EQ(answer, row.Expected) << "answered before QueryMessageDialog returns";
    ASSERT_EQ(dialogs->Shown.size(), 1u);
    EXPECT_EQ(dialogs->Shown[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs->Shown[0].Buttons.Bits(), 0x0003);
    EXPECT_EQ(dialogs->Shown[0].DefaultButton, TMsgDlgBtn::mbYes);
  }
}

TEST(Dialogs, FullQuestionComparesWithTheCallersResult) {
  testsupport::TScriptedDialogs dialogs;
  std::optional<bool> answer;
  const auto record = [&answer](bool ok) { answer = ok; };
  dialogs->Answer = ui::mrOk;
  Dialogs::QueryMessageDialog(u"go?", {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel}, TMsgDlgBtn::mbCancel, ui::mrOk, record);
  EXPECT_EQ(answer, true);
  EXPECT_EQ(dialogs->Shown.back().DefaultButton, TMsgDlgBtn::mbCancel);
  dialogs->Answer = ui::mrCancel;
  Dialogs::QueryMessageDialog(u"go?", {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel}, TMsgDlgBtn::mbOK, ui::mrOk, record);
  EXPECT_EQ(answer, false);
  // A missing callback is a caller's slip, not a crash.
  Dialogs::QueryMessageDialog(u"go?", nullptr);
}

TEST(Dialogs, WithoutDialogServiceAQuestionIsNotConfirmed) {
  testsupport::TScriptedDialogs dialogs;  // saves and later restores whatever is registered
  ui::TPlatformServices::Current().RemovePlatformService(ui::IFMXDialogServiceSync::IID());
  std::optional<bool> answer;
  Dialogs::QueryMessageDialog(u"sure?", [&answer](bool yes) { answer = yes; });
  EXPECT_EQ(answer, false);
}

}  // namespace
