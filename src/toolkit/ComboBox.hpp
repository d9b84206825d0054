#pragma once
// A drop-down list: the closed box shows the chosen item; opened (click, F4, Alt+Down) it
// shows its items in a popup form (TCustomPopupForm holding a TPopup with a TListBox)
// under itself. The box keeps the keyboard focus while the list is open: the arrow keys
// move through the list, Enter chooses, Esc closes it.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Controls.hpp"
#include "toolkit/Forms.hpp"
#include "toolkit/ListBox.hpp"
#include "toolkit/Popups.hpp"

namespace ui {

class TComboBox final : public TNativeControl {
 public:
  using TNativeControl::TNativeControl;
  ~TComboBox() override;
  TNotifyEvent OnChange;
  // At most this many items show at once; more scroll.
  int DropDownCount = 12;
  // Height of one item of the list, in DIP.
  float ItemHeight = 19;

  void Attach(IControlHost& iHost) override;
  void Command(WORD iCode) override;
  void DrawItem(const DRAWITEMSTRUCT& iItem) override;
  void ApplyStyle() override {}
  void AddItem(const std::u16string& iItem);
  [[nodiscard]] const std::vector<std::u16string>& Items() const noexcept { return items_; }
  [[nodiscard]] int ItemIndex() const noexcept { return itemIndex_; }
  void SetItemIndex(int iIndex);
  // The index of the item with exactly this text, or -1.
  [[nodiscard]] int IndexOf(std::u16string_view iText) const noexcept;
  [[nodiscard]] bool DroppedDown() const noexcept;
  void DropDown(bool iShow);
  // The popup of the last opening and its list; null before the first.
  [[nodiscard]] TCustomPopupForm* PopupForm() const noexcept { return popup_.get(); }
  [[nodiscard]] TListBox* ListBox() const noexcept { return list_; }

 protected:
  LRESULT SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) override;
  void ShowText() override;

 private:
  void MakePopup();
  void Pick(int iIndex);
  [[nodiscard]] bool OpenKey(UINT iMsg, WPARAM iKey) const noexcept;
  [[nodiscard]] bool ListKey(WPARAM iKey);

  std::vector<std::u16string> items_;
  int itemIndex_ = -1;
  TFormPtr<TCustomPopupForm> popup_;
  TListBox* list_ = nullptr;
};

}  // namespace ui
