#include "keys/character_keys.h"

#include <array>

#include "layout/main_window.h"
#include "settings/settings_keys.h"

namespace osk {

namespace {

constexpr CharacterKey letter(KeyboardControl button, std::uint16_t scan, std::string_view lower,
                              std::string_view upper) {
  return {button, KeyFamily::Letter, FaceGroup::Letter, lower, upper, upper, upper, false, scan};
}

constexpr CharacterKey number(KeyboardControl button, std::uint16_t scan, std::string_view digit,
                              std::string_view caption, std::string_view keys, std::string_view text) {
  return {button, KeyFamily::Number, FaceGroup::TopRow, digit, caption, keys, text, false, scan};
}

constexpr CharacterKey punctuation(KeyboardControl button, std::uint16_t scan, FaceGroup group,
                                   std::string_view plain, std::string_view shifted, std::string_view keys,
                                   bool shedsFlash = false) {
  return {button, KeyFamily::Punctuation, group, plain, shifted, keys, shifted, shedsFlash, scan};
}

constexpr auto kTop = FaceGroup::TopRow;
constexpr auto kPunct = FaceGroup::Punctuation;

constexpr std::array kKeys{
    letter(ui::kButtonLetterA, 0x1E, "a", "A"),
    letter(ui::kButtonLetterB, 0x30, "b", "B"),
    letter(ui::kButtonLetterC, 0x2E, "c", "C"),
    letter(ui::kButtonLetterD, 0x20, "d", "D"),
    letter(ui::kButtonLetterE, 0x12, "e", "E"),
    letter(ui::kButtonLetterF, 0x21, "f", "F"),
    letter(ui::kButtonLetterG, 0x22, "g", "G"),
    letter(ui::kButtonLetterH, 0x23, "h", "H"),
    letter(ui::kButtonLetterI, 0x17, "i", "I"),
    letter(ui::kButtonLetterJ, 0x24, "j", "J"),
    letter(ui::kButtonLetterK, 0x25, "k", "K"),
    letter(ui::kButtonLetterL, 0x26, "l", "L"),
    letter(ui::kButtonLetterM, 0x32, "m", "M"),
    letter(ui::kButtonLetterN, 0x31, "n", "N"),
    letter(ui::kButtonLetterO, 0x18, "o", "O"),
    letter(ui::kButtonLetterP, 0x19, "p", "P"),
    letter(ui::kButtonLetterQ, 0x10, "q", "Q"),
    letter(ui::kButtonLetterR, 0x13, "r", "R"),
    letter(ui::kButtonLetterS, 0x1F, "s", "S"),
    letter(ui::kButtonLetterT, 0x14, "t", "T"),
    letter(ui::kButtonLetterU, 0x16, "u", "U"),
    letter(ui::kButtonLetterV, 0x2F, "v", "V"),
    letter(ui::kButtonLetterW, 0x11, "w", "W"),
    letter(ui::kButtonLetterX, 0x2D, "x", "X"),
    letter(ui::kButtonLetterY, 0x15, "y", "Y"),
    letter(ui::kButtonLetterZ, 0x2C, "z", "Z"),

    // The key shows no press flash, so a green grave key is never left behind.
    punctuation(ui::kLeftTopCornerKey, 0x29, kTop, "`", "\u00AC", "\u00AC", true),
    number(ui::kButtonNumber1, 0x02, "1", "!", "!", "!"),
    // The caption shows the UK Shift+2 character as two apostrophes; the
    // target gets Shift+2 so that its own layout produces the quote.
    number(ui::kButtonNumber2, 0x03, "2", "''", "+2", "''"),
    number(ui::kButtonNumber3, 0x04, "3", "\u00A3", "\u00A3", "\u00A3"),
    number(ui::kButtonNumber4, 0x05, "4", "$", "$", "$"),
    // "%" and "^" are modifiers in key strings; Shift with the digit types them.
    number(ui::kButtonNumber5, 0x06, "5", "%", "+5", "%"),
    number(ui::kButtonNumber6, 0x07, "6", "^", "+6", "^"),
    // A lone "&" in a caption marks the access key, so the face doubles it.
    number(ui::kButtonNumber7, 0x08, "7", "&&", "&", "&"),
    number(ui::kButtonNumber8, 0x09, "8", "*", "*", "*"),
    number(ui::kButtonNumber9, 0x0A, "9", "(", "{(}", "("),
    number(ui::kButtonNumber0, 0x0B, "0", ")", "{)}", ")"),
    punctuation(ui::kButtonDash, 0x0C, kTop, "-", "_", "_"),
    punctuation(ui::kButtonEquals, 0x0D, kTop, "=", "+", "{+}"),

    punctuation(ui::kButtonSquareBracketLeft, 0x1A, kPunct, "[", "{", "{{}"),
    punctuation(ui::kButtonSquareBracketRight, 0x1B, kPunct, "]", "}", "{}}"),
    punctuation(ui::kButtonSemiColon, 0x27, kPunct, ";", ":", ":"),
    punctuation(ui::kButtonAposSign, 0x28, kPunct, "'", "@", "@"),
    // A bare "~" would be Enter.
    punctuation(ui::kButtonHash, 0x2B, kPunct, "#", "~", "{~}"),
    punctuation(ui::kButtonComma, 0x33, kPunct, ",", "<", "<"),
    punctuation(ui::kButtonFullStop, 0x34, kPunct, ".", ">", ">"),
    punctuation(ui::kButtonForwardSlash, 0x35, kPunct, "/", "?", "?"),
    punctuation(ui::kButtonBackSlash, 0x56, kPunct, "\\", "|", "|"),
};
static_assert(kKeys.size() == kCharacterKeyCount);

std::size_t placeOf(const CharacterKey& key) { return static_cast<std::size_t>(&key - kKeys.data()); }

constexpr std::array kStoredTextKeys{
    StoredTextKey{ui::kAtSignButton, ui::settings::kEmailAddressTextbox, settings::kEmailAddress,
                  settings::kEmailAddressDefault},
    StoredTextKey{ui::kBtcButton, ui::settings::kBtcAddressTextbox, settings::kBtcAddress,
                  settings::kBtcAddressDefault},
};

}  // namespace

std::span<const CharacterKey> characterKeys() { return kKeys; }

void showFace(Context& ctx, const CharacterKey& key, CharacterFace face) {
  ctx.state.drewFace(placeOf(key), face);
  if (face == CharacterFace::Language) return;
  ctx.main.control(key.button)
      .setCaption(std::string(face == CharacterFace::Shifted ? key.shifted : key.plain));
}

std::string_view shownFace(const Context& ctx, const CharacterKey& key) {
  switch (ctx.state.face(placeOf(key))) {
    case CharacterFace::Plain:
      return key.plain;
    case CharacterFace::Shifted:
      return key.shifted;
    case CharacterFace::Language:
      break;
  }
  return {};
}

std::span<const StoredTextKey> storedTextKeys() { return kStoredTextKeys; }

std::string chordKeys(std::string_view prefixes, std::string_view lower) {
  std::string keys(prefixes);
  keys += '{';
  keys += lower;
  keys += '}';
  return keys;
}

void recordLayoutFaces(KeyboardState& state) {
  // The layout draws the letters as capitals and every other key plain.
  for (const CharacterKey& key : characterKeys())
    state.drewFace(placeOf(key),
                   key.family == KeyFamily::Letter ? CharacterFace::Shifted : CharacterFace::Plain);
}

void registerCharacterKeys(KeyboardRoutes& router, Context& ctx) {
  for (const CharacterKey& key : characterKeys()) {
    const CharacterKey* k = &key;
    switch (key.family) {
      case KeyFamily::Letter:
        router.on(key.button, Event::Click, [&ctx, k] {
          if (ctx.languageFaces.follow)
            clickLanguageKey(ctx, *k);
          else
            clickLetterKey(ctx, *k);
        });
        break;
      case KeyFamily::Number:
        router.on(key.button, Event::Click, [&ctx, k] {
          if (ctx.languageFaces.follow)
            clickLanguageKey(ctx, *k);
          else
            clickNumberKey(ctx, *k);
        });
        break;
      case KeyFamily::Punctuation:
        router.on(key.button, Event::Click, [&ctx, k] {
          if (ctx.languageFaces.follow)
            clickLanguageKey(ctx, *k);
          else
            clickPunctuationKey(ctx, *k);
        });
        break;
    }
  }
  for (const StoredTextKey& key : storedTextKeys()) {
    const StoredTextKey* k = &key;
    router.on(key.button, Event::Click, [&ctx, k] { clickStoredTextKey(ctx, *k); });
  }
}

}  // namespace osk
