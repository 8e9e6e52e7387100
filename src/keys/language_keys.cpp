// The character keys drawn from the target's keyboard layout. Each key is a
// physical key: its face is what that key types on the layout for the
// latches and locks in force, and a click sends the key itself, so the
// target's layout (dead keys included) decides what arrives, as it would
// from the user's own keyboard.
#include <string>

#include "base/keyboard_state.h"
#include "delivery/send.h"
#include "keys/character_keys.h"
#include "settings/settings_keys.h"

namespace osk {

namespace {

// A dead key shows its accent on a dotted circle, the way accents are shown
// standing alone, so it reads as "waits for a letter".
constexpr std::string_view kDeadMark = "\u25CC";

KeyLevel levelOf(const CharacterKey& key, const FaceState& state) {
  KeyLevel level;
  // The layout applies Caps Lock itself, to the keys it makes letters of,
  // so a letter key takes Shift alone and Caps Lock goes to every key.
  level.shift = key.group == FaceGroup::Letter ? state.shift : shiftedFace(key.group, state);
  level.capsLock = state.capsLock;
  level.altGr = state.ctrl && state.alt;
  return level;
}

// What the key types for `state`: the AltGr level where the layout has a
// character there, otherwise the level without it (Ctrl and Alt then make
// a chord of the key).
KeyOutput typedFor(const Context& ctx, const CharacterKey& key, const FaceState& state) {
  const InputLanguages& languages = ctx.platform.languages;
  const LayoutId layout = ctx.languageFaces.layout;
  KeyLevel level = levelOf(key, state);
  if (level.altGr) {
    KeyOutput alt = languages.typed(layout, key.scan, level);
    if (alt.vk != 0 && !alt.text.empty()) return alt;
    level.altGr = false;
  }
  return languages.typed(layout, key.scan, level);
}

// Control characters are no face; a key that types only one is blank.
bool printable(const KeyOutput& typed) {
  if (typed.vk == 0 || typed.text.empty()) return false;
  return static_cast<unsigned char>(typed.text.front()) >= 0x20 && typed.text != "\x7F";
}

std::string faceOf(const KeyOutput& typed) {
  std::string face;
  if (typed.dead) face = kDeadMark;
  // A lone "&" in a caption marks the access key.
  for (char ch : typed.text) {
    face += ch;
    if (ch == '&') face += '&';
  }
  return face;
}

unsigned packed(const FaceState& s) {
  return (s.shift ? 1U : 0U) | (s.capsLock ? 2U : 0U) | (s.numberRowLock ? 4U : 0U) |
         (s.shiftLock ? 8U : 0U) | (s.ctrl ? 16U : 0U) | (s.alt ? 32U : 0U);
}

FaceState unpacked(unsigned bits) {
  return {(bits & 1U) != 0, (bits & 2U) != 0,  (bits & 4U) != 0,
          (bits & 8U) != 0, (bits & 16U) != 0, (bits & 32U) != 0};
}

constexpr unsigned kNotDrawn = ~0U;

void follow(Context& ctx, bool on) {
  LanguageFaces& faces = ctx.languageFaces;
  if (faces.follow == on) return;
  faces.follow = on;
  faces.drawnFor = kNotDrawn;
  // Keys a layout lacked come back for the UK face, which has them all.
  if (!on)
    for (const CharacterKey& key : characterKeys()) ctx.main.control(key.button).setEnabled(true);
}

// The key pressed as the user's own keyboard would press it: Ctrl and Alt
// together are AltGr to the layout, and a chord otherwise.
KeyPlan physicalPress(const FaceState& state, const KeyLevel& level, std::uint8_t vk, std::uint16_t scan) {
  KeyPlan plan;
  const auto press = [&plan](std::uint8_t code, bool up, std::uint16_t at = 0) {
    plan.events.push_back({up ? KeyEvent::Kind::KeyUp : KeyEvent::Kind::KeyDown, code, 0, at});
  };
  if (state.ctrl) press(vk::kControl, false);
  if (state.alt) press(vk::kMenu, false);
  if (level.shift) press(vk::kShift, false);
  press(vk, false, scan);
  press(vk, true, scan);
  if (level.shift) press(vk::kShift, true);
  if (state.alt) press(vk::kMenu, true);
  if (state.ctrl) press(vk::kControl, true);
  return plan;
}

}  // namespace

bool shiftedFace(FaceGroup group, const FaceState& state) {
  const bool symbols = state.shift != state.shiftLock;
  switch (group) {
    case FaceGroup::Letter:
      return state.shift != state.capsLock;
    case FaceGroup::TopRow:
      return state.numberRowLock || symbols;
    case FaceGroup::Punctuation:
      return symbols;
  }
  return false;
}

void applyFollowInputLanguage(Context& ctx) {
  follow(ctx, settings::tickChosen(ctx.platform.store.read(kSettingsSection, settings::kFollowInputLanguage,
                                                           settings::kFollowInputLanguageDefault)));
}

void setFollowInputLanguage(Context& ctx, bool on) {
  // A refused write is reported by the store; the keys follow all the same
  // for as long as the keyboard runs.
  static_cast<void>(
      ctx.platform.store.write(kSettingsSection, settings::kFollowInputLanguage, on ? "1" : "0"));
  follow(ctx, on);
}

bool drawLanguageFaces(Context& ctx, const FaceState& state) {
  LanguageFaces& faces = ctx.languageFaces;
  if (!faces.follow) return false;
  // The target's layout is read where the target is: the user may switch
  // the language in it at any moment. The keyboard's own command line
  // types in the keyboard's own layout.
  const TargetClass where = target(ctx);
  const WindowId window = where == TargetClass::Real ? ctx.state.target().window : 0;
  faces.layout = ctx.platform.languages.layoutOf(window);
  const unsigned drawing = packed(state);
  if (faces.drawnFor == drawing && faces.drawnLayout == faces.layout) return true;
  for (const CharacterKey& key : characterKeys()) {
    const KeyOutput typed = typedFor(ctx, key, state);
    Control& button = ctx.main.control(key.button);
    const bool usable = printable(typed);
    button.setCaption(usable ? faceOf(typed) : std::string());
    button.setEnabled(usable);
    showFace(ctx, key, CharacterFace::Language);
  }
  faces.drawnFor = drawing;
  faces.drawnLayout = faces.layout;
  return true;
}

void clickLanguageKey(Context& ctx, const CharacterKey& key) {
  const LanguageFaces& faces = ctx.languageFaces;
  if (faces.drawnFor == kNotDrawn) return;
  // The key types what it shows: the state its face was drawn for.
  const FaceState state = unpacked(faces.drawnFor);
  const KeyOutput typed = typedFor(ctx, key, state);
  if (!printable(typed)) return;
  Control& button = ctx.main.control(key.button);
  KeyboardState& latches = ctx.state;
  const KeyLevel level = levelOf(key, state);
  const bool altGr = level.altGr && typed == ctx.platform.languages.typed(faces.layout, key.scan, level);
  const bool shiftSpent = state.shift && level.shift;

  switch (target(ctx)) {
    case TargetClass::None:
      return;
    case TargetClass::CommandLine:
      // The command line has no use for chords.
      if (state.ctrl != state.alt || (state.ctrl && !altGr)) return;
      latches.appendToCommandLine(typed.text);
      flashKey(ctx, button);
      break;
    case TargetClass::Real: {
      const bool chord = (state.ctrl || state.alt) && !altGr;
      const PhysicalKey pressed{faces.layout, {key.scan, level}, typed, chord};
      if (!sendPlanStep(ctx, physicalPress(state, level, typed.vk, key.scan), pressed,
                        chord ? nullptr : &button))
        return;
      break;
    }
  }
  if (shiftSpent) latches.release(Latch::Shift);
  if (state.ctrl) latches.release(Latch::Ctrl);
  if (state.alt) latches.release(Latch::Alt);
}

}  // namespace osk
