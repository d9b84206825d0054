#pragma once
// Popup forms: borderless windows under a control that opened them (a combo box's list).
// They never take the activation, close when their owner form is deactivated or the user
// clicks elsewhere, and fade in over a few timer ticks, each raising OnAniTimer.

#include <windows.h>

#include <functional>

#include "toolkit/Classes.hpp"
#include "toolkit/Controls.hpp"
#include "toolkit/Forms.hpp"

namespace ui {

// The container of a popup form's content.
class TPopup final : public TControl {
 public:
  using TControl::TControl;
  [[nodiscard]] bool CanFocus() const noexcept override { return false; }
};

class TCustomPopupForm : public TForm {
 public:
  // iPlacement: the control window the popup opens under; a click on it is its own.
  TCustomPopupForm(TCommonCustomForm& iOwner, HWND iPlacement);
  ~TCustomPopupForm() override;

  // Raised on each tick of the show animation.
  TNotifyEvent OnAniTimer;
  // Called whenever the popup is hidden, however it closes; for the control that opened
  // it (OnHide belongs to whoever sets it).
  std::function<void()> OnClosedByToolkit;

  // Places the popup under its control, iHeight DIP tall and as wide as the control, and
  // shows it. Above the control when there is no room below.
  void Popup(float iHeight);
  void Show() override;
  void Hide() override;
  [[nodiscard]] TCommonCustomForm& Owner() const noexcept { return owner_; }
  [[nodiscard]] HWND Placement() const noexcept { return placement_; }
  [[nodiscard]] bool Animating() const noexcept { return aniStep_ < kAniSteps; }

  LRESULT WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) override;

 protected:
  [[nodiscard]] HWND ParentWnd() const noexcept override;
  void CreateParams(TCreateParams& ioParams) override;
  void HandleCreated() override;

 private:
  static constexpr int kAniSteps = 6;
  void AniTick();
  void SetAlpha(int iStep);

  TCommonCustomForm& owner_;
  HWND placement_;
  int aniStep_ = kAniSteps;
};

}  // namespace ui
