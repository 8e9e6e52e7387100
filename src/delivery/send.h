// The one path by which a key reaches the target window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/context.h"
#include "base/keyboard_state.h"
#include "delivery/gate.h"

namespace osk {

// The recorded target: its kind, and a real one's title (empty otherwise).
TargetClass target(const Context& ctx);
const std::string& targetTitle(const Context& ctx);
// Records `window`, titled `title`, as the target, or the keyboard's own
// command line; the target label shows the title, or the label's words for
// the command line. A window new to the record has its integrity read.
void recordTarget(Context& ctx, std::string_view title, WindowId window);
void targetCommandLine(Context& ctx);

// A physical key of the target's layout, as the keys that follow the input
// language send it.
struct PhysicalKey {
  LayoutId layout = 0;
  KeyPress press;
  KeyOutput alone;     // what it types by itself
  bool chord = false;  // Ctrl or Alt make a shortcut of it: it types nothing
};

// The keyboard's way of sending keys: through the administrator gate, with
// word prediction told what went in. Stateless: it reads the target from the
// keyboard state at every call, so a fresh one per send is fine.
class Delivery {
 public:
  explicit Delivery(Context& ctx) : ctx_(ctx) {}
  [[nodiscard]] SendResult send(std::string_view keys, Aim aim, Patience patience = Patience::Click) const;
  // Sends keys that no key string names (the physical key `key`, by its
  // scan code) to the recorded target. What the target shows, for word
  // prediction, is what the key types there: after a dead key, what the
  // layout composes of the two.
  [[nodiscard]] SendResult sendPlan(const KeyPlan& plan, const PhysicalKey& key) const;
  // Sends keys that carry codes of their own (the number pad's, by the
  // keypad's scan codes) to the recorded target; `typed` is the key string
  // of what they do, for word prediction. Not a PhysicalKey: the layout is
  // asked by scan code alone, and the keypad's slash and Enter share theirs
  // with the main keys (only the extended flag tells them apart), so the
  // layout would answer for the main keys; nor does a keypad key compose
  // with a waiting accent as a key of the layout would.
  [[nodiscard]] SendResult sendPlan(const KeyPlan& plan, std::string_view typed) const;
  // Brings a real recorded target to the front without sending anything;
  // false when no window is recorded or it did not come forward.
  [[nodiscard]] bool activate(Patience patience = Patience::Click) const;

 private:
  // The gate, and the note when it stays shut.
  std::optional<Passage> pass(Aim aim) const;
  static SendResult sendAsIs(const Passage& passage, std::string_view keys, Patience patience);
  // What follows every send: word prediction and the key click.
  SendResult settle(SendResult result, WordPrediction* prediction, Patience patience) const;
  // What a physical key makes the target show (none where that is not
  // known), and what it leaves waiting there.
  struct KeyEffect {
    std::optional<std::string> shown;
    std::optional<WaitingAccent> left;
  };
  KeyEffect effectOf(const PhysicalKey& key, const std::optional<WaitingAccent>& accent) const;
  // The accent that may wait in the recorded target, or none.
  std::optional<WaitingAccent> accentInTarget() const;
  // An accent that may wait in the recorded target, which is not known.
  WaitingAccent unknownAccent() const;
  // What the target shows once `next` follows `accent`, as
  // InputLanguages::composed says; virtual key 0 where that is not known.
  // An accent still waiting after the two (`dead`) leaves the next key's
  // text a guess.
  KeyOutput composed(const WaitingAccent& accent, KeyPress next) const;
  // Records `left` as what waits in the target after keys sent with
  // `result`.
  void noteAccent(SendResult result, std::optional<WaitingAccent> left) const;

  Context& ctx_;
};

// Brings the recorded target back and injects `keys`. False when no window
// is recorded, the string is malformed, the target cannot be
// brought to the front, or the system refuses the input.
[[nodiscard]] bool deliver(Context& ctx, std::string_view keys);

// The guarded send of a key: nothing when no window is recorded; otherwise
// deliver and, when that worked, flash `flash` green (if given).
bool sendStep(Context& ctx, std::string_view keys, Control* flash);

// sendStep for a plan (Delivery::sendPlan).
bool sendPlanStep(Context& ctx, const KeyPlan& plan, const PhysicalKey& key, Control* flash);
bool sendPlanStep(Context& ctx, const KeyPlan& plan, std::string_view typed, Control* flash);

// Lights a key green for a press that went in; the colour reset lets it
// stay lit a moment at least.
void flashKey(Context& ctx, Control& key);

// Injects into whatever window is active, with no target and no flash,
// when the gate lets keys through to that window.
[[nodiscard]] bool injectDirect(Context& ctx, std::string_view keys);

// Brings the recorded target back without sending anything; false when it
// cannot be brought to the front.
[[nodiscard]] bool activateTarget(Context& ctx);

}  // namespace osk
