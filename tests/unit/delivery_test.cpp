#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delivery/send.h"
#include "fakes.h"
#include "manual_clock.h"

namespace osk::testing {
namespace {

const std::vector<std::string> kEditingGroup{
    "BUTTON_BACKSPACE", "BUTTON_AUTO_BACKSPACE", "BUTTON_DELETE",     "BUTTON_AUTO_DELETE",
    "BUTTON_INS",       "BUTTON_HOME",           "BUTTON_END",        "BUTTON_PG_UP",
    "BUTTON_PG_DN",     "BUTTON_CTRL_LEFT",      "BUTTON_CTRL_RIGHT", "BUTTON_ALT_LEFT",
    "BUTTON_ALT_GR"};
const std::vector<std::string> kTargetOnly{"SHIFT_ARROW_HIGHLIGHT_BUTTON", "BUTTON_KEY_UP", "BUTTON_KEY_DOWN",
                                           "BUTTON_KEY_LEFT", "BUTTON_KEY_RIGHT"};

void expectEnabled(Rig& rig, const std::vector<std::string>& names, bool enabled) {
  for (const auto& n : names) EXPECT_EQ(rig.named(n).enabled(), enabled) << n;
}

// --- target tracking -------------------------------------------------------

TEST(Tracking, KeyboardInFrontAtFirstTickDisablesTargetGroup) {
  Rig rig;
  rig.desktop.foreground = Rig::kSelf;
  rig.kb.tick(ui::kActiveWindowTimer);
  EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), "QM-OSK");
  expectEnabled(rig, kEditingGroup, false);
  expectEnabled(rig, kTargetOnly, false);
}

TEST(Tracking, OtherWindowIsRecordedAndSurvivesClickingTheKeyboard) {
  Rig rig;
  rig.target("Untitled - Notepad");
  EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), "Untitled - Notepad");
  expectEnabled(rig, kEditingGroup, true);
  expectEnabled(rig, kTargetOnly, true);
  rig.kb.tick(ui::kActiveWindowTimer);  // the keyboard itself is in front now
  EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), "Untitled - Notepad");
  expectEnabled(rig, kTargetOnly, true);
}

TEST(Tracking, ReservedAndNearReservedTitles) {
  struct Case {
    std::string title;
    bool recorded;
    bool targetGroupEnabled;
  };
  // Another program's window is a target whatever its title, the label's
  // own words included.
  const std::vector<Case> cases{
      {"QM-OSK", true, true},
      {"QM-OSK-CMD", true, true},
      {"qm-osk", true, true},
      {"QM-OSK ", true, true},
      {"QM-OSK - FKEYS SETTINGS", true, true},
      {"", true, true},  // an untitled window is still a window
      {"Ünïcödé ✓ 𝄞", true, true},
  };
  for (const auto& tc : cases) {
    Rig rig;
    rig.desktop.show(7, tc.title);
    rig.kb.tick(ui::kActiveWindowTimer);
    EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), tc.recorded ? tc.title : "QM-OSK") << tc.title;
    expectEnabled(rig, kTargetOnly, tc.targetGroupEnabled);
  }
}

// The keyboard's own windows under its own title leave the target alone;
// its F-key settings, titled otherwise, are recorded as they always were.
TEST(Tracking, TheKeyboardsOwnWindowsUnderItsTitleAreNoTarget) {
  const struct {
    const char* form;
    const char* title;
    bool recorded;
  } cases[] = {{kSettingsFormName, "QM-OSK", false}, {kFkeysFormName, "QM-OSK - FKEYS SETTINGS", true}};
  for (const auto& tc : cases) {
    Rig rig;
    rig.target("Notepad");
    const WindowId dialog = 77;
    rig.host.windows[&rig.kb.window(tc.form)] = dialog;
    rig.desktop.show(dialog, tc.title);
    rig.kb.tick(ui::kActiveWindowTimer);
    EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), tc.recorded ? tc.title : "Notepad") << tc.title;
  }
}

TEST(CommandLine, FocusAndClickEnterCommandLineMode) {
  Rig rig;
  rig.target("Notepad");
  rig.kb.handle(ui::kCommandLineTextbox, Event::GotFocus);
  expectEnabled(rig, kEditingGroup, false);
  expectEnabled(rig, kTargetOnly, true);  // left alone until the next tick
  rig.kb.handle(ui::kCommandLineTextbox, Event::Click);
  EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), "QM-OSK-CMD");
  rig.kb.tick(ui::kActiveWindowTimer);
  expectEnabled(rig, kTargetOnly, false);
  rig.kb.handle(ui::kCommandLineTextbox, Event::LostFocus);
  expectEnabled(rig, kEditingGroup, true);
  rig.kb.tick(ui::kActiveWindowTimer);
  expectEnabled(rig, kEditingGroup, false);  // still command-line mode
}

TEST(CommandLine, TabIntoTheBoxKeepsTheTarget) {
  Rig rig;
  rig.target("Notepad");
  rig.kb.handle(ui::kCommandLineTextbox, Event::GotFocus);
  EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), "Notepad");
  expectEnabled(rig, kEditingGroup, false);
}

TEST(Tracking, RunsOncePerSecondFromLoad) {
  Rig rig;
  rig.kb.handleForm(Event::Load);
  ManualClock clock(rig.kb);
  rig.desktop.show(9, "Editor");
  clock.advance(999);
  EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), "QM-OSK");
  clock.advance(1);
  EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), "Editor");
}

// --- the send step ---------------------------------------------------------

TEST(SendStep, GoesToTheRecordedWindowWhenTitlesCollide) {
  Rig rig;
  rig.desktop.show(50, "Twin");
  rig.target("Twin", 51);  // 51 was in front at the tick
  rig.click(ui::kButtonTab);
  ASSERT_EQ(rig.injector.sent.size(), 1u);
  EXPECT_EQ(rig.injector.sent[0].foreground, 51u);
}

TEST(SendStep, ClosedTargetSendsNothingAndDoesNotFlash) {
  Rig rig;
  rig.target("Gone");
  rig.desktop.windows.erase(42);
  rig.click(ui::kButtonTab);
  EXPECT_TRUE(rig.injector.sent.empty());
  EXPECT_EQ(rig.c(ui::kButtonTab).back(), colors::kWhite);
}

TEST(SendStep, RefusedActivationOrInjectionDoesNotFlash) {
  for (bool refuseActivation : {true, false}) {
    Rig rig;
    rig.target("Notepad");
    rig.desktop.refuseActivation = refuseActivation;
    rig.injector.refuse = !refuseActivation;
    rig.click(ui::kButtonHome);
    EXPECT_TRUE(rig.injector.sent.empty());
    EXPECT_EQ(rig.c(ui::kButtonHome).back(), colors::kWhite);
  }
}

TEST(SendStep, ActivatesBeforeInjecting) {
  Rig rig;
  rig.target("Notepad", 42);
  rig.click(ui::kButtonEnd);
  ASSERT_EQ(rig.desktop.activations.size(), 1u);
  EXPECT_EQ(rig.desktop.activations[0], (std::pair<WindowId, std::string>{42, "Notepad"}));
  ASSERT_EQ(rig.injector.sent.size(), 1u);
  EXPECT_EQ(rig.injector.sent[0].foreground, 42u);
}

// --- targets of a higher integrity level ----------------------------------

TEST(SendStep, ATargetAboveTheKeyboardGetsANoteInsteadOfKeys) {
  using enum Integrity;
  struct Case {
    Integrity keyboard, target;
    bool sent;
  };
  // Which levels get through, with and without the probe: gate_test.
  const std::vector<Case> cases{
      {Medium, Medium, true}, {Medium, High, false}, {High, System, false}, {Unknown, High, true}};
  for (const auto& tc : cases) {
    const std::string row = std::to_string(static_cast<unsigned>(tc.keyboard)) + " to " +
                            std::to_string(static_cast<unsigned>(tc.target));
    Rig rig;
    rig.desktop.own = tc.keyboard;
    rig.desktop.levels[42] = tc.target;
    rig.target("Setup");
    // Held down, the key sends from the timer's tick, with no click to
    // point the note at: it stands by the target's name.
    rig.click(ui::kButtonTab);
    rig.click(ui::kButtonAutoBackspace);
    rig.tick(ui::kAutoDeleteTimer);
    rig.tick(ui::kAutoDeleteTimer);
    EXPECT_EQ(rig.injector.sent.empty(), !tc.sent) << row;
    EXPECT_EQ(rig.desktop.activations.empty(), !tc.sent) << row;
    EXPECT_EQ(rig.c(ui::kButtonTab).back(), tc.sent ? colors::kGreen : colors::kWhite) << row;
    // A burst that cannot get through ends at once.
    EXPECT_EQ(rig.c(ui::kButtonAutoBackspace).back(), tc.sent ? colors::kGreen : colors::kSysWindow) << row;
    if (tc.sent) {
      EXPECT_TRUE(rig.host.notes.empty()) << row;
      continue;
    }
    ASSERT_EQ(rig.host.notes.size(), 2u) << row;
    EXPECT_EQ(rig.host.notes[0].control, "BUTTON_TAB") << row;
    EXPECT_EQ(rig.host.notes[1].control, "ACTIVE_WINDOW_LABEL") << row;
    EXPECT_EQ(rig.host.notes[0].text, kAdministratorNote) << row;
  }
}

TEST(SendStep, ALevelIsReadOncePerWindow) {
  Rig rig;
  rig.desktop.own = Integrity::Medium;
  // The administrator's window hides its level and refuses the probe.
  rig.desktop.levels = {{42, Integrity::Refused}, {43, Integrity::Medium}};
  rig.desktop.probeAnswers[42] = ProbeAnswer::AccessDenied;
  rig.target("Setup", 42);
  for (int i = 0; i < 3; ++i) rig.tick(ui::kActiveWindowTimer);
  rig.click(ui::kButtonTab);
  EXPECT_EQ(rig.desktop.levelReads, 1);
  EXPECT_EQ(rig.desktop.probed, std::vector<WindowId>{42});
  rig.target("Notepad", 43);
  rig.click(ui::kButtonTab);
  EXPECT_EQ(rig.injector.keys(), std::vector<std::string>{"{TAB}"});
  rig.target("Setup", 42);
  rig.click(ui::kButtonTab);
  EXPECT_EQ(rig.injector.sent.size(), 1u);
  EXPECT_EQ(rig.desktop.levelReads, 3);
  EXPECT_EQ(rig.desktop.probed, (std::vector<WindowId>{42, 42}));
}

TEST(SendStep, TheNoteRestartsTheKeyboardAsAdministratorOnceItHasStarted) {
  for (bool started : {true, false}) {
    Rig rig;
    rig.desktop.own = Integrity::Medium;
    rig.desktop.levels[42] = Integrity::High;
    rig.target("Setup");
    rig.click(ui::kButtonTab);
    ASSERT_EQ(rig.host.notes.size(), 1u);
    ASSERT_TRUE(rig.host.notes[0].onClick);
    rig.launcher.holdAnswers = true;
    rig.host.notes[0].onClick();
    ASSERT_EQ(rig.launcher.requests.size(), 1u);
    EXPECT_EQ(rig.launcher.requests[0].kind, LaunchRequest::Kind::Restart);
    EXPECT_TRUE(rig.launcher.requests[0].elevated);
    EXPECT_EQ(rig.launcher.requests[0].owner, Rig::kSelf);
    // Nothing closes while the consent prompt waits for an answer.
    EXPECT_TRUE(rig.host.closeAsked.empty());
    if (!started) rig.launcher.held[0].first = {LaunchOutcome::Status::Failed, "The operation was canceled."};
    rig.launcher.answerAll();
    EXPECT_EQ(rig.host.closeAsked,
              started ? std::vector<std::string>{"QM_OSK_MAIN"} : std::vector<std::string>{});
  }
}

// --- navigation and editing keys ---------------------------------------------

struct NavCase {
  const char* button;
  std::vector<std::string> sent;  // with Shift latched
  Color after;
};

TEST(NavigationKeys, EachSendsItsKeyAndSettlesItsColour) {
  const std::vector<NavCase> cases{
      {"BUTTON_DELETE", {"{DEL}"}, colors::kGreen},
      {"BUTTON_INS", {"{INSERT}"}, colors::kGreen},
      {"BUTTON_HOME", {"{HOME}"}, colors::kGreen},
      {"BUTTON_END", {"{END}"}, colors::kGreen},
      {"BUTTON_PG_UP", {"{PGUP}"}, colors::kGreen},
      {"BUTTON_PG_DN", {"{PGDN}"}, colors::kGreen},
      {"BUTTON_TAB", {"{TAB}"}, colors::kGreen},
      {"BUTTON_RETURN_KEY", {"{ENTER}"}, colors::kGreen},
      {"BUTTON_ESC", {"{ESC}"}, colors::kSysWindow},
      {"BUTTON_BACKSPACE", {"{BACKSPACE}"}, colors::kWhite},
      {"BUTTON_SPACEBAR", {" "}, colors::kGreen},
      {"BUTTON_KEY_UP", {"{UP}"}, colors::kGreen},
      {"BUTTON_KEY_DOWN", {"{DOWN}", "+{DOWN}"}, colors::kGreen},
      {"BUTTON_KEY_LEFT", {"{LEFT}", "+{LEFT}"}, colors::kGreen},
      {"BUTTON_KEY_RIGHT", {"{RIGHT}", "+{RIGHT}"}, colors::kGreen},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.button);
    Rig rig;
    rig.target("Notepad");
    // A resting colour that no key writes itself shows which ones flash.
    rig.named(tc.button).setBack(colors::kSysWindow);
    rig.click(ui::kButtonShiftLeft);
    rig.click(ui::kButtonCtrlLeft);
    rig.click(ui::kButtonAltLeft);
    rig.clickNamed(tc.button);
    EXPECT_EQ(rig.injector.keys(), tc.sent);
    EXPECT_EQ(rig.named(tc.button).back(), tc.after);
    // Navigation consumes no latch.
    EXPECT_EQ(rig.c(ui::kButtonShiftRight).back(), colors::kGreen);
    EXPECT_EQ(rig.c(ui::kButtonCtrlRight).back(), colors::kGreen);
    EXPECT_EQ(rig.c(ui::kButtonAltLeft).back(), colors::kGreen);
  }
}

TEST(NavigationKeys, ArrowsSendOnceWithoutShift) {
  Rig rig;
  rig.target("Notepad");
  for (auto b : {"BUTTON_KEY_DOWN", "BUTTON_KEY_LEFT", "BUTTON_KEY_RIGHT"}) rig.clickNamed(b);
  EXPECT_EQ(rig.injector.keys(), (std::vector<std::string>{"{DOWN}", "{LEFT}", "{RIGHT}"}));
}

TEST(NavigationKeys, NoTargetDoesNothing) {
  Rig rig;
  for (auto b : {"BUTTON_TAB", "BUTTON_BACKSPACE", "BUTTON_SPACEBAR", "BUTTON_KEY_DOWN", "BUTTON_ESC"}) {
    rig.named(b).setBack(colors::kSysWindow);
    rig.clickNamed(b);
    EXPECT_EQ(rig.named(b).back(), colors::kSysWindow) << b;
  }
  EXPECT_TRUE(rig.injector.sent.empty());
  EXPECT_TRUE(rig.desktop.activations.empty());
}

TEST(NavigationKeys, CommandLineMode) {
  Rig rig;
  rig.kb.handle(ui::kCommandLineTextbox, Event::Click);
  rig.c(ui::kCommandLineTextbox).setText("dir");
  for (auto b : {"BUTTON_TAB", "BUTTON_DELETE", "BUTTON_RETURN_KEY", "BUTTON_KEY_UP", "BUTTON_BACKSPACE",
                 "BUTTON_SPACEBAR"}) {
    rig.named(b).setBack(colors::kSysWindow);
    rig.clickNamed(b);
  }
  EXPECT_TRUE(rig.injector.sent.empty());
  EXPECT_EQ(rig.c(ui::kCommandLineTextbox).text(), "dir ");  // backspace leaves the text alone
  EXPECT_EQ(rig.c(ui::kButtonSpacebar).back(), colors::kGreen);
  EXPECT_EQ(rig.c(ui::kButtonBackspace).back(), colors::kWhite);
  EXPECT_EQ(rig.c(ui::kButtonTab).back(), colors::kSysWindow);
  EXPECT_EQ(rig.c(ui::kButtonKeyUp).back(), colors::kSysWindow);
}

// --- latches -----------------------------------------------------------------

struct LatchCase {
  const char* click;
  std::vector<std::string> written;
  Color latched;
};

TEST(Latches, ClickTogglesEveryButtonOfTheLatch) {
  const std::vector<LatchCase> cases{
      {"BUTTON_SHIFT_LEFT", {"BUTTON_SHIFT_LEFT", "BUTTON_SHIFT_RIGHT"}, colors::kGreen},
      {"BUTTON_SHIFT_RIGHT", {"BUTTON_SHIFT_LEFT", "BUTTON_SHIFT_RIGHT"}, colors::kGreen},
      {"BUTTON_CTRL_LEFT", {"BUTTON_CTRL_LEFT", "BUTTON_CTRL_RIGHT"}, colors::kGreen},
      {"BUTTON_ALT_LEFT", {"BUTTON_ALT_LEFT"}, colors::kGreen},
      {"SHIFT_LOCK_BUTTON", {"SHIFT_LOCK_BUTTON"}, colors::kGreen},
      {"LOCK_TOP_NUMBER_KEYS_BUTTON", {"LOCK_TOP_NUMBER_KEYS_BUTTON"}, colors::kGreen},
      {"SHIFT_ARROW_HIGHLIGHT_BUTTON",
       {"SHIFT_ARROW_HIGHLIGHT_BUTTON", "BUTTON_KEY_UP", "BUTTON_KEY_DOWN", "BUTTON_KEY_LEFT",
        "BUTTON_KEY_RIGHT"},
       colors::kPink},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.click);
    Rig rig;
    rig.clickNamed(tc.click);
    for (const auto& n : tc.written) EXPECT_EQ(rig.named(n).back(), tc.latched) << n;
    rig.clickNamed(tc.click);
    for (const auto& n : tc.written) EXPECT_EQ(rig.named(n).back(), colors::kWhite) << n;
    EXPECT_TRUE(rig.injector.sent.empty());
  }
}

TEST(Latches, RightShiftTestsTheLeftButton) {
  Rig rig;
  rig.click(ui::kButtonShiftLeft);
  rig.click(ui::kButtonShiftRight);
  EXPECT_EQ(rig.c(ui::kButtonShiftLeft).back(), colors::kWhite);
  EXPECT_EQ(rig.c(ui::kButtonShiftRight).back(), colors::kWhite);
}

TEST(Latches, RightCtrlInjectsCaretOnlyWhenItLatches) {
  Rig rig;
  rig.click(ui::kButtonCtrlRight);
  EXPECT_EQ(rig.injector.keys(), std::vector<std::string>{"{^}"});
  EXPECT_TRUE(rig.desktop.activations.empty());  // direct: no target involved
  rig.click(ui::kButtonCtrlRight);
  rig.click(ui::kButtonCtrlLeft);
  rig.click(ui::kButtonCtrlRight);  // unlatches what the left one latched
  EXPECT_EQ(rig.injector.keys(), std::vector<std::string>{"{^}"});
  EXPECT_EQ(rig.c(ui::kButtonCtrlLeft).back(), colors::kWhite);
}

TEST(Latches, WindowsKeyOpensAndClosesTheStartMenu) {
  Rig rig;
  rig.click(ui::kButtonWinKeyRight);
  EXPECT_EQ(rig.c(ui::kButtonWinKeyLeft).back(), colors::kGreen);
  EXPECT_EQ(rig.c(ui::kButtonWinKeyRight).back(), colors::kGreen);
  rig.click(ui::kButtonWinKeyLeft);
  EXPECT_EQ(rig.c(ui::kButtonWinKeyLeft).back(), colors::kWhite);
  EXPECT_EQ(rig.injector.keys(), (std::vector<std::string>{"^{ESC}", "{ESC}"}));
  EXPECT_TRUE(rig.desktop.activations.empty());
}

TEST(Latches, CapsTogglesTheSystemLockOnly) {
  Rig rig;
  rig.click(ui::kButtonCaps);
  EXPECT_EQ(rig.injector.keys(), std::vector<std::string>{"{CAPSLOCK}"});
  EXPECT_EQ(rig.c(ui::kButtonCaps).back(), colors::kWhite);
}

TEST(Latches, SurviveDisablingAndATargetChange) {
  Rig rig;
  rig.target("One");
  rig.click(ui::kButtonCtrlLeft);
  rig.kb.handle(ui::kCommandLineTextbox, Event::GotFocus);
  EXPECT_FALSE(rig.c(ui::kButtonCtrlLeft).enabled());
  EXPECT_EQ(rig.c(ui::kButtonCtrlLeft).back(), colors::kGreen);
  rig.target("Two", 43);
  EXPECT_EQ(rig.c(ui::kButtonCtrlRight).back(), colors::kGreen);
}

}  // namespace
}  // namespace osk::testing
