// The generator window under Wine: a real window, real keyboard and mouse messages, the
// real clipboard.
#include "generator/uCreateBIPForm.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <utility>

#include "../win/EventLoop.hpp"
#include "rates/uCoinMarketCap.hpp"
#include "rtl/Text.hpp"
#include "toolkit/ClipboardService.hpp"
#include "toolkit/FormLoader.hpp"
#include "toolkit/Lang.hpp"
#include "toolkit/PlatformServices.hpp"
#include "toolkit/Screen.hpp"
#include "toolkit/Thread.hpp"

namespace {

using namespace std::chrono_literals;
using uCreateBIPForm::TfrmCreateBIP;

using testsupport::PumpUntil;
using testsupport::Settle;

std::u16string WindowText(HWND wnd) {
  wchar_t buffer[2048] = {};
  GetWindowTextW(wnd, buffer, 2048);
  return rtl::FromW(buffer);
}

class GeneratorWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application().Initialize(); }

  void SetUp() override {
    form_ = ui::MakeForm<TfrmCreateBIP>();
    form_->SetStyleBook(&ui::TStyleBook::Jet());
    form_->Show();
    ASSERT_TRUE(PumpUntil([&] { return form_->Visible(); }));
    Settle();
  }
  void TearDown() override {
    form_.reset();
    Settle();
  }

  // Types as the keyboard does: a key that the layout has is pressed and released, and
  // the event loop's TranslateMessage makes the character; any other character arrives
  // as WM_CHAR alone, as from an input method.
  void Type(ui::TEdit& edit, std::u16string_view text) {
    SetFocus(edit.NativeWnd());
    Settle();
    ASSERT_EQ(GetFocus(), edit.NativeWnd());
    for (const char16_t c : text) {
      const SHORT key = VkKeyScanW(static_cast<wchar_t>(c));
      const bool plainKey = key != -1 && HIBYTE(key) == 0;
      if (plainKey) {
        const UINT vk = LOBYTE(key);
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(edit.NativeWnd(), WM_KEYDOWN, vk, scan | 1);
        PostMessageW(edit.NativeWnd(), WM_KEYUP, vk, scan | 0xC0000001);
      } else {
        PostMessageW(edit.NativeWnd(), WM_CHAR, c, 1);
      }
      Settle();
    }
  }
  void Clear(ui::TEdit& edit) {
    SendMessageW(edit.NativeWnd(), EM_SETSEL, 0, -1);
    SendMessageW(edit.NativeWnd(), WM_KEYDOWN, VK_DELETE, 1);
    SendMessageW(edit.NativeWnd(), WM_KEYUP, VK_DELETE, 0xC0000001);
    Settle();
  }
  // A click with the mouse's messages at the control's centre.
  void Click(const ui::TControl& control) {
    RECT r{};
    GetClientRect(control.NativeWnd(), &r);
    const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    SendMessageW(control.NativeWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control.NativeWnd(), WM_LBUTTONUP, 0, at);
    Settle();
  }

  ui::TFormPtr<TfrmCreateBIP> form_;
};

TEST_F(GeneratorWindow, OpensEmptyWithTheCurrencyControlsOff) {
  TfrmCreateBIP& f = *form_;
  EXPECT_TRUE(f.WiringProblems().empty()) << f.WiringProblems().front();
  EXPECT_EQ(WindowText(ui::FormToHWND(&f)), u"BIP21 URI Generator");
  EXPECT_FALSE(f.chbxORV21.IsChecked());
  for (const ui::TControl* c : std::initializer_list<const ui::TControl*>{&f.edtAmountExt, &f.cmbbxAmountType,
                                                                          &f.lblAmountExt, &f.lblAmountType}) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(c->Name));
    EXPECT_FALSE(c->Enabled());
    EXPECT_FLOAT_EQ(c->Opacity(), 0.5f);
    if (c->NativeWnd()) {
      EXPECT_FALSE(IsWindowEnabled(c->NativeWnd()));
    }
  }
  EXPECT_FALSE(IsWindowEnabled(f.btnGenerate.NativeWnd()));
  EXPECT_FALSE(IsWindowEnabled(f.btnCopy.NativeWnd()));
  EXPECT_EQ(WindowText(f.memoResult.NativeWnd()), u"");
  EXPECT_FALSE(f.rectCopied.Visible());
  EXPECT_FALSE(IsWindowVisible(f.rectCopied.NativeWnd()));
  EXPECT_EQ(GetFocus(), f.edtAddress.NativeWnd());
  // The memo wraps words: its window has no horizontal auto-scroll.
  EXPECT_FALSE(GetWindowLongPtrW(f.memoResult.NativeWnd(), GWL_STYLE) & ES_AUTOHSCROLL);
}

TEST_F(GeneratorWindow, TypedAmountsAreFilteredAndTheCaretStaysBehindTheTypedCharacter) {
  struct Row {
    std::u16string typed, text;
    int caret;
  };
  const Row rows[] = {
      {u".", u"0.", 2},     {u"1.2.3", u"1.23", 4}, {u"1,5", u"15", 2}, {u"-3", u"3", 1},
      {u"\uFF11", u"", 0},  {u"abc", u"", 0},       {u"..5", u"0.5", 3},
  };
  for (ui::TEdit* edit : {&form_->edtAmount, &form_->edtAmountExt}) {
    if (edit == &form_->edtAmountExt) Click(form_->chbxORV21);
    for (const Row& row : rows) {
      SCOPED_TRACE(rtl::Utf16ToUtf8(edit->Name + u": " + row.typed));
      Clear(*edit);
      Type(*edit, row.typed);
      EXPECT_EQ(WindowText(edit->NativeWnd()), row.text);
      EXPECT_EQ(edit->Text(), row.text);
      EXPECT_EQ(edit->SelStart(), row.caret);
    }
  }
}

TEST_F(GeneratorWindow, PastedLettersLeaveTheAmountEmpty) {
  ASSERT_TRUE(ui::TPlatformServices::Current().GetPlatformService(ui::IFMXClipboardService::IID()));
  auto clipboard = std::dynamic_pointer_cast<ui::IFMXClipboardService>(
      ui::TPlatformServices::Current().GetPlatformService(ui::IFMXClipboardService::IID()));
  ASSERT_TRUE(clipboard->SetClipboard(u"abc"));
  SetFocus(form_->edtAmount.NativeWnd());
  SendMessageW(form_->edtAmount.NativeWnd(), WM_PASTE, 0, 0);
  Settle();
  EXPECT_EQ(WindowText(form_->edtAmount.NativeWnd()), u"");
}

TEST_F(GeneratorWindow, GenerateIsEnabledByAddressAndAmountOrTheCurrencyAmount) {
  TfrmCreateBIP& f = *form_;
  Type(f.edtAddress, u"a");
  EXPECT_FALSE(IsWindowEnabled(f.btnGenerate.NativeWnd()));
  Click(f.chbxORV21);
  EXPECT_TRUE(f.chbxORV21.IsChecked());
  EXPECT_TRUE(IsWindowEnabled(f.edtAmountExt.NativeWnd()));
  EXPECT_FLOAT_EQ(f.edtAmountExt.Opacity(), 1.0f);
  EXPECT_FALSE(IsWindowEnabled(f.btnGenerate.NativeWnd()));
  Type(f.edtAmountExt, u"5");
  EXPECT_TRUE(IsWindowEnabled(f.btnGenerate.NativeWnd()));
  Click(f.chbxORV21);
  EXPECT_FALSE(IsWindowEnabled(f.btnGenerate.NativeWnd()));
  Type(f.edtAmount, u"1");
  EXPECT_TRUE(IsWindowEnabled(f.btnGenerate.NativeWnd()));
}

TEST_F(GeneratorWindow, GenerateWritesTheURIAndLeavesOutTheCurrencyWithoutORV21) {
  TfrmCreateBIP& f = *form_;
  Type(f.edtAddress, u"ORVaddr1");
  Type(f.edtAmount, u"1.5");
  Type(f.edtLabel, u"My Shop");
  Type(f.edtMessage, u"Order 7");
  Click(f.chbxORV21);
  Type(f.edtAmountExt, u"1000");
  Click(f.chbxORV21);  // off again: the typed currency amount must not be passed on
  Click(f.btnGenerate);
  EXPECT_EQ(WindowText(f.memoResult.NativeWnd()), u"orvella:ORVaddr1?amount=1.5&label=My%20Shop&message=Order%207");
  EXPECT_TRUE(IsWindowEnabled(f.btnCopy.NativeWnd()));
  Click(f.chbxORV21);
  Click(f.btnGenerate);
  EXPECT_EQ(WindowText(f.memoResult.NativeWnd()),
            u"orvella:ORVaddr1?amount=1.5&amountExt=1000&amountType=JPY&label=My%20Shop&message=Order%207");
}

TEST_F(GeneratorWindow, CopyPutsTheURIOnTheClipboardAndRestartsTheFade) {
  TfrmCreateBIP& f = *form_;
  Type(f.edtAddress, u"ORVaddr1");
  Type(f.edtAmount, u"2");
  Click(f.btnGenerate);
  Click(f.btnCopy);
  auto clipboard = std::dynamic_pointer_cast<ui::IFMXClipboardService>(
      ui::TPlatformServices::Current().GetPlatformService(ui::IFMXClipboardService::IID()));
  ASSERT_TRUE(clipboard);
  EXPECT_EQ(clipboard->GetClipboard(), u"orvella:ORVaddr1?amount=2");
  EXPECT_TRUE(f.rectCopied.Visible());
  EXPECT_TRUE(f.animOpacity.Running());
  ASSERT_TRUE(PumpUntil([&] { return f.rectCopied.Opacity() < 0.8f; }));
  Click(f.btnCopy);
  EXPECT_GT(f.rectCopied.Opacity(), 0.8f) << "a second copy starts the fade again from full opacity";
  ASSERT_TRUE(PumpUntil([&] { return !f.animOpacity.Running(); }));
  EXPECT_FLOAT_EQ(f.rectCopied.Opacity(), 0.0f);
  EXPECT_TRUE(f.rectCopied.Visible());
  // Faded out, the overlay is in nobody's way; while showing it lets clicks through.
  EXPECT_FALSE(IsWindowVisible(f.rectCopied.NativeWnd()));
  Click(f.btnCopy);
  EXPECT_EQ(SendMessageW(f.rectCopied.NativeWnd(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

// A key pressed and released as the keyboard sends it, through the event loop.
void PressKey(HWND wnd, UINT vk, bool alt = false) {
  const LPARAM altBit = alt ? (1 << 29) : 0;
  PostMessageW(wnd, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | altBit);
  PostMessageW(wnd, alt ? WM_SYSKEYUP : WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001) | altBit);
  Settle();
}

TEST_F(GeneratorWindow, TheCurrencyListOpensInAPopupUnderTheBoxWithTheThirtySixCodesAndJPYSelected) {
  TfrmCreateBIP& f = *form_;
  Click(f.chbxORV21);
  const HWND combo = f.cmbbxAmountType.NativeWnd();
  Click(f.cmbbxAmountType);
  ASSERT_TRUE(f.cmbbxAmountType.DroppedDown());
  ui::TCustomPopupForm* popup = f.cmbbxAmountType.PopupForm();
  ui::TListBox* list = f.cmbbxAmountType.ListBox();
  ASSERT_NE(popup, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(popup->FormStyle(), ui::TFormStyle::Popup);
  EXPECT_EQ(ui::Screen().PopupForms(), std::vector<ui::TCommonCustomForm*>{popup});
  // The popup holds a TPopup with the list, which has every code as an item.
  ASSERT_EQ(popup->Children().size(), 1u);
  EXPECT_NE(dynamic_cast<ui::TPopup*>(popup->Children()[0].get()), nullptr);
  ASSERT_EQ(list->Count(), 36);
  const HWND listWnd = list->NativeWnd();
  EXPECT_EQ(SendMessageW(listWnd, LB_GETCOUNT, 0, 0), 36);
  ASSERT_EQ(list->ItemIndex(), 15);
  EXPECT_EQ(SendMessageW(listWnd, LB_GETCURSEL, 0, 0), 15);
  EXPECT_EQ(list->ListItems(15)->Text(), u"JPY");
  // Under the box and as wide as it; twelve items show, the rest scroll.
  RECT box{}, shown{}, client{};
  GetWindowRect(combo, &box);
  const HWND popupWnd = ui::FormToHWND(popup);
  GetWindowRect(popupWnd, &shown);
  GetClientRect(popupWnd, &client);
  EXPECT_EQ(shown.left, box.left);
  EXPECT_TRUE(shown.top == box.bottom || shown.bottom == box.top);
  EXPECT_EQ(client.right - client.left, box.right - box.left);
  EXPECT_EQ(client.bottom, 12 * 19);
  EXPECT_TRUE(IsWindowVisible(popupWnd));
  // The window keeps the activation and the box the focus.
  EXPECT_EQ(GetActiveWindow(), ui::FormToHWND(form_.get()));
  EXPECT_EQ(GetFocus(), combo);
  // A second click on the box closes the list.
  Click(f.cmbbxAmountType);
  EXPECT_FALSE(f.cmbbxAmountType.DroppedDown());
  EXPECT_FALSE(IsWindowVisible(popupWnd));
  EXPECT_TRUE(ui::Screen().PopupForms().empty());
}

TEST_F(GeneratorWindow, TheCurrencyListAnswersTheKeyboard) {
  TfrmCreateBIP& f = *form_;
  ui::TComboBox& box = f.cmbbxAmountType;
  Click(f.chbxORV21);
  const HWND combo = box.NativeWnd();
  SetFocus(combo);
  Settle();
  // Closed, the arrows step through the codes.
  PressKey(combo, VK_DOWN);
  EXPECT_EQ(box.ItemIndex(), 16);
  EXPECT_FALSE(box.DroppedDown());
  // Alt+Down opens; the arrows move the highlight only; Enter chooses it.
  PressKey(combo, VK_DOWN, true);
  ASSERT_TRUE(box.DroppedDown());
  PressKey(combo, VK_DOWN);
  PressKey(combo, VK_DOWN);
  EXPECT_EQ(box.ListBox()->ItemIndex(), 18);
  EXPECT_EQ(box.ItemIndex(), 16);
  PressKey(combo, VK_RETURN);
  EXPECT_FALSE(box.DroppedDown());
  EXPECT_EQ(box.ItemIndex(), 18);
  EXPECT_EQ(WindowText(combo), std::u16string(uCoinMarketCap::CMC_CURRENCIES[18]));
  // F4 opens; Esc closes the list and nothing else: the window stays, the choice too.
  PressKey(combo, VK_F4);
  ASSERT_TRUE(box.DroppedDown());
  PressKey(combo, VK_UP);
  PressKey(combo, VK_ESCAPE);
  EXPECT_FALSE(box.DroppedDown());
  EXPECT_TRUE(form_->Visible());
  EXPECT_EQ(box.ItemIndex(), 18);
  // Tab closes the list and moves on.
  PressKey(combo, VK_F4);
  PressKey(combo, VK_TAB);
  EXPECT_FALSE(box.DroppedDown());
  EXPECT_NE(GetFocus(), combo);
}

TEST_F(GeneratorWindow, TheCurrencyListClosesOnAChoiceAClickElsewhereOrADeactivation) {
  TfrmCreateBIP& f = *form_;
  ui::TComboBox& box = f.cmbbxAmountType;
  Click(f.chbxORV21);
  const HWND combo = box.NativeWnd();
  // A click on an item chooses it without taking the focus from the box.
  Click(box);
  ASSERT_TRUE(box.DroppedDown());
  const HWND list = box.ListBox()->NativeWnd();
  // An item in sight: the list has scrolled to show the choice.
  const int pick = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)) + 2;
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(pick), reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  Settle();
  EXPECT_FALSE(box.DroppedDown());
  EXPECT_EQ(box.ItemIndex(), pick);
  EXPECT_EQ(GetFocus(), combo);
  // A click anywhere else in the window closes it and changes nothing.
  Click(box);
  ASSERT_TRUE(box.DroppedDown());
  PostMessageW(f.edtAddress.NativeWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(f.edtAddress.NativeWnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  Settle();
  EXPECT_FALSE(box.DroppedDown());
  EXPECT_EQ(box.ItemIndex(), pick);
  // Another program taking the activation closes it too.
  Click(box);
  ASSERT_TRUE(box.DroppedDown());
  SendMessageW(ui::FormToHWND(form_.get()), WM_ACTIVATE, WA_INACTIVE, 0);
  Settle();
  EXPECT_FALSE(box.DroppedDown());
  // Each opening shows the present choice.
  Click(box);
  ASSERT_TRUE(box.DroppedDown());
  EXPECT_EQ(box.ListBox()->ItemIndex(), pick);
}

// What a listener to window creation sees of the currency list's popup: it can take over
// the popup's events before it shows, the show animation ticks, and the window it opens
// from ignores deactivation while the popup appears.
TEST_F(GeneratorWindow, TheCurrencyPopupCanBeTakenOverWhenItsWindowIsMade) {
  TfrmCreateBIP& f = *form_;
  Click(f.chbxORV21);
  int ticks = 0;
  bool ownerIgnoredDeactivation = false;
  ui::TCustomPopupForm* seen = nullptr;
  ui::TMessageManager& manager = ui::TMessageManager::DefaultManager();
  const int id = manager.SubscribeToMessage<ui::TAfterCreateFormHandle>(
      [&](ui::TObject*, const ui::TMessageBase& m) {
        auto* popup = dynamic_cast<ui::TCustomPopupForm*>(static_cast<const ui::TAfterCreateFormHandle&>(m).Value());
        if (!popup) return;
        seen = popup;
        popup->OnShow = [&, popup](ui::TObject*) {
          const auto* owner = ui::WindowHandleToPlatform(popup->Owner().Handle());
          ownerIgnoredDeactivation = owner && owner->DisableDeactivate();
        };
        popup->OnAniTimer = [&](ui::TObject*) { ++ticks; };
      });
  Click(f.cmbbxAmountType);
  ASSERT_TRUE(PumpUntil([&] { return seen && !seen->Animating(); }));
  manager.Unsubscribe<ui::TAfterCreateFormHandle>(id);
  EXPECT_EQ(seen, f.cmbbxAmountType.PopupForm());
  EXPECT_TRUE(ownerIgnoredDeactivation);
  EXPECT_FALSE(ui::WindowHandleToPlatform(form_->Handle())->DisableDeactivate());
  EXPECT_GE(ticks, 1);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(ui::FormToHWND(seen), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 255) << "the popup ends fully opaque";
  // An item whose size the style no longer decides is drawn at its own size.
  ui::TListBoxItem& item = *f.cmbbxAmountType.ListBox()->ListItems(0);
  item.FontSize = 24;
  const auto height = [&](float scale) {
    LOGFONTW font{};
    GetObjectW(item.ItemFont(scale), sizeof(font), &font);
    return std::abs(font.lfHeight);
  };
  EXPECT_EQ(height(1.0f), 12) << "the style decides the size by default";
  item.StyledSettings.Exclude(ui::TStyledSetting::Size);
  EXPECT_EQ(height(1.0f), 24);
  EXPECT_EQ(height(1.5f), 36);
}

TEST_F(GeneratorWindow, TheCaretStepOfAClosedWindowTouchesNothing) {
  SetFocus(form_->edtAmount.NativeWnd());
  // The text changes and the window goes before the queued step can run.
  PostMessageW(form_->edtAmount.NativeWnd(), WM_CHAR, u'.', 1);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_TRUE(ui::TThread::HasQueued());
  form_.reset();
  Settle();
  EXPECT_FALSE(ui::TThread::HasQueued());
}

TEST_F(GeneratorWindow, TabFollowsTheTabOrderAndSkipsDisabledControls) {
  TfrmCreateBIP& f = *form_;
  const auto pressTab = [](bool shift) {
    const HWND from = GetFocus();
    if (shift) {
      BYTE keys[256] = {};
      GetKeyboardState(keys);
      keys[VK_SHIFT] = 0x80;
      SetKeyboardState(keys);
    }
    PostMessageW(from, WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(from, WM_KEYUP, VK_TAB, 0xC0000001);
    Settle();
    if (shift) {
      BYTE keys[256] = {};
      GetKeyboardState(keys);
      keys[VK_SHIFT] = 0;
      SetKeyboardState(keys);
    }
  };
  ASSERT_EQ(GetFocus(), f.edtAddress.NativeWnd());
  // ORV21 off: the currency amount and the list are disabled and skipped; so are Copy
  // and Generate, which are disabled too. The result memo can be read by keyboard.
  const ui::TControl* forwards[] = {&f.edtAmount, &f.edtLabel,   &f.edtMessage, &f.chbxORV21,
                                    &f.memoResult, &f.btnExit, &f.edtAddress};
  for (const ui::TControl* next : forwards) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(next->Name));
    pressTab(false);
    EXPECT_EQ(GetFocus(), next->NativeWnd());
  }
  pressTab(true);
  EXPECT_EQ(GetFocus(), f.btnExit.NativeWnd());
  // Typing a Tab into an edit moves on and leaves no character behind.
  Type(f.edtAddress, u"a");
  EXPECT_EQ(WindowText(f.edtAddress.NativeWnd()), u"a");
  Type(f.edtAmount, u"1");
  pressTab(false);
  EXPECT_EQ(WindowText(f.edtAmount.NativeWnd()), u"1");
}

TEST_F(GeneratorWindow, EnterOnAFocusedButtonClicksIt) {
  TfrmCreateBIP& f = *form_;
  Type(f.edtAddress, u"addr");
  Type(f.edtAmount, u"3");
  SetFocus(f.btnGenerate.NativeWnd());
  Settle();
  ASSERT_EQ(GetFocus(), f.btnGenerate.NativeWnd());
  PostMessageW(f.btnGenerate.NativeWnd(), WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(f.btnGenerate.NativeWnd(), WM_KEYUP, VK_RETURN, 0xC0000001);
  Settle();
  EXPECT_EQ(WindowText(f.memoResult.NativeWnd()), u"orvella:addr?amount=3");
}

TEST_F(GeneratorWindow, ADisabledButtonIsDrawnFaded) {
  TfrmCreateBIP& f = *form_;
  // The same look in both states but for the fade: compare a pixel of the face.
  const auto facePixel = [](const ui::TControl& c) {
    RedrawWindow(c.NativeWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const HDC dc = GetDC(c.NativeWnd());
    const COLORREF pixel = GetPixel(dc, 4, 4);
    ReleaseDC(c.NativeWnd(), dc);
    return pixel;
  };
  const COLORREF enabled = facePixel(f.btnExit);
  const COLORREF disabled = facePixel(f.btnCopy);
  ASSERT_NE(enabled, CLR_INVALID);
  const COLORREF background = ui::TStyleBook::Jet().Default().Background;
  const auto distance = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
  };
  EXPECT_LT(distance(disabled, background), distance(enabled, background));
}

// A layout built by a form that registers none of its handlers: every event it names is
// reported, and the window still opens (wiring runs inside window creation).
TEST(DesignedForm, ReportsEventsWithoutAHandler) {
  ui::Application().Initialize();
  class TBare final : public ui::TDesignedForm {
   public:
    TBare() : TDesignedForm("uCreateBIPForm") {}
  };
  auto form = ui::MakeForm<TBare>();
  EXPECT_NE(ui::FormToHWND(form.get()), nullptr);
  const auto& problems = form->WiringProblems();
  EXPECT_NE(std::find(problems.begin(), problems.end(), "no handler registered for edtAmountValidating"),
            problems.end());
  EXPECT_NE(std::find(problems.begin(), problems.end(), "no handler registered for btnCopyClick"), problems.end());
  EXPECT_THROW((void)form->Control<ui::TButton>(u"btnNoSuch"), std::logic_error);
  EXPECT_THROW((void)form->Control<ui::TEdit>(u"btnCopy"), std::logic_error) << "a control of another class";
}

// Made at a forced scale, the window, its controls and their fonts grow by it; the layout
// in DIP stays that of the window at scale 1.
TEST(GeneratorAtScale, WindowControlsAndFontsFollowAForcedScale) {
  ui::Application().Initialize();
  struct TResetScale {
    ~TResetScale() { ui::TWinWindowHandle::ResetForcedScale(); }
  } reset;
  constexpr float kScale = 1.5f;
  auto plain = ui::MakeForm<TfrmCreateBIP>();
  ui::TWinWindowHandle::SetForcedScale(kScale);
  auto scaled = ui::MakeForm<TfrmCreateBIP>();
  for (TfrmCreateBIP* f : {plain.get(), scaled.get()}) f->SetStyleBook(&ui::TStyleBook::Jet());

  const auto px = [](float v) { return static_cast<int>(std::lround(v * kScale)); };
  RECT client{};
  GetClientRect(ui::FormToHWND(scaled.get()), &client);
  EXPECT_EQ(client.right, px(static_cast<float>(plain->ClientWidth())));
  EXPECT_EQ(client.bottom, px(static_cast<float>(plain->ClientHeight())));
  EXPECT_EQ(scaled->ClientWidth(), plain->ClientWidth());
  EXPECT_EQ(scaled->ClientHeight(), plain->ClientHeight());

  const auto fontHeight = [](HWND wnd) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0));
    return handle && GetObjectW(handle, sizeof(font), &font) ? std::abs(font.lfHeight) : 0;
  };
  const std::pair<const ui::TControl*, const ui::TControl*> pairs[] = {
      {&plain->edtAddress, &scaled->edtAddress},
      {&plain->btnGenerate, &scaled->btnGenerate},
      {&plain->memoResult, &scaled->memoResult},
      {&plain->edtAmount, &scaled->edtAmount},
  };
  for (const auto& [one, big] : pairs) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(big->Name));
    EXPECT_EQ(big->ClientRect(), one->ClientRect()) << "the layout in DIP does not depend on the scale";
    const ui::TRectF& dip = big->ClientRect();
    RECT r{};
    GetWindowRect(big->NativeWnd(), &r);
    MapWindowPoints(nullptr, ui::FormToHWND(scaled.get()), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, px(dip.Left));
    EXPECT_EQ(r.top, px(dip.Top));
    EXPECT_EQ(r.right, px(dip.Right));
    EXPECT_EQ(r.bottom, px(dip.Bottom));
    const int plainFont = fontHeight(one->NativeWnd());
    ASSERT_GT(plainFont, 0);
    EXPECT_NEAR(fontHeight(big->NativeWnd()), plainFont * kScale, 1.0);
  }
}

// Run by ctest with LANG set (ORVELLA_EXPECT_LANG names the language): the table that the
// main window holds translates the captions when the window receives its style.
TEST(GeneratorCaptions, FollowTheUsersLanguage) {
  const char* expected = std::getenv("ORVELLA_EXPECT_LANG");
  if (!expected) GTEST_SKIP() << "run with ORVELLA_EXPECT_LANG";
  ui::Application().Initialize();
  const ui::TFormLoadResult main = ui::LoadFormResource("uMainGUI");
  ASSERT_TRUE(main.Root) << main.Error;
  const ui::TLang lang = ui::TLang::FromResource(*main.Root->FindObject(u"langJaEn"));
  const ui::TLangScope scope(lang, lang.ChooseLanguage());
  auto form = ui::MakeForm<TfrmCreateBIP>();
  form->SetStyleBook(&ui::TStyleBook::Jet());
  const bool ja = std::string(expected) == "ja";
  struct Row {
    const ui::TControl* control;
    std::u16string en, ja;
  };
  const Row rows[] = {
      {&form->btnGenerate, u"Generate", u"生成"},
      {&form->btnCopy, u"Copy", u"コピー"},
      {&form->btnExit, u"Close", u"閉じる"},
      {&form->chbxORV21, u"ORV21", u"ORV21"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(rtl::Utf16ToUtf8(row.control->Name));
    EXPECT_EQ(WindowText(row.control->NativeWnd()), ja ? row.ja : row.en);
  }
  EXPECT_EQ(form->Control<ui::TLabel>(u"lblCopied").ShownText(), ja ? u"コピーしました" : u"Copied");
  EXPECT_EQ(form->Control<ui::TLabel>(u"lblAmountType").ShownText(), ja ? u"送金に使う通貨" : u"AmountType (Optional)");
  EXPECT_EQ(WindowText(ui::FormToHWND(form.get())), u"BIP21 URI Generator");
}

// ShowSelf runs modally; a queued script finds the window and closes it as a user would.
class ShowSelf : public ::testing::TestWithParam<const char*> {
 protected:
  static void SetUpTestSuite() { ui::Application().Initialize(); }
};

TEST_P(ShowSelf, EscAndTheCloseBoxCloseAndFreeTheWindow) {
  const std::string how = GetParam();
  // Another window of the program, as the main window is when the user opens the generator.
  auto other = ui::MakeForm<ui::TForm>();
  other->Show();
  ASSERT_TRUE(PumpUntil([&] { return other->Visible(); }));
  const HWND otherWnd = ui::FormToHWND(other.get());
  bool otherTookInput = true;
  HWND seen = nullptr;
  bool focusedAddress = false;
  std::function<void()> script;
  int tries = 0;
  script = [&] {
    HWND wnd = FindWindowW(nullptr, L"BIP21 URI Generator");
    if (!wnd || !IsWindowVisible(wnd) || ++tries < 3) {
      if (tries < 500) ui::TThread::ForceQueue(nullptr, script);
      return;
    }
    seen = wnd;
    otherTookInput = IsWindowEnabled(otherWnd) != FALSE;
    const HWND focus = GetFocus();
    wchar_t cls[32] = {};
    GetClassNameW(focus, cls, 32);
    focusedAddress = IsChild(wnd, focus) && std::wstring(cls) == L"Edit";
    if (how == "esc") {
      PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
    } else {
      PostMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  };
  ui::TThread::ForceQueue(nullptr, script);
  TfrmCreateBIP::ShowSelf(&ui::TStyleBook::Jet());
  ASSERT_NE(seen, nullptr) << "the window never showed";
  EXPECT_TRUE(focusedAddress);
  EXPECT_FALSE(IsWindow(seen)) << "closing must free the window";
  EXPECT_FALSE(otherTookInput) << "while the generator is open the other windows take no input";
  EXPECT_TRUE(IsWindowEnabled(otherWnd)) << "and they take it again once it has closed";
  Settle();
}

INSTANTIATE_TEST_SUITE_P(Generator, ShowSelf, ::testing::Values("esc", "closebox"));

}  // namespace
