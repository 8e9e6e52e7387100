#include "delivery/send.h"

#include <optional>
#include <string>
#include <vector>

#include "keystring/utf8.h"
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
  ctx.state.setTarget({TargetClass::Real, window, std::string(title), standing.level, standing.probe,
                       ctx.platform.host.ownsWindow(window)});
}

void targetCommandLine(Context& ctx) { ctx.state.setTarget({TargetClass::CommandLine, 0, {}}); }

namespace {

WindowId recordedWindow(const Context& ctx) { return ctx.state.target().window; }

// Each character of `text` as a key string of its own, the way word
// prediction takes keys; none for text that is not UTF-8.
std::vector<std::string> keysOfEachCharacter(std::string_view text) {
  std::vector<std::string> keys;
  for (std::size_t at = 0; at < text.size();) {
    char32_t ch = 0;
    const std::size_t length = decodeUtf8(text, at, ch);
    if (length == 0) return {};
    const std::string one(text.substr(at, length));
    // Characters with a meaning of their own in key strings go braced.
    const bool special =
        length == 1 && std::string_view("+^%~(){}[]").find(one.front()) != std::string_view::npos;
    keys.push_back(special ? "{" + one + "}" : one);
    at += length;
  }
  return keys;
}

// Tells word prediction what the target shows now, character by character;
// the word ends unlearned where that is not known.
void tell(WordPrediction& prediction, const std::optional<std::string>& shown) {
  if (!shown) {
    prediction.typedUnknown();
    return;
  }
  const std::vector<std::string> each = keysOfEachCharacter(*shown);
  if (each.empty() && !shown->empty()) prediction.typedUnknown();
  // A mark right after a suggestion is no longer in reach to go before its
  // space once other characters came with it: what follows is not known.
  for (const std::string& keys : each)
    if (prediction.sending(keys)) prediction.lost();
}

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

SendResult Delivery::settle(SendResult result, WordPrediction* prediction, Patience patience) const {
  // Keys that did not all go in leave the text unknown; a key that typed
  // clicks.
  if (result != SendResult::Sent && prediction != nullptr) prediction->lost();
  if (result == SendResult::Sent) clickIfTyped(ctx_, patience);
  return result;
}

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
  const bool intoTarget = aim != Aim::ActiveWindow && real;
  WordPrediction* prediction = intoTarget ? ctx_.prediction.get() : nullptr;
  if (const std::optional<WaitingAccent> accent = intoTarget ? accentInTarget() : std::nullopt) {
    // The accent takes these keys: Space shows it alone, as the layout
    // says; what anything else makes of it is not known here.
    std::optional<std::string> shown;
    if (keys == " ") {
      const KeyOutput both = composed(*accent, {kSpaceBarScan, {}});
      if (both.vk != 0 && !both.dead) shown = both.text;
    }
    if (prediction != nullptr) tell(*prediction, shown);
    const SendResult result = sendAsIs(*passage, keys, patience);
    noteAccent(result, shown ? std::nullopt : std::optional(unknownAccent()));
    return settle(result, prediction, patience);
  }
  const std::optional<std::string> instead = prediction != nullptr ? prediction->sending(keys) : std::nullopt;
  const SendResult result = sendAsIs(*passage, instead ? std::string_view(*instead) : keys, patience);
  return settle(result, prediction, patience);
}

std::optional<WaitingAccent> Delivery::accentInTarget() const {
  const std::optional<WaitingAccent>& accent = ctx_.waitingAccent;
  if (!accent || target(ctx_) != TargetClass::Real || accent->window != recordedWindow(ctx_))
    return std::nullopt;
  return accent;
}

WaitingAccent Delivery::unknownAccent() const { return {recordedWindow(ctx_), 0, std::nullopt}; }

KeyOutput Delivery::composed(const WaitingAccent& accent, KeyPress next) const {
  if (!accent.dead) return {};
  return ctx_.platform.languages.composed(accent.layout, *accent.dead, next);
}

void Delivery::noteAccent(SendResult result, std::optional<WaitingAccent> left) const {
  // Keys refused part way may have left anything waiting; keys that did not
  // go in at all left the target as it was.
  if (result == SendResult::Refused) left = unknownAccent();
  if (result == SendResult::Sent || result == SendResult::Refused) ctx_.waitingAccent = left;
}

std::optional<Passage> Delivery::pass(Aim aim) const {
  std::optional<Passage> passage = passGate(ctx_, aim);
  if (passage) return passage;
  // Beside the key pressed; a send of a timer's (a key held down) has no
  // key, and the note stands by the target's name instead.
  const std::vector<Control>& controls = ctx_.main.controls();
  const Control& at =
      ctx_.handling < controls.size() ? controls[ctx_.handling] : ctx_.main.control(ui::kActiveWindowLabel);
  ctx_.platform.host.showActionNote(ctx_.main, at, ctx_.platform.texts.text(TextId::AdministratorNote),
                                    [&ctx = ctx_] { restartAsAdministrator(ctx); });
  return std::nullopt;
}

SendResult Delivery::sendAsIs(const Passage& passage, std::string_view keys, Patience patience) {
  const ParseResult parsed = parseKeyString(keys);
  return parsed ? passage.inject(*parsed.plan, patience) : SendResult::Malformed;
}

Delivery::KeyEffect Delivery::effectOf(const PhysicalKey& key,
                                       const std::optional<WaitingAccent>& accent) const {
  // A chord types nothing known; a key after an accent shows what the
  // layout composes of the two, a dead key alone nothing yet.
  KeyEffect effect;
  if (key.chord) {
    if (accent) effect.left = unknownAccent();
  } else if (accent) {
    const KeyOutput both = accent->layout == key.layout ? composed(*accent, key.press) : KeyOutput{};
    if (both.vk != 0 && !both.dead) effect.shown = both.text;
    // The key takes whatever waited; only an accent that waits still, or
    // a dead key whose effect is not known, may leave one.
    if (both.vk != 0 ? both.dead : key.alone.dead) effect.left = unknownAccent();
  } else if (key.alone.dead) {
    effect.left = WaitingAccent{recordedWindow(ctx_), key.layout, key.press};
  } else {
    effect.shown = key.alone.text;
  }
  return effect;
}

namespace {

// Tells word prediction what a physical key does in the target. The key
// string to send instead of the key, when prediction changes what goes in.
std::optional<std::string> predictKey(WordPrediction& prediction, bool chord, bool afterAccent,
                                      const std::optional<std::string>& shown, bool leavesAccent) {
  const std::vector<std::string> each = shown ? keysOfEachCharacter(*shown) : std::vector<std::string>{};
  if (chord && !afterAccent) {
    // A shortcut may move the caret or change the text anywhere.
    prediction.lost();
  } else if (!afterAccent && each.size() == 1) {
    return prediction.sending(each.front());
  } else if (leavesAccent) {
    prediction.accentWaits();
  } else {
    tell(prediction, shown);
  }
  return std::nullopt;
}

}  // namespace

SendResult Delivery::sendPlan(const KeyPlan& plan, const PhysicalKey& key) const {
  if (target(ctx_) != TargetClass::Real) return SendResult::ReservedTarget;
  const std::optional<Passage> passage = pass(Aim::RecordedTarget);
  if (!passage) return SendResult::AboveKeyboard;
  WordPrediction* prediction = ctx_.prediction.get();
  const std::optional<WaitingAccent> accent = accentInTarget();
  const KeyEffect effect = effectOf(key, accent);
  if (prediction != nullptr) {
    const bool leavesAccent = effect.left && effect.left->dead;
    // When prediction changes what goes in (a space taken back before a
    // full stop), it goes in as prediction says, characters and all.
    if (const std::optional<std::string> instead =
            predictKey(*prediction, key.chord, accent.has_value(), effect.shown, leavesAccent)) {
      const SendResult result = sendAsIs(*passage, *instead, Patience::Click);
      return settle(result, prediction, Patience::Click);
    }
  }
  const SendResult result = passage->inject(plan, Patience::Click);
  noteAccent(result, effect.left);
  return settle(result, prediction, Patience::Click);
}

SendResult Delivery::sendPlan(const KeyPlan& plan, std::string_view typed) const {
  if (target(ctx_) != TargetClass::Real) return SendResult::ReservedTarget;
  const std::optional<Passage> passage = pass(Aim::RecordedTarget);
  if (!passage) return SendResult::AboveKeyboard;
  WordPrediction* prediction = ctx_.prediction.get();
  if (prediction != nullptr) {
    if (accentInTarget()) {
      // What an accent waiting in the target makes of this key is not known.
      prediction->typedUnknown();
    } else if (const std::optional<std::string> instead = prediction->sending(typed)) {
      // When prediction changes what goes in (a space taken back before a
      // full stop), it goes in as prediction says.
      const SendResult result = sendAsIs(*passage, *instead, Patience::Click);
      return settle(result, prediction, Patience::Click);
    }
  }
  const SendResult result = passage->inject(plan, Patience::Click);
  // The key takes whatever accent waited.
  noteAccent(result, std::nullopt);
  return settle(result, prediction, Patience::Click);
}

bool sendPlanStep(Context& ctx, const KeyPlan& plan, std::string_view typed, Control* flash) {
  if (Delivery(ctx).sendPlan(plan, typed) != SendResult::Sent) return false;
  if (flash != nullptr) flashKey(ctx, *flash);
  return true;
}

bool sendPlanStep(Context& ctx, const KeyPlan& plan, const PhysicalKey& key, Control* flash) {
  if (Delivery(ctx).sendPlan(plan, key) != SendResult::Sent) return false;
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
