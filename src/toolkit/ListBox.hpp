#pragma once
// A list of text items in a native list box, drawn by us so that each item shows in its
// own font size and the list in the program's style. Clicks choose an item without taking
// the focus or the activation: the list lives in popups that never take either.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "toolkit/Controls.hpp"

namespace ui {

// What of an item's text the style decides (instead of the item's own settings).
enum class TStyledSetting : std::uint8_t { Family, Size, Style, FontColor, Other };

using TStyledSettings = TSet<TStyledSetting>;

// One item of a list box; it is drawn by the list box, not by the form.
class TListBoxItem final : public TTextControl {
 public:
  explicit TListBoxItem(std::u16string iName);
  // By default the style decides everything.
  TStyledSettings StyledSettings{TStyledSetting::Family, TStyledSetting::Size, TStyledSetting::Style,
                                 TStyledSetting::FontColor, TStyledSetting::Other};
  [[nodiscard]] bool CanFocus() const noexcept override { return false; }
  // The size the item is drawn with, in DIP: the style's while it decides the size.
  [[nodiscard]] float EffectiveFontSize() const noexcept override;
  // The item's font at iScale, made again when its size or the scale changed.
  [[nodiscard]] HFONT ItemFont(float iScale) { return FontAt(iScale); }
};

class TListBox final : public TNativeControl {
 public:
  using TNativeControl::TNativeControl;
  // An item was chosen by a click (or by the owner, for Enter); its index.
  std::function<void(int Index)> OnPick;

  void Attach(IControlHost& iHost) override;
  void PlaceNative(const TRect& iPixels) override;
  void DrawItem(const DRAWITEMSTRUCT& iItem) override;
  HBRUSH ControlColor(HDC iDC) override;
  void ApplyStyle() override {}
  // The list never takes the focus: the control that opened it keeps it.
  [[nodiscard]] bool CanFocus() const noexcept override { return false; }

  TListBoxItem& AddItem(const std::u16string& iText);
  [[nodiscard]] int Count() const noexcept { return static_cast<int>(Children().size()); }
  // The item at iIndex, or null.
  [[nodiscard]] TListBoxItem* ListItems(int iIndex) const noexcept;

  // Item height in DIP.
  [[nodiscard]] float ItemHeight() const noexcept { return itemHeight_; }
  void SetItemHeight(float iHeight);
  // The highlighted item, -1 for none.
  [[nodiscard]] int ItemIndex() const noexcept;
  void SetItemIndex(int iIndex);
  // Moves the highlight by iDelta items, within the list.
  void MoveIndex(int iDelta);

 protected:
  LRESULT SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) override;
  void ShowText() override {}

 private:
  void ApplyItemHeight();
  [[nodiscard]] int ItemAt(LPARAM iPoint) const noexcept;

  float itemHeight_ = 19;
  int itemIndex_ = -1;
  TUniqueGdiObject brush_;
};

}  // namespace ui
