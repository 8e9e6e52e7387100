// The keyboard face: lock lights, the 48 captions and the resting colours.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes.h"
#include "keys/character_keys.h"

namespace osk::testing {
namespace {

using colors::kGreen;
using colors::kRed;
using colors::kWhite;

struct Faces {
  KeyboardControl button;
  std::string plain, shifted;
};

// Written out here rather than taken from the key table, so that a wrong
// entry in the table shows up as a wrong caption.
std::vector<Faces> letterFaces() {
  std::vector<Faces> out;
  for (char c = 'A'; c <= 'Z'; ++c) {
    out.push_back({ui::kLetterKeys.at(static_cast<std::size_t>(c - 'A')),
                   std::string(1, static_cast<char>(c - 'A' + 'a')), std::string(1, c)});
  }
  return out;
}

const std::vector<Faces> kTopRowFaces{
    {ui::kLeftTopCornerKey, "`", "\xC2\xAC"},
    {ui::kButtonNumber1, "1", "!"},
    {ui::kButtonNumber2, "2", "''"},
    {ui::kButtonNumber3, "3", "\xC2\xA3"},
    {ui::kButtonNumber4, "4", "$"},
    {ui::kButtonNumber5, "5", "%"},
    {ui::kButtonNumber6, "6", "^"},
    {ui::kButtonNumber7, "7", "&&"},
    {ui::kButtonNumber8, "8", "*"},
    {ui::kButtonNumber9, "9", "("},
    {ui::kButtonNumber0, "0", ")"},
    {ui::kButtonDash, "-", "_"},
    {ui::kButtonEquals, "=", "+"},
};

const std::vector<Faces> kPunctuationFaces{
    {ui::kButtonSquareBracketLeft, "[", "{"},
    {ui::kButtonSquareBracketRight, "]", "}"},
    {ui::kButtonSemiColon, ";", ":"},
    {ui::kButtonAposSign, "'", "@"},
    {ui::kButtonHash, "#", "~"},
    {ui::kButtonComma, ",", "<"},
    {ui::kButtonFullStop, ".", ">"},
    {ui::kButtonForwardSlash, "/", "?"},
    {ui::kButtonBackSlash, "\\", "|"},
};

std::map<std::string, std::string> captionsOf(Rig& r) {
  std::map<std::string, std::string> out;
  for (const auto& group : {letterFaces(), kTopRowFaces, kPunctuationFaces}) {
    for (const Faces& f : group) out[std::string(f.button.str())] = r.c(f.button).caption();
  }
  return out;
}

void setShift(Rig& r, bool on) { r.latch(Latch::Shift, on); }

TEST(CharacterKeyTable, HoldsEachOfTheFortyEightKeysOnce) {
  std::map<std::string, int> seen;
  for (const CharacterKey& key : characterKeys()) ++seen[std::string(key.button.str())];
  EXPECT_EQ(seen.size(), 48u);
  for (const auto& group : {letterFaces(), kTopRowFaces, kPunctuationFaces}) {
    for (const Faces& f : group) EXPECT_EQ(seen[std::string(f.button.str())], 1) << f.button.str();
  }
}

// ---- Caption refresh: every recognised combination --------------------------

struct FaceRow {
  bool s, c, t, k;
  bool upperLetters, shiftedTopRow, shiftedPunctuation;
};

class CaptionRefresh : public ::testing::TestWithParam<FaceRow> {};

TEST_P(CaptionRefresh, ShowsTheFacesAndCapsMirrorOfTheState) {
  const FaceRow row = GetParam();
  Rig r;
  setShift(r, row.s);
  r.locks.state[LockKey::CapsLock] = row.c ? 1 : 0;
  r.latch(Latch::NumberRowLock, row.t);
  r.latch(Latch::ShiftLock, row.k);
  // Start from the opposite of every expected face so each caption must move.
  for (const Faces& f : letterFaces()) r.face(f.button, row.upperLetters ? f.plain : f.shifted);
  for (const Faces& f : kTopRowFaces) r.face(f.button, row.shiftedTopRow ? f.plain : f.shifted);
  for (const Faces& f : kPunctuationFaces) r.face(f.button, row.shiftedPunctuation ? f.plain : f.shifted);

  r.kb.tick(ui::kNcsTimer);

  for (const Faces& f : letterFaces())
    EXPECT_EQ(r.c(f.button).caption(), row.upperLetters ? f.shifted : f.plain);
  for (const Faces& f : kTopRowFaces)
    EXPECT_EQ(r.c(f.button).caption(), row.shiftedTopRow ? f.shifted : f.plain);
  for (const Faces& f : kPunctuationFaces) {
    EXPECT_EQ(r.c(f.button).caption(), row.shiftedPunctuation ? f.shifted : f.plain);
  }
  EXPECT_EQ(r.c(ui::kCapsLightLabel).back(), row.c ? kGreen : kRed);
  EXPECT_EQ(r.c(ui::kButtonCaps).back(), row.c ? kGreen : kWhite);
  // The refresh reads the latches; it never writes them or injects.
  EXPECT_EQ(r.c(ui::kButtonShiftLeft).back(), row.s ? kGreen : kWhite);
  EXPECT_EQ(r.c(ui::kShiftLockButton).back(), row.k ? kGreen : kWhite);
  EXPECT_EQ(r.c(ui::kLockTopNumberKeysButton).back(), row.t ? kGreen : kWhite);
  EXPECT_TRUE(r.injector.sent.empty());
}

INSTANTIATE_TEST_SUITE_P(AllSixteen, CaptionRefresh,
                         ::testing::Values(
                             //       S      C      T      K      upper  top    punct
                             FaceRow{false, false, false, false, false, false, false},
                             FaceRow{false, true, false, false, true, false, false},
                             FaceRow{true, false, false, false, true, true, true},
                             FaceRow{true, true, false, false, false, true, true},
                             FaceRow{false, false, false, true, false, true, true},
                             FaceRow{false, true, false, true, true, true, true},
                             FaceRow{true, false, false, true, true, false, false},
                             FaceRow{true, true, false, true, false, false, false},
                             FaceRow{false, false, true, false, false, true, false},
                             FaceRow{false, true, true, false, true, true, false},
                             FaceRow{true, false, true, false, true, true, true},
                             FaceRow{true, true, true, false, false, true, true},
                             FaceRow{false, false, true, true, false, true, true},
                             FaceRow{false, true, true, true, true, true, true},
                             FaceRow{true, false, true, true, true, true, false},
                             FaceRow{true, true, true, true, false, true, false}));

// ---- A Caps Lock key held down keeps the face; Num and Scroll still update ---

struct Unrecognised {
  const char* what;
  std::function<void(Rig&)> apply;
};

class UnrecognisedState : public ::testing::TestWithParam<Unrecognised> {};

TEST_P(UnrecognisedState, KeepsFaceAndCapsMirrorButUpdatesNumAndScroll) {
  Rig r;
  // A recognised state whose face differs from the design-time one.
  setShift(r, true);
  r.locks.state[LockKey::CapsLock] = 1;
  r.kb.tick(ui::kNcsTimer);
  const auto before = captionsOf(r);
  ASSERT_EQ(r.c(ui::kButtonLetterA).caption(), "a");
  ASSERT_EQ(r.c(ui::kButtonNumber2).caption(), "''");
  ASSERT_EQ(r.c(ui::kNumLightLabel).back(), kRed);

  // Everything else now points at a different face: Caps off, no Shift.
  setShift(r, false);
  r.locks.state[LockKey::CapsLock] = 0;
  r.locks.state[LockKey::NumLock] = 1;
  r.locks.state[LockKey::ScrollLock] = 1;
  GetParam().apply(r);
  r.kb.tick(ui::kNcsTimer);

  EXPECT_EQ(captionsOf(r), before);
  EXPECT_EQ(r.c(ui::kCapsLightLabel).back(), kGreen);
  EXPECT_EQ(r.c(ui::kButtonCaps).back(), kGreen);
  EXPECT_EQ(r.c(ui::kNumLightLabel).back(), kGreen);
  EXPECT_EQ(r.c(ui::kScrollLightLabel).back(), kGreen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnrecognisedState,
    ::testing::Values(
        // GetKeyState while the physical key is held: high bit set.
        Unrecognised{"CapsHeldWhileOff", [](Rig& r) { r.locks.state[LockKey::CapsLock] = -128; }},
        Unrecognised{"CapsHeldWhileOn", [](Rig& r) { r.locks.state[LockKey::CapsLock] = -127; }},
        Unrecognised{"CapsOtherValue", [](Rig& r) { r.locks.state[LockKey::CapsLock] = 2; }}),
    [](const auto& p) { return std::string(p.param.what); });

// ---- Num and Scroll lights ---------------------------------------------------

struct LightRow {
  std::int16_t state;
  Color expected;
};

class NumAndScrollLights : public ::testing::TestWithParam<LightRow> {};

TEST_P(NumAndScrollLights, AnyNonZeroStateLights) {
  for (auto [key, label] : {std::pair{LockKey::NumLock, ui::kNumLightLabel},
                            std::pair{LockKey::ScrollLock, ui::kScrollLightLabel}}) {
    Rig r;
    r.locks.state[key] = GetParam().state;
    r.kb.tick(ui::kNcsTimer);
    EXPECT_EQ(r.c(label).back(), GetParam().expected) << label.str();
  }
}

INSTANTIATE_TEST_SUITE_P(States, NumAndScrollLights,
                         ::testing::Values(LightRow{0, kRed}, LightRow{1, kGreen},
                                           LightRow{-128, kGreen},  // held while off
                                           LightRow{-127, kGreen}));

TEST(CaptionRefresh, TicksWithNothingChangedNotifyNothing) {
  struct Counter final : FormObserver {
    int changes = 0;
    void controlChanged(const Control&, Property) override { ++changes; }
    void timerChanged(const Timer&) override {}
    void geometryChanged(const Geometry&) override {}
  } counter;
  Rig r;
  setShift(r, true);
  r.locks.state[LockKey::CapsLock] = 1;
  r.kb.tick(ui::kNcsTimer);
  r.main().setObserver(&counter);
  r.kb.tick(ui::kNcsTimer);
  r.kb.tick(ui::kNcsTimer);
  r.main().setObserver(nullptr);
  EXPECT_EQ(counter.changes, 0);
}

// ---- Refresh on events instead of ten ticks a second -------------------------

// What a user sees right after a click on Shift and right after Caps Lock is
// toggled in another program (the host ticks the refresh on that key event
// when it can report key events; otherwise only the timer's next tick
// shows it), for hosts that can and cannot report key events.
struct EventRefresh {
  bool hostReportsKeys;
  bool timerRuns;         // NCS_TIMER enabled after Load
  bool shiftShownAtOnce;  // "A" right after the click on Shift, before any tick
};

class FacesFollowEvents : public ::testing::TestWithParam<EventRefresh> {};

TEST_P(FacesFollowEvents, ShowLatchesAtOnceAndLocksOnTheirKeyEvent) {
  const EventRefresh& want = GetParam();
  Rig r;
  r.host.reportsKeyEvents = want.hostReportsKeys;
  r.locks.state[LockKey::CapsLock] = 1;
  r.kb.handleForm(Event::Load);
  EXPECT_EQ(r.main().timer(ui::kNcsTimer).enabled, want.timerRuns);
  EXPECT_EQ(r.main().timer(ui::kNcsTimer).intervalMs, 100);
  // Right from the start when no tick will come to set it.
  if (want.hostReportsKeys) {
    EXPECT_EQ(r.c(ui::kCapsLightLabel).back(), kGreen);
  }

  r.locks.state[LockKey::CapsLock] = 0;
  r.kb.tick(ui::kNcsTimer);
  ASSERT_EQ(r.c(ui::kButtonLetterA).caption(), "a");
  r.click(ui::kButtonShiftLeft);
  EXPECT_EQ(r.c(ui::kButtonLetterA).caption(), want.shiftShownAtOnce ? "A" : "a");

  r.locks.state[LockKey::CapsLock] = 1;
  r.kb.tick(ui::kNcsTimer);  // the key event's tick, or the timer's own
  EXPECT_EQ(r.c(ui::kCapsLightLabel).back(), kGreen);
  EXPECT_EQ(r.c(ui::kButtonLetterA).caption(), "a");  // Shift and Caps Lock cancel out

  r.kb.handleForm(Event::Unload);
  EXPECT_FALSE(r.main().timer(ui::kNcsTimer).enabled);
  r.click(ui::kButtonShiftLeft);
  EXPECT_EQ(r.c(ui::kButtonLetterA).caption(), "a") << "no refresh after the window has gone";
}

INSTANTIATE_TEST_SUITE_P(Hosts, FacesFollowEvents,
                         ::testing::Values(EventRefresh{true, false, true},
                                           EventRefresh{false, true, false}));

// ---- Double-click on a light -------------------------------------------------

struct LightClick {
  KeyboardControl label;
  const char* keys;
};

class LightDoubleClick : public ::testing::TestWithParam<LightClick> {};

TEST_P(LightDoubleClick, InjectsTheLockKeyWithoutTargetOrFlash) {
  // Also with no target yet: the lock toggles are system-wide.
  for (bool withTarget : {false, true}) {
    Rig r;
    if (withTarget) r.target("Notepad");
    const Color before = r.c(GetParam().label).back();
    r.kb.handle(GetParam().label, Event::DblClick);
    EXPECT_EQ(r.injector.keys(), std::vector<std::string>{GetParam().keys});
    EXPECT_TRUE(r.desktop.activations.empty());
    EXPECT_EQ(r.c(GetParam().label).back(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Lights, LightDoubleClick,
                         ::testing::Values(LightClick{ui::kNumLightLabel, "{NUMLOCK}"},
                                           LightClick{ui::kCapsLightLabel, "{CAPSLOCK}"},
                                           LightClick{ui::kScrollLightLabel, "{SCROLLLOCK}"}));

// ---- Flash reset --------------------------------------------------------------

const std::vector<KeyboardControl> kOtherPlainKeys{ui::kButtonSpacebar,
                                                   ui::kButtonReturnKey,
                                                   ui::kButtonEsc,
                                                   ui::kButtonTab,
                                                   ui::kButtonDelete,
                                                   ui::kButtonIns,
                                                   ui::kButtonHome,
                                                   ui::kButtonEnd,
                                                   ui::kButtonPgUp,
                                                   ui::kButtonPgDn,
                                                   ui::kPrintScreenAppWindow,
                                                   ui::kPrintScreenCompleteScreen,
                                                   ui::kButtonRunInternal,
                                                   ui::kButtonWindowsRunExternal};
const std::vector<KeyboardControl> kArrowKeys{ui::kButtonKeyUp, ui::kButtonKeyDown, ui::kButtonKeyLeft,
                                              ui::kButtonKeyRight};
const std::vector<KeyboardControl> kToolButtons{ui::kCopyButton, ui::kCutButton,    ui::kPasteButton,
                                                ui::kButtonCalc, ui::kAtSignButton, ui::kBtcButton};

std::vector<KeyboardControl> fKeys() { return {ui::kFunctionKeys.begin(), ui::kFunctionKeys.end()}; }

struct TintRow {
  const char* what;
  bool shiftLock, numberRowLock, myFkeys, highlight;
  Color topRow, punctuation, fkey, arrow;
};

class FlashReset : public ::testing::TestWithParam<TintRow> {};

TEST_P(FlashReset, RestsEveryListedKeyAndPaintsTheTints) {
  const TintRow row = GetParam();
  Rig r;
  r.latch(Latch::ShiftLock, row.shiftLock);
  r.latch(Latch::NumberRowLock, row.numberRowLock);
  r.latch(Latch::UserFkeys, row.myFkeys);
  r.latch(Latch::Highlight, row.highlight);
  // Every listed key pressed, so each must be written to pass.
  for (const auto& group : {letterFaces(), kTopRowFaces, kPunctuationFaces}) {
    for (const Faces& f : group) r.c(f.button).setBack(kGreen);
  }
  for (const auto& group : {kOtherPlainKeys, kArrowKeys, kToolButtons, fKeys()}) {
    for (const KeyboardControl b : group) r.c(b).setBack(kGreen);
  }

  r.kb.tick(ui::kBackcolorTimer);

  for (const Faces& f : letterFaces()) EXPECT_EQ(r.c(f.button).back(), colors::kSysWindow) << f.button.str();
  for (const KeyboardControl b : kOtherPlainKeys) EXPECT_EQ(r.c(b).back(), colors::kSysWindow) << b.str();
  for (const KeyboardControl b : kToolButtons) EXPECT_EQ(r.c(b).back(), colors::kSysButtonFace) << b.str();
  for (const Faces& f : kTopRowFaces) EXPECT_EQ(r.c(f.button).back(), row.topRow) << f.button.str();
  for (const Faces& f : kPunctuationFaces) EXPECT_EQ(r.c(f.button).back(), row.punctuation) << f.button.str();
  for (const KeyboardControl b : fKeys()) EXPECT_EQ(r.c(b).back(), row.fkey) << b.str();
  for (const KeyboardControl b : kArrowKeys) EXPECT_EQ(r.c(b).back(), row.arrow) << b.str();
  // The mode buttons show their latches and stay as they were.
  EXPECT_EQ(r.c(ui::kShiftLockButton).back(), row.shiftLock ? kGreen : kWhite);
  EXPECT_EQ(r.c(ui::kLockTopNumberKeysButton).back(), row.numberRowLock ? kGreen : kWhite);
  EXPECT_EQ(r.c(ui::kButtonMyFkeys).back(), row.myFkeys ? kGreen : kWhite);
  EXPECT_EQ(r.c(ui::kShiftArrowHighlightButton).back(), row.highlight ? colors::kPink : kWhite);
}

constexpr Color kWin = colors::kSysWindow;
constexpr Color kYellow = colors::kYellowTint;
constexpr Color kPink = colors::kPink;
constexpr Color kBlue = colors::kBlueTint;

INSTANTIATE_TEST_SUITE_P(Modes, FlashReset,
                         ::testing::Values(
                             //      what           shiftLk numLock myFkeys highlt top     punct    fkey arrow
                             TintRow{"NoMode", false, false, false, false, kWin, kWin, kWhite, kWin},
                             TintRow{"ShiftLock", true, false, false, false, kYellow, kYellow, kWhite, kWin},
                             TintRow{"NumberRowLock", false, true, false, false, kPink, kWin, kWhite, kWin},
                             TintRow{"BothLocks", true, true, false, false, kPink, kYellow, kWhite, kWin},
                             TintRow{"UserFkeys", false, false, true, false, kWin, kWin, kBlue, kWin},
                             TintRow{"Highlight", false, false, false, true, kWin, kWin, kWhite, kPink},
                             TintRow{"Everything", true, true, true, true, kPink, kYellow, kBlue, kPink}),
                         [](const auto& p) { return std::string(p.param.what); });

TEST(FlashReset, NeverTouchesStateButtons) {
  const std::vector<KeyboardControl> untouched{
      ui::kButtonShiftLeft,     ui::kButtonShiftRight, ui::kButtonCtrlLeft,   ui::kButtonCtrlRight,
      ui::kButtonAltLeft,       ui::kButtonAltGr,      ui::kButtonWinKeyLeft, ui::kButtonWinKeyRight,
      ui::kButtonCaps,          ui::kButtonBackspace,  ui::kButtonRightClick, ui::kButtonAutoDelete,
      ui::kButtonAutoBackspace, ui::kSettingsButton,   ui::kButtonCmd,        ui::kButtonWindowsLock,
      ui::kNumLightLabel,       ui::kCapsLightLabel,   ui::kScrollLightLabel, ui::kActiveWindowLabel};
  constexpr Color kMarker = 0x123456;
  Rig r;
  for (const KeyboardControl b : untouched) r.c(b).setBack(kMarker);
  r.kb.tick(ui::kBackcolorTimer);
  for (const KeyboardControl b : untouched) EXPECT_EQ(r.c(b).back(), kMarker) << b.str();
}

}  // namespace
}  // namespace osk::testing
