// F1 to F16 and the switch to the user's own F-key commands. Each key's face
// is its mode: an armed key types its F key, a key showing the user's
// caption starts the user's command.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/keyboard_state.h"
#include "commands/commands.h"
#include "commands/launch.h"
#include "delivery/send.h"
#include "layout/main_window.h"
#include "settings/settings_keys.h"

namespace osk {

namespace {

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

unsigned latchesSet(const KeyboardState& state) {
  constexpr std::array<std::pair<Latch, unsigned>, 3> kTested{{
      {Latch::Ctrl, kCtrl},
      {Latch::Alt, kAlt},
      {Latch::Shift, kShift},
  }};
  unsigned set = 0;
  for (const auto& [latch, bit] : kTested)
    if (state.latched(latch)) set |= bit;
  return set;
}

const ChordRow* chordRowFor(unsigned latches) {
  for (const ChordRow& row : kChordRows)
    if (row.latches == latches) return &row;
  return nullptr;
}

void spend(KeyboardState& state, unsigned latches) {
  if ((latches & kCtrl) != 0) state.release(Latch::Ctrl);
  if ((latches & kAlt) != 0) state.release(Latch::Alt);
  if ((latches & kShift) != 0) state.release(Latch::Shift);
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

KeyboardControl functionKeyButton(int n) { return ui::kFunctionKeys.at(static_cast<std::size_t>(n - 1)); }
std::string functionKeyCaption(int n) { return std::string("F").append(std::to_string(n)); }

void clickFunctionKey(Context& ctx, int n) {
  KeyboardState& state = ctx.state;
  const unsigned latches = latchesSet(state);
  // Unlike the other keys, a function key acts with no target too: the key
  // then goes to whatever window is active.
  const bool realTarget = target(ctx) == TargetClass::Real;
  // A key still lit from its last press does nothing until the flash reset
  // arms it again.
  if (state.fkey(n) == FkeyFace::Armed) {
    const ChordRow* row = chordRowFor(latches);
    if (row == nullptr) {
      if (realTarget) (void)activateTarget(ctx);
      return;
    }
    std::string keys(row->prefix);
    keys.append("{").append(functionKeyCaption(n)).append("}");
    if (Delivery(ctx).send(keys, Aim::RecordedTargetIfReal) != SendResult::Sent) return;
    state.setFkey(n, FkeyFace::Pressed);
    spend(state, row->latches);
    return;
  }
  // Any other face with a caption of the user's is user F-key mode, and
  // there a latch stops the key: the user's command takes no modifiers.
  if (latches == 0U && state.fkeyCaption(n) != functionKeyCaption(n)) {
    // The keyboard stays in front: the consent prompt it owns comes up in
    // front only then, and so does the program it starts.
    startUserCommand(ctx, n);
    return;
  }
  if (realTarget) (void)activateTarget(ctx);
}

void BUTTON_MY_FKEYS_Click(Context& ctx) {
  KeyboardState& state = ctx.state;
  if (!state.latched(Latch::UserFkeys)) {
    state.set(Latch::UserFkeys, true);
    // The captions are read now, so they are those of the last save.
    for (int n = 1; n <= kFunctionKeyCount; ++n) {
      state.setFkeyCaption(n, ctx.platform.store.read(kSettingsSection, settings::fkeyCaptionKey(n),
                                                      settings::fkeyCaptionDefault(n)));
    }
    for (int n = 1; n <= kFunctionKeyCount; ++n) state.setFkey(n, FkeyFace::Commands);
    return;
  }
  state.release(Latch::UserFkeys);
  for (int n = 1; n <= kFunctionKeyCount; ++n) state.setFkeyCaption(n, functionKeyCaption(n));
  // Not armed yet: until the flash reset does, a press on them does nothing
  // in either mode.
  for (int n = 1; n <= kFunctionKeyCount; ++n) state.setFkey(n, FkeyFace::Settling);
}

}  // namespace osk
