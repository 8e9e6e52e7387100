// Starting other programs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/desktop.h"

namespace osk {

// Everything any start needs, so that one method serves every key that
// starts something.
struct LaunchRequest {
  enum class Kind : std::uint8_t {
    Shell,        // `file` is opened by the shell, `parameters` passed to it
    CommandLine,  // `file` is a whole command line, run directly as it stands
    // This keyboard once more, with the switches it was started with, to
    // take the place of the running one instead of handing it its switches
    // (`file` and `parameters` are not read). The running one must close
    // once it has started, or the new one gives up waiting for it.
    Restart,
  };
  Kind kind = Kind::Shell;
  std::string file;
  std::string parameters;
  std::string directory;  // empty: the system's choice
  bool elevated = false;  // ask for administrator rights (the consent prompt)
  // The window the consent prompt and any system window of the start belong
  // to, so that they come up in front of it.
  WindowId owner = 0;
  friend bool operator==(const LaunchRequest&, const LaunchRequest&) = default;
};

struct LaunchOutcome {
  enum class Status : std::uint8_t {
    Started,
    NotFound,  // no file or program of that name
    Failed,    // anything else: refused consent, no access, a bad program...
  };
  Status status = Status::Failed;
  // The system's own description of a failure, for the user to read.
  std::string reason;
  bool started() const { return status == Status::Started; }
};

class Launcher {
 public:
  using Done = std::function<void(const LaunchOutcome&)>;
  virtual ~Launcher() = default;
  // Starts what `request` describes without making the caller wait for the
  // program or a consent prompt. `done` gets the outcome on the thread that
  // runs the keyboard's handlers: from within this call when the answer is
  // known at once, otherwise between two handlers once the system answers.
  virtual void launch(const LaunchRequest& request, Done done) = 0;
};

}  // namespace osk
