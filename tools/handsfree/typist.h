// The simulated person and the keyboard they type on, for qmosk-handsfree.
// The keyboard is the real one: its window's layout, its Scanner or
// DwellClicker, its word prediction and its timing tuners, run on a manual
// clock. Only the person is a model (docs/hands-free.md says which).
#pragma once

#include <cstdint>
#include <string>

namespace handsfree {

enum class Method : std::uint8_t { Scan, Hover };

struct Person {
  double reactionMs = 700;  // mean time to press, or to settle on a key
  double spreadMs = 200;    // its standard deviation (log-normal)
  double slip = 0.02;       // chance a press or a rest lands one item off
  double moveMs = 200;      // hover: Fitts-law time per bit of difficulty
};

struct Run {
  Method method = Method::Scan;
  bool tuned = false;
  bool prediction = true;
  long long stepMs = 1000;
  long long dwellMs = 1000;
  std::uint64_t seed = 1;
  // Letters of a word typed before a scan starts at the strip (0: always,
  // as before the rule); negative: the keyboard's own rule.
  int stripAfter = -1;
};

struct Result {
  long long characters = 0;  // typed right, in order
  bool finished = false;     // false: the person gave up (see the tool's output)
  long long errors = 0;      // wrong keys clicked, each undone with Backspace
  double minutes = 0;
  long long finalStepMs = 0;  // the step or rest in use at the end
};

// The text as the simulated person types it: lower case, letters, the
// apostrophe, full stops and commas, single spaces.
std::string typeable(const std::string& text);

// Types `text` (already typeable) and says how long it took.
Result type(const std::string& text, const Person& person, const Run& run);

}  // namespace handsfree
