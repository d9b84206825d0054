#include "scheme/Nox.Utils.Registry.hpp"

#include <algorithm>
#include <array>
#include <atomic>

#include "rtl/Text.hpp"
#include "toolkit/UniqueHandle.hpp"

namespace Nox::Utils::Registry {

namespace {

constexpr DWORD kReadBufferChars = 255;
constexpr DWORD kSubkeyNameChars = 260;

std::atomic<TRegSetValueExProc> gRegSetValueEx{nullptr};

ui::TUniqueRegKey OpenFullAccess(HKEY root, const std::u16string& key) {
  ui::TUniqueRegKey result;
  if (::RegOpenKeyExW(root, rtl::WStr(ExcludeTrailingRegDelimiter(key)), 0, KEY_ALL_ACCESS,
                      result.put()) != ERROR_SUCCESS) {
    result.reset();  // the API leaves no handle on failure; make sure of it
  }
  return result;
}

// A path whose key names are all non-empty once one trailing backslash is dropped. Anything
// else names the root itself or a parent of the intended key.
bool IsDeletablePath(const std::u16string& key) {
  const std::u16string path = ExcludeTrailingRegDelimiter(key);
  return !path.empty() && path.front() != u'\\' && path.back() != u'\\' &&
         path.find(u"\\\\") == std::u16string::npos;
}

}  // namespace

TRegSetValueExProc SetRegSetValueExProc(TRegSetValueExProc proc) noexcept {
  return gRegSetValueEx.exchange(proc);
}

std::u16string ExcludeTrailingRegDelimiter(const std::u16string& key) {
  if (!key.empty() && key.back() == u'\\') return key.substr(0, key.size() - 1);
  return key;
}

bool RegWriteString(HKEY root, const std::u16string& key, const std::u16string& name,
                    const std::u16string& data) {
  ui::TUniqueRegKey handle;
  if (::RegCreateKeyExW(root, rtl::WStr(key), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, handle.put(),
                        nullptr) != ERROR_SUCCESS) {
    handle.reset();
    return false;
  }
  // No terminating null is stored: readers trim, and the byte count is exactly the text.
  const auto bytes = static_cast<DWORD>(data.size() * sizeof(char16_t));
  const TRegSetValueExProc proc = gRegSetValueEx.load();
  return (proc ? proc : &::RegSetValueExW)(handle.get(), rtl::WStr(name), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(data.data()),
                                          bytes) == ERROR_SUCCESS;
}

std::u16string RegReadString(HKEY root, const std::u16string& key, const std::u16string& name) {
  const ui::TUniqueRegKey handle = OpenFullAccess(root, key);
  if (!handle) return {};
  std::array<char16_t, kReadBufferChars> buffer{};
  DWORD type = REG_SZ;
  DWORD bytes = kReadBufferChars * sizeof(char16_t);
  // Whatever the stored type, its bytes are taken as UTF-16 text.
  if (::RegQueryValueExW(handle.get(), rtl::WStr(name), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS) {
    return {};
  }
  const std::size_t chars = std::min<std::size_t>(bytes / sizeof(char16_t), buffer.size());
  return rtl::Trim(std::u16string_view(buffer.data(), chars));
}

bool RegKeyExists(HKEY root, const std::u16string& key) {
  return static_cast<bool>(OpenFullAccess(root, key));
}

bool RegDeleteKeyTree(HKEY root, const std::u16string& key) {
  if (!IsDeletablePath(key)) return false;
  const std::u16string path = key.back() == u'\\' ? key : key + u'\\';
  const ui::TUniqueRegKey handle = OpenFullAccess(root, path);
  if (!handle) return false;
  DWORD index = 0;
  for (;;) {
    std::array<wchar_t, kSubkeyNameChars> name{};
    DWORD nameChars = kSubkeyNameChars;
    if (::RegEnumKeyExW(handle.get(), index, name.data(), &nameChars, nullptr, nullptr, nullptr,
                        nullptr) != ERROR_SUCCESS) {
      // No more subkeys (or an error): the key goes now, or fails because a subkey stayed.
      return ::RegDeleteKeyW(root, rtl::WStr(path)) == ERROR_SUCCESS;
    }
    // A deleted subkey's index is taken by the next one; one that stays is stepped over.
    if (!RegDeleteKeyTree(root, path + rtl::FromW(name.data(), nameChars))) ++index;
  }
}

bool RegDeleteKeyAll(HKEY root, const std::u16string& key) {
  RegDeleteKeyTree(root, key);
  return !RegKeyExists(root, key);
}

}  // namespace Nox::Utils::Registry
