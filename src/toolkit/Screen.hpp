#pragma once
// The screen: which of the program's forms is active, and the popup forms (drop-down
// lists) that are open. Popups close when their form is deactivated or the user clicks
// outside them; closing is two steps, so a caller can mark popups first and close them
// after it has done its own work.

#include <windows.h>

#include <vector>

namespace ui {

class TCommonCustomForm;

class TScreen {
 public:
  // The form that was activated last and has not been deactivated since; null for none.
  [[nodiscard]] TCommonCustomForm* ActiveForm() const noexcept { return activeForm_; }
  void SetActiveForm(TCommonCustomForm* iForm) noexcept { activeForm_ = iForm; }

  // The open popup forms, oldest first. iPlacement is the control window that opened the
  // popup: a click on it is that control's to handle (it closes its own popup).
  void AddPopupForm(TCommonCustomForm& iPopup, HWND iPlacement);
  void RemovePopupForm(const TCommonCustomForm& iPopup) noexcept;
  [[nodiscard]] std::vector<TCommonCustomForm*> PopupForms() const;

  // Marks every open popup for closing except iSaveForm and the popups it owns; null
  // marks them all. ClosePopupForms then closes the marked ones, newest first.
  void PrepareClosePopups(const TCommonCustomForm* iSaveForm);
  void ClosePopupForms();
  // A mouse button went down on iTarget: the popups it does not lie in close.
  void MouseDown(HWND iTarget);

  // A form is going away: the screen forgets it.
  void FormDestroyed(const TCommonCustomForm& iForm) noexcept;

 private:
  struct TPopupEntry {
    TCommonCustomForm* Form;
    HWND Placement;
    bool Closing;
  };
  TCommonCustomForm* activeForm_ = nullptr;
  std::vector<TPopupEntry> popups_;
};

// The program's screen object.
[[nodiscard]] TScreen& Screen();

}  // namespace ui
