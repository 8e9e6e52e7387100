#include "delivery/send.h"

#include <optional>
#include <string>

#include "layout/main_window.h"

namespace osk {

TargetClass target(const Context& ctx) { return ctx.target.kind; }

const std::string& targetTitle(const Context& ctx) { return ctx.target.title; }

void recordTarget(Context& ctx, std::string_view title, WindowId window) {
  ctx.target = {TargetClass::Real, window, std::string(title)};
  ctx.main.control(ui::kActiveWindowLabel).setCaption(title);
}

void targetCommandLine(Context& ctx) {
  ctx.target = {TargetClass::CommandLine, 0, {}};
  ctx.main.control(ui::kActiveWindowLabel).setCaption(kCommandLineTarget);
}

std::chrono::milliseconds patienceOf(Patience patience) {
  using std::chrono::milliseconds;
  // A switch settles in a few milliseconds; the click's half second only
  // covers a machine under heavy load. The tick's budget is under half of
  // the 100 ms repeat period, so a burst whose target will not come forward
  // still leaves the window most of each period for clicks and paints.
  return patience == Patience::Tick ? kTickPatience : milliseconds(500);
}

namespace {

WindowId recordedWindow(const Context& ctx) { return ctx.target.window; }

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
  return result;
}

SendResult Delivery::sendAsIs(std::string_view keys, Aim aim, Patience patience) const {
  const bool real = target(ctx_) == TargetClass::Real;
  ParseResult parsed = parseKeyString(keys);
  if (!parsed) return SendResult::Malformed;
  if (aim != Aim::ActiveWindow && real) {
    // Read afresh: the caption is the only authority on where keys go.
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
  ctx.flashes.lit(key, ctx.platform.clock.now());
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
