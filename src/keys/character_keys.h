// The 48 character keys as data. The caption refresh shows a key's faces
// and the key's click handler compares its caption with the same faces, so
// both read this one table: a face shown is always a face the key knows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/context.h"
#include "base/keyboard_state.h"
#include "base/router.h"
#include "layout/settings_window.h"

namespace osk {

// Which click routine a key runs.
enum class KeyFamily : std::uint8_t { Letter, Number, Punctuation };

// Which caption rule a key follows. The grave accent, dash and equals keys
// type like punctuation but shift with the number row.
enum class FaceGroup : std::uint8_t { Letter, TopRow, Punctuation };

struct CharacterKey {
  KeyboardControl button;
  KeyFamily family;
  FaceGroup group;
  std::string_view plain;    // unshifted caption; also what it sends and appends
  std::string_view shifted;  // shifted caption, character for character
  // What the shifted face sends: characters with a meaning of their own in
  // the key-string notation go braced, and a few go as Shift plus digit
  // because the target's layout maps them there.
  std::string_view shiftedKeys;
  // What the shifted face appends to the command line: the character the
  // caption stands for ("''" stays two apostrophes, "&&" becomes "&").
  std::string_view shiftedText;
  // The key never keeps the press flash (the grave-accent key).
  bool shedsFlash = false;
  // The physical key's hardware scan code, the same on every layout: where
  // the key sits on the 102-key ISO keyboard.
  std::uint16_t scan = 0;
};

// All 48, letters first, then the top row left to right, then punctuation.
std::span<const CharacterKey> characterKeys();

// The key string of a letter chord: prefixes around the braced lower case.
std::string chordKeys(std::string_view prefixes, std::string_view lower);

// The click routines, one per family, and the stored-text keys.
void clickLetterKey(Context& ctx, const CharacterKey& key);
void clickNumberKey(Context& ctx, const CharacterKey& key);
void clickPunctuationKey(Context& ctx, const CharacterKey& key);

// The latches and locks a face is drawn for, as the caption refresh reads
// them.
struct FaceState {
  bool shift = false;
  bool capsLock = false;
  bool numberRowLock = false;
  bool shiftLock = false;
  bool ctrl = false;
  bool alt = false;
  friend bool operator==(const FaceState&, const FaceState&) = default;
};

// Draws `face` on the key and records it. A language face is drawn by the
// input-language faces, which only record it here.
void showFace(Context& ctx, const CharacterKey& key, CharacterFace face);
// What the key shows, as last drawn: its plain or shifted caption, or
// nothing for a language face (which types through the layout instead).
std::string_view shownFace(const Context& ctx, const CharacterKey& key);

// Whether a key of `group` shows its shifted face: Shift and Caps Lock turn
// letters, Shift and the Shift lock (each cancelling the other) the symbols,
// and the number-row lock the top row as well.
bool shiftedFace(FaceGroup group, const FaceState& state);

// Keys that follow the input language: the choice, stored and put into
// effect at once (the typing aids dialog, the command-line switch).
void setFollowInputLanguage(Context& ctx, bool on);
// Puts the stored choice into effect (at load and when the dialog closes).
void applyFollowInputLanguage(Context& ctx);
// Draws all 48 faces from the target's layout; false when the keys do not
// follow the input language, so the UK faces are the caller's to draw.
bool drawLanguageFaces(Context& ctx, const FaceState& state);
// A click while the keys follow the input language: the physical key goes
// to the target, whose own layout decides what arrives.
void clickLanguageKey(Context& ctx, const CharacterKey& key);

// One entry per stored text, read by its key and by the settings dialog's
// field that edits it, so that both show the same words until the user
// stores a text.
struct StoredTextKey {
  KeyboardControl button;
  SettingsControl field;
  std::string_view settingKey;
  TextId fallback;  // typed until the user stores a text, in the language chosen
};
std::span<const StoredTextKey> storedTextKeys();
void clickStoredTextKey(Context& ctx, const StoredTextKey& key);

// The faces the layout draws the keys with, as the state's record of what
// each key shows: taken once, before anything draws a face.
void recordLayoutFaces(KeyboardState& state);
void registerCharacterKeys(KeyboardRoutes& router, Context& ctx);

}  // namespace osk
