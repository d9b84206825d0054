#pragma once
// The toolkit's Windows layer: the hidden application window, the native window behind a
// form, the mappings form <-> HWND, and the wake-up of the event loop for queued calls.

#include <windows.h>

#include "toolkit/Layout.hpp"
#include "toolkit/UniqueHandle.hpp"

namespace ui {

class TCommonCustomForm;

// A form's platform window object. Forms hold one while their native window exists.
class TWindowHandle {
 public:
  TWindowHandle() = default;
  TWindowHandle(const TWindowHandle&) = delete;
  TWindowHandle& operator=(const TWindowHandle&) = delete;
  virtual ~TWindowHandle() = default;
};

class TWinWindowHandle final : public TWindowHandle {
 public:
  TWinWindowHandle(TCommonCustomForm& iForm, HWND iWnd) noexcept : form_(iForm), wnd_(iWnd) {}

  [[nodiscard]] HWND Wnd() const noexcept { return wnd_.get(); }
  [[nodiscard]] TCommonCustomForm& Form() const noexcept { return form_; }
  // Device pixels per device-independent unit: the forced scale when one is set, else
  // the window's DPI / 96.
  [[nodiscard]] float Scale() const noexcept;

  // One scale for every window of the process (below 1 counts as 1); windows take it up
  // when they are next laid out (ScaleChanged). ForcedScale is 0 while none is forced.
  static void SetForcedScale(float iScale) noexcept;
  static void ResetForcedScale() noexcept;
  [[nodiscard]] static float ForcedScale() noexcept;

  // The window's rectangle on the screen, in device pixels.
  [[nodiscard]] TRect Bounds() const noexcept;
  void SetBounds(const TRect& iBounds) noexcept;
  // The form's client size in device-independent units; setting it sizes the window by
  // the present scale.
  [[nodiscard]] TSizeF ClientSize() const noexcept;
  void SetClientSize(const TSizeF& iSize);
  // Lays the window and its controls out again at the present scale.
  void ScaleChanged();

  // Set while the toolkit wants the window's deactivation ignored (it is opening a popup).
  [[nodiscard]] bool DisableDeactivate() const noexcept { return disableDeactivate_; }
  void SetDisableDeactivate(bool iDisable) noexcept { disableDeactivate_ = iDisable; }

  // The window has been destroyed by Windows itself (WM_NCDESTROY): forget it.
  void Detach() noexcept { (void)wnd_.release(); }

 private:
  TCommonCustomForm& form_;
  TUniqueWindow wnd_;
  bool disableDeactivate_ = false;
};

// The hidden application window (class "TFMAppClass"): the owner of every form window, so
// the program has one taskbar button, this window's. Created on first use.
[[nodiscard]] HWND ApplicationHWND();
inline constexpr const wchar_t* kApplicationWindowClass = L"TFMAppClass";

// The platform object of a form's handle; null for none or another kind.
[[nodiscard]] TWinWindowHandle* WindowHandleToPlatform(TWindowHandle* iHandle) noexcept;
// The native window of a form; 0 for a null form or one without a Windows window.
[[nodiscard]] HWND FormToHWND(const TCommonCustomForm* iForm) noexcept;
// The toolkit form whose native window this is; null for any other window (also of other
// processes) and for 0.
[[nodiscard]] TCommonCustomForm* FindForm(HWND iWnd) noexcept;

namespace platform {
// Registers the form window class once and returns its atom.
[[nodiscard]] ATOM FormWindowClass();
// Makes queued calls wake the event loop of the calling (main) thread: a registered message
// posted to a message-only window. Idempotent.
void InstallMainThreadWake();
// Shows the application window once, when the first form is shown, so the taskbar button
// appears; a later hide (payment mode hides it) is respected.
void ShowApplicationWindowOnce();
}  // namespace platform

}  // namespace ui
