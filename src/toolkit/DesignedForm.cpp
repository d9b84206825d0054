#include "toolkit/DesignedForm.hpp"

#include <algorithm>

#include "rtl/Text.hpp"

namespace ui {

namespace {

constexpr UINT_PTR kAnimationTimer = 0x4F52;  // one timer drives every animation of the form
constexpr UINT kAnimationInterval = 15;       // ms

void ForEachControl(TControl& iControl, const std::function<void(TControl&)>& iDo) {
  iDo(iControl);
  for (const auto& child : iControl.Children()) ForEachControl(*child, iDo);
}

}  // namespace

TDesignedForm::TDesignedForm(std::string_view iLayout) {
  TFormLoadResult loaded = LoadFormResource(iLayout);
  if (!loaded.Root) throw std::logic_error(loaded.Error);
  layout_ = std::move(*loaded.Root);
  SetCaption(ReadString(layout_, "Caption").value_or(u""));
  const TSizeF client = ReadPair(layout_, "ClientSize").value_or(TSizeF{640, 480});
  SetClientSize(static_cast<int>(client.Width), static_cast<int>(client.Height));
  sizable_ = ReadWord(layout_, "BorderStyle").value_or(u"Sizeable") != u"Single";
  minMaxBoxes_ = ReadWord(layout_, "BorderIcons").value_or(u"All") != u"SystemMenu";
  position_ = ReadWord(layout_, "FormPosition").value_or(u"Default");
  BuildControls(layout_, root_);
}

TDesignedForm::~TDesignedForm() {
  // Destroyed without BeforeDestruction, the window still exists while the controls go:
  // it must no longer reach this half-destroyed form.
  if (wnd_ && FindForm(wnd_) == this) {
    KillTimer(wnd_, kAnimationTimer);
    SetWindowLongPtrW(wnd_, GWLP_USERDATA, 0);
  }
  wnd_ = nullptr;
}

std::string TDesignedForm::NameOf(std::u16string_view iName) { return rtl::Utf16ToUtf8(iName); }

void TDesignedForm::BuildControls(const TResObject& iObject, TControl& iParent) {
  for (const TResObject& child : iObject.Children) {
    if (std::unique_ptr<TControl> control = CreateControl(child)) {
      TControl& added = iParent.AddChild(std::move(control));
      BuildControls(child, added);
    } else if (child.ClassName == "TFloatAnimation") {
      BuildComponents(child);
    }
  }
}

void TDesignedForm::BuildComponents(const TResObject& iObject) {
  // The animated control is the animation's parent in the layout; only Opacity is animated.
  TControl* target = nullptr;
  std::function<const TResObject*(const TResObject&)> parentOf = [&](const TResObject& o) -> const TResObject* {
    for (const TResObject& c : o.Children) {
      if (&c == &iObject) return &o;
      if (const TResObject* p = parentOf(c)) return p;
    }
    return nullptr;
  };
  if (const TResObject* parent = parentOf(layout_)) target = root_.FindControl(parent->Name);
  auto animation = std::make_unique<TFloatAnimation>(iObject.Name, [this, target](float value) {
    if (target) target->SetOpacity(value);
    if (wnd_) SetTimer(wnd_, kAnimationTimer, kAnimationInterval, nullptr);
  });
  animation->PropertyName = ReadString(iObject, "PropertyName").value_or(u"");
  animation->StartValue = static_cast<float>(ReadNumber(iObject, "StartValue").value_or(0));
  animation->StopValue = static_cast<float>(ReadNumber(iObject, "StopValue").value_or(1));
  animation->Duration = ReadNumber(iObject, "Duration").value_or(0.2);
  animations_.push_back(std::move(animation));
}

TFloatAnimation& TDesignedForm::Animation(std::u16string_view iName) {
  for (const auto& a : animations_) {
    if (a->Name == iName) return *a;
  }
  throw std::logic_error("the layout has no such animation: " + NameOf(iName));
}

void TDesignedForm::RegisterHandler(const std::u16string& iName, TNotifyEvent iHandler) {
  handlers_[iName] = std::move(iHandler);
}

void TDesignedForm::RegisterValidator(const std::u16string& iName, TValidateTextEvent iHandler) {
  validators_[iName] = std::move(iHandler);
}

void TDesignedForm::WireEvents(const TResObject& iObject) {
  const auto handler = [&](const char* property) -> TNotifyEvent {
    const auto name = ReadWord(iObject, property);
    if (!name) return nullptr;
    const auto it = handlers_.find(*name);
    if (it == handlers_.end()) {
      wiringProblems_.push_back("no handler registered for " + NameOf(*name));
      return nullptr;
    }
    return it->second;
  };
  if (TControl* control = root_.FindControl(iObject.Name); control && control != &root_) {
    if (auto* button = dynamic_cast<TButton*>(control)) button->OnClick = handler("OnClick");
    if (auto* check = dynamic_cast<TCheckBox*>(control)) check->OnChange = handler("OnChange");
    if (auto* combo = dynamic_cast<TComboBox*>(control)) combo->OnChange = handler("OnChange");
    if (auto* edit = dynamic_cast<TEdit*>(control)) {
      edit->OnTyping = handler("OnTyping");
      edit->OnChange = handler("OnChange");
      if (const auto name = ReadWord(iObject, "OnValidating")) {
        const auto it = validators_.find(*name);
        if (it == validators_.end()) {
          wiringProblems_.push_back("no handler registered for " + NameOf(*name));
        } else {
          edit->OnValidating = it->second;
        }
      }
    }
  }
  for (const TResObject& child : iObject.Children) WireEvents(child);
}

void TDesignedForm::CreateParams(TCreateParams& ioParams) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (sizable_) style |= WS_THICKFRAME;
  if (minMaxBoxes_) style |= WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  ioParams.Style = style;
}

float TDesignedForm::HostScale() const noexcept {
  const UINT dpi = wnd_ ? GetDpiForWindow(wnd_) : 0;
  return dpi ? static_cast<float>(dpi) / 96.0f : 1.0f;
}

const TStyleBook& TDesignedForm::HostStyleBook() const noexcept {
  return styleBook_ ? *styleBook_ : TStyleBook::Jet();
}

void TDesignedForm::SetStyleBook(const TStyleBook* iStyleBook) {
  styleBook_ = iStyleBook;
  background_.reset();
  ForEachControl(root_, [](TControl& c) { c.ApplyStyle(); });
  if (wnd_) InvalidateRect(wnd_, nullptr, TRUE);
}

void TDesignedForm::AttachAll(TControl& iControl) {
  for (const auto& child : iControl.Children()) {
    child->Attach(*this);
    AttachAll(*child);
  }
}

void TDesignedForm::ControlChanged(TControl& iControl, bool iRealign) {
  (void)iControl;
  if (!wnd_) return;
  if (iRealign) Realign();
  InvalidateRect(wnd_, nullptr, TRUE);
}

void TDesignedForm::Realign() {
  if (!wnd_) return;
  root_.Layout.Size = {static_cast<float>(ClientWidth()), static_cast<float>(ClientHeight())};
  root_.SetClientRect({0, 0, root_.Layout.Size.Width, root_.Layout.Size.Height});
  RealignChildren(root_);
}

void TDesignedForm::RealignChildren(TControl& iParent) {
  std::vector<TLayoutItem*> items;
  for (const auto& child : iParent.Children()) items.push_back(&child->Layout);
  const TRectF& area = iParent.ClientRect();
  AlignChildren({area.Width(), area.Height()}, iParent.Padding, items);
  const float scale = HostScale();
  for (const auto& child : iParent.Children()) {
    const TRectF r = child->Layout.BoundsRect();
    child->SetClientRect({area.Left + r.Left, area.Top + r.Top, area.Left + r.Right, area.Top + r.Bottom});
    child->PlaceNative(ScaleToPixels(child->ClientRect(), scale));
    RealignChildren(*child);
  }
}

void TDesignedForm::PaintControls(HDC iDC, TControl& iParent) {
  const float scale = HostScale();
  const TStyle& style = HostStyleBook().Default();
  for (const auto& child : iParent.Children()) {
    if (!child->Visible()) continue;
    // A control with a window of its own draws itself and its children there.
    if (child->NativeWnd()) continue;
    child->Paint(iDC, ScaleToPixels(child->ClientRect(), scale), style);
    PaintControls(iDC, *child);
  }
}

TControl* TDesignedForm::ControlOfWindow(TControl& iFrom, HWND iWnd) noexcept {
  if (iWnd && iFrom.NativeWnd() == iWnd) return &iFrom;
  for (const auto& child : iFrom.Children()) {
    if (TControl* found = ControlOfWindow(*child, iWnd)) return found;
  }
  return nullptr;
}

void TDesignedForm::CollectTabStops(TControl& iParent, std::vector<TControl*>& out) {
  // Within each parent by tab order (controls without one by their place), depth first.
  std::vector<std::pair<int, TControl*>> ordered;
  int index = 0;
  for (const auto& child : iParent.Children()) {
    const int key = child->TabOrder >= 0 ? child->TabOrder : index;
    ordered.emplace_back(key, child.get());
    ++index;
  }
  std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [key, child] : ordered) {
    (void)key;
    if (child->TabStop && child->CanFocus()) out.push_back(child);
    CollectTabStops(*child, out);
  }
}

void TDesignedForm::FocusNext(TControl& iFrom, bool iBackwards) {
  std::vector<TControl*> stops;
  CollectTabStops(root_, stops);
  std::erase_if(stops, [&](TControl* c) { return c != &iFrom && (!c->Showing() || !c->Enabled()); });
  if (stops.empty()) return;
  const auto at = std::find(stops.begin(), stops.end(), &iFrom);
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(stops.size());
  const std::ptrdiff_t i = at == stops.end() ? -1 : at - stops.begin();
  const std::ptrdiff_t next = iBackwards ? (i <= 0 ? n - 1 : i - 1) : (i + 1) % n;
  stops[static_cast<std::size_t>(next)]->SetFocus();
}

void TDesignedForm::FocusControl(TControl& iControl) {
  focused_ = iControl.AliveToken();
  const HWND wnd = iControl.NativeWnd();
  // A hidden window cannot take the focus; it gets it when the form is activated.
  if (wnd && wnd_ && IsWindowVisible(wnd_) && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) ::SetFocus(wnd);
}

void TDesignedForm::CancelPressed() {
  TButton* cancel = nullptr;
  ForEachControl(root_, [&](TControl& c) {
    if (auto* button = dynamic_cast<TButton*>(&c); button && button->Cancel && !cancel) cancel = button;
  });
  if (cancel) cancel->Click();
}

void TDesignedForm::PlaceOnShow() {
  if (!wnd_) return;
  RECT window{};
  GetWindowRect(wnd_, &window);
  RECT area{};
  const HWND main = FormToHWND(Application().MainForm());
  if (position_ == u"MainFormCenter" && main && main != wnd_ && IsWindowVisible(main)) {
    GetWindowRect(main, &area);
  } else if (position_ == u"ScreenCenter" || position_ == u"MainFormCenter") {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(wnd_, MONITOR_DEFAULTTOPRIMARY), &info);
    area = info.rcWork;
  } else {
    return;
  }
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  const int x = area.left + (area.right - area.left - w) / 2;
  const int y = std::max<int>(area.top + (area.bottom - area.top - h) / 2, 0);
  SetWindowPos(wnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TDesignedForm::TickAnimations() {
  bool running = false;
  for (const auto& a : animations_) {
    a->Tick();
    running = running || a->Running();
  }
  if (!running && wnd_) KillTimer(wnd_, kAnimationTimer);
}

void TDesignedForm::ShowModal() {
  HandleNeeded();
  if (!Handle()) return;
  // Every other window of the program is disabled while this one runs, and enabled again
  // however the loop ends.
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM data) -> BOOL {
        auto& list = *reinterpret_cast<std::vector<HWND>*>(data);
        if (IsWindowVisible(wnd) && IsWindowEnabled(wnd)) list.push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled));
  std::erase(disabled, wnd_);
  for (const HWND wnd : disabled) EnableWindow(wnd, FALSE);
  struct TReenable {
    std::vector<HWND>& Windows;
    ~TReenable() {
      for (const HWND wnd : Windows) {
        if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
      }
    }
  } reenable{disabled};
  Show();
  while (Visible() && !Application().Terminated()) Application().HandleMessage();
}

LRESULT TDesignedForm::WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  switch (iMsg) {
    case WM_CREATE:
      wnd_ = iWnd;
      AttachAll(root_);
      WireEvents(layout_);
      ForEachControl(root_, [](TControl& c) { c.ApplyStyle(); });
      break;
    case WM_DPICHANGED: {
      // Windows suggests the window's rectangle at the new DPI; the controls, their fonts
      // and positions follow from the new scale.
      const auto* suggested = reinterpret_cast<const RECT*>(iLParam);
      SetWindowPos(iWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Realign();
      InvalidateRect(iWnd, nullptr, TRUE);
      return 0;
    }
    case WM_SIZE:
      Realign();
      InvalidateRect(iWnd, nullptr, TRUE);
      break;
    case WM_SHOWWINDOW:
      if (iWParam) PlaceOnShow();
      break;
    case WM_ACTIVATE:
      if (LOWORD(iWParam) == WA_INACTIVE) {
        if (TControl* focused = ControlOfWindow(root_, GetFocus())) focused_ = focused->AliveToken();
      } else if (const auto focused = focused_.lock()) {
        TForm::WndProc(iWnd, iMsg, iWParam, iLParam);
        if (const HWND wnd = (*focused)->NativeWnd(); wnd && IsWindowEnabled(wnd)) ::SetFocus(wnd);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(iWnd, &ps);
      if (!background_) background_.reset(CreateSolidBrush(HostStyleBook().Default().Background));
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(background_.get()));
      PaintControls(dc, root_);
      EndPaint(iWnd, &ps);
      return 0;
    }
    case WM_COMMAND:
      if (TControl* control = ControlOfWindow(root_, reinterpret_cast<HWND>(iLParam))) {
        control->Command(HIWORD(iWParam));
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(iLParam);
      if (TControl* control = ControlOfWindow(root_, item->hwndItem)) {
        control->DrawItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (TControl* control = ControlOfWindow(root_, reinterpret_cast<HWND>(iLParam))) {
        if (const HBRUSH brush = control->ControlColor(reinterpret_cast<HDC>(iWParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_TIMER:
      if (iWParam == kAnimationTimer) {
        TickAnimations();
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (iWParam == VK_ESCAPE) {
        CancelPressed();
        return 0;
      }
      break;
    case WM_DESTROY:
      KillTimer(iWnd, kAnimationTimer);
      break;
    case WM_NCDESTROY:
      wnd_ = nullptr;
      break;
    default:
      break;
  }
  return TForm::WndProc(iWnd, iMsg, iWParam, iLParam);
}

}  // namespace ui
