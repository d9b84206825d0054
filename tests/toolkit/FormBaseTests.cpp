// The form base under Wine: window styles, activation, the screen's popups, the window
// handle's scale and bounds, and deferred layout, with real windows and real messages.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "../win/EventLoop.hpp"
#include "toolkit/Forms.hpp"
#include "toolkit/Screen.hpp"

namespace {

using namespace std::chrono_literals;
using TFormOwner = ui::TFormPtr<ui::TCommonCustomForm>;

using testsupport::PumpUntil;
using testsupport::Settle;

HWND Wnd(const ui::TCommonCustomForm& form) { return ui::FormToHWND(&form); }
ui::TWinWindowHandle& Platform(const ui::TCommonCustomForm& form) {
  return *ui::WindowHandleToPlatform(form.Handle());
}
DWORD Style(HWND wnd) { return static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)); }
DWORD ExStyle(HWND wnd) { return static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE)); }

// A child window's rectangle in its parent's client area, in pixels.
ui::TRect PlaceInParent(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

ui::TRect ClientPixels(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

int FontHeight(HWND wnd) {
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0));
  if (!handle || !GetObjectW(handle, sizeof(font), &font)) return 0;
  return std::abs(font.lfHeight);
}

// A popup from its first window on: the style is set before MakeForm creates the window.
class TPopupForm : public ui::TForm {
 public:
  TPopupForm() { SetFormStyle(ui::TFormStyle::Popup); }
};
class TTopForm : public ui::TForm {
 public:
  TTopForm() { SetFormStyle(ui::TFormStyle::StayOnTop); }
};

ui::TEdit& AddEdit(ui::TCommonCustomForm& form, const char16_t* name, ui::TRectF at) {
  auto edit = std::make_unique<ui::TEdit>(name);
  edit->Layout.Position = {at.Left, at.Top};
  edit->Layout.Size = {at.Width(), at.Height()};
  return static_cast<ui::TEdit&>(form.AddObject(std::move(edit)));
}

// What the form's events did, in order.
struct TEvents {
  std::vector<std::string> Log;
  void Watch(ui::TCommonCustomForm& form, const std::string& name) {
    form.OnActivate = [this, name](ui::TObject*) { Log.push_back(name + ".activate"); };
    form.OnDeactivate = [this, name](ui::TObject*) { Log.push_back(name + ".deactivate"); };
    form.OnHide = [this, name](ui::TObject*) { Log.push_back(name + ".hide"); };
  }
};

class FormBase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application().Initialize(); }
  void TearDown() override {
    ui::TWinWindowHandle::ResetForcedScale();
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) it->reset();
    forms_.clear();
    Settle();
    EXPECT_TRUE(ui::Screen().PopupForms().empty());
    EXPECT_EQ(ui::Screen().ActiveForm(), nullptr);
  }

  template <typename T = ui::TForm>
  T& Make(int width = 200, int height = 100) {
    auto form = ui::MakeForm<T>();
    form->SetClientSize(width, height);
    T& made = *form;
    forms_.push_back(TFormOwner(form.release()));
    return made;
  }
  // Shown as the program shows a normal form: it becomes the active window.
  static void ShowActive(ui::TCommonCustomForm& form) {
    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return form.Visible() && GetActiveWindow() == Wnd(form); }));
    Settle();
  }
  static void ActivateWindow(const ui::TCommonCustomForm& form) {
    SetActiveWindow(Wnd(form));
    Settle();
    ASSERT_EQ(GetActiveWindow(), Wnd(form));
  }
  // Opened as a drop-down opens its list: shown, then registered with the screen.
  static void OpenPopup(ui::TCommonCustomForm& popup, HWND placement) {
    popup.Show();
    ui::Screen().AddPopupForm(popup, placement);
    Settle();
    ASSERT_TRUE(popup.Visible());
  }

  std::vector<TFormOwner> forms_;
};

// ---- FormStyle ----

TEST_F(FormBase, StylesGiveTheWindowItsStyleBits) {
  const HWND normal = Wnd(Make());
  const HWND popup = Wnd(Make<TPopupForm>());
  const HWND top = Wnd(Make<TTopForm>());
  constexpr DWORD kPopupEx = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  EXPECT_TRUE(Style(popup) & WS_POPUP);
  EXPECT_NE(Style(popup) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION)) << "a popup has no title bar";
  EXPECT_EQ(ExStyle(popup) & kPopupEx, kPopupEx);
  EXPECT_TRUE(ExStyle(top) & WS_EX_TOPMOST);
  EXPECT_TRUE(Style(top) & WS_CAPTION);
  EXPECT_FALSE(ExStyle(normal) & (WS_EX_TOPMOST | WS_EX_NOACTIVATE));
}

TEST_F(FormBase, APopupNeitherTakesTheActivationWhenShownNorWhenClicked) {
  TEvents events;
  ui::TForm& main = Make();
  TPopupForm& popup = Make<TPopupForm>(120, 60);
  events.Watch(main, "main");
  events.Watch(popup, "popup");
  ShowActive(main);
  events.Log.clear();

  OpenPopup(popup, nullptr);
  EXPECT_EQ(GetActiveWindow(), Wnd(main));
  EXPECT_TRUE(main.Active());
  EXPECT_EQ(ui::Screen().ActiveForm(), &main);

  const LPARAM click = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
  EXPECT_EQ(SendMessageW(Wnd(popup), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Wnd(popup)), click), MA_NOACTIVATE);
  EXPECT_EQ(SendMessageW(Wnd(main), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Wnd(main)), click), MA_ACTIVATE);

  // A real click from the input queue, handled by the application's event loop.
  RECT r{};
  GetWindowRect(Wnd(popup), &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
  Settle();
  EXPECT_EQ(GetActiveWindow(), Wnd(main));
  EXPECT_TRUE(popup.Visible()) << "a click inside a popup leaves it open";
  EXPECT_EQ(ui::Screen().PopupForms(), std::vector<ui::TCommonCustomForm*>{&popup});
  EXPECT_TRUE(events.Log.empty()) << events.Log.front();
}

TEST_F(FormBase, ChangingTheStyleMakesTheWindowAgainAndKeepsItsVisibility) {
  struct Row {
    ui::TFormStyle from, to;
    bool visible;
  };
  const Row rows[] = {
      {ui::TFormStyle::Normal, ui::TFormStyle::StayOnTop, true},
      {ui::TFormStyle::StayOnTop, ui::TFormStyle::Normal, true},
      {ui::TFormStyle::Normal, ui::TFormStyle::Popup, true},
      {ui::TFormStyle::Normal, ui::TFormStyle::Popup, false},
  };
  // Another visible form, which Windows may activate while the window is made again.
  TEvents bystander;
  bystander.Watch(Make(), "bystander");
  ShowActive(*forms_.back());
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.to) * 10 + row.visible);
    ui::TForm& form = Make(220, 110);
    form.SetFormStyle(row.from);
    ui::TEdit& edit = AddEdit(form, u"edit", {10, 10, 90, 30});
    edit.SetText(u"kept");
    if (row.visible) ShowActive(form);
    bystander.Log.clear();
    const HWND old = Wnd(form);
    const ui::TRect oldBounds = Platform(form).Bounds();

    struct Seen {
      HWND wnd;
      bool recreating, found;
    };
    std::vector<Seen> seen;
    auto& manager = ui::TMessageManager::DefaultManager();
    const int id = manager.SubscribeToMessage<ui::TAfterCreateFormHandle>(
        [&](ui::TObject*, const ui::TMessageBase& m) {
          const auto* f = static_cast<const ui::TAfterCreateFormHandle&>(m).Value();
          seen.push_back({ui::FormToHWND(f), f->FormState().Contains(ui::TFmxFormState::Recreating),
                          ui::FindForm(ui::FormToHWND(f)) == f});
        });
    form.SetFormStyle(row.to);
    manager.Unsubscribe<ui::TAfterCreateFormHandle>(id);
    Settle();

    const HWND now = Wnd(form);
    ASSERT_NE(now, nullptr);
    EXPECT_NE(now, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(ui::FindForm(now), &form);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].wnd, now);
    EXPECT_TRUE(seen[0].recreating);
    EXPECT_TRUE(seen[0].found);
    EXPECT_FALSE(form.FormState().Contains(ui::TFmxFormState::Recreating));
    EXPECT_EQ(form.Visible(), row.visible);
    EXPECT_EQ((ExStyle(now) & WS_EX_TOPMOST) != 0, row.to != ui::TFormStyle::Normal);
    EXPECT_EQ((ExStyle(now) & WS_EX_NOACTIVATE) != 0, row.to == ui::TFormStyle::Popup);
    EXPECT_EQ(ClientPixels(now), (ui::TRect{0, 0, 220, 110}));
    EXPECT_EQ(Platform(form).Bounds().Left, oldBounds.Left);
    EXPECT_EQ(Platform(form).Bounds().Top, oldBounds.Top);
    // The controls are made again in the new window, with what they held.
    ASSERT_NE(edit.NativeWnd(), nullptr);
    EXPECT_EQ(GetParent(edit.NativeWnd()), now);
    wchar_t text[16] = {};
    GetWindowTextW(edit.NativeWnd(), text, 16);
    EXPECT_STREQ(text, L"kept");
    EXPECT_EQ(PlaceInParent(edit.NativeWnd()), (ui::TRect{10, 10, 90, 30}));
    if (row.visible && row.to != ui::TFormStyle::Popup) {
      EXPECT_EQ(GetActiveWindow(), now);
      EXPECT_TRUE(form.Active());
      EXPECT_EQ(ui::Screen().ActiveForm(), &form);
    }
    // Only a form that turns into a popup hands the activation on.
    if (!row.visible || row.to != ui::TFormStyle::Popup) {
      EXPECT_TRUE(bystander.Log.empty()) << bystander.Log.front();
    }
    form.Hide();
    Settle();
  }
}

// ---- Activation ----

TEST_F(FormBase, ActivatingAFormRunsActivateAndTheOtherOnesDeactivate) {
  TEvents events;
  ui::TForm& a = Make();
  ui::TForm& b = Make();
  events.Watch(a, "a");
  events.Watch(b, "b");
  ShowActive(a);
  ShowActive(b);
  events.Log.clear();

  ActivateWindow(a);
  EXPECT_EQ(events.Log, (std::vector<std::string>{"b.deactivate", "a.activate"}));
  EXPECT_EQ(ui::Screen().ActiveForm(), &a);
  EXPECT_TRUE(a.Active());
  EXPECT_FALSE(b.Active());

  events.Log.clear();
  ActivateWindow(b);
  EXPECT_EQ(events.Log, (std::vector<std::string>{"a.deactivate", "b.activate"}));
  EXPECT_EQ(ui::Screen().ActiveForm(), &b);
  EXPECT_FALSE(a.Active());
  a.Hide();
  b.Hide();
  Settle();
}

TEST_F(FormBase, AnActivationOfAMinimisedWindowDoesNotActivateTheForm) {
  TEvents events;
  ui::TForm& form = Make();
  events.Watch(form, "form");
  ShowActive(form);
  ui::Screen().SetActiveForm(nullptr);
  events.Log.clear();
  // Sent to the window that is active already, so Windows' own focus handling moves nothing.
  SendMessageW(Wnd(form), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, TRUE), 0);
  EXPECT_TRUE(events.Log.empty());
  EXPECT_EQ(ui::Screen().ActiveForm(), nullptr);
  SendMessageW(Wnd(form), WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, FALSE), 0);
  EXPECT_EQ(events.Log, std::vector<std::string>{"form.activate"});
  EXPECT_EQ(ui::Screen().ActiveForm(), &form);
  form.Hide();
  Settle();
}

TEST_F(FormBase, DeactivationClosesThePopupsUnlessTheHandleDisablesIt) {
  for (const bool disabled : {false, true}) {
    SCOPED_TRACE(disabled ? "deactivation disabled" : "deactivation enabled");
    TEvents events;
    ui::TForm& main = Make();
    ui::TForm& other = Make();
    TPopupForm& p1 = Make<TPopupForm>(80, 40);
    TPopupForm& p2 = Make<TPopupForm>(80, 40);
    events.Watch(main, "main");
    ShowActive(other);
    ShowActive(main);
    OpenPopup(p1, nullptr);
    OpenPopup(p2, nullptr);
    Platform(main).SetDisableDeactivate(disabled);
    events.Log.clear();

    ActivateWindow(other);
    EXPECT_EQ(ui::Screen().ActiveForm(), &other);
    EXPECT_EQ(p1.Visible(), disabled);
    EXPECT_EQ(p2.Visible(), disabled);
    EXPECT_EQ(ui::Screen().PopupForms().size(), disabled ? 2u : 0u);
    EXPECT_EQ(main.Active(), disabled);
    EXPECT_EQ(events.Log, disabled ? std::vector<std::string>{} : std::vector<std::string>{"main.deactivate"});

    Platform(main).SetDisableDeactivate(false);
    for (ui::TCommonCustomForm* f : std::initializer_list<ui::TCommonCustomForm*>{&p1, &p2, &main, &other}) f->Hide();
    Settle();
  }
}

TEST_F(FormBase, APopupsActivationChangesNothing) {
  TEvents events;
  ui::TForm& main = Make();
  TPopupForm& popup = Make<TPopupForm>(80, 40);
  events.Watch(main, "main");
  events.Watch(popup, "popup");
  ShowActive(main);
  OpenPopup(popup, nullptr);
  events.Log.clear();

  // As while the toolkit opens a popup: the form's deactivation is ignored meanwhile.
  Platform(main).SetDisableDeactivate(true);
  ActivateWindow(popup);
  EXPECT_FALSE(popup.Active());
  EXPECT_EQ(ui::Screen().ActiveForm(), &main);
  Platform(main).SetDisableDeactivate(false);
  ActivateWindow(main);
  EXPECT_TRUE(popup.Visible()) << "the popup's own deactivation closes nothing";
  EXPECT_EQ(ui::Screen().PopupForms().size(), 1u);
  EXPECT_EQ(events.Log, std::vector<std::string>{"main.activate"});
  EXPECT_EQ(ui::Screen().ActiveForm(), &main);
  popup.Hide();
  main.Hide();
  Settle();
}

TEST_F(FormBase, TheFocusedControlGetsTheFocusBackOnActivation) {
  ui::TForm& a = Make(200, 100);
  ui::TForm& b = Make();
  ui::TEdit& first = AddEdit(a, u"first", {10, 10, 150, 30});
  ui::TEdit& second = AddEdit(a, u"second", {10, 40, 150, 60});
  ShowActive(a);
  // As a click would: the window takes the focus, not the toolkit.
  SetFocus(second.NativeWnd());
  Settle();
  ASSERT_EQ(GetFocus(), second.NativeWnd());

  ShowActive(b);
  EXPECT_NE(GetFocus(), second.NativeWnd());
  ActivateWindow(a);
  EXPECT_EQ(GetFocus(), second.NativeWnd());

  // Set by the toolkit while the form is inactive: given when it is activated.
  ActivateWindow(b);
  first.SetFocus();
  EXPECT_EQ(GetActiveWindow(), Wnd(b)) << "the inactive form is not activated by it";
  EXPECT_NE(GetFocus(), first.NativeWnd());
  ActivateWindow(a);
  EXPECT_EQ(GetFocus(), first.NativeWnd());
  a.Hide();
  b.Hide();
  Settle();
}

// ---- The screen's popups ----

TEST_F(FormBase, ClosingPopupsClosesTheMarkedOnesNewestFirst) {
  TEvents events;
  ui::TForm& main = Make();
  TPopupForm& a = Make<TPopupForm>(80, 40);
  TPopupForm& b = Make<TPopupForm>(80, 40);
  TPopupForm& c = Make<TPopupForm>(80, 40);
  events.Watch(a, "a");
  events.Watch(b, "b");
  events.Watch(c, "c");
  // b is a's own popup (a list opened from a list).
  SetWindowLongPtrW(Wnd(b), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Wnd(a)));
  ShowActive(main);
  a.Show();
  EXPECT_TRUE(ui::Screen().PopupForms().empty()) << "shown is not yet open: its owner registers it";
  a.Hide();

  struct Row {
    const ui::TCommonCustomForm* save;
    std::vector<std::string> hidden;
    std::vector<ui::TCommonCustomForm*> open;
  };
  const Row rows[] = {
      {nullptr, {"c.hide", "b.hide", "a.hide"}, {}},
      {&a, {"c.hide"}, {&a, &b}},
      {&b, {"c.hide", "a.hide"}, {&b}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.hidden.size());
    for (TPopupForm* p : {&a, &b, &c}) OpenPopup(*p, nullptr);
    events.Log.clear();
    ui::Screen().PrepareClosePopups(row.save);
    EXPECT_EQ(ui::Screen().PopupForms().size(), 3u) << "marking closes nothing";
    ui::Screen().ClosePopupForms();
    EXPECT_EQ(events.Log, row.hidden);
    EXPECT_EQ(ui::Screen().PopupForms(), row.open);
    for (TPopupForm* p : {&a, &b, &c}) {
      const bool open = std::find(row.open.begin(), row.open.end(), p) != row.open.end();
      EXPECT_EQ(p->Visible(), open);
      p->Hide();
    }
    Settle();
  }
  main.Hide();
  Settle();
}

TEST_F(FormBase, AMouseDownOutsideThePopupsClosesThem) {
  ui::TForm& main = Make(200, 100);
  ui::TEdit& placement = AddEdit(main, u"placement", {10, 10, 100, 30});
  ui::TEdit& other = AddEdit(main, u"other", {10, 50, 100, 70});
  TPopupForm& popup = Make<TPopupForm>(80, 40);
  ShowActive(main);

  struct Row {
    const char* where;
    HWND target;
    bool stays;
  };
  const Row rows[] = {
      {"the form's client area", Wnd(main), false},
      {"another control of the form", other.NativeWnd(), false},
      {"the popup", Wnd(popup), true},
      {"the placement control", placement.NativeWnd(), true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.where);
    OpenPopup(popup, placement.NativeWnd());
    PostMessageW(row.target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(row.target, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ui::Application().ProcessMessages();
    EXPECT_EQ(popup.Visible(), row.stays);
    EXPECT_EQ(ui::Screen().PopupForms().size(), row.stays ? 1u : 0u);
    popup.Hide();
    Settle();
  }
  main.Hide();
  Settle();
}

// ---- The window handle ----

TEST_F(FormBase, AForcedScaleSizesTheWindowAndPlacesItsControls) {
  struct Row {
    float scale;
    ui::TRect client, edit;
  };
  // The edit is at (7, 13) sized 21 x 11 DIP: its edges are rounded one by one.
  const Row rows[] = {
      {1.5f, {0, 0, 300, 150}, {11, 20, 42, 36}},
      {2.0f, {0, 0, 400, 200}, {14, 26, 56, 48}},
      {1.25f, {0, 0, 250, 125}, {9, 16, 35, 30}},
  };
  ui::TForm& form = Make(200, 100);
  ui::TEdit& edit = AddEdit(form, u"edit", {7, 13, 28, 24});
  const int unscaledFont = FontHeight(edit.NativeWnd());
  ASSERT_GT(unscaledFont, 0);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.scale);
    ui::TWinWindowHandle::SetForcedScale(row.scale);
    Platform(form).ScaleChanged();
    EXPECT_FLOAT_EQ(Platform(form).Scale(), row.scale);
    EXPECT_EQ(ClientPixels(Wnd(form)), row.client);
    EXPECT_EQ(PlaceInParent(edit.NativeWnd()), row.edit);
    EXPECT_EQ(form.ClientWidth(), 200);
    EXPECT_EQ(form.ClientHeight(), 100);
    EXPECT_EQ(Platform(form).ClientSize(), (ui::TSizeF{200, 100}));
    EXPECT_NEAR(FontHeight(edit.NativeWnd()), unscaledFont * row.scale, 1.0);
  }
  ui::TWinWindowHandle::ResetForcedScale();
  Platform(form).ScaleChanged();
  EXPECT_EQ(ClientPixels(Wnd(form)), (ui::TRect{0, 0, 200, 100}));
  EXPECT_EQ(PlaceInParent(edit.NativeWnd()), (ui::TRect{7, 13, 28, 24}));
  EXPECT_EQ(FontHeight(edit.NativeWnd()), unscaledFont);
}

TEST_F(FormBase, AForcedScaleIsNeverBelowOneAndResetReturnsToTheDPI) {
  const ui::TForm& form = Make();
  const float dpiScale = static_cast<float>(GetDpiForWindow(Wnd(form))) / 96.0f;
  EXPECT_EQ(ui::TWinWindowHandle::ForcedScale(), 0.0f);
  EXPECT_FLOAT_EQ(Platform(form).Scale(), dpiScale);
  EXPECT_FLOAT_EQ(dpiScale, 1.0f) << "Wine's default DPI is 96";
  struct Row {
    float set, stored;
  };
  const Row rows[] = {{0.5f, 1.0f}, {0.0f, 1.0f}, {-2.0f, 1.0f}, {std::numeric_limits<float>::quiet_NaN(), 1.0f},
                      {1.0f, 1.0f}, {1.75f, 1.75f}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.set);
    ui::TWinWindowHandle::SetForcedScale(row.set);
    EXPECT_EQ(ui::TWinWindowHandle::ForcedScale(), row.stored);
    EXPECT_EQ(Platform(form).Scale(), row.stored);
  }
  ui::TWinWindowHandle::ResetForcedScale();
  EXPECT_EQ(ui::TWinWindowHandle::ForcedScale(), 0.0f);
  EXPECT_FLOAT_EQ(Platform(form).Scale(), dpiScale);
}

TEST_F(FormBase, BoundsAndClientSizeAreThoseOfTheNativeWindow) {
  ui::TForm& form = Make(200, 100);
  ui::TWinWindowHandle& handle = Platform(form);
  ui::TWinWindowHandle::SetForcedScale(1.5f);
  handle.ScaleChanged();

  handle.SetBounds({300, 150, 900, 600});
  RECT r{};
  GetWindowRect(Wnd(form), &r);
  EXPECT_EQ(handle.Bounds(), (ui::TRect{r.left, r.top, r.right, r.bottom}));
  EXPECT_EQ(handle.Bounds(), (ui::TRect{300, 150, 900, 600}));
  EXPECT_EQ(form.Left(), 200);
  EXPECT_EQ(form.Top(), 100);
  form.SetLeft(100);
  form.SetTop(40);
  EXPECT_EQ(handle.Bounds().Left, 150);
  EXPECT_EQ(handle.Bounds().Top, 60);

  handle.SetClientSize({120, 80});
  EXPECT_EQ(ClientPixels(Wnd(form)), (ui::TRect{0, 0, 180, 120}));
  EXPECT_EQ(handle.ClientSize(), (ui::TSizeF{120, 80}));
  EXPECT_EQ(form.ClientWidth(), 120);
  EXPECT_EQ(form.ClientHeight(), 80);
  GetWindowRect(Wnd(form), &r);
  EXPECT_EQ(handle.Bounds(), (ui::TRect{r.left, r.top, r.right, r.bottom}));
  EXPECT_EQ(handle.Bounds().Left, 150) << "sizing keeps the place";
}

// ---- Deferred layout ----

// Counts the times a window is really moved or sized.
constexpr UINT_PTR kMoveCounter = 0x7E57;
LRESULT CALLBACK CountMoves(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_WINDOWPOSCHANGED) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
    if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE)) ++*reinterpret_cast<int*>(data);
  }
  return DefSubclassProc(wnd, msg, wp, lp);
}

TEST_F(FormBase, ChangesBetweenBeginAndTheLastEndUpdateAreLaidOutOnceAtTheEnd) {
  ui::TForm& form = Make(200, 100);
  ui::TEdit& edit = AddEdit(form, u"edit", {10, 10, 60, 30});
  ui::TEdit& filler = AddEdit(form, u"filler", {0, 0, 10, 10});
  int moves = 0;
  ASSERT_TRUE(SetWindowSubclass(edit.NativeWnd(), CountMoves, kMoveCounter, reinterpret_cast<DWORD_PTR>(&moves)));

  form.BeginUpdate();
  form.BeginUpdate();
  EXPECT_TRUE(form.IsUpdating());
  edit.Layout.Position = {40, 20};
  edit.SetAlign(ui::TAlignLayout::None);  // asks the form to lay out again
  filler.SetAlign(ui::TAlignLayout::Top);
  form.SetClientSize(240, 120);
  form.EndUpdate();
  EXPECT_TRUE(form.IsUpdating());
  EXPECT_EQ(PlaceInParent(edit.NativeWnd()), (ui::TRect{10, 10, 60, 30})) << "not before the last EndUpdate";
  EXPECT_EQ(PlaceInParent(filler.NativeWnd()), (ui::TRect{0, 0, 10, 10}));
  EXPECT_EQ(moves, 0);
  form.EndUpdate();
  EXPECT_FALSE(form.IsUpdating());
  EXPECT_EQ(PlaceInParent(edit.NativeWnd()), (ui::TRect{40, 20, 90, 40}));
  EXPECT_EQ(PlaceInParent(filler.NativeWnd()), (ui::TRect{0, 0, 240, 10}));
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(ClientPixels(Wnd(form)), (ui::TRect{0, 0, 240, 120})) << "the window itself is sized at once";

  form.EndUpdate();  // one too many: nothing to end
  EXPECT_FALSE(form.IsUpdating());
  edit.SetAlign(ui::TAlignLayout::Bottom);
  EXPECT_EQ(PlaceInParent(edit.NativeWnd()), (ui::TRect{0, 100, 240, 120})) << "outside an update at once";
  RemoveWindowSubclass(edit.NativeWnd(), CountMoves, kMoveCounter);
}

}  // namespace
