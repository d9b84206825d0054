#pragma once
// A form built from a compiled-in window layout: it makes the controls of the layout,
// wires their events to the handlers the derived form registers by name, lays them out
// at the window's scale, paints the windowless ones, routes the native controls'
// notifications, and runs modally when asked. A layout that cannot be loaded is a
// programming error: the constructor throws std::logic_error naming it.

#include <windows.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Animations.hpp"
#include "toolkit/Controls.hpp"
#include "toolkit/Forms.hpp"
#include "toolkit/StyleBook.hpp"

namespace ui {

class TDesignedForm : public TForm, public IControlHost {
 public:
  explicit TDesignedForm(std::string_view iLayout);
  ~TDesignedForm() override;

  // The control of that name; a name the layout lacks is a programming error (throws).
  template <typename T>
  [[nodiscard]] T& Control(std::u16string_view iName) {
    auto* control = dynamic_cast<T*>(root_.FindControl(iName));
    if (!control) throw std::logic_error("the layout has no such control: " + NameOf(iName));
    return *control;
  }
  [[nodiscard]] TFloatAnimation& Animation(std::u16string_view iName);
  [[nodiscard]] TControl& Root() noexcept { return root_; }
  // Event names of the layout that no registered handler answered when the window was
  // made (wiring runs inside window creation, where nothing may throw). Empty when sound.
  [[nodiscard]] const std::vector<std::string>& WiringProblems() const noexcept { return wiringProblems_; }

  // The style book the controls are drawn with; assigning it applies the style, which
  // translates the captions by the table in force. Null: the program's own style.
  void SetStyleBook(const TStyleBook* iStyleBook);
  [[nodiscard]] const TStyleBook* StyleBook() const noexcept { return styleBook_; }

  // Shows the form and handles messages until it is hidden or closed; the program's
  // other windows take no input meanwhile.
  void ShowModal();

  // IControlHost
  [[nodiscard]] HWND HostWnd() const noexcept override { return wnd_; }
  [[nodiscard]] float HostScale() const noexcept override;
  [[nodiscard]] const TStyleBook& HostStyleBook() const noexcept override;
  void ControlChanged(TControl& iControl, bool iRealign) override;
  void FocusNext(TControl& iFrom, bool iBackwards) override;
  void CancelPressed() override;
  void FocusControl(TControl& iControl) override;

  LRESULT WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam) override;

 protected:
  // Handlers the layout names (OnClick = btnExitClick); registered by the derived form's
  // constructor, wired when the window is created.
  void RegisterHandler(const std::u16string& iName, TNotifyEvent iHandler);
  void RegisterValidator(const std::u16string& iName, TValidateTextEvent iHandler);
  void CreateParams(TCreateParams& ioParams) override;

 private:
  static std::string NameOf(std::u16string_view iName);
  void BuildControls(const TResObject& iObject, TControl& iParent);
  void BuildComponents(const TResObject& iObject);
  void WireEvents(const TResObject& iObject);
  void AttachAll(TControl& iControl);
  void Realign();
  void RealignChildren(TControl& iParent);
  void PaintControls(HDC iDC, TControl& iParent);
  void PlaceOnShow();
  void TickAnimations();
  [[nodiscard]] TControl* ControlOfWindow(TControl& iFrom, HWND iWnd) noexcept;
  void CollectTabStops(TControl& iParent, std::vector<TControl*>& out);

  TResObject layout_;
  TLayout root_{u""};
  std::vector<std::unique_ptr<TFloatAnimation>> animations_;
  std::map<std::u16string, TNotifyEvent> handlers_;
  std::map<std::u16string, TValidateTextEvent> validators_;
  const TStyleBook* styleBook_ = nullptr;
  std::weak_ptr<TControl*> focused_;  // gets the focus when the form is activated
  TUniqueGdiObject background_;
  HWND wnd_ = nullptr;
  bool sizable_ = true;
  bool minMaxBoxes_ = true;
  std::u16string position_;
  std::vector<std::string> wiringProblems_;
};

}  // namespace ui
