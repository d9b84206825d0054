#include "toolkit/Screen.hpp"

#include <algorithm>

#include "toolkit/Forms.hpp"

namespace ui {

namespace {

// Whether iWnd is iOwner's window or a window owned by it, however indirectly.
[[nodiscard]] bool IsOwnedBy(HWND iWnd, HWND iOwner) noexcept {
  for (HWND w = iWnd; w; w = GetWindow(w, GW_OWNER)) {
    if (w == iOwner) return true;
  }
  return false;
}

}  // namespace

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

void TScreen::AddPopupForm(TCommonCustomForm& iPopup, HWND iPlacement) {
  RemovePopupForm(iPopup);
  popups_.push_back({&iPopup, iPlacement, false});
}

void TScreen::RemovePopupForm(const TCommonCustomForm& iPopup) noexcept {
  std::erase_if(popups_, [&](const TPopupEntry& e) { return e.Form == &iPopup; });
}

std::vector<TCommonCustomForm*> TScreen::PopupForms() const {
  std::vector<TCommonCustomForm*> forms;
  for (const TPopupEntry& e : popups_) forms.push_back(e.Form);
  return forms;
}

void TScreen::PrepareClosePopups(const TCommonCustomForm* iSaveForm) {
  const HWND save = FormToHWND(iSaveForm);
  for (TPopupEntry& e : popups_) {
    e.Closing = !save || !IsOwnedBy(FormToHWND(e.Form), save);
  }
}

void TScreen::ClosePopupForms() {
  // Closing one may close or open others: each is looked up again before it is closed.
  std::vector<TCommonCustomForm*> closing;
  for (auto it = popups_.rbegin(); it != popups_.rend(); ++it) {
    if (it->Closing) closing.push_back(it->Form);
  }
  for (TCommonCustomForm* form : closing) {
    const auto found = std::find_if(popups_.begin(), popups_.end(), [&](const TPopupEntry& e) { return e.Form == form; });
    if (found == popups_.end() || !found->Closing) continue;
    popups_.erase(found);
    form->Close();
  }
}

void TScreen::MouseDown(HWND iTarget) {
  if (popups_.empty()) return;
  const HWND root = GetAncestor(iTarget, GA_ROOT);
  for (TPopupEntry& e : popups_) {
    const HWND popup = FormToHWND(e.Form);
    e.Closing = root != popup && iTarget != e.Placement && !IsOwnedBy(root, popup);
  }
  ClosePopupForms();
}

void TScreen::FormDestroyed(const TCommonCustomForm& iForm) noexcept {
  if (activeForm_ == &iForm) activeForm_ = nullptr;
  RemovePopupForm(iForm);
}

}  // namespace ui
