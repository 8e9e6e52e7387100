// The administrator gate: every way the keyboard sends keys, walked with the
// windows at the keyboard's own level (the keys go in) and above it (nothing
// goes in, the note says why, word prediction counts nothing); the sends to
// whatever is in front, asked about that window; and which levels and probe
// answers Windows lets keys through to.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "aids/hands_free.h"
#include "delivery/send.h"
#include "fakes.h"
#include "manual_clock.h"
#include "settings/settings_keys.h"

namespace osk::testing {
namespace {

constexpr WindowId kTarget = 42;
// Another window, in front while the keys are clicked (as when the keyboard
// keeps the focus in the window being typed into, or the Start menu is up).
constexpr WindowId kFront = 43;

const FakeLayout kQwerty{{0x10, 0x51, "q", "Q"}, {0x11, 0x57, "w", "W"}};

struct GateRig {
  Rig r;
  ManualClock clock{r.kb};

  // `above`: the target and the window in front run as administrator (the
  // target's level known, the other's hidden and its probe refused), or
  // both at the keyboard's own level.
  GateRig(bool above, bool followLanguage) {
    r.store.write(kSettingsSection, "WORD_PREDICTION", "1");
    r.store.write(kSettingsSection, "DWELL_CLICK", "1");
    r.store.write(kSettingsSection, "DWELL_TIME_MS", "1000");
    if (followLanguage) {
      r.languages.layouts = {{1, &kQwerty}};
      r.languages.own = 1;
      r.store.write(kSettingsSection, settings::kFollowInputLanguage, "1");
    }
    r.desktop.own = Integrity::Medium;
    r.desktop.levels[kTarget] = above ? Integrity::High : Integrity::Medium;
    r.desktop.levels[kFront] = above ? Integrity::Refused : Integrity::Medium;
    r.desktop.probeAnswers[kFront] = above ? ProbeAnswer::AccessDenied : ProbeAnswer::Answered;
    r.kb.handleForm(Event::Load);
    r.target("Setup", kTarget);
    r.tick(ui::kNcsTimer);
    r.desktop.windows[kFront].title = "Administrator: Command Prompt";
    r.desktop.foreground = kFront;
  }
  // The words offered, in lower case: their case follows the Shift latch,
  // which a refused key leaves latched.
  std::vector<std::string> offered() {
    r.tick(ui::kNcsTimer);
    std::vector<std::string> out;
    for (KeyboardControl name : ui::kSuggestionKeys) {
      std::string word = r.c(name).caption();
      for (char& ch : word) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      out.push_back(word);
    }
    return out;
  }
  void rest(KeyboardControl key) {
    r.kb.handsFree().pointerMoved({10, 10}, r.main().indexOf(r.c(key)));
    clock.advance(1500);
  }
};

struct Family {
  const char* name;
  bool followLanguage;
  void (*press)(GateRig&);
};

const Family kFamilies[] = {
    {"Letter", false, [](GateRig& g) { g.r.click(ui::kButtonLetterQ); }},
    {"LetterWithCtrl", false,
     [](GateRig& g) {
       g.r.click(ui::kButtonCtrlLeft);
       g.r.click(ui::kButtonLetterC);
     }},
    {"NumberRow", false, [](GateRig& g) { g.r.click(ui::kButtonNumber2); }},
    {"Punctuation", false, [](GateRig& g) { g.r.click(ui::kButtonFullStop); }},
    {"Space", false, [](GateRig& g) { g.r.click(ui::kButtonSpacebar); }},
    {"Tab", false, [](GateRig& g) { g.r.click(ui::kButtonTab); }},
    {"Arrow", false, [](GateRig& g) { g.r.click(ui::kButtonKeyUp); }},
    {"Backspace", false, [](GateRig& g) { g.r.click(ui::kButtonBackspace); }},
    {"Escape", false, [](GateRig& g) { g.r.click(ui::kButtonEsc); }},
    {"RightCtrlLatch", false, [](GateRig& g) { g.r.click(ui::kButtonCtrlRight); }},
    {"FunctionKey", false, [](GateRig& g) { g.r.click(ui::kFunctionKeys[4]); }},
    {"FunctionKeyWithShift", false,
     [](GateRig& g) {
       g.r.click(ui::kButtonShiftLeft);
       g.r.click(ui::kFunctionKeys[11]);
     }},
    {"StoredText", false, [](GateRig& g) { g.r.click(ui::kAtSignButton); }},
    {"Clipboard", false, [](GateRig& g) { g.r.click(ui::kCopyButton); }},
    {"Burst", false,
     [](GateRig& g) {
       g.r.click(ui::kButtonAutoBackspace);
       g.r.tick(ui::kAutoDeleteTimer);
     }},
    {"LanguageKey", true, [](GateRig& g) { g.r.click(ui::kButtonLetterQ); }},
    {"CapsLock", false, [](GateRig& g) { g.r.click(ui::kButtonCaps); }},
    {"NumLockLight", false, [](GateRig& g) { g.r.kb.handle(ui::kNumLightLabel, Event::DblClick); }},
    {"WindowsKey", false, [](GateRig& g) { g.r.click(ui::kButtonWinKeyLeft); }},
    {"ContextMenu", false, [](GateRig& g) { g.r.click(ui::kButtonRightClick); }},
    {"Suggestion", false, [](GateRig& g) { g.r.click(ui::kSuggestionKeys[0]); }},
    {"Hover", false, [](GateRig& g) { g.rest(ui::kButtonLetterW); }},
};

class EverySend : public ::testing::TestWithParam<Family> {};

TEST_P(EverySend, GoesInAtTheKeyboardsLevelAndNeverAboveIt) {
  const Family& family = GetParam();
  for (const bool above : {false, true}) {
    SCOPED_TRACE(above ? "above the keyboard" : "at the keyboard's level");
    GateRig g(above, family.followLanguage);
    const std::vector<std::string> before = g.offered();
    ASSERT_FALSE(before.front().empty());  // the suggestion row has one to click

    family.press(g);

    if (!above) {
      EXPECT_FALSE(g.r.injector.sent.empty());
      EXPECT_TRUE(g.r.host.notes.empty());
      continue;
    }
    EXPECT_TRUE(g.r.injector.sent.empty()) << g.r.injector.keys().front();
    EXPECT_TRUE(g.r.desktop.activations.empty());
    ASSERT_FALSE(g.r.host.notes.empty());
    for (const auto& note : g.r.host.notes) EXPECT_EQ(note.text, englishText(TextId::AdministratorNote));
    // Word prediction still offers what it offered: it took nothing as typed.
    EXPECT_EQ(g.offered(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Families, EverySend, ::testing::ValuesIn(kFamilies),
                         [](const auto& row) { return std::string(row.param.name); });

// Keys for whatever is in front (Caps Lock, the Windows key) go where the
// system puts them, the window in front, whatever the recorded target is.
struct FrontRow {
  const char* what;
  Integrity target;
  WindowId front;  // 0: nothing in front; Rig::kSelf: the keyboard itself
  Integrity frontLevel;
  ProbeAnswer frontProbe;
  bool sent;
};

class InFront : public ::testing::TestWithParam<FrontRow> {};

TEST_P(InFront, TheWindowInFrontIsAskedAbout) {
  const FrontRow& row = GetParam();
  Rig r;
  r.desktop.own = Integrity::Medium;
  r.desktop.levels = {{Rig::kSelf, Integrity::Medium}, {kTarget, row.target}, {kFront, row.frontLevel}};
  r.desktop.probeAnswers[kFront] = row.frontProbe;
  r.target("Notepad", kTarget);
  r.desktop.windows[kFront].title = "Other";
  r.desktop.foreground = row.front;
  r.click(ui::kButtonCaps);
  r.click(ui::kButtonWinKeyLeft);
  const std::vector<std::string> both{"{CAPSLOCK}", "^{ESC}"};
  EXPECT_EQ(r.injector.keys(), row.sent ? both : std::vector<std::string>{});
  EXPECT_EQ(r.host.notes.size(), row.sent ? 0U : 2U);
}

using enum Integrity;
using enum ProbeAnswer;
const FrontRow kFrontRows[] = {
    {"KeyboardInFrontOfAnAdministratorsTarget", High, Rig::kSelf, Medium, Answered, true},
    {"AdministratorsTargetInFront", High, kTarget, Medium, Answered, false},
    {"AdministratorsWindowInFrontOfATarget", Medium, kFront, High, Answered, false},
    {"HiddenLevelRefusingTheProbeInFront", Medium, kFront, Refused, AccessDenied, false},
    {"AnotherAccountsWindowInFront", Medium, kFront, Refused, Answered, true},
    {"NothingInFront", High, 0, Medium, Answered, true},
};
INSTANTIATE_TEST_SUITE_P(Rows, InFront, ::testing::ValuesIn(kFrontRows),
                         [](const auto& row) { return std::string(row.param.what); });

// Windows compares integrity levels only. A token that cannot be read (an
// administrator's, or another account's at our own level) is told apart by
// the probe, sent only where the levels cannot say.
struct LevelRow {
  Integrity keyboard;
  Integrity target;
  ProbeAnswer answer;  // what the window would make of a probe
  bool probed;
  bool sent;
};

class Levels : public ::testing::TestWithParam<LevelRow> {};

TEST_P(Levels, RefuseOnlyWhereWindowsBlocks) {
  const LevelRow& row = GetParam();
  Rig r;
  r.desktop.own = row.keyboard;
  r.desktop.levels[kTarget] = row.target;
  r.desktop.probeAnswers[kTarget] = row.answer;
  r.target("Setup", kTarget);
  r.click(ui::kButtonTab);
  EXPECT_EQ(r.desktop.probed, row.probed ? std::vector<WindowId>{kTarget} : std::vector<WindowId>{});
  EXPECT_EQ(r.injector.sent.size(), row.sent ? 1U : 0U);
  EXPECT_EQ(r.host.notes.size(), row.sent ? 0U : 1U);
}

const LevelRow kLevelRows[] = {
    // keyboard, target, probe answer -> probed, sent
    {Medium, Low, AccessDenied, false, true},
    {Medium, Medium, AccessDenied, false, true},
    {Medium, High, Answered, false, false},
    {Medium, System, Answered, false, false},
    {High, High, AccessDenied, false, true},
    {High, System, Answered, false, false},
    // Unreadable: another account at our level answers or is busy; an
    // administrator's window is kept from us, and so refuses the probe.
    {Medium, Refused, Answered, true, true},
    {Medium, Refused, TimedOut, true, true},
    {Medium, Refused, AccessDenied, true, false},
    {Medium, Refused, NotTried, true, false},
    {High, Refused, Answered, true, true},
    {High, Refused, AccessDenied, true, false},
    // Gone, or no levels on the target's side.
    {Medium, Unknown, Answered, true, true},
    {Medium, Unknown, NotTried, true, true},
    {Medium, Unknown, AccessDenied, true, false},
    // A keyboard that cannot tell its own level (no levels at all, as
    // Wine), or has UI access, is held back nowhere and probes nothing.
    {Unknown, High, AccessDenied, false, true},
    {Unknown, Refused, AccessDenied, false, true},
    {Refused, Refused, AccessDenied, false, true},
    {UiAccess, System, AccessDenied, false, true},
    {UiAccess, Refused, AccessDenied, false, true},
};
std::string levelName(Integrity level) {
  switch (level) {
    case Unknown:
      return "Unknown";
    case Low:
      return "Low";
    case Medium:
      return "Medium";
    case High:
      return "High";
    case System:
      return "System";
    case Refused:
      return "Hidden";
    case UiAccess:
      return "UiAccess";
  }
  return "Other";
}

std::string answerName(ProbeAnswer answer) {
  switch (answer) {
    case NotTried:
      return "NotTried";
    case Answered:
      return "Answered";
    case AccessDenied:
      return "AccessDenied";
    case TimedOut:
      return "TimedOut";
  }
  return "Other";
}

INSTANTIATE_TEST_SUITE_P(Rows, Levels, ::testing::ValuesIn(kLevelRows), [](const auto& row) {
  return levelName(row.param.keyboard) + "To" + levelName(row.param.target) + "Probe" +
         answerName(row.param.answer);
});

}  // namespace
}  // namespace osk::testing
