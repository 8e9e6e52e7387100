// What becomes of each event of one physical switch key seen by the host's
// key hook: swallowed (only the keyboard learns of it) or passed on to the
// program in front, and whether the keyboard is told of a press.
//
// The rules keep the system's view of the key whole: a key it saw go down
// also goes up for it, and one it never saw go down never goes up for it.
// - A key already down when the gate was made belongs to whoever saw its
//   press: its repeats and its release pass, and only a press after that
//   release is the switch.
// - A fresh press is taken only when the keyboard answers, as a keyboard
//   that does not (hung, or gone) would leave the key swallowed everywhere
//   with nobody acting on it. A press passed on for that reason passes with
//   its repeats and its release; a press taken takes them too.
// - Keys that do not work the switch (see worksSwitch) pass untouched and
//   leave the state alone: the keyboard's own Space key must reach the
//   target even while the switch, Space too, is held, and so must a Space
//   that dictation types meanwhile.
#pragma once

namespace osk::aids {

// Whether one event of the switch key works the switch, by where it came
// from. The person's own switch (a key the system did not see injected)
// always does. A key the keyboard injects itself (`ours`: it carries the
// keyboard's tag) never does: its Space key types a space. A key another
// program injects (dictation, a macro, a screen reader) is that program's
// text and passes untouched, unless the user has said that injected keys
// work the switch (`injectedWorks`), for switch software that presses the
// switch by injecting it.
constexpr bool worksSwitch(bool injected, bool ours, bool injectedWorks) {
  if (ours) return false;
  return !injected || injectedWorks;
}

struct SwitchVerdict {
  bool swallow = false;
  bool tellKeyboard = false;  // a fresh press the keyboard is to act on
  friend bool operator==(const SwitchVerdict&, const SwitchVerdict&) = default;
};

class SwitchGate {
 public:
  explicit SwitchGate(bool downAlready = false) : held_(downAlready ? Held::PassedOn : Held::No) {}

  // `down`: a press or its auto-repeat; `works`: worksSwitch for the event.
  // `answers()` is called only at a fresh press, since asking the keyboard
  // costs a round trip to its thread.
  template <typename Answers>
  SwitchVerdict onKey(bool down, bool works, const Answers& answers) {
    if (!works) return {};
    if (!down) {
      const bool taken = held_ == Held::Taken;
      held_ = Held::No;
      return {taken, false};
    }
    const bool fresh = held_ == Held::No;
    if (fresh) held_ = answers() ? Held::Taken : Held::PassedOn;
    const bool taken = held_ == Held::Taken;
    return {taken, fresh && taken};
  }

 private:
  enum class Held : unsigned char { No, Taken, PassedOn };
  Held held_;
};

}  // namespace osk::aids
