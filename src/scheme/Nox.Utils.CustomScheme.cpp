#include "scheme/Nox.Utils.CustomScheme.hpp"

#include <windows.h>
#include <shlobj.h>

#include <array>

#include "rtl/Format.hpp"
#include "rtl/Text.hpp"
#include "scheme/Nox.Utils.Registry.hpp"

namespace Nox::Utils::CustomScheme {

namespace Registry = Nox::Utils::Registry;

namespace {

constexpr std::u16string_view kClasses = u"SOFTWARE\\Classes\\";
constexpr std::u16string_view kApplications = u"SOFTWARE\\Classes\\Applications\\";
constexpr std::u16string_view kCommandSubkey = u"shell\\open\\command\\";
constexpr std::u16string_view kIconSubkey = u"DefaultIcon\\";
// Windows puts the opened link in place of %1; the quotes keep it one argument.
constexpr std::u16string_view kCommandTail = u" \"%1\"";

// What follows the last path separator; the whole text when there is none.
std::u16string FileNameOf(const std::u16string& path) {
  const std::size_t pos = path.find_last_of(u"\\/:");
  return pos == std::u16string::npos ? path : path.substr(pos + 1);
}

std::u16string QuotedPath(const std::u16string& path) {
  return u"\"" + rtl::ReplaceAll(path, u"\"", u"\"\"") + u"\"";
}

// Undoes QuotedPath: outer quotes removed, doubled quotes made single, a lone one dropped.
std::u16string UnquotePath(std::u16string_view text) {
  if (text.size() < 2 || text.front() != u'"' || text.back() != u'"') return std::u16string(text);
  const std::u16string_view inner = text.substr(1, text.size() - 2);
  std::u16string result;
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] != u'"') {
      result += inner[i];
    } else if (i + 1 < inner.size() && inner[i + 1] == u'"') {
      result += u'"';
      ++i;
    }
  }
  return result;
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Explorer and browsers cache associations; this makes them read the registry again.
void NotifyAssociationsChanged() { ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

struct TWrite {
  HKEY Root;
  std::u16string Key;
  std::u16string Name;
  std::u16string Data;
};

}  // namespace

bool IsValidSchemeName(const std::u16string& iScheme) {
  if (iScheme.empty() || !IsAsciiLetter(iScheme.front())) return false;
  for (const char16_t c : iScheme) {
    const bool ok = IsAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
    if (!ok) return false;
  }
  return true;
}

TCustomScheme::TCustomScheme(const std::u16string& iScheme, const std::u16string& iAppFullPath)
    : FScheme(iScheme),
      FAppFullPath(iAppFullPath),
      FRegSchemePath(std::u16string(kClasses) + iScheme + u"\\"),
      FRegAppPath(std::u16string(kApplications) + FileNameOf(iAppFullPath) + u"\\") {}

bool TCustomScheme::Valid() const {
  return IsValidSchemeName(FScheme) && !FileNameOf(FAppFullPath).empty();
}

bool TCustomScheme::Register() {
  if (!Valid()) return false;
  const std::u16string quoted = QuotedPath(FAppFullPath);
  const std::u16string command = quoted + std::u16string(kCommandTail);
  const std::u16string description = rtl::Format(u"URL:%s Protocol", {FScheme});
  const std::u16string iconKey = FRegSchemePath + std::u16string(kIconSubkey);
  const std::u16string commandKey = FRegSchemePath + std::u16string(kCommandSubkey);
  const std::array<TWrite, 10> writes{{
      {HKEY_LOCAL_MACHINE, FRegSchemePath, u"", description},
      {HKEY_LOCAL_MACHINE, FRegSchemePath, u"URL Protocol", u""},
      {HKEY_LOCAL_MACHINE, iconKey, u"", quoted + u",1"},
      {HKEY_LOCAL_MACHINE, commandKey, u"", command},
      {HKEY_CURRENT_USER, FRegSchemePath, u"", description},
      {HKEY_CURRENT_USER, FRegSchemePath, u"URL Protocol", u""},
      {HKEY_CURRENT_USER, iconKey, u"", quoted + u",1"},
      {HKEY_CURRENT_USER, commandKey, u"", command},
      {HKEY_LOCAL_MACHINE, FRegAppPath, u"NoOpenWith", u""},
      {HKEY_LOCAL_MACHINE, FRegAppPath + std::u16string(kCommandSubkey), u"", command},
  }};
  for (const TWrite& write : writes) {
    if (!Registry::RegWriteString(write.Root, write.Key, write.Name, write.Data)) return false;
  }
  NotifyAssociationsChanged();
  return true;
}

bool TCustomScheme::Registered() {
  return Valid() && Registry::RegKeyExists(HKEY_LOCAL_MACHINE, FRegSchemePath) &&
         Registry::RegKeyExists(HKEY_CURRENT_USER, FRegSchemePath) &&
         Registry::RegKeyExists(HKEY_LOCAL_MACHINE, FRegAppPath);
}

bool TCustomScheme::Unregister() {
  if (!Valid()) return false;
  const bool removed = Registry::RegDeleteKeyAll(HKEY_LOCAL_MACHINE, FRegSchemePath) &&
                       Registry::RegDeleteKeyAll(HKEY_CURRENT_USER, FRegSchemePath) &&
                       Registry::RegDeleteKeyAll(HKEY_LOCAL_MACHINE, FRegAppPath);
  if (removed) NotifyAssociationsChanged();
  return removed;
}

std::u16string TCustomScheme::GetAppPath(const std::u16string& iScheme) {
  if (!IsValidSchemeName(iScheme)) return {};
  const std::u16string text = Registry::RegReadString(
      HKEY_LOCAL_MACHINE, std::u16string(kClasses) + iScheme + u"\\" + std::u16string(kCommandSubkey), u"");
  const std::u16string_view view(text);
  if (view.size() < kCommandTail.size() || view.substr(view.size() - kCommandTail.size()) != kCommandTail) {
    return {};
  }
  return UnquotePath(view.substr(0, view.size() - kCommandTail.size()));
}

}  // namespace Nox::Utils::CustomScheme
