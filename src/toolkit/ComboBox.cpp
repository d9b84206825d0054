#include "toolkit/ComboBox.hpp"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "rtl/Text.hpp"

namespace ui {

TComboBox::~TComboBox() {
  // The list goes first: it calls back into this box while it closes.
  if (popup_) popup_->OnClosedByToolkit = nullptr;
  popup_.reset();
}

void TComboBox::Attach(IControlHost& iHost) {
  TControl::Attach(iHost);
  CreateNative(L"BUTTON", BS_OWNERDRAW | WS_TABSTOP);
}

void TComboBox::ShowText() {
  // The window text is the chosen item, so that it reads as the box shows it.
  if (!NativeWnd()) return;
  const std::u16string shown = itemIndex_ >= 0 ? items_[static_cast<std::size_t>(itemIndex_)] : u"";
  settingText_ = true;
  SetWindowTextW(NativeWnd(), rtl::WStr(shown));
  settingText_ = false;
  InvalidateRect(NativeWnd(), nullptr, TRUE);
}

void TComboBox::AddItem(const std::u16string& iItem) {
  items_.push_back(iItem);
  if (DroppedDown() && list_) list_->AddItem(iItem);
}

void TComboBox::SetItemIndex(int iIndex) {
  if (iIndex < -1 || iIndex >= static_cast<int>(items_.size())) iIndex = -1;
  if (list_ && DroppedDown()) list_->SetItemIndex(iIndex);
  if (itemIndex_ == iIndex) return;
  itemIndex_ = iIndex;
  ShowText();
  if (OnChange) OnChange(this);
}

int TComboBox::IndexOf(std::u16string_view iText) const noexcept {
  const auto it = std::find(items_.begin(), items_.end(), iText);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TComboBox::Command(WORD iCode) {
  if (iCode == BN_CLICKED) DropDown(!DroppedDown());
}

bool TComboBox::DroppedDown() const noexcept { return popup_ && popup_->Visible(); }

void TComboBox::MakePopup() {
  auto* owner = dynamic_cast<TCommonCustomForm*>(Host());
  if (!owner || !NativeWnd()) return;
  // A new popup for each opening: the list shows the items as they are now.
  if (popup_) popup_->OnClosedByToolkit = nullptr;
  list_ = nullptr;
  popup_.reset();
  popup_ = MakeForm<TCustomPopupForm>(*owner, NativeWnd());
  auto content = std::make_unique<TPopup>(u"");
  content->Layout.Align = TAlignLayout::Client;
  auto list = std::make_unique<TListBox>(u"");
  list->Layout.Align = TAlignLayout::Client;
  list->SetItemHeight(ItemHeight);
  for (const std::u16string& item : items_) list->AddItem(item);
  list->OnPick = [this](int index) { Pick(index); };
  list_ = list.get();
  content->AddChild(std::move(list));
  popup_->AddObject(std::move(content));
  popup_->OnClosedByToolkit = [this] {
    if (NativeWnd()) InvalidateRect(NativeWnd(), nullptr, TRUE);
  };
}

void TComboBox::DropDown(bool iShow) {
  if (iShow == DroppedDown()) return;
  if (!iShow) {
    popup_->Close();
    return;
  }
  if (!Enabled() || !Showing() || items_.empty()) return;
  MakePopup();
  if (!popup_ || !list_) return;
  list_->SetItemIndex(itemIndex_);
  const int shown = std::clamp(static_cast<int>(items_.size()), 1, std::max(DropDownCount, 1));
  popup_->Popup(static_cast<float>(shown) * list_->ItemHeight());
  list_->SetItemIndex(itemIndex_);
  if (NativeWnd()) InvalidateRect(NativeWnd(), nullptr, TRUE);
}

void TComboBox::Pick(int iIndex) {
  DropDown(false);
  SetItemIndex(iIndex);
}

bool TComboBox::OpenKey(UINT iMsg, WPARAM iKey) const noexcept {
  return (iMsg == WM_KEYDOWN && iKey == VK_F4) || (iMsg == WM_SYSKEYDOWN && (iKey == VK_DOWN || iKey == VK_UP));
}

bool TComboBox::ListKey(WPARAM iKey) {
  // Keys while the list is open.
  switch (iKey) {
    case VK_UP: list_->MoveIndex(-1); return true;
    case VK_DOWN: list_->MoveIndex(1); return true;
    case VK_PRIOR: list_->MoveIndex(-std::max(DropDownCount - 1, 1)); return true;
    case VK_NEXT: list_->MoveIndex(std::max(DropDownCount - 1, 1)); return true;
    case VK_HOME: list_->SetItemIndex(0); return true;
    case VK_END: list_->SetItemIndex(list_->Count() - 1); return true;
    case VK_RETURN: {
      const int index = list_->ItemIndex();
      if (index >= 0) {
        Pick(index);
      } else {
        DropDown(false);
      }
      return true;
    }
    case VK_ESCAPE: DropDown(false); return true;
    default: return false;
  }
}

LRESULT TComboBox::SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  switch (iMsg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (OpenKey(iMsg, iWParam)) {
        DropDown(!DroppedDown());
        return 0;
      }
      if (iMsg == WM_KEYDOWN && DroppedDown() && list_ && ListKey(iWParam)) return 0;
      if (iMsg == WM_KEYDOWN && !DroppedDown() && (iWParam == VK_UP || iWParam == VK_DOWN)) {
        // Closed, the arrows step through the items.
        const int last = static_cast<int>(items_.size()) - 1;
        if (last >= 0) SetItemIndex(std::clamp(itemIndex_ + (iWParam == VK_DOWN ? 1 : -1), 0, last));
        return 0;
      }
      if (iMsg == WM_KEYDOWN && iWParam == VK_TAB) DropDown(false);
      break;
    case WM_CHAR:
    case WM_SYSCHAR:
      // Handled on key down: the button would only beep.
      if (iWParam == L'\r' || iWParam == 27) return 0;
      break;
    case WM_KILLFOCUS:
      DropDown(false);
      break;
    case WM_MOUSEWHEEL:
      if (DroppedDown() && list_ && list_->NativeWnd()) {
        return SendMessageW(list_->NativeWnd(), iMsg, iWParam, iLParam);
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_BUTTON;
    default:
      break;
  }
  return TNativeControl::SubclassProc(iWnd, iMsg, iWParam, iLParam);
}

void TComboBox::DrawItem(const DRAWITEMSTRUCT& iItem) {
  const TStyle& style = Style();
  const float opacity = AbsoluteOpacity() * (Enabled() ? 1.0f : 0.6f);
  const bool open = DroppedDown();
  const TColorRef face = BlendColor(open ? style.FaceHot : style.EditBack, style.Background, opacity);
  TUniqueGdiObject brush(CreateSolidBrush(face));
  TUniqueGdiObject pen(CreatePen(PS_SOLID, 1, BlendColor(style.Border, style.Background, opacity)));
  const HDC dc = iItem.hDC;
  const RECT& r = iItem.rcItem;
  const HGDIOBJ oldBrush = SelectObject(dc, brush.get());
  const HGDIOBJ oldPen = SelectObject(dc, pen.get());
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  const float scale = Host() ? Host()->HostScale() : 1.0f;
  // The arrow: a small triangle at the right end.
  const int h = r.bottom - r.top;
  const int cx = r.right - static_cast<int>(std::lround(10 * scale));
  const int cy = r.top + h / 2;
  const int a = std::max(2, static_cast<int>(std::lround(3 * scale)));
  TUniqueGdiObject arrow(CreateSolidBrush(BlendColor(style.Text, style.Background, opacity)));
  SelectObject(dc, arrow.get());
  SelectObject(dc, GetStockObject(NULL_PEN));
  const POINT triangle[3] = {{cx - a, cy - a / 2}, {cx + a + 1, cy - a / 2}, {cx, cy + a / 2 + 1}};
  Polygon(dc, triangle, 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  const HGDIOBJ oldFont = SelectObject(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TextColor(style.Background));
  RECT text = r;
  text.left += static_cast<LONG>(std::lround(6 * scale));
  text.right = cx - a - static_cast<LONG>(std::lround(4 * scale));
  if (itemIndex_ >= 0) {
    const std::u16string& shown = items_[static_cast<std::size_t>(itemIndex_)];
    DrawTextW(dc, rtl::WStr(shown), static_cast<int>(shown.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (iItem.itemState & ODS_FOCUS) {
    RECT focus = r;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(dc, &focus);
  }
  SelectObject(dc, oldFont);
}

}  // namespace ui
