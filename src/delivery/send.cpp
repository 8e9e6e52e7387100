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
  const Standing standing =
      known ? Standing{was.integrity, was.probe} : standingOf(ctx.platform.desktop, window);
  ctx.state.setTarget({TargetClass::Real, window, std::string(title), standing.level, standing.probe});
}

void targetCommandLine(Context& ctx) { ctx.state.setTarget({TargetClass::CommandLine, 0, {}}); }

namespace {

WindowId recordedWindow(const Context& ctx) { return ctx.state.target().window; }

// A key clicked (or hovered, or chosen by the scan) clicks once its keys are
// in; a timer's send (a burst's tick) is no key of the user's.
void clickIfTyped(Context& ctx, Patience patience) {
  if (ctx.clickSound && patience == Patience::Click) ctx.platform.sound.click();
}

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
  // Before word prediction hears of the keys: what the system keeps from
  // the window never reaches its text, so what prediction knows of that
  // text still holds.
  const std::optional<Passage> passage = pass(aim);
  if (!passage) return SendResult::AboveKeyboard;
  // Word prediction follows everything that goes into a real target, here
  // where every key passes, and may have a punctuation mark typed before
  // the space a suggestion left. Keys aimed at whatever window is active
  // (the lock keys, the Start menu) type nothing into the target.
  WordPrediction* prediction = aim != Aim::ActiveWindow && real ? ctx_.prediction.get() : nullptr;
  const std::optional<std::string> instead = prediction != nullptr ? prediction->sending(keys) : std::nullopt;
  const ParseResult parsed = parseKeyString(instead ? std::string_view(*instead) : keys);
  const SendResult result = parsed ? passage->inject(*parsed.plan, patience) : SendResult::Malformed;
  if (result != SendResult::Sent && prediction != nullptr) prediction->lost();
  if (result == SendResult::Sent) clickIfTyped(ctx_, patience);
  return result;
}

std::optional<Passage> Delivery::pass(Aim aim) const {
  std::optional<Passage> passage = passGate(ctx_, aim);
  if (passage) return passage;
  // Beside the key pressed; a send of a timer's (a key held down) has no
  // key, and the note stands by the target's name instead.
  const std::vector<Control>& controls = ctx_.main.controls();
  const Control& at =
      ctx_.handling < controls.size() ? controls[ctx_.handling] : ctx_.main.control(ui::kActiveWindowLabel);
  ctx_.platform.host.showActionNote(ctx_.main, at, kAdministratorNote,
                                    [&ctx = ctx_] { restartAsAdministrator(ctx); });
  return std::nullopt;
}

SendResult Delivery::sendPlan(const KeyPlan& plan, std::string_view typed) const {
  if (target(ctx_) != TargetClass::Real) return SendResult::ReservedTarget;
  const std::optional<Passage> passage = pass(Aim::RecordedTarget);
  if (!passage) return SendResult::AboveKeyboard;
  WordPrediction* prediction = ctx_.prediction.get();
  if (prediction != nullptr && typed.empty()) prediction->lost();
  // When prediction changes what goes in (a space taken back before a
  // full stop), it goes in as prediction says, characters and all.
  std::optional<std::string> instead;
  if (prediction != nullptr && !typed.empty()) instead = prediction->sending(typed);
  SendResult result = SendResult::Malformed;
  if (!instead) {
    result = passage->inject(plan, Patience::Click);
  } else if (const ParseResult parsed = parseKeyString(*instead)) {
    result = passage->inject(*parsed.plan, Patience::Click);
  }
  if (result != SendResult::Sent && prediction != nullptr) prediction->lost();
  if (result == SendResult::Sent) clickIfTyped(ctx_, Patience::Click);
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
