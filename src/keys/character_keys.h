// The 48 character keys as data. The caption refresh shows a key's faces
// and the key's click handler compares its caption with the same faces, so
// both read this one table: a face shown is always a face the key knows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/context.h"
#include "base/router.h"

namespace osk {

// Which click routine a key runs.
enum class KeyFamily : std::uint8_t { Letter, Number, Punctuation };

// Which caption rule a key follows. The grave accent, dash and equals keys
// type like punctuation but shift with the number row.
enum class FaceGroup : std::uint8_t { Letter, TopRow, Punctuation };

struct CharacterKey {
  ControlName button;
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
};

// All 48, letters first, then the top row left to right, then punctuation.
std::span<const CharacterKey> characterKeys();

// The key string of a letter chord: prefixes around the braced lower case.
std::string chordKeys(std::string_view prefixes, std::string_view lower);

// The click routines, one per family, and the stored-text keys.
void clickLetterKey(Context& ctx, const CharacterKey& key);
void clickNumberKey(Context& ctx, const CharacterKey& key);
void clickPunctuationKey(Context& ctx, const CharacterKey& key);

struct StoredTextKey {
  ControlName button;
  std::string_view settingKey;
  std::string_view fallback;
};
std::span<const StoredTextKey> storedTextKeys();
void clickStoredTextKey(Context& ctx, const StoredTextKey& key);

void registerCharacterKeys(Router& router, Context& ctx);

}  // namespace osk
