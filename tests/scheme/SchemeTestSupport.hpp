#pragma once
// Helpers of the scheme tests: they read and write the registry with the plain API, never
// through the code under test, and record what RegWriteString hands to RegSetValueExW.

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtl/Format.hpp"
#include "rtl/Text.hpp"
#include "scheme/Nox.Utils.Registry.hpp"

namespace scheme_tests {

// Wine stores a REG_SZ value written without a terminating null with one added, so its
// stored size is 2 bytes larger than on Windows and a 510-byte value no longer fits the
// reader's buffer. The cases this changes say so and expect the Windows result elsewhere.
inline bool RunningOnWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

inline std::u16string Pid() { return rtl::Format(u"%d", {static_cast<long long>(GetCurrentProcessId())}); }

struct TRawValue {
  bool Found = false;
  DWORD Type = REG_NONE;
  std::vector<BYTE> Bytes;
};

inline TRawValue ReadRaw(HKEY root, const std::u16string& key, const std::u16string& name) {
  TRawValue value;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, rtl::WStr(key), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExW(handle, rtl::WStr(name), nullptr, &value.Type, nullptr, &size) == ERROR_SUCCESS) {
    value.Bytes.resize(size);
    value.Found = RegQueryValueExW(handle, rtl::WStr(name), nullptr, &value.Type,
                                   value.Bytes.data(), &size) == ERROR_SUCCESS;
    value.Bytes.resize(size);
  }
  RegCloseKey(handle);
  return value;
}

inline std::vector<BYTE> Utf16Bytes(const std::u16string& text, bool withNull = false) {
  const auto* begin = reinterpret_cast<const BYTE*>(text.c_str());
  return std::vector<BYTE>(begin, begin + (text.size() + (withNull ? 1 : 0)) * sizeof(char16_t));
}

// The bytes a REG_SZ value of `text` written without terminator occupies where it is stored.
inline std::vector<BYTE> StoredBytes(const std::u16string& text) {
  return Utf16Bytes(text, RunningOnWine() && !text.empty());
}

inline void WriteRaw(HKEY root, const std::u16string& key, const std::u16string& name, DWORD type,
                     const std::vector<BYTE>& bytes) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, rtl::WStr(key), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(handle, rtl::WStr(name), 0, type, bytes.data(), static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(handle);
}

inline bool KeyExistsRaw(HKEY root, const std::u16string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, rtl::WStr(key), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

struct TKeyCounts {
  DWORD Subkeys = 0;
  DWORD Values = 0;
};

inline TKeyCounts CountsRaw(HKEY root, const std::u16string& key) {
  TKeyCounts counts;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, rtl::WStr(key), 0, KEY_READ, &handle) != ERROR_SUCCESS) return counts;
  RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &counts.Subkeys, nullptr, nullptr, &counts.Values,
                   nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(handle);
  return counts;
}

// Removes a test key with everything below it; a key that is not there is fine.
inline void DeleteTreeRaw(HKEY root, const std::u16string& key) {
  RegDeleteTreeW(root, rtl::WStr(key));
  RegDeleteKeyW(root, rtl::WStr(key));
}

// Sets a key's DACL from SDDL text, e.g. "D:P(A;;KR;;;WD)": everyone may only read.
inline void SetDacl(HKEY key, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
  EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
  LocalFree(descriptor);
}

// Records every call RegWriteString makes to RegSetValueExW while it lives, forwarding to the
// real API unless told to fail from a given call on.
class TSetValueRecorder {
 public:
  struct TCall {
    std::u16string Name;
    DWORD Type;
    DWORD ByteCount;
    std::u16string Text;
  };

  explicit TSetValueRecorder(std::size_t failFromCall = 0) {
    Calls().clear();
    FailFrom() = failFromCall;
    previous_ = Nox::Utils::Registry::SetRegSetValueExProc(&Record);
  }
  TSetValueRecorder(const TSetValueRecorder&) = delete;
  TSetValueRecorder& operator=(const TSetValueRecorder&) = delete;
  ~TSetValueRecorder() { Nox::Utils::Registry::SetRegSetValueExProc(previous_); }

  [[nodiscard]] const std::vector<TCall>& calls() const { return Calls(); }

 private:
  static std::vector<TCall>& Calls() {
    static std::vector<TCall> calls;
    return calls;
  }
  static std::size_t& FailFrom() {
    static std::size_t failFrom = 0;
    return failFrom;
  }
  static LSTATUS WINAPI Record(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                               DWORD size) {
    Calls().push_back({rtl::FromW(name), type, size,
                       std::u16string(reinterpret_cast<const char16_t*>(data), size / sizeof(char16_t))});
    if (FailFrom() != 0 && Calls().size() >= FailFrom()) return ERROR_ACCESS_DENIED;
    return RegSetValueExW(key, name, reserved, type, data, size);
  }

  Nox::Utils::Registry::TRegSetValueExProc previous_ = nullptr;
};

}  // namespace scheme_tests
