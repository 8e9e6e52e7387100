#include "keys/numpad_keys.h"

#include <algorithm>
#include <array>
#include <vector>

#include "delivery/send.h"
#include "screen/window_fit.h"
#include "settings/settings_keys.h"

namespace osk {

namespace {

// Scan codes as a PC keyboard's keypad sends them. With Num Lock off the
// system itself turns these scan codes into the navigation keys; a key sent
// here as Home with the keypad's plain scan code is what such a keypad's 7
// gives, and programs that tell the two Homes apart see the keypad's.
constexpr std::array<NumPadKey, 16> kKeys{{
    {ui::kNumPad0, vk::kNumpad0 + 0, "0", std::nullopt, vk::kInsert, TextId::NumPadIns, "0", "{INSERT}",
     0x52},
    {ui::kNumPad1, vk::kNumpad0 + 1, "1", std::nullopt, vk::kEnd, TextId::NumPadEnd, "1", "{END}", 0x4F},
    {ui::kNumPad2, vk::kNumpad0 + 2, "2", std::nullopt, vk::kDown, TextId::NumPadDown, "2", "{DOWN}", 0x50},
    {ui::kNumPad3, vk::kNumpad0 + 3, "3", std::nullopt, vk::kNext, TextId::NumPadPgDn, "3", "{PGDN}", 0x51},
    {ui::kNumPad4, vk::kNumpad0 + 4, "4", std::nullopt, vk::kLeft, TextId::NumPadLeft, "4", "{LEFT}", 0x4B},
    // The middle key has no navigation of its own: Clear, which most
    // programs ignore, as a real keypad sends it.
    {ui::kNumPad5, vk::kNumpad0 + 5, "5", std::nullopt, vk::kClear, TextId::NumPadClear, "5", "{CLEAR}",
     0x4C},
    {ui::kNumPad6, vk::kNumpad0 + 6, "6", std::nullopt, vk::kRight, TextId::NumPadRight, "6", "{RIGHT}",
     0x4D},
    {ui::kNumPad7, vk::kNumpad0 + 7, "7", std::nullopt, vk::kHome, TextId::NumPadHome, "7", "{HOME}", 0x47},
    {ui::kNumPad8, vk::kNumpad0 + 8, "8", std::nullopt, vk::kUp, TextId::NumPadUp, "8", "{UP}", 0x48},
    {ui::kNumPad9, vk::kNumpad0 + 9, "9", std::nullopt, vk::kPrior, TextId::NumPadPgUp, "9", "{PGUP}", 0x49},
    {ui::kNumPadDecimal, vk::kDecimal, ".", std::nullopt, vk::kDelete, TextId::NumPadDel, ".", "{DEL}", 0x53},
    {ui::kNumPadDivide, vk::kDivide, "/", std::nullopt, 0, std::nullopt, "/", "", 0x35},
    {ui::kNumPadMultiply, vk::kMultiply, "*", std::nullopt, 0, std::nullopt, "*", "", 0x37},
    {ui::kNumPadSubtract, vk::kSubtract, "-", std::nullopt, 0, std::nullopt, "-", "", 0x4A},
    {ui::kNumPadAdd, vk::kAdd, "+", std::nullopt, 0, std::nullopt, "{+}", "", 0x4E},
    {ui::kNumPadEnter, vk::kReturn, "ENTER", TextId::EnterKey, 0, std::nullopt, "{ENTER}", "", 0x1C},
}};

bool navigates(const NumPadKey& key, bool numLock) { return !numLock && key.offVk != 0; }

// The scale the keys are drawn at in a window of outer size `g` for a
// design of that outer size.
float keysScale(const Geometry& g, float designWidth, float designHeight) {
  return std::min(g.width / designWidth, g.height / designHeight);
}

bool numLockOn(const Context& ctx) { return (ctx.platform.locks.keyState(LockKey::NumLock) & 1) != 0; }

// The pad shows while its band is open; the button is lit as a latch is.
void showPad(Context& ctx, bool on) {
  ctx.main.setSideBand(on ? ui::kNumPadWidth : 0);
  setKeyboardDesignSize(ctx.main);
  ctx.main.control(ui::kNumPadButton).setBack(on ? colors::kGreen : colors::kWhite);
  if (on) showNumPadFaces(ctx, numLockOn(ctx));
}

void togglePad(Context& ctx) {
  const bool on = ctx.main.sideBand() == 0;
  settings::Saver saver(ctx.platform.store);
  saver.put(settings::kNumPad, on ? "1" : "0");
  Form& main = ctx.main;
  const Geometry shown = main.geometry();
  if (on) {
    const Geometry grown = withNumPad(shown, main.designWidth(), main.designHeight());
    showPad(ctx, true);
    const std::vector<Geometry> areas = ctx.platform.host.monitorWorkAreas();
    main.setGeometry(
        fitToWorkArea(keepRightOnScreen(grown, shown.left + shown.width, areas), areas).geometry);
  } else {
    const Geometry without = withoutNumPad(shown, main.designWidth(), main.designHeight());
    showPad(ctx, false);
    main.setGeometry(without);
  }
}

// None of the pad's keys consumes a latch, as a real keypad's key would not.
void clickNumPadKey(Context& ctx, const NumPadKey& key) {
  Control& button = ctx.main.control(key.button);
  const bool numLock = numLockOn(ctx);
  switch (target(ctx)) {
    case TargetClass::None:
      return;
    case TargetClass::CommandLine:
      // The command line is an edit box of our own: the digits and signs type
      // into it; Enter and the navigation keys have nothing to do there.
      if (!navigates(key, numLock) && key.caption.size() == 1) {
        ctx.state.appendToCommandLine(key.caption);
        flashKey(ctx, button);
      }
      return;
    case TargetClass::Real:
      break;
  }
  static_cast<void>(sendPlanStep(ctx, numPadPress(key, numLock), numPadTyped(key, numLock), &button));
}

}  // namespace

std::span<const NumPadKey> numPadKeys() { return kKeys; }

KeyPlan numPadPress(const NumPadKey& key, bool numLock) {
  const std::uint8_t code = navigates(key, numLock) ? key.offVk : key.vk;
  KeyPlan plan;
  plan.source = std::string(numPadTyped(key, numLock));
  for (const KeyEvent::Kind kind : {KeyEvent::Kind::KeyDown, KeyEvent::Kind::KeyUp})
    plan.events.push_back({.kind = kind, .vk = code, .scan = key.scan, .keypad = true});
  return plan;
}

std::string_view numPadTyped(const NumPadKey& key, bool numLock) {
  return navigates(key, numLock) ? key.offKeys : key.keys;
}

std::string numPadCaption(const NumPadKey& key, bool numLock, const Texts& texts) {
  if (navigates(key, numLock) && key.offWords) return texts.text(*key.offWords);
  return key.words ? texts.text(*key.words) : std::string(key.caption);
}

void showNumPadFaces(Context& ctx, bool numLock) {
  for (const NumPadKey& key : kKeys)
    ctx.main.control(key.button).setCaption(numPadCaption(key, numLock, ctx.platform.texts));
}

Geometry withNumPad(const Geometry& g, float designWidth, float designHeight) {
  Geometry out = g;
  out.width += static_cast<float>(ui::kNumPadWidth) * keysScale(g, designWidth, designHeight);
  return out;
}

Geometry withoutNumPad(const Geometry& g, float designWidth, float designHeight) {
  Geometry out = g;
  out.width -= static_cast<float>(ui::kNumPadWidth) * keysScale(g, designWidth, designHeight);
  return out;
}

void setKeyboardDesignSize(Form& main) {
  const Geometry& d = settings::kMainGeometry.defaults;
  main.setDesignSize(d.width + static_cast<float>(main.sideBand()),
                     d.height + static_cast<float>(main.topBand()));
}

Geometry openNumPad(Context& ctx, const Geometry& stored) {
  const std::string chosen =
      ctx.platform.store.read(kSettingsSection, settings::kNumPad, settings::kNumPadDefault);
  if (chosen != "1") return stored;
  const Geometry grown = withNumPad(stored, ctx.main.designWidth(), ctx.main.designHeight());
  showPad(ctx, true);
  return keepRightOnScreen(grown, stored.left + stored.width, ctx.platform.host.monitorWorkAreas());
}

Geometry storedWithoutNumPad(const Form& main, const Geometry& shown) {
  if (main.sideBand() == 0) return shown;
  return withoutNumPad(shown, main.designWidth(), main.designHeight());
}

Geometry shownWithNumPad(const Form& main, const Geometry& keys) {
  if (main.sideBand() == 0) return keys;
  return withNumPad(keys, main.designWidth() - static_cast<float>(main.sideBand()), main.designHeight());
}

void registerNumPadKeys(KeyboardRoutes& router, Context& ctx) {
  for (const NumPadKey& key : kKeys) {
    const NumPadKey* k = &key;
    router.on(key.button, Event::Click, [&ctx, k] { clickNumPadKey(ctx, *k); });
  }
  router.on(ui::kNumPadButton, Event::Click, [&ctx] { togglePad(ctx); });
}

}  // namespace osk
