#pragma once
// The Windows window utilities. Every live TFormUtilsWin is on a unit-level list, in the
// order of construction; a WH_CALLWNDPROCRET hook on the thread that ran Initialize() tells
// the registered callbacks when their form has been minimised or restored.
// Everything here belongs to that one (GUI) thread.

#include <memory>
#include <string>

#include "utils/Nox.Utils.Form.hpp"

namespace Nox::Utils::Form::Win {

class TFormUtilsWin final : public IFormUtils {
 public:
  TFormUtilsWin();
  ~TFormUtilsWin() override;
  TFormUtilsWin(const TFormUtilsWin&) = delete;
  TFormUtilsWin& operator=(const TFormUtilsWin&) = delete;

  // FindWindowW's whole-title match. A caption with a NUL in it matches nothing: no title
  // holds one, and FindWindowW would compare only the part before it.
  [[nodiscard]] rtl::TWindowHandle FindWindow(const std::u16string& iCaption) override;
  // Show and hide the application window, which owns the program's taskbar button.
  void HideTaskbar() override;
  void ShowTaskbar() override;
  void BringToFront() override;
  // Raises the window to the top of the Z order and shows it, with its thread's input
  // attached to the foreground thread's for the moment of the raise. It does not take the
  // foreground and does not restore a minimised window.
  void BringToFront(rtl::TWindowHandle iWnd) override;
  void RegistMinimizeProc(const ui::TCommonCustomForm* iForm, const TFormStateNotifyProc& iProc) override;

  [[nodiscard]] const ui::TCommonCustomForm* RegisteredForm() const noexcept { return FRegsitedForm; }
  [[nodiscard]] const TFormStateNotifyProc& RegisteredProc() const noexcept { return FRegistedProc; }

 private:
  const ui::TCommonCustomForm* FRegsitedForm = nullptr;  // not owned
  TFormStateNotifyProc FRegistedProc;
};

class TFormUtilsFactoryWin final : public TFormUtilsFactory {
 public:
  [[nodiscard]] std::shared_ptr<IFormUtils> CreateFormUtils() override;
};

// Unit start-up, on the GUI thread: registers one TFormUtilsFactoryWin under
// IFormUtilsFactory::IID(), then hooks the calling thread. A second call without
// Finalize() in between throws std::logic_error and installs no second hook.
// Finalize() removes the hook and the factory; facades made before keep their object.
void Initialize();
void Finalize();

}  // namespace Nox::Utils::Form::Win
