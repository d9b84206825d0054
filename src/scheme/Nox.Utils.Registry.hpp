#pragma once
// Plain routines over the Windows registry for the URL scheme registration. Every key is
// opened or created with KEY_ALL_ACCESS, so a key this process may not fully control counts
// as absent. Failures come back as false or as the empty string; nothing throws.

#include <windows.h>

#include <string>

namespace Nox::Utils::Registry {

// The path without its one trailing backslash; unchanged when it has none.
[[nodiscard]] std::u16string ExcludeTrailingRegDelimiter(const std::u16string& key);

// Creates the key (and any missing parents) and writes `data` as REG_SZ without a
// terminating null: 2 x length bytes. An empty `name` is the key's default value.
bool RegWriteString(HKEY root, const std::u16string& key, const std::u16string& name,
                    const std::u16string& data);

// The value read into a 255-character buffer, trimmed of characters <= U+0020; empty on any
// failure, including a value larger than the buffer.
[[nodiscard]] std::u16string RegReadString(HKEY root, const std::u16string& key, const std::u16string& name);

// True when the key can be opened with KEY_ALL_ACCESS.
[[nodiscard]] bool RegKeyExists(HKEY root, const std::u16string& key);

// Deletes the key depth first, skipping subkeys that cannot be deleted; true when the key
// can no longer be opened afterwards.
bool RegDeleteKeyAll(HKEY root, const std::u16string& key);

// The recursive step of RegDeleteKeyAll: true when the key itself was deleted. A path that
// names the root itself or has an empty key name in it ("", "\", "a\\b") is refused: such a
// path would open a parent key and wipe everything below it.
bool RegDeleteKeyTree(HKEY root, const std::u16string& key);

// The one RegSetValueExW call goes through this pointer, so tests can see the exact byte
// count. Null (the default) means the real API. Returns the previous pointer.
using TRegSetValueExProc = LSTATUS(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);
TRegSetValueExProc SetRegSetValueExProc(TRegSetValueExProc proc) noexcept;

}  // namespace Nox::Utils::Registry
