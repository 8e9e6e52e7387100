// The per-user settings store in the registry:
// HKCU\Software\QM-OSK\<application name>\<section>, string values.
#pragma once

#include <string>

#include "platform/settings_store.h"

namespace osk::win32 {

class RegistryStore final : public SettingsStore {
 public:
  // `applicationName` tells copies of the program apart, as the name of the
  // executable does.
  explicit RegistryStore(const std::wstring& applicationName);

  // The executable's own file name without its extension ("qm-osk").
  static std::wstring applicationNameOfThisProgram();

  std::string read(std::string_view section, std::string_view key, std::string_view fallback) const override;
  // One RegSetValueExW per value: the registry replaces a value whole, so a
  // crash or power cut mid-save leaves each value old or new, never cut.
  // A refusal is reported on the debug channel with the key and the error.
  [[nodiscard]] bool write(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::wstring keyPath(std::string_view section) const;
  std::wstring base_;
};

}  // namespace osk::win32
