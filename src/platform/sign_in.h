// Whether the keyboard starts when the user signs in: the entry Windows
// reads at sign-in, one per program name, so that a copy under another
// name keeps its own.
#pragma once

namespace osk {

class SignInStart {
 public:
  virtual ~SignInStart() = default;
  // True when the entry of this program's name starts this very program.
  [[nodiscard]] virtual bool on() const = 0;
  // Writes or removes the entry; false when the system refused.
  [[nodiscard]] virtual bool set(bool on) = 0;
};

// In memory, for tests and for a keyboard given no entry of its own.
class MemorySignInStart final : public SignInStart {
 public:
  bool on() const override { return entry; }
  bool set(bool next) override {
    if (refuse) return false;
    entry = next;
    return true;
  }

  bool entry = false;
  bool refuse = false;  // set() fails, as under a policy that locks the entry
};

// Refuses every change: for a keyboard given no entry to keep.
inline SignInStart& noSignInStart() {
  static MemorySignInStart none = [] {
    MemorySignInStart s;
    s.refuse = true;
    return s;
  }();
  return none;
}

}  // namespace osk
