#pragma once
// A form built from a compiled-in window layout: it makes the controls of the layout,
// wires their events to the handlers the derived form registers by name, and runs the
// layout's animations. A layout that cannot be loaded is a programming error: the
// constructor throws std::logic_error naming it.

#include <windows.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Animations.hpp"
#include "toolkit/ComboBox.hpp"
#include "toolkit/Controls.hpp"
#include "toolkit/Forms.hpp"

namespace ui {

class TDesignedForm : public TForm {
 public:
  explicit TDesignedForm(std::string_view iLayout);
  ~TDesignedForm() override;

  // The control of that name; a name the layout lacks is a programming error (throws).
  template <typename T>
  [[nodiscard]] T& Control(std::u16string_view iName) {
    auto* control = dynamic_cast<T*>(Root().FindControl(iName));
    if (!control) throw std::logic_error("the layout has no such control: " + NameOf(iName));
    return *control;
  }
  [[nodiscard]] TFloatAnimation& Animation(std::u16string_view iName);
  // Event names of the layout that no registered handler answered when the window was
  // made (wiring runs inside window creation, where nothing may throw). Empty when sound.
  [[nodiscard]] const std::vector<std::string>& WiringProblems() const noexcept { return wiringProblems_; }

  LRESULT WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) override;

 protected:
  // Handlers the layout names (OnClick = btnExitClick); registered by the derived form's
  // constructor, wired when the window is created.
  void RegisterHandler(const std::u16string& iName, TNotifyEvent iHandler);
  void RegisterValidator(const std::u16string& iName, TValidateTextEvent iHandler);
  void HandleCreated() override;

 private:
  static std::string NameOf(std::u16string_view iName);
  void BuildControls(const TResObject& iObject, TControl& iParent);
  void BuildComponents(const TResObject& iObject);
  void WireEvents(const TResObject& iObject);
  void TickAnimations();

  TResObject layout_;
  std::vector<std::unique_ptr<TFloatAnimation>> animations_;
  std::map<std::u16string, TNotifyEvent> handlers_;
  std::map<std::u16string, TValidateTextEvent> validators_;
  std::vector<std::string> wiringProblems_;
  bool wired_ = false;
};

}  // namespace ui
