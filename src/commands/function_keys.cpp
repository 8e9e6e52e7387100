// F1 to F16 and the switch to the user's own F-key commands. The mode is not
// kept anywhere but in the keys themselves: white keys with the standard
// captions type F keys, tinted keys with the user's captions start commands.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "commands/commands.h"
#include "commands/launch.h"
#include "delivery/keyboard_state.h"
#include "delivery/send.h"
#include "layout/main_window.h"
#include "settings/settings_keys.h"

namespace osk {

namespace {

constexpr ControlName kModeSwitch = ui::kButtonMyFkeys;

enum LatchBit : unsigned { kCtrl = 1, kAlt = 2, kShift = 4 };

// The rows that type the key: exactly these latches set and the others off.
// Alt with Shift but without Ctrl has no row, so such a click does nothing.
struct ChordRow {
  unsigned latches;
  std::string_view prefix;
};
constexpr std::array<ChordRow, 7> kChordRows{{
    {0, ""},
    {kCtrl, "^"},
    {kAlt, "%"},
    {kShift, "+"},
    {kCtrl | kAlt, "^%"},
    {kCtrl | kShift, "^+"},
    {kCtrl | kAlt | kShift, "^%+"},
}};

// The latches the function keys read, each tested on one button. A latch
// that is neither exactly off nor exactly on fits no row at all.
std::optional<unsigned> latchesSet(Form& form) {
  constexpr std::array<std::pair<Latch, unsigned>, 3> kTested{{
      {Latch::Ctrl, kCtrl},
      {Latch::Alt, kAlt},
      {Latch::Shift, kShift},
  }};
  const KeyboardState state(form);
  unsigned set = 0;
  for (const auto& [latch, bit] : kTested) {
    const std::optional<bool> on = state.reading(latch);
    if (!on) return std::nullopt;
    if (*on) set |= bit;
  }
  return set;
}

const ChordRow* chordRowFor(unsigned latches) {
  for (const ChordRow& row : kChordRows)
    if (row.latches == latches) return &row;
  return nullptr;
}

void spend(Form& form, unsigned latches) {
  if ((latches & kCtrl) != 0) KeyboardState(form).release(Latch::Ctrl);
  if ((latches & kAlt) != 0) KeyboardState(form).release(Latch::Alt);
  if ((latches & kShift) != 0) KeyboardState(form).release(Latch::Shift);
}

void startUserCommand(Context& ctx, int n) {
  // Read at every press, so that a command saved in the F-key dialog is the
  // one the next press starts.
  LaunchRequest request;
  request.file =
      ctx.platform.store.read(kSettingsSection, settings::fkeyCommandKey(n), settings::kFkeyCommandDefault);
  request.elevated = true;
  startProgram(ctx, std::move(request), functionKeyButton(n), true);
}

}  // namespace

ControlName functionKeyButton(int n) { return ui::kFunctionKeys.at(static_cast<std::size_t>(n - 1)); }
std::string functionKeyCaption(int n) { return std::string("F").append(std::to_string(n)); }

void clickFunctionKey(Context& ctx, int n) {
  Form& form = ctx.main;
  Control& key = form.control(functionKeyButton(n));
  const std::optional<unsigned> latches = latchesSet(form);
  // Unlike the other keys, a function key acts with no target too: the key
  // then goes to whatever window is active.
  const bool realTarget = target(ctx) == TargetClass::Real;

  // White is a standard key at rest. A standard key still green from its
  // last press does nothing until the flash reset re-arms it.
  if (key.back() == colors::kWhite) {
    const ChordRow* row = latches ? chordRowFor(*latches) : nullptr;
    if (row == nullptr) {
      if (realTarget) (void)activateTarget(ctx);
      return;
    }
    std::string keys(row->prefix);
    keys.append("{").append(functionKeyCaption(n)).append("}");
    if (Delivery(ctx).send(keys, Aim::RecordedTargetIfReal) != SendResult::Sent) return;
    key.setBack(colors::kGreen);
    spend(form, row->latches);
    return;
  }

  // Any other colour with a caption of the user's is user F-key mode, and
  // there a latch stops the key: the user's command takes no modifiers.
  if (latches == 0U && key.caption() != functionKeyCaption(n)) {
    // The keyboard stays in front: the consent prompt it owns comes up in
    // front only then, and so does the program it starts.
    startUserCommand(ctx, n);
    return;
  }
  if (realTarget) (void)activateTarget(ctx);
}

void BUTTON_MY_FKEYS_Click(Context& ctx) {
  Form& form = ctx.main;
  Control& modeSwitch = form.control(kModeSwitch);
  if (modeSwitch.back() == colors::kWhite) {
    modeSwitch.setBack(colors::kGreen);
    // The captions are read now, so they are those of the last save.
    for (int n = 1; n <= kFunctionKeyCount; ++n) {
      form.control(functionKeyButton(n))
          .setCaption(ctx.platform.store.read(kSettingsSection, settings::fkeyCaptionKey(n),
                                              settings::fkeyCaptionDefault(n)));
    }
    for (int n = 1; n <= kFunctionKeyCount; ++n)
      form.control(functionKeyButton(n)).setBack(colors::kBlueTint);
    return;
  }
  modeSwitch.setBack(colors::kWhite);
  for (int n = 1; n <= kFunctionKeyCount; ++n)
    form.control(functionKeyButton(n)).setCaption(functionKeyCaption(n));
  // Not white yet: until the flash reset paints them white, a press on them
  // does nothing in either mode.
  for (int n = 1; n <= kFunctionKeyCount; ++n) form.control(functionKeyButton(n)).setBack(colors::kSysWindow);
}

}  // namespace osk
