// What the letter, number-row, punctuation and stored-text keys type, append
// and release, by face, target and latches.
#include "keys/character_keys.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "delivery/send.h"
#include "fakes.h"

namespace osk::testing {
namespace {

using colors::kGreen;
using colors::kWhite;
using Keys = std::vector<std::string>;

enum Latch : unsigned { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

constexpr const char* kTitle = "Untitled - Notepad";
constexpr const char* kCommandText = "dir ";

constexpr std::array<std::pair<unsigned, osk::Latch>, 3> kLatchBits{{
    {kShift, osk::Latch::Shift},
    {kCtrl, osk::Latch::Ctrl},
    {kAlt, osk::Latch::Alt},
}};

void latch(Rig& r, unsigned latches) {
  for (const auto& [bit, l] : kLatchBits)
    if ((latches & bit) != 0) r.latch(l);
}

// The latches still on, each as its button shows it too.
unsigned latched(Rig& r) {
  unsigned out = kNone;
  for (const auto& [bit, l] : kLatchBits)
    if (r.state().latched(l)) out |= bit;
  EXPECT_EQ(r.c(ui::kButtonShiftRight).back(), (out & kShift) != 0 ? kGreen : kWhite);
  EXPECT_EQ(r.c(ui::kButtonCtrlRight).back(), (out & kCtrl) != 0 ? kGreen : kWhite);
  EXPECT_EQ(r.c(ui::kButtonAltLeft).back(), (out & kAlt) != 0 ? kGreen : kWhite);
  return out;
}

void commandLineMode(Rig& r) {
  r.kb.handle(ui::kCommandLineTextbox, Event::Click);
  r.c(ui::kCommandLineTextbox).setText(kCommandText);
}

void refresh(Rig& r) { r.kb.tick(ui::kNcsTimer); }

// Keys rest at the window colour between flashes.
void rest(Rig& r, KeyboardControl button) { r.c(button).setBack(colors::kSysWindow); }

const std::vector<KeyboardControl> kNumberButtons{
    ui::kButtonNumber1, ui::kButtonNumber2, ui::kButtonNumber3, ui::kButtonNumber4, ui::kButtonNumber5,
    ui::kButtonNumber6, ui::kButtonNumber7, ui::kButtonNumber8, ui::kButtonNumber9, ui::kButtonNumber0};
const Keys kDigitCaptions{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
const Keys kSymbolCaptions{"!", "''", "\xC2\xA3", "$", "%", "^", "&&", "*", "(", ")"};

Keys numberRow(Rig& r) {
  Keys out;
  for (const KeyboardControl b : kNumberButtons) out.push_back(r.c(b).caption());
  return out;
}

// ---- Letter keys: the decision table, face set directly ---------------------

struct LetterRow {
  const char* what;
  char letter;  // capital
  bool capitalFace;
  unsigned latches;
  const char* sends;  // nullptr: nothing happens
  bool flashes;
  unsigned remaining;
};

class LetterToTarget : public ::testing::TestWithParam<LetterRow> {};

TEST_P(LetterToTarget, FollowsTheDecisionTable) {
  const LetterRow row = GetParam();
  const KeyboardControl button = ui::kLetterKeys.at(static_cast<std::size_t>(row.letter - 'A'));
  const char lower = static_cast<char>(row.letter - 'A' + 'a');
  Rig r;
  r.target(kTitle);
  latch(r, row.latches);
  r.face(button, std::string(1, row.capitalFace ? row.letter : lower));
  rest(r, button);

  r.click(button);

  EXPECT_EQ(r.injector.keys(), row.sends ? Keys{row.sends} : Keys{});
  EXPECT_EQ(r.c(button).back(), row.flashes ? kGreen : colors::kSysWindow);
  EXPECT_EQ(latched(r), row.remaining);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LetterToTarget,
    ::testing::Values(
        //        what                      key  capital latches                   sends      flash remaining
        LetterRow{"CapitalPlain", 'A', true, kNone, "A", true, kNone},
        LetterRow{"CapitalUnderShift", 'A', true, kShift, "A", true, kNone},
        LetterRow{"LowerPlain", 'A', false, kNone, "a", true, kNone},
        LetterRow{"LowerUnderShift", 'A', false, kShift, "a", true, kNone},
        LetterRow{"CtrlChord", 'C', false, kCtrl, "^{c}", false, kNone},
        LetterRow{"AltChord", 'F', false, kAlt, "%{f}", false, kNone},
        LetterRow{"CtrlAltChord", 'E', false, kCtrl | kAlt, "^%{e}", false, kNone},
        LetterRow{"CtrlAltShiftChord", 'Z', false, kShift | kCtrl | kAlt, "^%+{z}", false, kNone},
        // No row matches: nothing at all happens.
        LetterRow{"CapitalCtrl", 'C', true, kCtrl, nullptr, false, kCtrl},
        LetterRow{"CapitalAlt", 'C', true, kAlt, nullptr, false, kAlt},
        LetterRow{"CapitalCtrlAlt", 'E', true, kCtrl | kAlt, nullptr, false, kCtrl | kAlt},
        LetterRow{"CapitalCtrlAltShift", 'Z', true, kShift | kCtrl | kAlt, nullptr, false,
                  kShift | kCtrl | kAlt},
        LetterRow{"LowerCtrlShift", 'C', false, kShift | kCtrl, nullptr, false, kShift | kCtrl},
        LetterRow{"LowerAltShift", 'C', false, kShift | kAlt, nullptr, false, kShift | kAlt}),
    [](const auto& p) { return std::string(p.param.what); });

struct LetterLineRow {
  const char* what;
  bool capitalFace;
  unsigned latches;
  const char* appends;  // nullptr: nothing happens
  unsigned remaining;
};

class LetterToCommandLine : public ::testing::TestWithParam<LetterLineRow> {};

TEST_P(LetterToCommandLine, AppendsTheFaceWithoutSending) {
  const LetterLineRow row = GetParam();
  Rig r;
  commandLineMode(r);
  latch(r, row.latches);
  r.face(ui::kButtonLetterB, row.capitalFace ? "B" : "b");
  rest(r, ui::kButtonLetterB);

  r.click(ui::kButtonLetterB);

  EXPECT_EQ(r.c(ui::kCommandLineTextbox).text(),
            std::string(kCommandText) + (row.appends ? row.appends : ""));
  EXPECT_EQ(r.c(ui::kButtonLetterB).back(), row.appends ? kGreen : colors::kSysWindow);
  EXPECT_EQ(latched(r), row.remaining);
  EXPECT_TRUE(r.injector.sent.empty());
  EXPECT_TRUE(r.desktop.activations.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, LetterToCommandLine,
                         ::testing::Values(LetterLineRow{"Capital", true, kNone, "B", kNone},
                                           LetterLineRow{"CapitalSpendsShift", true, kShift, "B", kNone},
                                           // Caps Lock undid the Shift; it stays for later.
                                           LetterLineRow{"LowerKeepsShift", false, kShift, "b", kShift},
                                           LetterLineRow{"Lower", false, kNone, "b", kNone},
                                           LetterLineRow{"CtrlBlocks", false, kCtrl, nullptr, kCtrl},
                                           LetterLineRow{"AltBlocks", true, kAlt, nullptr, kAlt}),
                         [](const auto& p) { return std::string(p.param.what); });

// ---- Letter keys with the caption refresh: Caps Lock against the latches ----

struct CapsRow {
  const char* what;
  char letter;
  bool caps;
  unsigned latches;
  const char* sends;
  unsigned remaining;
};

class LetterWithCapsLock : public ::testing::TestWithParam<CapsRow> {};

TEST_P(LetterWithCapsLock, TypesWhatTheRefreshedFaceSays) {
  const CapsRow row = GetParam();
  const KeyboardControl button = ui::kLetterKeys.at(static_cast<std::size_t>(row.letter - 'A'));
  Rig r;
  r.target(kTitle);
  latch(r, row.latches);
  r.locks.state[LockKey::CapsLock] = row.caps ? 1 : 0;
  refresh(r);

  r.click(button);

  EXPECT_EQ(r.injector.keys(), row.sends ? Keys{row.sends} : Keys{});
  EXPECT_EQ(latched(r), row.remaining);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LetterWithCapsLock,
    ::testing::Values(CapsRow{"NothingCapsOff", 'Q', false, kNone, "q", kNone},
                      CapsRow{"NothingCapsOn", 'Q', true, kNone, "Q", kNone},
                      CapsRow{"ShiftCapsOff", 'A', false, kShift, "A", kNone},
                      CapsRow{"ShiftCapsOn", 'A', true, kShift, "a", kNone},
                      CapsRow{"CtrlCapsOff", 'C', false, kCtrl, "^{c}", kNone},
                      CapsRow{"CtrlCapsOn", 'C', true, kCtrl, nullptr, kCtrl},
                      CapsRow{"AltCapsOff", 'X', false, kAlt, "%{x}", kNone},
                      CapsRow{"AltCapsOn", 'X', true, kAlt, nullptr, kAlt},
                      CapsRow{"CtrlAltCapsOff", 'E', false, kCtrl | kAlt, "^%{e}", kNone},
                      CapsRow{"CtrlAltCapsOn", 'E', true, kCtrl | kAlt, nullptr, kCtrl | kAlt},
                      CapsRow{"CtrlShiftCapsOff", 'C', false, kCtrl | kShift, nullptr, kCtrl | kShift},
                      CapsRow{"CtrlShiftCapsOn", 'C', true, kCtrl | kShift, nullptr, kCtrl | kShift},
                      CapsRow{"AltShiftCapsOff", 'C', false, kAlt | kShift, nullptr, kAlt | kShift},
                      CapsRow{"AltShiftCapsOn", 'C', true, kAlt | kShift, nullptr, kAlt | kShift},
                      CapsRow{"AllThreeCapsOff", 'Z', false, kCtrl | kAlt | kShift, nullptr,
                              kCtrl | kAlt | kShift},
                      CapsRow{"AllThreeCapsOn", 'Z', true, kCtrl | kAlt | kShift, "^%+{z}", kNone}),
    [](const auto& p) { return std::string(p.param.what); });

TEST(LetterKeys, EveryLetterTypesBothCasesAndItsChords) {
  for (char upper = 'A'; upper <= 'Z'; ++upper) {
    const KeyboardControl button = ui::kLetterKeys.at(static_cast<std::size_t>(upper - 'A'));
    const std::string lower(1, static_cast<char>(upper - 'A' + 'a'));
    Rig r;
    r.target(kTitle);
    refresh(r);
    r.click(button);
    r.locks.state[LockKey::CapsLock] = 1;
    refresh(r);
    r.click(button);
    r.locks.state[LockKey::CapsLock] = 0;
    refresh(r);
    for (unsigned chord : {unsigned{kCtrl}, unsigned{kAlt}, unsigned{kCtrl | kAlt}}) {
      latch(r, chord);
      r.click(button);
    }
    EXPECT_EQ(r.injector.keys(), (Keys{lower, std::string(1, upper), "^{" + lower + "}", "%{" + lower + "}",
                                       "^%{" + lower + "}"}))
        << button.str();
  }
}

// ---- Number row --------------------------------------------------------------

struct NumberKeyRow {
  KeyboardControl button;
  const char* digit;
  const char* symbol;   // caption
  const char* sends;    // for the symbol
  const char* appends;  // for the symbol
};

class NumberKey : public ::testing::TestWithParam<NumberKeyRow> {};

TEST_P(NumberKey, DigitGoesOutAsItselfAndLeavesTheLatches) {
  const NumberKeyRow row = GetParam();
  Rig r;
  r.target(kTitle);
  latch(r, kCtrl | kAlt);  // number keys ignore both
  refresh(r);
  ASSERT_EQ(r.c(row.button).caption(), row.digit);
  rest(r, row.button);
  r.click(row.button);
  EXPECT_EQ(r.injector.keys(), Keys{row.digit});
  EXPECT_EQ(r.c(row.button).back(), kGreen);
  EXPECT_EQ(latched(r), unsigned{kCtrl | kAlt});
}

TEST_P(NumberKey, ShiftedSymbolSendsItsKeyStringAndShowsDigitsAtOnce) {
  const NumberKeyRow row = GetParam();
  Rig r;
  r.target(kTitle);
  latch(r, kShift);
  refresh(r);
  ASSERT_EQ(r.c(row.button).caption(), row.symbol);
  rest(r, row.button);
  r.click(row.button);
  EXPECT_EQ(r.injector.keys(), Keys{row.sends});
  EXPECT_EQ(r.c(row.button).back(), kGreen);
  EXPECT_EQ(latched(r), unsigned{kNone});
  EXPECT_EQ(numberRow(r), kDigitCaptions);
}

TEST_P(NumberKey, CommandLineGetsTheDigitOrTheSymbolCharacter) {
  const NumberKeyRow row = GetParam();
  Rig r;
  commandLineMode(r);
  refresh(r);
  r.click(row.button);
  EXPECT_EQ(r.c(ui::kCommandLineTextbox).text(), std::string(kCommandText) + row.digit);
  EXPECT_EQ(latched(r), unsigned{kNone});

  latch(r, kShift);
  refresh(r);
  rest(r, row.button);
  r.click(row.button);
  EXPECT_EQ(r.c(ui::kCommandLineTextbox).text(), std::string(kCommandText) + row.digit + row.appends);
  EXPECT_EQ(r.c(row.button).back(), kGreen);
  EXPECT_EQ(latched(r), unsigned{kNone});
  EXPECT_EQ(numberRow(r), kDigitCaptions);
  EXPECT_TRUE(r.injector.sent.empty());
}

INSTANTIATE_TEST_SUITE_P(Row, NumberKey,
                         ::testing::Values(NumberKeyRow{ui::kButtonNumber1, "1", "!", "!", "!"},
                                           NumberKeyRow{ui::kButtonNumber2, "2", "''", "+2", "''"},
                                           NumberKeyRow{ui::kButtonNumber3, "3", "\xC2\xA3", "\xC2\xA3",
                                                        "\xC2\xA3"},
                                           NumberKeyRow{ui::kButtonNumber4, "4", "$", "$", "$"},
                                           NumberKeyRow{ui::kButtonNumber5, "5", "%", "+5", "%"},
                                           NumberKeyRow{ui::kButtonNumber6, "6", "^", "+6", "^"},
                                           NumberKeyRow{ui::kButtonNumber7, "7", "&&", "&", "&"},
                                           NumberKeyRow{ui::kButtonNumber8, "8", "*", "*", "*"},
                                           NumberKeyRow{ui::kButtonNumber9, "9", "(", "{(}", "("},
                                           NumberKeyRow{ui::kButtonNumber0, "0", ")", "{)}", ")"}),
                         [](const auto& p) { return std::string(p.param.button.str()); });

TEST(NumberRow, ShiftLockKeepsTheSymbolsShowingAfterAClick) {
  Rig r;
  r.target(kTitle);
  r.latch(osk::Latch::ShiftLock);
  refresh(r);
  r.click(ui::kButtonNumber5);
  EXPECT_EQ(r.injector.keys(), Keys{"+5"});
  EXPECT_EQ(latched(r), unsigned{kNone});
  EXPECT_EQ(numberRow(r), kSymbolCaptions);
}

TEST(NumberRow, ShiftWithShiftLockTypesTheDigitAndKeepsShift) {
  Rig r;
  r.target(kTitle);
  r.latch(osk::Latch::ShiftLock);
  latch(r, kShift);
  refresh(r);
  ASSERT_EQ(numberRow(r), kDigitCaptions);
  r.click(ui::kButtonNumber2);
  EXPECT_EQ(r.injector.keys(), Keys{"2"});
  EXPECT_EQ(latched(r), unsigned{kShift});
  // Symbols until the refresh, which turns them back to digits.
  EXPECT_EQ(numberRow(r), kSymbolCaptions);
  refresh(r);
  EXPECT_EQ(numberRow(r), kDigitCaptions);
}

TEST(NumberRow, NumberRowLockShowsDigitsUntilTheNextRefresh) {
  Rig r;
  r.target(kTitle);
  r.latch(osk::Latch::NumberRowLock);
  refresh(r);
  r.click(ui::kButtonNumber1);
  EXPECT_EQ(r.injector.keys(), Keys{"!"});
  EXPECT_EQ(numberRow(r), kDigitCaptions);
  refresh(r);
  EXPECT_EQ(numberRow(r), kSymbolCaptions);
}

TEST(NumberRow, NoTargetChangesNothingButTheShiftLockStillShowsSymbols) {
  for (bool shiftLock : {false, true}) {
    Rig r;
    latch(r, kShift);
    r.latch(osk::Latch::ShiftLock, shiftLock);
    rest(r, ui::kButtonNumber4);
    r.click(ui::kButtonNumber4);  // design-time face: the digit
    EXPECT_TRUE(r.injector.sent.empty());
    EXPECT_EQ(r.c(ui::kButtonNumber4).back(), colors::kSysWindow);
    EXPECT_EQ(latched(r), unsigned{kShift});
    EXPECT_EQ(numberRow(r), shiftLock ? kSymbolCaptions : kDigitCaptions);
  }
}

TEST(NumberRow, AFaceThatIsNeitherDigitNorSymbolTypesNothing) {
  Rig r;
  r.target(kTitle);
  latch(r, kShift);
  r.face(ui::kButtonNumber4, "&");
  r.click(ui::kButtonNumber4);
  EXPECT_TRUE(r.injector.sent.empty());
  EXPECT_EQ(latched(r), unsigned{kShift});
  EXPECT_EQ(r.c(ui::kButtonNumber4).caption(), "&");
}

// ---- Punctuation -------------------------------------------------------------

struct PunctuationRow {
  KeyboardControl button;
  const char* plain;
  const char* shifted;  // caption and command-line text
  const char* sends;    // for the shifted face
  bool endsWhite;       // shows no press flash
};

class PunctuationKey : public ::testing::TestWithParam<PunctuationRow> {};

Color afterSend(const PunctuationRow& row) { return row.endsWhite ? kWhite : kGreen; }

TEST_P(PunctuationKey, PlainFaceSendsTheCharacterAndLeavesTheLatches) {
  const PunctuationRow row = GetParam();
  Rig r;
  r.target(kTitle);
  latch(r, kCtrl | kAlt);
  refresh(r);
  ASSERT_EQ(r.c(row.button).caption(), row.plain);
  rest(r, row.button);
  r.click(row.button);
  EXPECT_EQ(r.injector.keys(), Keys{row.plain});
  EXPECT_EQ(r.c(row.button).back(), afterSend(row));
  EXPECT_EQ(latched(r), unsigned{kCtrl | kAlt});
}

TEST_P(PunctuationKey, ShiftedFaceSendsItsKeyStringAndSpendsShift) {
  const PunctuationRow row = GetParam();
  Rig r;
  r.target(kTitle);
  latch(r, kShift);
  refresh(r);
  ASSERT_EQ(r.c(row.button).caption(), row.shifted);
  rest(r, row.button);
  r.click(row.button);
  EXPECT_EQ(r.injector.keys(), Keys{row.sends});
  EXPECT_EQ(r.c(row.button).back(), afterSend(row));
  EXPECT_EQ(latched(r), unsigned{kNone});
}

TEST_P(PunctuationKey, CommandLineGetsTheCharactersNotTheirKeyStrings) {
  const PunctuationRow row = GetParam();
  Rig r;
  commandLineMode(r);
  latch(r, kCtrl);
  refresh(r);
  r.click(row.button);
  EXPECT_EQ(r.c(ui::kCommandLineTextbox).text(), std::string(kCommandText) + row.plain);
  EXPECT_EQ(latched(r), unsigned{kCtrl});

  latch(r, kShift);
  refresh(r);
  rest(r, row.button);
  r.click(row.button);
  EXPECT_EQ(r.c(ui::kCommandLineTextbox).text(), std::string(kCommandText) + row.plain + row.shifted);
  EXPECT_EQ(r.c(row.button).back(), afterSend(row));
  EXPECT_EQ(latched(r), unsigned{kCtrl});
  EXPECT_TRUE(r.injector.sent.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Row, PunctuationKey,
    ::testing::Values(PunctuationRow{ui::kLeftTopCornerKey, "`", "\xC2\xAC", "\xC2\xAC", true},
                      PunctuationRow{ui::kButtonDash, "-", "_", "_", false},
                      PunctuationRow{ui::kButtonEquals, "=", "+", "{+}", false},
                      PunctuationRow{ui::kButtonSquareBracketLeft, "[", "{", "{{}", false},
                      PunctuationRow{ui::kButtonSquareBracketRight, "]", "}", "{}}", false},
                      PunctuationRow{ui::kButtonSemiColon, ";", ":", ":", false},
                      PunctuationRow{ui::kButtonAposSign, "'", "@", "@", false},
                      PunctuationRow{ui::kButtonHash, "#", "~", "{~}", false},
                      PunctuationRow{ui::kButtonComma, ",", "<", "<", false},
                      PunctuationRow{ui::kButtonFullStop, ".", ">", ">", false},
                      PunctuationRow{ui::kButtonForwardSlash, "/", "?", "?", false},
                      PunctuationRow{ui::kButtonBackSlash, "\\", "|", "|", false}),
    [](const auto& p) { return std::string(p.param.button.str()); });

TEST(Punctuation, ShiftWithShiftLockTypesPlainAndKeepsShift) {
  Rig r;
  r.target(kTitle);
  r.latch(osk::Latch::ShiftLock);
  latch(r, kShift);
  refresh(r);
  r.click(ui::kButtonHash);
  EXPECT_EQ(r.injector.keys(), Keys{"#"});
  EXPECT_EQ(latched(r), unsigned{kShift});
}

TEST(Punctuation, NumberRowLockShiftsOnlyTheTopRowKeys) {
  Rig r;
  r.target(kTitle);
  r.latch(osk::Latch::NumberRowLock);
  refresh(r);
  r.click(ui::kButtonDash);
  r.click(ui::kButtonSemiColon);
  EXPECT_EQ(r.injector.keys(), (Keys{"_", ";"}));
}

TEST(Punctuation, NoTargetTypesNothingButTheGraveKeyStillShedsGreen) {
  Rig r;
  latch(r, kShift);
  refresh(r);
  flashKey(r.kb.context(), r.c(ui::kLeftTopCornerKey));
  rest(r, ui::kButtonComma);
  r.click(ui::kLeftTopCornerKey);
  r.click(ui::kButtonComma);
  EXPECT_TRUE(r.injector.sent.empty());
  EXPECT_EQ(r.c(ui::kLeftTopCornerKey).back(), kWhite);
  EXPECT_EQ(r.c(ui::kButtonComma).back(), colors::kSysWindow);
  EXPECT_EQ(latched(r), unsigned{kShift});
}

// ---- Stored-text keys --------------------------------------------------------

struct StoredRow {
  KeyboardControl button;
  const char* setting;
  const char* fallback;
};

class StoredText : public ::testing::TestWithParam<StoredRow> {};

TEST_P(StoredText, TypesTheDefaultWhenNothingIsStored) {
  Rig r;
  r.target(kTitle);
  r.click(GetParam().button);
  EXPECT_EQ(r.injector.keys(), Keys{GetParam().fallback});
  EXPECT_EQ(r.c(GetParam().button).back(), kGreen);
  EXPECT_FALSE(r.store.has(kSettingsSection, GetParam().setting));
}

TEST_P(StoredText, ReadsTheStoreAtEveryClickAndSendsItAsAKeyString) {
  Rig r;
  r.target(kTitle);
  r.store.write(kSettingsSection, GetParam().setting, "me{@}example.com{TAB}");
  r.click(GetParam().button);
  r.store.write(kSettingsSection, GetParam().setting, "second~");
  r.click(GetParam().button);
  EXPECT_EQ(r.injector.keys(), (Keys{"me{@}example.com{TAB}", "second~"}));
  EXPECT_EQ(r.c(GetParam().button).back(), kGreen);
}

TEST_P(StoredText, LeavesEveryLatchAlone) {
  Rig r;
  r.target(kTitle);
  latch(r, kShift | kCtrl | kAlt);
  r.store.write(kSettingsSection, GetParam().setting, "abc");
  r.click(GetParam().button);
  EXPECT_EQ(r.injector.keys(), Keys{"abc"});
  EXPECT_EQ(latched(r), unsigned{kShift | kCtrl | kAlt});
}

TEST_P(StoredText, MalformedTextTypesNothingAndKeepsTheKeyUsable) {
  Rig r;
  r.target(kTitle);
  const Color before = r.c(GetParam().button).back();
  r.store.write(kSettingsSection, GetParam().setting, "{unclosed");
  r.click(GetParam().button);
  EXPECT_TRUE(r.injector.sent.empty());
  EXPECT_EQ(r.c(GetParam().button).back(), before);

  r.store.write(kSettingsSection, GetParam().setting, "fixed");
  r.click(GetParam().button);
  EXPECT_EQ(r.injector.keys(), Keys{"fixed"});
}

TEST_P(StoredText, NoWindowTargetDoesNothing) {
  for (const char* title : {"QM-OSK", "QM-OSK-CMD"}) {
    Rig r;
    if (std::string_view(title) == "QM-OSK-CMD") r.kb.handle(ui::kCommandLineTextbox, Event::Click);
    ASSERT_EQ(r.c(ui::kActiveWindowLabel).caption(), title);
    r.c(ui::kCommandLineTextbox).setText(kCommandText);
    const Color before = r.c(GetParam().button).back();
    r.click(GetParam().button);
    EXPECT_TRUE(r.injector.sent.empty()) << title;
    EXPECT_TRUE(r.desktop.activations.empty()) << title;
    EXPECT_EQ(r.c(GetParam().button).back(), before) << title;
    EXPECT_EQ(r.c(ui::kCommandLineTextbox).text(), kCommandText) << title;
  }
}

INSTANTIATE_TEST_SUITE_P(Buttons, StoredText,
                         ::testing::Values(StoredRow{ui::kAtSignButton, "EMAIL_ADDRESS_TEXTBOX",
                                                     "EMAIL ADDRESS"},
                                           StoredRow{ui::kBtcButton, "BTC_ADDRESS_TEXTBOX", "BTC ADDRESS"}),
                         [](const auto& p) { return std::string(p.param.button.str()); });

// ---- Across the families -----------------------------------------------------

TEST(CharacterKeys, NoTargetYetMeansNothingForAnyKey) {
  Rig r;
  latch(r, kShift | kCtrl | kAlt);
  refresh(r);
  std::vector<KeyboardControl> buttons;
  for (const CharacterKey& key : characterKeys()) buttons.push_back(key.button);
  buttons.insert(buttons.end(), {ui::kAtSignButton, ui::kBtcButton});
  const Keys row = numberRow(r);
  for (const KeyboardControl b : buttons) {
    const Color before = r.c(b).back();
    r.click(b);
    EXPECT_EQ(r.c(b).back(), before) << b.str();
  }
  EXPECT_TRUE(r.injector.sent.empty());
  EXPECT_EQ(latched(r), unsigned{kShift | kCtrl | kAlt});
  EXPECT_EQ(numberRow(r), row);
  EXPECT_EQ(r.c(ui::kCommandLineTextbox).text(), "Command Line");
}

struct RefusedSend {
  const char* what;
  KeyboardControl button;
  unsigned latches;
};

class WhenTheSendFails : public ::testing::TestWithParam<std::tuple<RefusedSend, int>> {};

// A key that did not reach its target neither flashes nor spends a latch.
TEST_P(WhenTheSendFails, NothingFlashesAndNoLatchIsSpent) {
  const auto& [c, how] = GetParam();
  Rig r;
  r.target(kTitle);
  latch(r, c.latches);
  refresh(r);
  if (how == 0) {
    r.desktop.refuseActivation = true;
  } else {
    r.injector.refuse = true;
  }
  const Keys row = numberRow(r);
  rest(r, c.button);
  r.click(c.button);
  EXPECT_TRUE(r.injector.sent.empty());
  EXPECT_EQ(r.c(c.button).back(), colors::kSysWindow);
  EXPECT_EQ(latched(r), c.latches);
  EXPECT_EQ(numberRow(r), row);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, WhenTheSendFails,
    ::testing::Combine(::testing::Values(RefusedSend{"CapitalLetter", ui::kButtonLetterA, kShift},
                                         RefusedSend{"CtrlAltChord", ui::kButtonLetterE, kCtrl | kAlt},
                                         RefusedSend{"NumberSymbol", ui::kButtonNumber2, kShift},
                                         RefusedSend{"PunctuationShifted", ui::kButtonHash, kShift},
                                         RefusedSend{"StoredText", ui::kAtSignButton, kShift}),
                       ::testing::Values(0, 1)),
    [](const auto& p) {
      return std::string(std::get<0>(p.param).what) +
             (std::get<1>(p.param) == 0 ? "ActivationRefused" : "InjectionRefused");
    });

}  // namespace
}  // namespace osk::testing
