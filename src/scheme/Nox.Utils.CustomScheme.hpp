#pragma once
// Registers a custom URL scheme with Windows so that opening "<scheme>:..." starts a given
// executable with the link as its one argument, tells whether it is registered, and removes it.
// The keys go under both HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, plus an application entry
// under HKEY_LOCAL_MACHINE, so writing needs an elevated process.

#include <string>

namespace Nox::Utils::CustomScheme {

class TCustomScheme {
 public:
  TCustomScheme(const std::u16string& iScheme, const std::u16string& iAppFullPath);

  // The ten registry writes in order; false at the first that fails (earlier ones stay).
  bool Register();
  // True when the three keys that mark a registration can be opened with full access.
  [[nodiscard]] bool Registered();
  // Removes the three trees in order; false at the first that is still there.
  bool Unregister();

  // The executable registered for a scheme's open command, or empty when there is none or it
  // is not in the form Register writes.
  [[nodiscard]] static std::u16string GetAppPath(const std::u16string& iScheme);

 private:
  [[nodiscard]] bool Valid() const;

  const std::u16string FScheme;
  const std::u16string FAppFullPath;
  const std::u16string FRegSchemePath;
  const std::u16string FRegAppPath;
};

// A scheme name as URIs allow it: a letter, then letters, digits, "+", "-" or ".". Anything
// else (empty, a backslash) would put the keys somewhere other than the scheme's own key.
[[nodiscard]] bool IsValidSchemeName(const std::u16string& iScheme);

}  // namespace Nox::Utils::CustomScheme
