#pragma once
// Window utilities: find a top-level window by its title, raise a window, hide or show the
// program's taskbar button, and be told when a form is minimised or restored.
// The work is the operating system's (Nox.Utils.Form.Win registers a factory for it); the
// rest of the program uses only the facade TFormUtils, which does nothing and returns 0
// where no factory is registered.

#include <functional>
#include <memory>
#include <string>

#include "rtl/Guid.hpp"
#include "rtl/WindowHandle.hpp"
#include "toolkit/PlatformServices.hpp"

// <windows.h> defines FindWindow as a macro for FindWindowW; the member keeps its own name.
#ifdef FindWindow
#undef FindWindow
#endif

namespace ui {
class TCommonCustomForm;
}  // namespace ui

namespace Nox::Utils::Form {

// Called with true when the registered form has been minimised, false when restored.
using TFormStateNotifyProc = std::function<void(bool iMinimized)>;

class IFormUtils : public ui::IInterface {
 public:
  [[nodiscard]] static const rtl::TGUID& IID();

  // The top-level window whose whole title is iCaption; 0 when there is none.
  [[nodiscard]] virtual rtl::TWindowHandle FindWindow(const std::u16string& iCaption) = 0;
  virtual void HideTaskbar() = 0;
  virtual void ShowTaskbar() = 0;
  // The application's main form.
  virtual void BringToFront() = 0;
  virtual void BringToFront(rtl::TWindowHandle iWnd) = 0;
  // One registration per object: a second call replaces the first.
  virtual void RegistMinimizeProc(const ui::TCommonCustomForm* iForm, const TFormStateNotifyProc& iProc) = 0;
};

// The service key of the factory in ui::TPlatformServices is IID().
class IFormUtilsFactory : public ui::IInterface {
 public:
  [[nodiscard]] static const rtl::TGUID& IID();

  [[nodiscard]] virtual std::shared_ptr<IFormUtils> CreateFormUtils() = 0;
};

class TFormUtilsFactory : public IFormUtilsFactory {
 public:
  [[nodiscard]] std::shared_ptr<IFormUtils> CreateFormUtils() override = 0;
};

// The facade the program uses. Each TFormUtils has its own utilities object, released
// with the facade.
class TFormUtils {
 public:
  TFormUtils();
  TFormUtils(const TFormUtils&) = delete;
  TFormUtils& operator=(const TFormUtils&) = delete;

  [[nodiscard]] rtl::TWindowHandle FindWindow(const std::u16string& iCaption);
  void HideTaskbar();
  void ShowTaskbar();
  void BringToFront();
  void BringToFront(rtl::TWindowHandle iWnd);
  void RegisterMinimizeProc(const ui::TCommonCustomForm* iForm, const TFormStateNotifyProc& iProc);

 private:
  std::shared_ptr<IFormUtils> FFormUtils;
};

}  // namespace Nox::Utils::Form
