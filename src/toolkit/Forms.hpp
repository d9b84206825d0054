#pragma once
// Forms and the application object. A form is a top-level Win32 window owned by the hidden
// application window; controls, layouts and scaling build on TCommonCustomForm.
//
// Forms are made in two steps, because a C++ constructor cannot run the derived class's
// handlers: MakeForm constructs, then creates the native window and raises OnCreate. Its
// owner (TFormPtr) raises OnDestroy before the destructors run, for the same reason.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Classes.hpp"
#include "toolkit/Messaging.hpp"
#include "toolkit/PlatformWin.hpp"
#include "toolkit/Thread.hpp"

namespace ui {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCommonCustomForm;

// Sent through the default message manager each time a form's native window has been
// created; the value is the form.
class TAfterCreateFormHandle final : public TMessage<TCommonCustomForm*> {
 public:
  using TMessage::TMessage;
};

class TCommonCustomForm : public TObject {
 public:
  TCommonCustomForm();
  ~TCommonCustomForm() override;

  // Second step of construction (MakeForm): the native window, then OnCreate.
  void AfterConstruction();
  // First step of destruction (TFormPtr): OnDestroy, then the native window goes.
  void BeforeDestruction();

  // Asked before the form is shown; a form that answers false stays hidden.
  [[nodiscard]] virtual bool CanShow() { return true; }
  void Show();
  void Hide();
  // Asks OnCloseQuery and OnClose. The main form's close ends the application; any other
  // form is hidden, minimised or released as OnClose decides (hidden by default).
  void Close();
  // Queues the form's destruction, if the application owns it; otherwise hides it.
  void Release();

  [[nodiscard]] bool Visible() const;
  [[nodiscard]] const std::u16string& Caption() const noexcept { return caption_; }
  void SetCaption(const std::u16string& iCaption);
  // Client size in device-independent units; the window is sized by its DPI scale.
  [[nodiscard]] int ClientWidth() const noexcept { return clientWidth_; }
  [[nodiscard]] int ClientHeight() const noexcept { return clientHeight_; }
  void SetClientSize(int iWidth, int iHeight);

  // The platform window object, null until the native window exists.
  [[nodiscard]] TWindowHandle* Handle() const noexcept { return handle_.get(); }
  // Creates the native window if it does not exist yet.
  void HandleNeeded();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnResize;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // The window procedure of the form's native window; derived forms extend it and pass
  // what they do not handle on to this one.
  virtual LRESULT WndProc(HWND iWnd, UINT iMsg, WPARAM iWParam, LPARAM iLParam);

 protected:
  // Window styles of the native window; derived forms change borders and boxes here.
  struct TCreateParams {
    DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    DWORD ExStyle = 0;
  };
  virtual void CreateParams(TCreateParams& ioParams) { (void)ioParams; }
  virtual bool CloseQuery();

 private:
  void CreateHandle();
  void DestroyHandle();
  void ApplyClientSize();

  std::unique_ptr<TWinWindowHandle> handle_;
  std::u16string caption_;
  int clientWidth_ = 640;
  int clientHeight_ = 480;
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

}  // namespace ui
