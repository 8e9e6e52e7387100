#include "delivery/gate.h"

#include <string>

namespace osk {

std::chrono::milliseconds patienceOf(Patience patience) {
  using std::chrono::milliseconds;
  // A switch settles in a few milliseconds; the click's half second only
  // covers a machine under heavy load. The tick's budget is under half of
  // the 100 ms repeat period, so a burst whose target will not come forward
  // still leaves the window most of each period for clicks and paints.
  return patience == Patience::Tick ? kTickPatience : milliseconds(500);
}

namespace {

// A level of the system's own scale, as opposed to "could not be read".
bool named(Integrity level) { return level >= Integrity::Low && level <= Integrity::System; }

}  // namespace

bool worthProbing(Integrity keyboard, Integrity target) { return named(keyboard) && !named(target); }

Standing standingOf(const Desktop& desktop, WindowId window) {
  Standing standing{desktop.integrityOf(window), ProbeAnswer::NotTried};
  if (worthProbing(desktop.ownIntegrity(), standing.level)) standing.probe = desktop.probe(window);
  return standing;
}

bool keptFrom(Integrity keyboard, Standing target) {
  // Where the keyboard cannot tell its own level (a system without levels,
  // such as Wine), or has UI access, nothing is held back.
  if (!named(keyboard)) return false;
  if (named(target.level)) return target.level > keyboard;
  switch (target.probe) {
    case ProbeAnswer::AccessDenied:
      return true;
    case ProbeAnswer::Answered:
    case ProbeAnswer::TimedOut:
      return false;
    case ProbeAnswer::NotTried:
      // No word either way: a token hidden from us is most often an
      // administrator's, and the note at least offers the way in.
      return target.level == Integrity::Refused;
  }
  return false;
}

std::optional<Passage> passGate(Context& ctx, Aim aim) {
  const RecordedTarget& recorded = ctx.state.target();
  const bool real = recorded.kind == TargetClass::Real;
  const Integrity own = ctx.platform.desktop.ownIntegrity();
  // A send for the recorded target with none recorded finds no window to
  // bring forward, after the gate as before it.
  if (aim == Aim::RecordedTarget || (aim == Aim::RecordedTargetIfReal && real)) {
    if (keptFrom(own, {recorded.integrity, recorded.probe})) return std::nullopt;
    return Passage(ctx, true);
  }
  // Keys for whatever is in front go to the window in front: that one is
  // asked about, read afresh unless it is the recorded target.
  const WindowId front = ctx.platform.desktop.foregroundWindow();
  if (front != 0) {
    const Standing standing = real && front == recorded.window ? Standing{recorded.integrity, recorded.probe}
                                                               : standingOf(ctx.platform.desktop, front);
    if (keptFrom(own, standing)) return std::nullopt;
  }
  return Passage(ctx, false);
}

SendResult Passage::inject(const KeyPlan& plan, Patience patience) const {
  if (toTarget_) {
    // Read afresh: the recorded target is the only authority on where keys go.
    const RecordedTarget& recorded = ctx_.state.target();
    const std::string title = recorded.title;
    if (!ctx_.platform.desktop.activate(recorded.window, title, patienceOf(patience)))
      return SendResult::NotInFront;
  }
  return ctx_.platform.injector.injector_.inject(plan) ? SendResult::Sent : SendResult::Refused;
}

}  // namespace osk
