#include "keys/character_keys.h"

#include <array>

namespace osk {

namespace {

constexpr CharacterKey letter(std::string_view button, std::string_view lower, std::string_view upper) {
  return {button, KeyFamily::Letter, FaceGroup::Letter, lower, upper, upper, upper};
}

constexpr CharacterKey number(std::string_view button, std::string_view digit, std::string_view caption,
                              std::string_view keys, std::string_view text) {
  return {button, KeyFamily::Number, FaceGroup::TopRow, digit, caption, keys, text};
}

constexpr CharacterKey punctuation(std::string_view button, FaceGroup group, std::string_view plain,
                                   std::string_view shifted, std::string_view keys, bool shedsFlash = false) {
  return {button, KeyFamily::Punctuation, group, plain, shifted, keys, shifted, shedsFlash};
}

constexpr auto kTop = FaceGroup::TopRow;
constexpr auto kPunct = FaceGroup::Punctuation;

constexpr std::array kKeys{
    letter("BUTTON_LETTER_A", "a", "A"),
    letter("BUTTON_LETTER_B", "b", "B"),
    letter("BUTTON_LETTER_C", "c", "C"),
    letter("BUTTON_LETTER_D", "d", "D"),
    letter("BUTTON_LETTER_E", "e", "E"),
    letter("BUTTON_LETTER_F", "f", "F"),
    letter("BUTTON_LETTER_G", "g", "G"),
    letter("BUTTON_LETTER_H", "h", "H"),
    letter("BUTTON_LETTER_I", "i", "I"),
    letter("BUTTON_LETTER_J", "j", "J"),
    letter("BUTTON_LETTER_K", "k", "K"),
    letter("BUTTON_LETTER_L", "l", "L"),
    letter("BUTTON_LETTER_M", "m", "M"),
    letter("BUTTON_LETTER_N", "n", "N"),
    letter("BUTTON_LETTER_O", "o", "O"),
    letter("BUTTON_LETTER_P", "p", "P"),
    letter("BUTTON_LETTER_Q", "q", "Q"),
    letter("BUTTON_LETTER_R", "r", "R"),
    letter("BUTTON_LETTER_S", "s", "S"),
    letter("BUTTON_LETTER_T", "t", "T"),
    letter("BUTTON_LETTER_U", "u", "U"),
    letter("BUTTON_LETTER_V", "v", "V"),
    letter("BUTTON_LETTER_W", "w", "W"),
    letter("BUTTON_LETTER_X", "x", "X"),
    letter("BUTTON_LETTER_Y", "y", "Y"),
    letter("BUTTON_LETTER_Z", "z", "Z"),

    // The key shows no press flash, so a green grave key is never left behind.
    punctuation("LEFT_TOP_CORNER_KEY", kTop, "`", "\u00AC", "\u00AC", true),
    number("BUTTON_NUMBER_1", "1", "!", "!", "!"),
    // The caption shows the UK Shift+2 character as two apostrophes; the
    // target gets Shift+2 so that its own layout produces the quote.
    number("BUTTON_NUMBER_2", "2", "''", "+2", "''"),
    number("BUTTON_NUMBER_3", "3", "\u00A3", "\u00A3", "\u00A3"),
    number("BUTTON_NUMBER_4", "4", "$", "$", "$"),
    // "%" and "^" are modifiers in key strings; Shift with the digit types them.
    number("BUTTON_NUMBER_5", "5", "%", "+5", "%"),
    number("BUTTON_NUMBER_6", "6", "^", "+6", "^"),
    // A lone "&" in a caption marks the access key, so the face doubles it.
    number("BUTTON_NUMBER_7", "7", "&&", "&", "&"),
    number("BUTTON_NUMBER_8", "8", "*", "*", "*"),
    number("BUTTON_NUMBER_9", "9", "(", "{(}", "("),
    number("BUTTON_NUMBER_0", "0", ")", "{)}", ")"),
    punctuation("BUTTON_DASH", kTop, "-", "_", "_"),
    punctuation("BUTTON_EQUALS", kTop, "=", "+", "{+}"),

    punctuation("BUTTON_SQUARE_BRACKET_LEFT", kPunct, "[", "{", "{{}"),
    punctuation("BUTTON_SQUARE_BRACKET_RIGHT", kPunct, "]", "}", "{}}"),
    punctuation("BUTTON_SEMI_COLON", kPunct, ";", ":", ":"),
    punctuation("BUTTON_APOS_SIGN", kPunct, "'", "@", "@"),
    // A bare "~" would be Enter.
    punctuation("BUTTON_HASH", kPunct, "#", "~", "{~}"),
    punctuation("BUTTON_COMMA", kPunct, ",", "<", "<"),
    punctuation("BUTTON_FULL_STOP", kPunct, ".", ">", ">"),
    punctuation("BUTTON_FORWARD_SLASH", kPunct, "/", "?", "?"),
    punctuation("BUTTON_BACK_SLASH", kPunct, "\\", "|", "|"),
};
static_assert(kKeys.size() == 48);

constexpr std::array kStoredTextKeys{
    StoredTextKey{"AT_SIGN_BUTTON", "EMAIL_ADDRESS_TEXTBOX", "EMAIL ADDRESS"},
    StoredTextKey{"BTC_BUTTON", "BTC_ADDRESS_TEXTBOX", "BTC ADDRESS"},
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
