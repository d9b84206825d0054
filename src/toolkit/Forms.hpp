#pragma once
// Forms and the application object. A form is a top-level Win32 window owned by the hidden
// application window. It hosts controls: it lays them out at its window's scale, paints
// the windowless ones, routes the native controls' notifications and keys, and keeps
// track of the focused control while it is inactive.
//
// Forms are made in two steps, because a C++ constructor cannot run the derived class's
// handlers: MakeForm constructs, then creates the native window and raises OnCreate. Its
// owner (TFormPtr) raises OnDestroy before the destructors run, for the same reason.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Classes.hpp"
#include "toolkit/Controls.hpp"
#include "toolkit/Messaging.hpp"
#include "toolkit/PlatformWin.hpp"
#include "toolkit/StyleBook.hpp"
#include "toolkit/Thread.hpp"

namespace ui {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
// Popup: a borderless window that never takes the activation (drop-down lists).
enum class TFormStyle { Normal, Popup, StayOnTop };
enum class TFormBorderStyle { None, Single, Sizeable };
enum class TFormPosition { Default, ScreenCenter, MainFormCenter };

enum class TFmxFormState : std::uint8_t {
  Recreating,  // the native window is being destroyed and made again
  Modal,       // inside ShowModal
  Closing,     // inside Close
};

using TFormStates = TSet<TFmxFormState>;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCommonCustomForm;

// Sent through the default message manager each time a form's native window has been
// created; the value is the form.
class TAfterCreateFormHandle final : public TMessage<TCommonCustomForm*> {
 public:
  using TMessage::TMessage;
};

class TCommonCustomForm : public TObject, public IControlHost {
 public:
  TCommonCustomForm();
  ~TCommonCustomForm() override;

  // Second step of construction (MakeForm): the native window, then OnCreate.
  void AfterConstruction();
  // First step of destruction (TFormPtr): OnDestroy, then the native window goes.
  void BeforeDestruction();

  // Asked before the form is shown; a form that answers false stays hidden.
  [[nodiscard]] virtual bool CanShow() { return true; }
  virtual void Show();
  virtual void Hide();
  // Asks OnCloseQuery and OnClose. The main form's close ends the application; any other
  // form is hidden, minimised or released as OnClose decides (hidden by default).
  void Close();
  // Queues the form's destruction, if the application owns it; otherwise hides it.
  void Release();
  // Shows the form and handles messages until it is hidden or closed; the program's
  // other windows take no input meanwhile.
  void ShowModal();

  // The form becomes the active form of the screen: OnActivate, and the control that had
  // the focus gets it back. Deactivate is the reverse: OnDeactivate, the focus is kept.
  virtual void Activate();
  virtual void Deactivate();
  [[nodiscard]] bool Active() const noexcept { return active_; }

  [[nodiscard]] bool Visible() const;
  [[nodiscard]] const std::u16string& Caption() const noexcept { return caption_; }
  void SetCaption(const std::u16string& iCaption);
  // Client size in device-independent units; the window is sized by its scale.
  [[nodiscard]] int ClientWidth() const noexcept { return clientWidth_; }
  [[nodiscard]] int ClientHeight() const noexcept { return clientHeight_; }
  void SetClientSize(int iWidth, int iHeight);
  // The window's position on the screen, in device-independent units.
  [[nodiscard]] int Left() const;
  [[nodiscard]] int Top() const;
  void SetLeft(int iLeft);
  void SetTop(int iTop);

  // Changing the style or the borders of an existing window makes the window again.
  [[nodiscard]] TFormStyle FormStyle() const noexcept { return formStyle_; }
  void SetFormStyle(TFormStyle iStyle);
  [[nodiscard]] TFormBorderStyle BorderStyle() const noexcept { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle iStyle);
  // Without them the window has only a close box.
  [[nodiscard]] bool MinMaxBoxes() const noexcept { return minMaxBoxes_; }
  void SetMinMaxBoxes(bool iShow);
  [[nodiscard]] const TFormStates& FormState() const noexcept { return state_; }
  TFormPosition Position = TFormPosition::Default;

  // Between BeginUpdate and the last EndUpdate the controls are neither laid out nor
  // painted; EndUpdate does both once.
  void BeginUpdate();
  void EndUpdate();
  [[nodiscard]] bool IsUpdating() const noexcept { return updating_ > 0; }

  // The form's controls: the root's children, laid out over the client area.
  [[nodiscard]] TControl& Root() noexcept { return root_; }
  [[nodiscard]] const std::vector<std::unique_ptr<TControl>>& Children() const noexcept { return root_.Children(); }
  TControl& AddObject(std::unique_ptr<TControl> iControl);

  // The style book the controls are drawn with; assigning it applies the style, which
  // translates the captions by the table in force. Null: the program's own style.
  void SetStyleBook(const TStyleBook* iStyleBook);
  [[nodiscard]] const TStyleBook* StyleBook() const noexcept { return styleBook_; }

  // The platform window object, null until the native window exists.
  [[nodiscard]] TWindowHandle* Handle() const noexcept { return handle_.get(); }
  // Creates the native window if it does not exist yet.
  void HandleNeeded();
  // Lays the controls out again at the window's present scale.
  void Realign();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnResize;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // IControlHost
  [[nodiscard]] HWND HostWnd() const noexcept override;
  [[nodiscard]] float HostScale() const noexcept override;
  [[nodiscard]] const TStyleBook& HostStyleBook() const noexcept override;
  void ControlChanged(TControl& iControl, bool iRealign) override;
  void FocusNext(TControl& iFrom, bool iBackwards) override;
  void CancelPressed() override;
  void FocusControl(TControl& iControl) override;
  void ControlGotFocus(TControl& iControl) override;

  // The window procedure of the form's native window; derived forms extend it and pass
  // what they do not handle on to this one.
  virtual LRESULT WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam);

 protected:
  // Window styles of the native window, from the form's style and borders; derived forms
  // may change them further.
  struct TCreateParams {
    DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    DWORD ExStyle = 0;
  };
  virtual void CreateParams(TCreateParams& ioParams);
  // The window that owns the form's window: the application window, unless a form
  // belongs to another (a popup to the form it opened from).
  [[nodiscard]] virtual HWND ParentWnd() const noexcept { return ApplicationHWND(); }
  virtual bool CloseQuery();
  // The native window and the controls' windows exist; runs on every creation.
  virtual void HandleCreated() {}
  // The control under a native window of this form, or null.
  [[nodiscard]] TControl* ControlOfWindow(HWND iWnd) noexcept;

 private:
  void CreateHandle();
  void DestroyHandle();
  void RecreateHandle();
  void ApplyClientSize();
  void AttachControls(TControl& iParent);
  void RealignChildren(TControl& iParent);
  void PaintControls(HDC iDC, TControl& iParent);
  void Paint(HWND iWnd);
  void PlaceOnShow();
  void HandleActivateMessage(WPARAM iWParam);
  [[nodiscard]] bool HandleControlMessage(UINT iMsg, WPARAM iWParam, LPARAM iLParam, LRESULT& oResult);

  std::unique_ptr<TWinWindowHandle> handle_;
  TLayout root_{u""};
  const TStyleBook* styleBook_ = nullptr;
  std::weak_ptr<TControl*> focused_;  // gets the focus when the form is activated
  TUniqueGdiObject background_;
  std::u16string caption_;
  int clientWidth_ = 640;
  int clientHeight_ = 480;
  int updating_ = 0;
  TFormStyle formStyle_ = TFormStyle::Normal;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::Sizeable;
  bool minMaxBoxes_ = true;
  TFormStates state_;
  bool active_ = false;
  bool destroying_ = false;
};

class TForm : public TCommonCustomForm {};

// Owner of a form made by MakeForm: OnDestroy runs while the derived form is still whole.
struct TFormDeleter {
  void operator()(TCommonCustomForm* iForm) const {
    iForm->BeforeDestruction();
    delete iForm;
  }
};
template <typename T>
using TFormPtr = std::unique_ptr<T, TFormDeleter>;

template <typename T, typename... Args>
[[nodiscard]] TFormPtr<T> MakeForm(Args&&... iArgs) {
  TFormPtr<T> form(new T(std::forward<Args>(iArgs)...));
  form->AfterConstruction();
  return form;
}

class TApplication : public TObject {
 public:
  // Registers the toolkit's Windows services (locale, clipboard, dialogs) that are not
  // registered yet and prepares the event loop.
  void Initialize();

  // Registers the class of a form that Run constructs; the first becomes the main form.
  template <typename T>
  void CreateForm() {
    pending_.push_back([] { return TFormPtr<TCommonCustomForm>(MakeForm<T>().release()); });
  }

  // Constructs the registered forms, makes the first the main form and asks it to show
  // itself, then runs the event loop until Terminate. The forms are destroyed and pending
  // queued calls dropped before Run returns. Without a form it returns at once.
  void Run();

  [[nodiscard]] TCommonCustomForm* MainForm() const noexcept { return mainForm_; }
  void Terminate();
  [[nodiscard]] bool Terminated() const noexcept { return terminated_; }

  // Handles every message waiting, then, outside any message handler, the queued calls.
  void ProcessMessages();
  // Handles one message, or waits for one when there is nothing to do.
  void HandleMessage();

  // Hands a form to the application, which destroys it at Release or at the end of Run.
  TCommonCustomForm& Adopt(TFormPtr<TCommonCustomForm> iForm);
  [[nodiscard]] bool Owns(const TCommonCustomForm* iForm) const noexcept;
  void ReleaseForm(TCommonCustomForm* iForm);

 private:
  bool ProcessMessage();
  void RunQueued();
  void DestroyForms();

  std::vector<std::function<TFormPtr<TCommonCustomForm>()>> pending_;
  std::vector<TFormPtr<TCommonCustomForm>> forms_;
  TCommonCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  int dispatchDepth_ = 0;
};

// The program's application object.
[[nodiscard]] TApplication& Application();

// Calls iDo for iControl and every control under it, parents first.
void ForEachControl(TControl& iControl, const std::function<void(TControl&)>& iDo);

}  // namespace ui
