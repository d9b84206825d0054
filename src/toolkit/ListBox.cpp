#include "toolkit/ListBox.hpp"

#include <algorithm>
#include <cmath>

#include "rtl/Text.hpp"

namespace ui {

// ---- TListBoxItem ----

TListBoxItem::TListBoxItem(std::u16string iName) : TTextControl(std::move(iName)) {
  // The item's own size starts as the style's, so taking the size from the style or from
  // the item draws the same until someone changes it.
  FontSize = TStyle{}.FontSize;
}

float TListBoxItem::EffectiveFontSize() const noexcept {
  return StyledSettings.Contains(TStyledSetting::Size) || FontSize <= 0 ? Style().FontSize : FontSize;
}

// ---- TListBox ----

void TListBox::Attach(IControlHost& iHost) {
  TControl::Attach(iHost);
  CreateNative(L"LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL);
  if (!NativeWnd()) return;
  for (const auto& child : Children()) {
    if (const auto* item = dynamic_cast<const TListBoxItem*>(child.get())) {
      SendMessageW(NativeWnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rtl::WStr(item->Text())));
    }
  }
  ApplyItemHeight();
  SendMessageW(NativeWnd(), LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

TListBoxItem& TListBox::AddItem(const std::u16string& iText) {
  auto item = std::make_unique<TListBoxItem>(u"");
  item->SetText(iText);
  TControl& added = AddChild(std::move(item));
  if (Host()) added.Attach(*Host());
  if (NativeWnd()) SendMessageW(NativeWnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rtl::WStr(iText)));
  return static_cast<TListBoxItem&>(added);
}

TListBoxItem* TListBox::ListItems(int iIndex) const noexcept {
  if (iIndex < 0 || iIndex >= Count()) return nullptr;
  return dynamic_cast<TListBoxItem*>(Children()[static_cast<std::size_t>(iIndex)].get());
}

void TListBox::SetItemHeight(float iHeight) {
  itemHeight_ = std::max(iHeight, 1.0f);
  ApplyItemHeight();
}

void TListBox::ApplyItemHeight() {
  if (!NativeWnd()) return;
  const float scale = Host() ? Host()->HostScale() : 1.0f;
  const int pixels = std::clamp(static_cast<int>(std::lround(itemHeight_ * scale)), 1, 255);
  SendMessageW(NativeWnd(), LB_SETITEMHEIGHT, 0, MAKELPARAM(pixels, 0));
  InvalidateRect(NativeWnd(), nullptr, TRUE);
}

void TListBox::PlaceNative(const TRect& iPixels) {
  TNativeControl::PlaceNative(iPixels);
  // The scale or the items' fonts may have changed since the last placing.
  ApplyItemHeight();
}

int TListBox::ItemIndex() const noexcept { return itemIndex_; }

void TListBox::SetItemIndex(int iIndex) {
  itemIndex_ = iIndex >= 0 && iIndex < Count() ? iIndex : -1;
  if (NativeWnd()) SendMessageW(NativeWnd(), LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TListBox::MoveIndex(int iDelta) {
  if (Count() == 0) return;
  const int from = itemIndex_ < 0 ? (iDelta > 0 ? -1 : Count()) : itemIndex_;
  SetItemIndex(std::clamp(from + iDelta, 0, Count() - 1));
}

int TListBox::ItemAt(LPARAM iPoint) const noexcept {
  if (!NativeWnd()) return -1;
  const LRESULT hit = SendMessageW(NativeWnd(), LB_ITEMFROMPOINT, 0, iPoint);
  // The high word says the point lies outside every item.
  if (HIWORD(hit) != 0) return -1;
  const int index = static_cast<int>(LOWORD(hit));
  return index < Count() ? index : -1;
}

LRESULT TListBox::SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  switch (iMsg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Handled here: the list box's own handling would take the focus, and with it the
      // activation, from the window that opened the list.
      if (const int index = ItemAt(iLParam); index >= 0) SetItemIndex(index);
      return 0;
    case WM_LBUTTONUP:
      if (const int index = ItemAt(iLParam); index >= 0) {
        SetItemIndex(index);
        if (OnPick) OnPick(index);
      }
      return 0;
    case WM_MOUSEMOVE:
      // The item under the mouse is highlighted, as in any drop-down list.
      if (const int index = ItemAt(iLParam); index >= 0 && index != itemIndex_) SetItemIndex(index);
      return 0;
    default:
      return TNativeControl::SubclassProc(iWnd, iMsg, iWParam, iLParam);
  }
}

void TListBox::DrawItem(const DRAWITEMSTRUCT& iItem) {
  TListBoxItem* item = iItem.itemID == static_cast<UINT>(-1) ? nullptr : ListItems(static_cast<int>(iItem.itemID));
  if (!item) return;
  const TStyle& style = Style();
  const bool selected = (iItem.itemState & ODS_SELECTED) != 0;
  const TColorRef back = selected ? style.FaceHot : style.EditBack;
  TUniqueGdiObject brush(CreateSolidBrush(back));
  FillRect(iItem.hDC, &iItem.rcItem, static_cast<HBRUSH>(brush.get()));
  const float scale = Host() ? Host()->HostScale() : 1.0f;
  const HGDIOBJ old = SelectObject(iItem.hDC, item->ItemFont(scale));
  SetBkMode(iItem.hDC, TRANSPARENT);
  const TColorRef color = item->FontColor && !item->StyledSettings.Contains(TStyledSetting::FontColor)
                              ? ToColorRef(item->FontColor)
                              : style.Text;
  SetTextColor(iItem.hDC, color);
  RECT text = iItem.rcItem;
  text.left += static_cast<LONG>(std::lround(4 * scale));
  const std::u16string& shown = item->ShownText();
  DrawTextW(iItem.hDC, rtl::WStr(shown), static_cast<int>(shown.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(iItem.hDC, old);
}

HBRUSH TListBox::ControlColor(HDC iDC) {
  const TStyle& style = Style();
  if (!brush_) brush_.reset(CreateSolidBrush(style.EditBack));
  SetBkColor(iDC, style.EditBack);
  return static_cast<HBRUSH>(brush_.get());
}

}  // namespace ui
