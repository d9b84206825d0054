#include "utils/Nox.Utils.RunAsAdmin.Win.hpp"

#include <windows.h>

#include <shellapi.h>
#include <versionhelpers.h>

#include <string>

#include "rtl/Text.hpp"
#include "utils/Nox.Utils.Application.hpp"

namespace Nox::Utils::RunAsAdmin {
namespace {

[[nodiscard]] int ShowCommand(bool iShow) { return iShow ? SW_SHOWNORMAL : SW_HIDE; }

[[nodiscard]] std::string ToAnsi(const std::u16string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, rtl::WStr(text), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, rtl::WStr(text), length, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

bool RunAsAdmin(const std::u16string& iProgramPath, const std::u16string& iParameters, bool iShow) {
  if (!IsWindowsVistaOrGreater()) return RunWithWinExec(iProgramPath, iParameters);

  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = nullptr;
  info.lpVerb = L"runas";
  info.lpFile = rtl::WStr(iProgramPath);
  info.lpParameters = rtl::WStr(iParameters);
  info.lpDirectory = nullptr;
  info.nShow = ShowCommand(iShow);
  return ShellExecuteExW(&info) != FALSE;
}

bool RunSelfAsAdmin(const std::u16string& iParameters, bool iShow) {
  return RunAsAdmin(Application::GetApplicationFileName(), iParameters, iShow);
}

bool RunWithWinExec(const std::u16string& iProgramPath, const std::u16string& iParameters) {
  const std::string commandLine = ToAnsi(u"\"" + iProgramPath + u"\" " + iParameters);
  return WinExec(commandLine.c_str(), SW_SHOWNORMAL) > 31;
}

}  // namespace Nox::Utils::RunAsAdmin
