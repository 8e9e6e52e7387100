#include "delivery/send.h"

#include <optional>
#include <string>
#include <vector>

#include "layout/main_window.h"

namespace osk {

TargetClass target(const Context& ctx) { return ctx.state.target().kind; }

const std::string& targetTitle(const Context& ctx) { return ctx.state.target().title; }

void recordTarget(Context& ctx, std::string_view title, WindowId window) {
  // Once per window, not at every tick that finds it still in front: a
  // process keeps its level for life.
  const RecordedTarget& was = ctx.state.target();
  const bool known = was.kind == TargetClass::Real && was.window == window;
  const Integrity integrity = known ? was.integrity : ctx.platform.desktop.integrityOf(window);
  ctx.state.setTarget({TargetClass::Real, window, std::string(title), integrity});
}

void targetCommandLine(Context& ctx) { ctx.state.setTarget({TargetClass::CommandLine, 0, {}}); }

std::chrono::milliseconds patienceOf(Patience patience) {
  using std::chrono::milliseconds;
  // A switch settles in a few milliseconds; the click's half second only
  // covers a machine under heavy load. The tick's budget is under half of
  // the 100 ms repeat period, so a burst whose target will not come forward
  // still leaves the window most of each period for clicks and paints.
  return patience == Patience::Tick ? kTickPatience : milliseconds(500);
}

bool keptFrom(Integrity keyboard, Integrity target) {
  // Where the keyboard cannot tell its own level (a system without levels,
  // such as Wine), or has UI access, nothing is held back.
  if (keyboard == Integrity::Unknown || keyboard == Integrity::Refused || keyboard == Integrity::UiAccess)
    return false;
  return target == Integrity::Refused || (target != Integrity::Unknown && target > keyboard);
}

namespace {

WindowId recordedWindow(const Context& ctx) { return ctx.state.target().window; }

void restartAsAdministrator(Context& ctx) {
  LaunchRequest request;
  request.kind = LaunchRequest::Kind::Restart;
  request.elevated = true;
  request.owner = ctx.platform.host.windowOf(ctx.main);
  // Refused consent leaves this keyboard as it was; once the new one has
  // started, this one closes as its close box would, saving its settings,
  // and the new one takes its place.
  ctx.platform.launcher.launch(request, [&ctx](const LaunchOutcome& outcome) {
    if (outcome.started()) ctx.platform.host.close(ctx.main);
  });
}

}  // namespace

SendResult Delivery::send(std::string_view keys, Aim aim, Patience patience) const {
  const bool real = target(ctx_) == TargetClass::Real;
  if (aim == Aim::RecordedTarget && !real) return SendResult::ReservedTarget;
  // Word prediction follows everything that goes into a real target, here
  // where every key passes, and may have a punctuation mark typed before
  // the space a suggestion left. Keys aimed at whatever window is active
  // (the lock keys, the Start menu) type nothing into the target.
  WordPrediction* prediction = aim != Aim::ActiveWindow && real ? ctx_.prediction.get() : nullptr;
  const std::optional<std::string> instead = prediction != nullptr ? prediction->sending(keys) : std::nullopt;
  const SendResult result = sendAsIs(instead ? std::string_view(*instead) : keys, aim, patience);
  if (result != SendResult::Sent && prediction != nullptr) prediction->lost();
  if (result == SendResult::AboveKeyboard) noteAboveKeyboard();
  return result;
}

void Delivery::noteAboveKeyboard() const {
  // Beside the key pressed; a send of a timer's (a key held down) has no
  // key, and the note stands by the target's name instead.
  const std::vector<Control>& controls = ctx_.main.controls();
  const Control& at =
      ctx_.handling < controls.size() ? controls[ctx_.handling] : ctx_.main.control(ui::kActiveWindowLabel);
  ctx_.platform.host.showActionNote(ctx_.main, at, kAdministratorNote,
                                    [&ctx = ctx_] { restartAsAdministrator(ctx); });
}

SendResult Delivery::sendAsIs(std::string_view keys, Aim aim, Patience patience) const {
  const bool real = target(ctx_) == TargetClass::Real;
  ParseResult parsed = parseKeyString(keys);
  if (!parsed) return SendResult::Malformed;
  if (aim != Aim::ActiveWindow && real) {
    // The system would drop the keys without a word; the keyboard says why
    // instead, and neither brings the window forward nor flashes the key.
    if (keptFrom(ctx_.platform.desktop.ownIntegrity(), ctx_.state.target().integrity))
      return SendResult::AboveKeyboard;
    // Read afresh: the recorded target is the only authority on where keys go.
    const std::string title = targetTitle(ctx_);
    if (!ctx_.platform.desktop.activate(recordedWindow(ctx_), title, patienceOf(patience)))
      return SendResult::NotInFront;
  }
  return ctx_.platform.injector.inject(*parsed.plan) ? SendResult::Sent : SendResult::Refused;
}

SendResult Delivery::sendPlan(const KeyPlan& plan, std::string_view typed) const {
  if (target(ctx_) != TargetClass::Real) return SendResult::ReservedTarget;
  WordPrediction* prediction = ctx_.prediction.get();
  if (prediction != nullptr && typed.empty()) prediction->lost();
  // When prediction changes what goes in (a space taken back before a
  // full stop), it goes in as prediction says, characters and all.
  if (prediction != nullptr && !typed.empty()) {
    if (const std::optional<std::string> instead = prediction->sending(typed)) {
      const SendResult result = sendAsIs(*instead, Aim::RecordedTarget, Patience::Click);
      if (result != SendResult::Sent) prediction->lost();
      return result;
    }
  }
  SendResult result = SendResult::NotInFront;
  if (ctx_.platform.desktop.activate(recordedWindow(ctx_), targetTitle(ctx_), patienceOf(Patience::Click)))
    result = ctx_.platform.injector.inject(plan) ? SendResult::Sent : SendResult::Refused;
  if (result != SendResult::Sent && prediction != nullptr) prediction->lost();
  return result;
}

bool sendPlanStep(Context& ctx, const KeyPlan& plan, std::string_view typed, Control* flash) {
  if (Delivery(ctx).sendPlan(plan, typed) != SendResult::Sent) return false;
  if (flash != nullptr) flashKey(ctx, *flash);
  return true;
}

bool deliver(Context& ctx, std::string_view keys) {
  return Delivery(ctx).send(keys, Aim::RecordedTarget) == SendResult::Sent;
}

bool sendStep(Context& ctx, std::string_view keys, Control* flash) {
  if (!deliver(ctx, keys)) return false;
  if (flash != nullptr) flashKey(ctx, *flash);
  return true;
}

void flashKey(Context& ctx, Control& key) {
  key.setBack(colors::kGreen);
  ctx.flashes.flashed(key, ctx.platform.clock.now());
}

bool Delivery::activate(Patience patience) const {
  if (target(ctx_) != TargetClass::Real) return false;
  return ctx_.platform.desktop.activate(recordedWindow(ctx_), targetTitle(ctx_), patienceOf(patience));
}

bool activateTarget(Context& ctx) { return Delivery(ctx).activate(); }

bool injectDirect(Context& ctx, std::string_view keys) {
  return Delivery(ctx).send(keys, Aim::ActiveWindow) == SendResult::Sent;
}

}  // namespace osk
