#pragma once
// Information and error notices and Yes/No questions, through the toolkit's dialog service.
// Modal and synchronous: each routine returns after the user has closed the dialog, and a
// question's answer has reached its callback by then.

#include <functional>
#include <string>

#include "toolkit/DialogService.hpp"

namespace Nox::Utils::Dialogs {

// The answer of a question: true exactly for the positive button.
using TDialogResultProc = std::function<void(bool)>;

void ShowInfoDialog(const std::u16string& iText);
void ShowErrorDialog(const std::u16string& iText);
// iProc gets true when the dialog's modal result equals iOKResult; any other way of closing
// it (another button, the close box, no dialog at all) gives false.
void QueryMessageDialog(const std::u16string& iText, ui::TMsgDlgButtons iButtons, ui::TMsgDlgBtn iDefaultButton,
                        ui::TModalResult iOKResult, const TDialogResultProc& iProc);
// Yes and No, Yes the default; true exactly when the user answered Yes.
void QueryMessageDialog(const std::u16string& iText, const TDialogResultProc& iProc);

}  // namespace Nox::Utils::Dialogs
