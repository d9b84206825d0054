#include "toolkit/DesignedForm.hpp"

#include <algorithm>

#include "rtl/Text.hpp"

namespace ui {

namespace {

constexpr UINT_PTR kAnimationTimer = 0x4F52;  // one timer drives every animation of the form
constexpr UINT kAnimationInterval = 15;       // ms

}  // namespace

TDesignedForm::TDesignedForm(std::string_view iLayout) {
  TFormLoadResult loaded = LoadFormResource(iLayout);
  if (!loaded.Root) throw std::logic_error(loaded.Error);
  layout_ = std::move(*loaded.Root);
  SetCaption(ReadString(layout_, "Caption").value_or(u""));
  const TSizeF client = ReadPair(layout_, "ClientSize").value_or(TSizeF{640, 480});
  SetClientSize(static_cast<int>(client.Width), static_cast<int>(client.Height));
  const std::u16string border = ReadWord(layout_, "BorderStyle").value_or(u"Sizeable");
  SetBorderStyle(border == u"Single" ? TFormBorderStyle::Single
                 : border == u"None" ? TFormBorderStyle::None
                                     : TFormBorderStyle::Sizeable);
  SetMinMaxBoxes(ReadWord(layout_, "BorderIcons").value_or(u"All") != u"SystemMenu");
  const std::u16string position = ReadWord(layout_, "FormPosition").value_or(u"Default");
  Position = position == u"ScreenCenter"     ? TFormPosition::ScreenCenter
             : position == u"MainFormCenter" ? TFormPosition::MainFormCenter
                                             : TFormPosition::Default;
  BuildControls(layout_, Root());
}

TDesignedForm::~TDesignedForm() {
  // Destroyed without BeforeDestruction, the window still exists while the animations go.
  if (const HWND wnd = HostWnd()) KillTimer(wnd, kAnimationTimer);
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
  if (const TResObject* parent = parentOf(layout_)) target = Root().FindControl(parent->Name);
  auto animation = std::make_unique<TFloatAnimation>(iObject.Name, [this, target](float value) {
    if (target) target->SetOpacity(value);
    if (const HWND wnd = HostWnd()) SetTimer(wnd, kAnimationTimer, kAnimationInterval, nullptr);
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
  if (TControl* control = Root().FindControl(iObject.Name); control && control != &Root()) {
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

void TDesignedForm::TickAnimations() {
  bool running = false;
  for (const auto& a : animations_) {
    a->Tick();
    running = running || a->Running();
  }
  if (const HWND wnd = HostWnd(); !running && wnd) KillTimer(wnd, kAnimationTimer);
}

void TDesignedForm::HandleCreated() {
  // Handlers are wired once; a window made again keeps them.
  if (!wired_) WireEvents(layout_);
  wired_ = true;
  ForEachControl(Root(), [](TControl& c) { c.ApplyStyle(); });
}

LRESULT TDesignedForm::WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) {
  switch (iMsg) {
    case WM_TIMER:
      if (iWParam == kAnimationTimer) {
        TickAnimations();
        return 0;
      }
      break;
    case WM_DESTROY:
      KillTimer(iWnd, kAnimationTimer);
      break;
    default:
      break;
  }
  return TForm::WndProc(iWnd, iMsg, iWParam, iLParam);
}

}  // namespace ui
