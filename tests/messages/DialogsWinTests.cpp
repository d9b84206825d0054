// The program's question through the real dialog service: a MessageBoxW answered by the
// dialog robot, as a user would answer it.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "../toolkit/DialogRobot.hpp"
#include "toolkit/Forms.hpp"
#include "utils/Nox.Utils.Dialogs.hpp"

namespace {

TEST(DialogsUnderWine, ShortQuestionAnsweredYesAndNo) {
  ui::Application().Initialize();
  struct TRow {
    const wchar_t* Action;
    bool Expected;
  };
  const TRow rows[] = {{L"--press Yes", true}, {L"--press No", false}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Expected);
    testsupport::TDialogRobot robot(row.Action);
    ASSERT_TRUE(robot.Started());
    std::optional<bool> answer;
    Nox::Utils::Dialogs::QueryMessageDialog(u"Set up remittance information on Wallet\r\nAre you sure?",
                                            [&answer](bool yes) { answer = yes; });
    EXPECT_EQ(answer, row.Expected) << "answered before QueryMessageDialog returns";
    const std::string report = robot.Report();
    EXPECT_NE(report.find("text=Set up remittance information on Wallet\\r\\nAre you sure?\n"), std::string::npos)
        << report;
    EXPECT_NE(report.find("button=Yes\nbutton=No\n"), std::string::npos) << report;
  }
}

TEST(DialogsUnderWine, ErrorNoticeHasOneOkButton) {
  ui::Application().Initialize();
  testsupport::TDialogRobot robot(L"--press OK");
  Nox::Utils::Dialogs::ShowErrorDialog(u"ウォレットが起動していません");
  EXPECT_EQ(robot.Report(), "title=Error\ntext=ウォレットが起動していません\nbutton=OK\npressed=OK\n");
}

}  // namespace
