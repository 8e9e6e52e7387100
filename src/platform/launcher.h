// Starting other programs.
#pragma once

#include <string>

namespace osk {

class Launcher {
 public:
  virtual ~Launcher() = default;
  // `elevated` asks for the "runas" verb. False when nothing was started.
  virtual bool start(const std::string& file, const std::string& parameters, bool elevated) = 0;
};

}  // namespace osk
