#pragma once
// Controls over Win32. Layouts, labels and lines are windowless: the form paints them.
// Buttons, edits, memos, check boxes, combo boxes and the painted overlay rectangle are
// native child windows, so focus, typing and the caret are Windows' own. Every control
// keeps its place in DIP; its host form scales it by the window's DPI.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/BitmapPainter.hpp"
#include "toolkit/Classes.hpp"
#include "toolkit/Effects.hpp"
#include "toolkit/FormLoader.hpp"
#include "toolkit/Layout.hpp"
#include "toolkit/StyleBook.hpp"
#include "toolkit/UniqueHandle.hpp"

namespace ui {

class TControl;

// What a control needs of the form that holds it.
class IControlHost {
 public:
  virtual ~IControlHost() = default;
  [[nodiscard]] virtual HWND HostWnd() const noexcept = 0;
  [[nodiscard]] virtual float HostScale() const noexcept = 0;
  [[nodiscard]] virtual const TStyleBook& HostStyleBook() const noexcept = 0;
  // The control's look changed: repaint it (and re-place it when iRealign).
  virtual void ControlChanged(TControl& iControl, bool iRealign) = 0;
  // Tab: the next (or previous) tab stop after iFrom gets the focus.
  virtual void FocusNext(TControl& iFrom, bool iBackwards) = 0;
  // Esc: the cancel button is clicked.
  virtual void CancelPressed() = 0;
  // The control gets the focus now, or when the form is next activated.
  virtual void FocusControl(TControl& iControl) = 0;
  // The control's window took the focus (by a click, say): the form remembers it.
  virtual void ControlGotFocus(TControl& iControl) { (void)iControl; }
};

enum class TTextAlign { Leading, Center, Trailing };

// Blends a colour toward the background by opacity: GDI draws no alpha, so a faded
// control is drawn in the colour it would show over its background.
[[nodiscard]] TColorRef BlendColor(TColorRef iColor, TColorRef iBackground, float iOpacity) noexcept;
// 0xAARRGGBB (the layouts' colours) as GDI's 0x00BBGGRR.
[[nodiscard]] TColorRef ToColorRef(TAlphaColor iColor) noexcept;

class TControl : public TObject {
 public:
  explicit TControl(std::u16string iName) : Name(std::move(iName)) {}
  ~TControl() override;

  const std::u16string Name;
  TLayoutItem Layout;
  TBounds Padding;
  int TabOrder = -1;
  bool TabStop = false;
  bool HitTest = true;
  std::u16string StyleLookup;

  [[nodiscard]] TControl* Parent() const noexcept { return parent_; }
  [[nodiscard]] const std::vector<std::unique_ptr<TControl>>& Children() const noexcept { return children_; }
  TControl& AddChild(std::unique_ptr<TControl> iChild);
  // This control or a descendant of that name, or null.
  [[nodiscard]] TControl* FindControl(std::u16string_view iName) noexcept;

  [[nodiscard]] bool Visible() const noexcept { return Layout.Visible; }
  void SetVisible(bool iVisible);
  // Visible here and in every parent.
  [[nodiscard]] bool Showing() const noexcept;
  [[nodiscard]] bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool iEnabled);
  [[nodiscard]] float Opacity() const noexcept { return opacity_; }
  void SetOpacity(float iOpacity);
  // Opacity times that of every parent: how faded the control is drawn.
  [[nodiscard]] float AbsoluteOpacity() const noexcept;
  void SetAlign(TAlignLayout iAlign);

  // The control's rectangle in the client area of its form, in DIP (set by the form).
  [[nodiscard]] const TRectF& ClientRect() const noexcept { return clientRect_; }
  void SetClientRect(const TRectF& iRect) { clientRect_ = iRect; }

  // Native controls create their window here; windowless ones do nothing.
  virtual void Attach(IControlHost& iHost) { host_ = &iHost; }
  // The native window, if this control has one.
  [[nodiscard]] virtual HWND NativeWnd() const noexcept { return nullptr; }
  // Moves the native window to its pixels; windowless controls have nothing to move.
  virtual void PlaceNative(const TRect& iPixels) { (void)iPixels; }
  // Windowless controls draw themselves into the form's paint.
  virtual void Paint(HDC iDC, const TRect& iPixels, const TStyle& iStyle) {
    (void)iDC, (void)iPixels, (void)iStyle;
  }
  // The style is applied: captions are translated (text controls override it).
  virtual void ApplyStyle() {}
  // A WM_COMMAND notification or WM_DRAWITEM for this control's window.
  virtual void Command(WORD iCode) { (void)iCode; }
  virtual void DrawItem(const DRAWITEMSTRUCT& iItem) { (void)iItem; }
  // The colours of a native edit, check box or memo (WM_CTLCOLOR*); null: the default.
  virtual HBRUSH ControlColor(HDC iDC) { (void)iDC; return nullptr; }
  // Whether the control can take the keyboard focus at all (and is a tab stop unless
  // its layout says otherwise): the native controls can.
  [[nodiscard]] virtual bool CanFocus() const noexcept { return false; }
  void SetFocus();
  [[nodiscard]] bool IsFocused() const noexcept;

  // Reads the control's own properties from its layout object.
  virtual void Load(const TResObject& iObject);

  // For queued steps: expires with the control.
  [[nodiscard]] std::weak_ptr<TControl*> AliveToken() const noexcept { return alive_; }

 protected:
  [[nodiscard]] IControlHost* Host() const noexcept { return host_; }
  void Changed(bool iRealign = false);
  [[nodiscard]] const TStyle& Style() const noexcept;
  // Native controls follow their visibility and enabled state.
  virtual void StateChanged() {}

 private:
  TControl* parent_ = nullptr;
  std::vector<std::unique_ptr<TControl>> children_;
  IControlHost* host_ = nullptr;
  TRectF clientRect_;
  bool enabled_ = true;
  float opacity_ = 1.0f;
  std::shared_ptr<TControl*> alive_ = std::make_shared<TControl*>(this);
};

class TLayout final : public TControl {
 public:
  using TControl::TControl;
  [[nodiscard]] bool CanFocus() const noexcept override { return false; }
};

// A control with a caption that the translation table may change.
class TTextControl : public TControl {
 public:
  using TControl::TControl;
  [[nodiscard]] const std::u16string& Text() const noexcept { return text_; }
  virtual void SetText(const std::u16string& iText);
  // The caption as shown: translated when the style was applied, else as set.
  [[nodiscard]] const std::u16string& ShownText() const noexcept { return shown_; }
  void ApplyStyle() override;
  void Load(const TResObject& iObject) override;

  TAlphaColor FontColor = 0;  // 0: the style's
  float FontSize = 0;         // 0: the style's
  std::u16string FontFamily;
  TTextAlign TextAlign = TTextAlign::Leading;

  // The size the caption is drawn with, in DIP: the control's own, else the style's.
  [[nodiscard]] virtual float EffectiveFontSize() const noexcept;

 protected:
  // The font of the control at the form's scale (or at iScale), made when first needed.
  [[nodiscard]] HFONT Font();
  [[nodiscard]] HFONT FontAt(float iScale);
  [[nodiscard]] TColorRef TextColor(TColorRef iBackground) const noexcept;

 private:
  std::u16string text_;
  std::u16string shown_;
  TUniqueGdiObject font_;
  float fontPixels_ = 0;
};

// WordWrap breaks the caption into lines at word ends; otherwise it is one line. With
// AutoSize the label's height follows its caption, and so does its width unless its
// alignment sets the width or the caption wraps within it.
class TLabel final : public TTextControl {
 public:
  using TTextControl::TTextControl;
  bool WordWrap = false;
  bool AutoSize = false;
  [[nodiscard]] bool CanFocus() const noexcept override { return false; }
  void Paint(HDC iDC, const TRect& iPixels, const TStyle& iStyle) override;
  void Load(const TResObject& iObject) override;
  void ApplyStyle() override;
  void SetText(const std::u16string& iText) override;
  // With AutoSize, measures the caption and takes its size (the form re-lays out).
  void FitToText();

 private:
  [[nodiscard]] UINT TextFlags() const noexcept;
  // The caption's size in the label's font, in DIP rounded up.
  [[nodiscard]] TSizeF MeasureText();
};

class TLine final : public TControl {
 public:
  using TControl::TControl;
  TAlphaColor Stroke = 0xFF808080;
  [[nodiscard]] bool CanFocus() const noexcept override { return false; }
  void Paint(HDC iDC, const TRect& iPixels, const TStyle& iStyle) override;
  void Load(const TResObject& iObject) override;
};

// A compiled-in picture (resources/<Bitmap>.bmp) stretched over the control, with its
// transparency; draws nothing when the picture is missing.
class TImage final : public TControl {
 public:
  using TControl::TControl;
  [[nodiscard]] bool CanFocus() const noexcept override { return false; }
  // Shows the picture of that name; an unknown name leaves the image empty.
  void SetBitmap(std::string_view iName);
  [[nodiscard]] bool HasBitmap() const noexcept { return picture_.has_value(); }
  void Paint(HDC iDC, const TRect& iPixels, const TStyle& iStyle) override;
  void Load(const TResObject& iObject) override;

 private:
  std::optional<TBitmapPainter> picture_;
};

// Base of the controls that are native child windows.
class TNativeControl : public TTextControl {
 public:
  using TTextControl::TTextControl;
  ~TNativeControl() override;
  [[nodiscard]] HWND NativeWnd() const noexcept override { return wnd_.get(); }
  [[nodiscard]] bool CanFocus() const noexcept override { return true; }
  void PlaceNative(const TRect& iPixels) override;
  void SetText(const std::u16string& iText) override;
  void ApplyStyle() override {
    TTextControl::ApplyStyle();
    ShowText();
  }

 protected:
  void CreateNative(const wchar_t* iClass, DWORD iStyle, DWORD iExStyle = 0);
  void StateChanged() override;
  // Keys of every native control: Tab moves the focus, Esc presses the cancel button.
  virtual LRESULT SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam);
  // The caption to put into the window (translated for text controls).
  virtual void ShowText();
  bool settingText_ = false;

 private:
  static LRESULT CALLBACK SubclassThunk(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  TUniqueWindow wnd_;
};

class TButton final : public TNativeControl {
 public:
  using TNativeControl::TNativeControl;
  bool Cancel = false;  // Esc clicks it
  TNotifyEvent OnClick;
  void Attach(IControlHost& iHost) override;
  void Command(WORD iCode) override;
  void DrawItem(const DRAWITEMSTRUCT& iItem) override;
  void Load(const TResObject& iObject) override;
  // Clicks the button as the user does, if it is enabled and showing.
  void Click();

 protected:
  LRESULT SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) override;
};

// OnValidating receives the text the edit is about to take and may change it; the edit
// takes what it leaves. OnTyping follows a change the user made, OnChange every change.
using TValidateTextEvent = std::function<void(TObject* Sender, std::u16string& Text)>;

class TEdit : public TNativeControl {
 public:
  using TNativeControl::TNativeControl;
  TNotifyEvent OnTyping;
  TValidateTextEvent OnValidating;
  TNotifyEvent OnChange;
  void Attach(IControlHost& iHost) override;
  void Command(WORD iCode) override;
  HBRUSH ControlColor(HDC iDC) override;
  [[nodiscard]] int SelStart() const noexcept;
  void SetSelStart(int iPosition);
  void ApplyStyle() override {}  // the user's text is never translated

 protected:
  LRESULT SubclassProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) override;
  void ShowText() override;
  virtual DWORD EditStyle() const noexcept { return ES_AUTOHSCROLL; }

 private:
  void TextChangedInWindow();
  TUniqueGdiObject brush_;
  TColorRef brushColor_ = 0;
  int userChange_ = 0;  // inside a message by which the user edits the text
};

class TMemo final : public TEdit {
 public:
  using TEdit::TEdit;
  bool ReadOnly = false;
  bool WordWrap = false;
  void SetWordWrap(bool iWordWrap);
  void Load(const TResObject& iObject) override;
  void Attach(IControlHost& iHost) override;

 protected:
  DWORD EditStyle() const noexcept override;
};

class TCheckBox final : public TNativeControl {
 public:
  using TNativeControl::TNativeControl;
  TNotifyEvent OnChange;
  [[nodiscard]] bool IsChecked() const noexcept { return checked_; }
  void SetIsChecked(bool iChecked);
  void Attach(IControlHost& iHost) override;
  void Command(WORD iCode) override;
  HBRUSH ControlColor(HDC iDC) override;
  void Load(const TResObject& iObject) override;

 private:
  bool checked_ = false;
  TUniqueGdiObject brush_;
};

// A filled rectangle with rounded corners in a child window of its own, so that it is
// drawn over the native controls; its child labels are drawn inside it. With HitTest off
// it lets every click through to what lies beneath. A glow (the layout's TGlowEffect)
// makes the window larger by the glow's extent on every side and rounds its outline.
class TRoundRect final : public TControl {
 public:
  using TControl::TControl;
  ~TRoundRect() override;
  TAlphaColor Fill = 0xFF000000;
  std::optional<TGlowEffect> Glow;
  [[nodiscard]] bool CanFocus() const noexcept override { return false; }
  [[nodiscard]] HWND NativeWnd() const noexcept override { return wnd_.get(); }
  // How far the window reaches beyond the rectangle on each side, in pixels.
  [[nodiscard]] int GlowPixels() const noexcept;
  void Attach(IControlHost& iHost) override;
  void PlaceNative(const TRect& iPixels) override;
  void Load(const TResObject& iObject) override;

 protected:
  void StateChanged() override;

 private:
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
  void PaintSelf(HDC iDC);
  void PaintGlow(HDC iDC, const RECT& iShape, TColorRef iBackground);
  // The window's outline: the glow's rounded edge, or the plain window without a glow.
  void Shape(int iWidth, int iHeight);
  TUniqueWindow wnd_;
  bool shaped_ = false;
};

// Makes the control of a layout object's class; null for components and unknown classes.
[[nodiscard]] std::unique_ptr<TControl> CreateControl(const TResObject& iObject);

}  // namespace ui
