// Starting programs through the shell, elevated on request.
#pragma once

#include "platform/launcher.h"

namespace osk::win32 {

class ShellLauncher final : public Launcher {
 public:
  bool start(const std::string& file, const std::string& parameters, bool elevated) override;
};

}  // namespace osk::win32
