#include "keys/character_keys.h"

#include <array>

#include "base/settings_keys.h"
#include "layout/main_window.h"

namespace osk {

namespace {

constexpr CharacterKey letter(ControlName button, std::string_view lower, std::string_view upper) {
  return {button, KeyFamily::Letter, FaceGroup::Letter, lower, upper, upper, upper};
}

constexpr CharacterKey number(ControlName button, std::string_view digit, std::string_view caption,
                              std::string_view keys, std::string_view text) {
  return {button, KeyFamily::Number, FaceGroup::TopRow, digit, caption, keys, text};
}

constexpr CharacterKey punctuation(ControlName button, FaceGroup group, std::string_view plain,
                                   std::string_view shifted, std::string_view keys, bool shedsFlash = false) {
  return {button, KeyFamily::Punctuation, group, plain, shifted, keys, shifted, shedsFlash};
}

constexpr auto kTop = FaceGroup::TopRow;
constexpr auto kPunct = FaceGroup::Punctuation;

constexpr std::array kKeys{
    letter(ui::kButtonLetterA, "a", "A"),
    letter(ui::kButtonLetterB, "b", "B"),
    letter(ui::kButtonLetterC, "c", "C"),
    letter(ui::kButtonLetterD, "d", "D"),
    letter(ui::kButtonLetterE, "e", "E"),
    letter(ui::kButtonLetterF, "f", "F"),
    letter(ui::kButtonLetterG, "g", "G"),
    letter(ui::kButtonLetterH, "h", "H"),
    letter(ui::kButtonLetterI, "i", "I"),
    letter(ui::kButtonLetterJ, "j", "J"),
    letter(ui::kButtonLetterK, "k", "K"),
    letter(ui::kButtonLetterL, "l", "L"),
    letter(ui::kButtonLetterM, "m", "M"),
    letter(ui::kButtonLetterN, "n", "N"),
    letter(ui::kButtonLetterO, "o", "O"),
    letter(ui::kButtonLetterP, "p", "P"),
    letter(ui::kButtonLetterQ, "q", "Q"),
    letter(ui::kButtonLetterR, "r", "R"),
    letter(ui::kButtonLetterS, "s", "S"),
    letter(ui::kButtonLetterT, "t", "T"),
    letter(ui::kButtonLetterU, "u", "U"),
    letter(ui::kButtonLetterV, "v", "V"),
    letter(ui::kButtonLetterW, "w", "W"),
    letter(ui::kButtonLetterX, "x", "X"),
    letter(ui::kButtonLetterY, "y", "Y"),
    letter(ui::kButtonLetterZ, "z", "Z"),

    // The key shows no press flash, so a green grave key is never left behind.
    punctuation(ui::kLeftTopCornerKey, kTop, "`", "\u00AC", "\u00AC", true),
    number(ui::kButtonNumber1, "1", "!", "!", "!"),
    // The caption shows the UK Shift+2 character as two apostrophes; the
    // target gets Shift+2 so that its own layout produces the quote.
    number(ui::kButtonNumber2, "2", "''", "+2", "''"),
    number(ui::kButtonNumber3, "3", "\u00A3", "\u00A3", "\u00A3"),
    number(ui::kButtonNumber4, "4", "$", "$", "$"),
    // "%" and "^" are modifiers in key strings; Shift with the digit types them.
    number(ui::kButtonNumber5, "5", "%", "+5", "%"),
    number(ui::kButtonNumber6, "6", "^", "+6", "^"),
    // A lone "&" in a caption marks the access key, so the face doubles it.
    number(ui::kButtonNumber7, "7", "&&", "&", "&"),
    number(ui::kButtonNumber8, "8", "*", "*", "*"),
    number(ui::kButtonNumber9, "9", "(", "{(}", "("),
    number(ui::kButtonNumber0, "0", ")", "{)}", ")"),
    punctuation(ui::kButtonDash, kTop, "-", "_", "_"),
    punctuation(ui::kButtonEquals, kTop, "=", "+", "{+}"),

    punctuation(ui::kButtonSquareBracketLeft, kPunct, "[", "{", "{{}"),
    punctuation(ui::kButtonSquareBracketRight, kPunct, "]", "}", "{}}"),
    punctuation(ui::kButtonSemiColon, kPunct, ";", ":", ":"),
    punctuation(ui::kButtonAposSign, kPunct, "'", "@", "@"),
    // A bare "~" would be Enter.
    punctuation(ui::kButtonHash, kPunct, "#", "~", "{~}"),
    punctuation(ui::kButtonComma, kPunct, ",", "<", "<"),
    punctuation(ui::kButtonFullStop, kPunct, ".", ">", ">"),
    punctuation(ui::kButtonForwardSlash, kPunct, "/", "?", "?"),
    punctuation(ui::kButtonBackSlash, kPunct, "\\", "|", "|"),
};
static_assert(kKeys.size() == 48);

constexpr std::array kStoredTextKeys{
    StoredTextKey{ui::kAtSignButton, settings::kEmailAddress, settings::kEmailAddressDefault},
    StoredTextKey{ui::kBtcButton, settings::kBtcAddress, settings::kBtcAddressDefault},
};

}  // namespace

std::span<const CharacterKey> characterKeys() { return kKeys; }

std::span<const StoredTextKey> storedTextKeys() { return kStoredTextKeys; }

std::string chordKeys(std::string_view prefixes, std::string_view lower) {
  std::string keys(prefixes);
  keys += '{';
  keys += lower;
  keys += '}';
  return keys;
}

void registerCharacterKeys(Router& router, Context& ctx) {
  for (const CharacterKey& key : characterKeys()) {
    const CharacterKey* k = &key;
    switch (key.family) {
      case KeyFamily::Letter:
        router.on(key.button, Event::Click, [&ctx, k] { clickLetterKey(ctx, *k); });
        break;
      case KeyFamily::Number:
        router.on(key.button, Event::Click, [&ctx, k] { clickNumberKey(ctx, *k); });
        break;
      case KeyFamily::Punctuation:
        router.on(key.button, Event::Click, [&ctx, k] { clickPunctuationKey(ctx, *k); });
        break;
    }
  }
  for (const StoredTextKey& key : storedTextKeys()) {
    const StoredTextKey* k = &key;
    router.on(key.button, Event::Click, [&ctx, k] { clickStoredTextKey(ctx, *k); });
  }
}

}  // namespace osk
