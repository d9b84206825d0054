#include "toolkit/Controls.hpp"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "rtl/Text.hpp"
#include "toolkit/ComboBox.hpp"
#include "toolkit/Lang.hpp"

namespace ui {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr const wchar_t* kPaintBoxClass = L"TFMPaintBox";
// The corner ellipse of a round rectangle, in pixels; a glow's outline widens it.
constexpr int kCornerEllipse = 10;

[[nodiscard]] std::u16string WindowText(HWND wnd) {
  const int length = GetWindowTextLengthW(wnd);
  std::u16string text(static_cast<std::size_t>(std::max(length, 0)) + 1, u'\0');
  const int got = GetWindowTextW(wnd, rtl::WBuf(text), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

[[nodiscard]] UINT DrawFlags(TTextAlign align) {
  switch (align) {
    case TTextAlign::Center: return DT_CENTER;
    case TTextAlign::Trailing: return DT_RIGHT;
    case TTextAlign::Leading: break;
  }
  return DT_LEFT;
}

}  // namespace

TColorRef BlendColor(TColorRef iColor, TColorRef iBackground, float iOpacity) noexcept {
  const float a = std::clamp(iOpacity, 0.0f, 1.0f);
  const auto channel = [&](int shift) {
    const float c = static_cast<float>((iColor >> shift) & 0xFF);
    const float b = static_cast<float>((iBackground >> shift) & 0xFF);
    return static_cast<TColorRef>(std::lround(b + (c - b) * a)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

TColorRef ToColorRef(TAlphaColor iColor) noexcept {
  return ((iColor >> 16) & 0xFF) | (iColor & 0xFF00) | ((iColor & 0xFF) << 16);
}

// ---- TControl ----

TControl::~TControl() = default;

TControl& TControl::AddChild(std::unique_ptr<TControl> iChild) {
  iChild->parent_ = this;
  children_.push_back(std::move(iChild));
  return *children_.back();
}

TControl* TControl::FindControl(std::u16string_view iName) noexcept {
  if (Name == iName) return this;
  for (const auto& child : children_) {
    if (TControl* found = child->FindControl(iName)) return found;
  }
  return nullptr;
}

void TControl::SetVisible(bool iVisible) {
  if (Layout.Visible == iVisible) return;
  Layout.Visible = iVisible;
  StateChanged();
  for (const auto& child : children_) child->StateChanged();
  Changed(true);
}

bool TControl::Showing() const noexcept {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->Layout.Visible) return false;
  }
  return true;
}

void TControl::SetEnabled(bool iEnabled) {
  if (enabled_ == iEnabled) return;
  enabled_ = iEnabled;
  StateChanged();
  Changed();
}

void TControl::SetOpacity(float iOpacity) {
  iOpacity = std::clamp(iOpacity, 0.0f, 1.0f);
  if (opacity_ == iOpacity) return;
  opacity_ = iOpacity;
  StateChanged();
  Changed();
}

float TControl::AbsoluteOpacity() const noexcept {
  float opacity = 1.0f;
  for (const TControl* c = this; c; c = c->parent_) opacity *= c->opacity_;
  return opacity;
}

void TControl::SetAlign(TAlignLayout iAlign) {
  Layout.Align = iAlign;
  Changed(true);
}

void TControl::SetFocus() {
  if (host_) {
    host_->FocusControl(*this);
  } else if (const HWND wnd = NativeWnd(); wnd && IsWindowEnabled(wnd) && IsWindowVisible(wnd)) {
    ::SetFocus(wnd);
  }
}

bool TControl::IsFocused() const noexcept {
  const HWND wnd = NativeWnd();
  return wnd && GetFocus() == wnd;
}

void TControl::Changed(bool iRealign) {
  if (host_) host_->ControlChanged(*this, iRealign);
}

const TStyle& TControl::Style() const noexcept {
  const TStyleBook& book = host_ ? host_->HostStyleBook() : TStyleBook::Jet();
  return StyleLookup.empty() ? book.Default() : book.Lookup(StyleLookup);
}

void TControl::Load(const TResObject& iObject) {
  Layout = ReadLayoutItem(iObject);
  Padding = ReadBounds(iObject, "Padding").value_or(TBounds{});
  if (auto v = ReadNumber(iObject, "TabOrder")) TabOrder = static_cast<int>(*v);
  TabStop = ReadBool(iObject, "TabStop").value_or(CanFocus());
  HitTest = ReadBool(iObject, "HitTest").value_or(true);
  enabled_ = ReadBool(iObject, "Enabled").value_or(true);
  opacity_ = static_cast<float>(ReadNumber(iObject, "Opacity").value_or(1.0));
  StyleLookup = ReadString(iObject, "StyleLookup").value_or(u"");
}

// ---- TTextControl ----

void TTextControl::SetText(const std::u16string& iText) {
  text_ = iText;
  shown_ = iText;
  Changed();
}

void TTextControl::ApplyStyle() {
  shown_ = TranslateCaption(text_);
  Changed();
}

void TTextControl::Load(const TResObject& iObject) {
  TControl::Load(iObject);
  text_ = ReadString(iObject, "Text").value_or(u"");
  shown_ = text_;
  FontColor = ReadColor(iObject, "FontColor").value_or(0);
  FontSize = static_cast<float>(ReadNumber(iObject, "FontSize").value_or(0));
  FontFamily = ReadString(iObject, "FontFamily").value_or(u"");
  const std::u16string align = ReadWord(iObject, "TextAlign").value_or(u"Leading");
  TextAlign = align == u"Center" ? TTextAlign::Center : align == u"Trailing" ? TTextAlign::Trailing
                                                                               : TTextAlign::Leading;
}

float TTextControl::EffectiveFontSize() const noexcept { return FontSize > 0 ? FontSize : Style().FontSize; }

HFONT TTextControl::Font() { return FontAt(Host() ? Host()->HostScale() : 1.0f); }

HFONT TTextControl::FontAt(float iScale) {
  // Made again when the size or the scale changed since the last time.
  const float pixels = EffectiveFontSize() * iScale;
  if (!font_ || fontPixels_ != pixels) {
    const std::u16string family = FontFamily.empty() ? Style().FontFamily : FontFamily;
    // Sizes are in DIP, like the toolkit's point-free font sizes: pixels at 96 DPI.
    font_.reset(CreateFontW(-static_cast<int>(std::lround(pixels)), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                            DEFAULT_PITCH, rtl::WStr(family)));
    fontPixels_ = pixels;
  }
  return static_cast<HFONT>(font_.get());
}

TColorRef TTextControl::TextColor(TColorRef iBackground) const noexcept {
  const TColorRef color = FontColor ? ToColorRef(FontColor) : Style().Text;
  return BlendColor(color, iBackground, AbsoluteOpacity());
}

// ---- TLabel, TLine, TImage ----

void TLabel::Load(const TResObject& iObject) {
  TTextControl::Load(iObject);
  WordWrap = ReadBool(iObject, "WordWrap").value_or(false);
  AutoSize = ReadBool(iObject, "AutoSize").value_or(false);
}

UINT TLabel::TextFlags() const noexcept {
  return DrawFlags(TextAlign) | DT_NOPREFIX | (WordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

void TLabel::Paint(HDC iDC, const TRect& iPixels, const TStyle& iStyle) {
  RECT rect{iPixels.Left, iPixels.Top, iPixels.Right, iPixels.Bottom};
  const TSelectObject font(iDC, Font());
  SetBkMode(iDC, TRANSPARENT);
  TColorRef back = iStyle.Background;
  if (const auto* rect_ = dynamic_cast<const TRoundRect*>(Parent())) back = ToColorRef(rect_->Fill);
  SetTextColor(iDC, TextColor(back));
  const std::u16string& shown = ShownText();
  const int length = static_cast<int>(shown.size());
  UINT flags = TextFlags();
  // One line wider than the label is drawn whole, beyond its edges, rather than cut.
  if (!WordWrap) flags |= DT_NOCLIP;
  if (TextAlign == TTextAlign::Center && !WordWrap) flags |= DT_VCENTER;
  if (TextAlign == TTextAlign::Center && WordWrap) {
    // DT_VCENTER centres single lines only: wrapped text is measured and moved down.
    RECT measured = rect;
    DrawTextW(iDC, rtl::WStr(shown), length, &measured, flags | DT_CALCRECT);
    const int spare = (rect.bottom - rect.top) - (measured.bottom - measured.top);
    if (spare > 0) rect.top += spare / 2;
  }
  DrawTextW(iDC, rtl::WStr(shown), length, &rect, flags);
}

void TLabel::ApplyStyle() {
  TTextControl::ApplyStyle();
  FitToText();
}

void TLabel::SetText(const std::u16string& iText) {
  TTextControl::SetText(iText);
  FitToText();
}

TSizeF TLabel::MeasureText() {
  const float scale = Host() ? Host()->HostScale() : 1.0f;
  // The host window's DC, or the screen's before the label has a form.
  const TWindowDC dc(Host() ? Host()->HostWnd() : nullptr);
  if (!dc.get()) return Layout.Size;
  const TSelectObject font(dc.get(), Font());
  const float padX = Padding.Left + Padding.Right;
  const float padY = Padding.Top + Padding.Bottom;
  RECT rect{0, 0, WordWrap ? static_cast<LONG>(std::lround((Layout.Size.Width - padX) * scale)) : 0, 0};
  // An empty caption is still one line high.
  const std::u16string shown = ShownText().empty() ? u" " : ShownText();
  DrawTextW(dc.get(), rtl::WStr(shown), static_cast<int>(shown.size()), &rect, TextFlags() | DT_CALCRECT);
  // Pixels back to DIP, rounded up; the small allowance keeps 36 / 1.5 at 24.
  const auto dip = [scale](LONG pixels) { return std::ceil(static_cast<float>(pixels) / scale - 0.001f); };
  return {dip(rect.right - rect.left) + padX, dip(rect.bottom - rect.top) + padY};
}

void TLabel::FitToText() {
  if (!AutoSize) return;
  const TSizeF measured = MeasureText();
  TSizeF size = Layout.Size;
  size.Height = measured.Height;
  // Only a free label takes the text's width: Top, Client and the like set it, and a
  // wrapped caption wraps within the width it has.
  const bool freeWidth = Layout.Align == TAlignLayout::None || Layout.Align == TAlignLayout::Center;
  if (freeWidth && !WordWrap) size.Width = measured.Width;
  if (size == Layout.Size) return;
  Layout.Size = size;
  Changed(true);
}

void TImage::SetBitmap(std::string_view iName) {
  picture_.reset();
  if (const std::optional<TBitmap> bitmap = LoadImageResource(iName)) {
    picture_.emplace(*bitmap);
    if (!picture_->Valid()) picture_.reset();
  }
  Changed();
}

void TImage::Load(const TResObject& iObject) {
  TControl::Load(iObject);
  SetBitmap(rtl::Utf16ToUtf8(ReadWord(iObject, "Bitmap").value_or(u"")));
}

void TImage::Paint(HDC iDC, const TRect& iPixels, const TStyle& iStyle) {
  (void)iStyle;
  if (picture_) picture_->Draw(iDC, iPixels, AbsoluteOpacity());
}

void TLine::Paint(HDC iDC, const TRect& iPixels, const TStyle& iStyle) {
  const float scale = Host() ? Host()->HostScale() : 1.0f;
  const int width = std::max(1, static_cast<int>(std::lround(scale)));
  TUniqueGdiObject pen(CreatePen(PS_SOLID, width, BlendColor(ToColorRef(Stroke), iStyle.Background, AbsoluteOpacity())));
  const HGDIOBJ old = SelectObject(iDC, pen.get());
  // Drawn along the top edge.
  MoveToEx(iDC, iPixels.Left, iPixels.Top, nullptr);
  LineTo(iDC, iPixels.Right, iPixels.Top);
  SelectObject(iDC, old);
}

void TLine::Load(const TResObject& iObject) {
  TControl::Load(iObject);
  Stroke = ReadColor(iObject, "Stroke").value_or(Stroke);
}

// ---- TNativeControl ----

TNativeControl::~TNativeControl() {
  if (wnd_) RemoveWindowSubclass(wnd_.get(), SubclassThunk, kSubclassId);
}

void TNativeControl::CreateNative(const wchar_t* iClass, DWORD iStyle, DWORD iExStyle) {
  const HWND parent = Host() ? Host()->HostWnd() : nullptr;
  if (!parent) return;
  DWORD style = iStyle | WS_CHILD | WS_CLIPSIBLINGS;
  if (Showing()) style |= WS_VISIBLE;
  if (!Enabled()) style |= WS_DISABLED;
  wnd_.reset(CreateWindowExW(iExStyle, iClass, L"", style, 0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr),
                             nullptr));
  if (!wnd_) return;
  SetWindowSubclass(wnd_.get(), SubclassThunk, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SendMessageW(wnd_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  ShowText();
}

void TNativeControl::PlaceNative(const TRect& iPixels) {
  if (!wnd_) return;
  SendMessageW(wnd_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  SetWindowPos(wnd_.get(), nullptr, iPixels.Left, iPixels.Top, iPixels.Right - iPixels.Left,
               iPixels.Bottom - iPixels.Top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TNativeControl::SetText(const std::u16string& iText) {
  TTextControl::SetText(iText);
  ShowText();
}

void TNativeControl::ShowText() {
  if (!wnd_) return;
  settingText_ = true;
  SetWindowTextW(wnd_.get(), rtl::WStr(ShownText()));
  settingText_ = false;
}

void TNativeControl::StateChanged() {
  if (!wnd_) return;
  EnableWindow(wnd_.get(), Enabled());
  ShowWindow(wnd_.get(), Showing() ? SW_SHOWNA : SW_HIDE);
  InvalidateRect(wnd_.get(), nullptr, TRUE);
}

LRESULT TNativeControl::SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  switch (iMsg) {
    case WM_KEYDOWN:
      if (iWParam == VK_TAB && Host()) {
        Host()->FocusNext(*this, GetKeyState(VK_SHIFT) < 0);
        return 0;
      }
      if (iWParam == VK_ESCAPE && Host()) {
        Host()->CancelPressed();
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (Host()) Host()->ControlGotFocus(*this);
      break;
    case WM_NCHITTEST:
      // A control that ignores the mouse lets clicks through to what lies beneath.
      if (!HitTest) return HTTRANSPARENT;
      break;
    case WM_CHAR:
      // Handled on key down; the edit would only beep.
      if (iWParam == L'\t' || iWParam == 27) return 0;
      break;
    default:
      break;
  }
  return DefSubclassProc(iWnd, iMsg, iWParam, iLParam);
}

LRESULT CALLBACK TNativeControl::SubclassThunk(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
  auto* control = reinterpret_cast<TNativeControl*>(data);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(wnd, SubclassThunk, kSubclassId);
    // Only this window: a control that made its window again already holds the new one.
    if (control->wnd_.get() == wnd) (void)control->wnd_.release();
    return DefSubclassProc(wnd, msg, wParam, lParam);
  }
  return control->SubclassProc(wnd, msg, wParam, lParam);
}

// ---- TButton ----

void TButton::Attach(IControlHost& iHost) {
  TControl::Attach(iHost);
  CreateNative(L"BUTTON", BS_OWNERDRAW | WS_TABSTOP);
}

void TButton::Load(const TResObject& iObject) {
  TTextControl::Load(iObject);
  Cancel = ReadBool(iObject, "Cancel").value_or(false);
}

void TButton::Command(WORD iCode) {
  if (iCode == BN_CLICKED) Click();
}

void TButton::Click() {
  if (!Enabled() || !Showing()) return;
  if (OnClick) OnClick(this);
}

LRESULT TButton::SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  // Enter on a focused button clicks it, as Space does.
  if (iMsg == WM_KEYDOWN && iWParam == VK_RETURN) {
    Click();
    return 0;
  }
  if (iMsg == WM_CHAR && iWParam == L'\r') return 0;
  return TNativeControl::SubclassProc(iWnd, iMsg, iWParam, iLParam);
}

void TButton::DrawItem(const DRAWITEMSTRUCT& iItem) {
  const TStyle& style = Style();
  // A disabled button is drawn faded as well, whatever its own opacity.
  const float opacity = AbsoluteOpacity() * (Enabled() ? 1.0f : 0.6f);
  const bool pressed = (iItem.itemState & ODS_SELECTED) != 0;
  const TColorRef face = BlendColor(pressed ? style.FaceHot : style.Face, style.Background, opacity);
  TUniqueGdiObject brush(CreateSolidBrush(face));
  TUniqueGdiObject pen(CreatePen(PS_SOLID, 1, BlendColor(style.Border, style.Background, opacity)));
  const HDC dc = iItem.hDC;
  const HGDIOBJ oldBrush = SelectObject(dc, brush.get());
  const HGDIOBJ oldPen = SelectObject(dc, pen.get());
  const RECT& r = iItem.rcItem;
  RoundRect(dc, r.left, r.top, r.right, r.bottom, 6, 6);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  const HGDIOBJ oldFont = SelectObject(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  const TColorRef color = FontColor ? ToColorRef(FontColor) : style.Text;
  SetTextColor(dc, BlendColor(color, style.Background, opacity));
  RECT text = r;
  const std::u16string& shown = ShownText();
  DrawTextW(dc, rtl::WStr(shown), static_cast<int>(shown.size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (iItem.itemState & ODS_FOCUS) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
  SelectObject(dc, oldFont);
}

// ---- TEdit ----

void TEdit::Attach(IControlHost& iHost) {
  TControl::Attach(iHost);
  CreateNative(L"EDIT", EditStyle() | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

void TEdit::ShowText() {
  // The edit shows the text as it is: a user's text is never translated.
  if (!NativeWnd()) return;
  settingText_ = true;
  SetWindowTextW(NativeWnd(), rtl::WStr(Text()));
  settingText_ = false;
}

int TEdit::SelStart() const noexcept {
  DWORD start = 0;
  if (NativeWnd()) SendMessageW(NativeWnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void TEdit::SetSelStart(int iPosition) {
  if (!NativeWnd()) return;
  const int length = GetWindowTextLengthW(NativeWnd());
  const int at = std::clamp(iPosition, 0, length);
  SendMessageW(NativeWnd(), EM_SETSEL, static_cast<WPARAM>(at), static_cast<LPARAM>(at));
}

LRESULT TEdit::SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  switch (iMsg) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO: {
      ++userChange_;
      const LRESULT result = TNativeControl::SubclassProc(iWnd, iMsg, iWParam, iLParam);
      --userChange_;
      return result;
    }
    default:
      return TNativeControl::SubclassProc(iWnd, iMsg, iWParam, iLParam);
  }
}

void TEdit::Command(WORD iCode) {
  if (iCode == EN_CHANGE && !settingText_) TextChangedInWindow();
}

void TEdit::TextChangedInWindow() {
  const bool byUser = userChange_ > 0;
  std::u16string proposed = WindowText(NativeWnd());
  if (OnValidating) {
    const std::u16string before = proposed;
    const int caret = SelStart();
    OnValidating(this, proposed);
    if (proposed != before) {
      // The caret keeps its index, as far as the new text reaches.
      settingText_ = true;
      SetWindowTextW(NativeWnd(), rtl::WStr(proposed));
      settingText_ = false;
      SetSelStart(caret);
    }
  }
  TTextControl::SetText(proposed);
  if (byUser && OnTyping) OnTyping(this);
  if (OnChange) OnChange(this);
}

HBRUSH TEdit::ControlColor(HDC iDC) {
  const TStyle& style = Style();
  const float opacity = AbsoluteOpacity();
  const TColorRef back = BlendColor(style.EditBack, style.Background, opacity);
  // Made again when the opacity (enabled state) or the style changed the colour.
  if (!brush_ || brushColor_ != back) {
    brush_.reset(CreateSolidBrush(back));
    brushColor_ = back;
  }
  SetBkColor(iDC, back);
  SetTextColor(iDC, TextColor(back));
  return static_cast<HBRUSH>(brush_.get());
}

// ---- TMemo ----

DWORD TMemo::EditStyle() const noexcept {
  DWORD style = ES_MULTILINE | ES_AUTOVSCROLL;
  if (ReadOnly) style |= ES_READONLY;
  if (!WordWrap) style |= ES_AUTOHSCROLL;
  return style;
}

void TMemo::Load(const TResObject& iObject) {
  TEdit::Load(iObject);
  ReadOnly = ReadBool(iObject, "ReadOnly").value_or(false);
  WordWrap = ReadBool(iObject, "WordWrap").value_or(false);
}

void TMemo::Attach(IControlHost& iHost) {
  TControl::Attach(iHost);
  CreateNative(L"EDIT", EditStyle(), WS_EX_CLIENTEDGE);
}

void TMemo::SetWordWrap(bool iWordWrap) {
  // An edit's wrapping is fixed at creation (ES_AUTOHSCROLL), so the window is made again.
  if (WordWrap == iWordWrap) return;
  WordWrap = iWordWrap;
  if (Host() && NativeWnd()) {
    Attach(*Host());
    Changed(true);
  }
}

// ---- TCheckBox ----

void TCheckBox::Attach(IControlHost& iHost) {
  TControl::Attach(iHost);
  CreateNative(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP);
  if (NativeWnd()) SendMessageW(NativeWnd(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::Load(const TResObject& iObject) {
  TTextControl::Load(iObject);
  checked_ = ReadBool(iObject, "IsChecked").value_or(false);
}

void TCheckBox::SetIsChecked(bool iChecked) {
  if (NativeWnd()) SendMessageW(NativeWnd(), BM_SETCHECK, iChecked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (checked_ == iChecked) return;
  checked_ = iChecked;
  if (OnChange) OnChange(this);
}

void TCheckBox::Command(WORD iCode) {
  if (iCode != BN_CLICKED || !NativeWnd()) return;
  SetIsChecked(SendMessageW(NativeWnd(), BM_GETCHECK, 0, 0) == BST_CHECKED);
}

HBRUSH TCheckBox::ControlColor(HDC iDC) {
  const TStyle& style = Style();
  if (!brush_) brush_.reset(CreateSolidBrush(style.Background));
  SetBkColor(iDC, style.Background);
  SetTextColor(iDC, TextColor(style.Background));
  return static_cast<HBRUSH>(brush_.get());
}

// ---- TRoundRect ----

TRoundRect::~TRoundRect() = default;

void TRoundRect::Load(const TResObject& iObject) {
  TControl::Load(iObject);
  Fill = ReadColor(iObject, "Fill").value_or(Fill);
  // The effect is no control of its own: the rectangle keeps it and draws it.
  Glow = FindGlowEffect(iObject);
}

int TRoundRect::GlowPixels() const noexcept {
  if (!Glow) return 0;
  const float scale = Host() ? Host()->HostScale() : 1.0f;
  return static_cast<int>(std::lround(Glow->Extent() * scale));
}

void TRoundRect::Attach(IControlHost& iHost) {
  TControl::Attach(iHost);
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kPaintBoxClass;
    return RegisterClassExW(&wc);
  }();
  if (!atom) return;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Showing() && Opacity() > 0) style |= WS_VISIBLE;
  wnd_.reset(CreateWindowExW(HitTest ? 0 : WS_EX_TRANSPARENT, kPaintBoxClass, L"", style, 0, 0, 0, 0, iHost.HostWnd(),
                             nullptr, GetModuleHandleW(nullptr), this));
  // Over every sibling: the overlay is drawn last.
  if (wnd_) SetWindowPos(wnd_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TRoundRect::PlaceNative(const TRect& iPixels) {
  if (!wnd_) return;
  const int glow = GlowPixels();
  const int width = iPixels.Right - iPixels.Left + 2 * glow;
  const int height = iPixels.Bottom - iPixels.Top + 2 * glow;
  SetWindowPos(wnd_.get(), HWND_TOP, iPixels.Left - glow, iPixels.Top - glow, width, height, SWP_NOACTIVATE);
  Shape(width, height);
  InvalidateRect(wnd_.get(), nullptr, TRUE);
}

void TRoundRect::Shape(int iWidth, int iHeight) {
  const int glow = GlowPixels();
  if (glow == 0) {
    if (shaped_) SetWindowRgn(wnd_.get(), nullptr, TRUE);
    shaped_ = false;
    return;
  }
  const int corner = kCornerEllipse + 2 * glow;
  TUniqueGdiObject region(CreateRoundRectRgn(0, 0, iWidth + 1, iHeight + 1, corner, corner));
  // The window owns the region once it took it.
  if (region && SetWindowRgn(wnd_.get(), static_cast<HRGN>(region.get()), TRUE)) {
    (void)region.release();
    shaped_ = true;
  }
}

void TRoundRect::StateChanged() {
  if (!wnd_) return;
  // Fully transparent: nothing to draw, and nothing in the way.
  ShowWindow(wnd_.get(), Showing() && AbsoluteOpacity() > 0 ? SW_SHOWNA : SW_HIDE);
  InvalidateRect(wnd_.get(), nullptr, TRUE);
}

void TRoundRect::PaintGlow(HDC iDC, const RECT& iShape, TColorRef iBackground) {
  const int glow = GlowPixels();
  if (glow == 0) return;
  const TColorRef color = ToColorRef(Glow->GlowColor);
  const float opacity = AbsoluteOpacity();
  const TSelectObject pen(iDC, GetStockObject(NULL_PEN));
  // Rings from the outside in, each drawn at the strength of its middle; GDI has no
  // alpha on a child window, so each ring is the glow over the background.
  for (int ring = glow; ring >= 1; --ring) {
    const float distance = (static_cast<float>(ring) - 0.5f) / static_cast<float>(glow) * Glow->Extent();
    const float strength = Glow->StrengthAt(distance) * opacity;
    TUniqueGdiObject brush(CreateSolidBrush(BlendColor(color, iBackground, strength)));
    const TSelectObject selected(iDC, brush.get());
    RoundRect(iDC, iShape.left - ring, iShape.top - ring, iShape.right + ring + 1, iShape.bottom + ring + 1,
              kCornerEllipse + 2 * ring, kCornerEllipse + 2 * ring);
  }
}

void TRoundRect::PaintSelf(HDC iDC) {
  RECT client{};
  GetClientRect(wnd_.get(), &client);
  const TStyle& style = Style();
  const TColorRef fill = BlendColor(ToColorRef(Fill), style.Background, AbsoluteOpacity());
  TUniqueGdiObject back(CreateSolidBrush(style.Background));
  FillRect(iDC, &client, static_cast<HBRUSH>(back.get()));
  // The rectangle itself lies inside the glow's band.
  const int glow = GlowPixels();
  RECT shape = client;
  InflateRect(&shape, -glow, -glow);
  PaintGlow(iDC, shape, style.Background);
  {
    TUniqueGdiObject brush(CreateSolidBrush(fill));
    const TSelectObject selectedBrush(iDC, brush.get());
    const TSelectObject selectedPen(iDC, GetStockObject(NULL_PEN));
    RoundRect(iDC, shape.left, shape.top, shape.right + 1, shape.bottom + 1, kCornerEllipse, kCornerEllipse);
  }
  const float scale = Host() ? Host()->HostScale() : 1.0f;
  for (const auto& child : Children()) {
    if (!child->Showing()) continue;
    const TRectF& r = child->ClientRect();
    const TRectF local{r.Left - ClientRect().Left, r.Top - ClientRect().Top, r.Right - ClientRect().Left,
                       r.Bottom - ClientRect().Top};
    TRect pixels = ScaleToPixels(local, scale);
    pixels = {pixels.Left + glow, pixels.Top + glow, pixels.Right + glow, pixels.Bottom + glow};
    child->Paint(iDC, pixels, style);
  }
}

LRESULT CALLBACK TRoundRect::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(wnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<TRoundRect*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCHITTEST:
      // Clicks pass through to the window beneath when the overlay ignores the mouse.
      if (self && !self->HitTest) return HTTRANSPARENT;
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PRINTCLIENT:
      if (self) {
        self->PaintSelf(reinterpret_cast<HDC>(wParam));
        return 0;
      }
      break;
    case WM_PAINT:
      if (self) {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(wnd, &ps);
        self->PaintSelf(dc);
        EndPaint(wnd, &ps);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
      if (self && self->wnd_.get() == wnd) (void)self->wnd_.release();
      break;
    default:
      break;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// ---- factory ----

std::unique_ptr<TControl> CreateControl(const TResObject& iObject) {
  const std::string& cls = iObject.ClassName;
  std::unique_ptr<TControl> control;
  if (cls == "TLayout") control = std::make_unique<TLayout>(iObject.Name);
  else if (cls == "TLabel") control = std::make_unique<TLabel>(iObject.Name);
  else if (cls == "TLine") control = std::make_unique<TLine>(iObject.Name);
  else if (cls == "TImage") control = std::make_unique<TImage>(iObject.Name);
  else if (cls == "TButton") control = std::make_unique<TButton>(iObject.Name);
  else if (cls == "TEdit") control = std::make_unique<TEdit>(iObject.Name);
  else if (cls == "TMemo") control = std::make_unique<TMemo>(iObject.Name);
  else if (cls == "TCheckBox") control = std::make_unique<TCheckBox>(iObject.Name);
  else if (cls == "TComboBox") control = std::make_unique<TComboBox>(iObject.Name);
  else if (cls == "TRoundRect") control = std::make_unique<TRoundRect>(iObject.Name);
  if (control) control->Load(iObject);
  return control;
}

}  // namespace ui
