#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delivery/send.h"
#include "fakes.h"
#include "manual_clock.h"

namespace osk::testing {
namespace {

const std::vector<KeyboardControl> kEditingGroup{
    ui::kButtonBackspace, ui::kButtonAutoBackspace, ui::kButtonDelete,    ui::kButtonAutoDelete,
    ui::kButtonIns,       ui::kButtonHome,          ui::kButtonEnd,       ui::kButtonPgUp,
    ui::kButtonPgDn,      ui::kButtonCtrlLeft,      ui::kButtonCtrlRight, ui::kButtonAltLeft,
    ui::kButtonAltGr};
const std::vector<KeyboardControl> kTargetOnly{ui::kShiftArrowHighlightButton, ui::kButtonKeyUp,
                                               ui::kButtonKeyDown, ui::kButtonKeyLeft, ui::kButtonKeyRight};

void expectEnabled(Rig& rig, const std::vector<KeyboardControl>& names, bool enabled) {
  for (const KeyboardControl n : names) EXPECT_EQ(rig.c(n).enabled(), enabled) << n.str();
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

// Typed into while open, a dialog of the keyboard's own is no window once
// closed: keys go back to the window they went to before, unless the user
// went to another program's window meanwhile.
TEST(Tracking, AClosedDialogOfTheKeyboardsOwnGivesTheTargetBack) {
  const struct {
    const char* opener;  // the settings dialog's button
    bool elsewhere;      // the user was in WordPad while the dialog was open
    const char* after;
  } cases[] = {{"FKEYS_SETTINGS_BUTTON", false, "Notepad"},
               {"TYPING_AIDS_BUTTON", false, "Notepad"},
               {"TYPING_AIDS_BUTTON", true, "WordPad"}};
  for (const auto& tc : cases) {
    Rig rig;
    rig.target("Notepad");
    std::string during;
    rig.host.whileModal = [&](Form& dialog) {
      if (dialog.name() == kSettingsFormName) {
        rig.kb.handle(dialog, tc.opener, Event::Click);
        return;
      }
      const WindowId own = 77;
      rig.host.windows[&dialog] = own;
      rig.desktop.show(own, "QM-OSK - DIALOG");
      rig.kb.tick(ui::kActiveWindowTimer);
      during = rig.c(ui::kActiveWindowLabel).caption();
      if (tc.elsewhere) rig.target("WordPad", 43);
      rig.host.windows.erase(&dialog);
      rig.desktop.windows.erase(own);
      rig.desktop.foreground = Rig::kSelf;
    };
    rig.click(ui::kSettingsButton);
    EXPECT_EQ(during, "QM-OSK - DIALOG") << tc.opener;
    EXPECT_EQ(rig.c(ui::kActiveWindowLabel).caption(), tc.after) << tc.opener;
    rig.click(ui::kButtonLetterA);
    ASSERT_EQ(rig.injector.sent.size(), 1U) << tc.opener;
    EXPECT_EQ(rig.injector.sent[0].foreground, tc.elsewhere ? 43U : 42U) << tc.opener;
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
    EXPECT_EQ(rig.host.notes[0].control, ui::kButtonTab.str()) << row;
    EXPECT_EQ(rig.host.notes[1].control, ui::kActiveWindowLabel.str()) << row;
    EXPECT_EQ(rig.host.notes[0].text, englishText(TextId::AdministratorNote)) << row;
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
  KeyboardControl button;
  std::vector<std::string> sent;  // with Shift latched
  Color after;
};

TEST(NavigationKeys, EachSendsItsKeyAndSettlesItsColour) {
  const std::vector<NavCase> cases{
      {ui::kButtonDelete, {"{DEL}"}, colors::kGreen},
      {ui::kButtonIns, {"{INSERT}"}, colors::kGreen},
      {ui::kButtonHome, {"{HOME}"}, colors::kGreen},
      {ui::kButtonEnd, {"{END}"}, colors::kGreen},
      {ui::kButtonPgUp, {"{PGUP}"}, colors::kGreen},
      {ui::kButtonPgDn, {"{PGDN}"}, colors::kGreen},
      {ui::kButtonTab, {"{TAB}"}, colors::kGreen},
      {ui::kButtonReturnKey, {"{ENTER}"}, colors::kGreen},
      {ui::kButtonEsc, {"{ESC}"}, colors::kSysWindow},
      {ui::kButtonBackspace, {"{BACKSPACE}"}, colors::kWhite},
      {ui::kButtonSpacebar, {" "}, colors::kGreen},
      {ui::kButtonKeyUp, {"{UP}"}, colors::kGreen},
      {ui::kButtonKeyDown, {"{DOWN}", "+{DOWN}"}, colors::kGreen},
      {ui::kButtonKeyLeft, {"{LEFT}", "+{LEFT}"}, colors::kGreen},
      {ui::kButtonKeyRight, {"{RIGHT}", "+{RIGHT}"}, colors::kGreen},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.button.str());
    Rig rig;
    rig.target("Notepad");
    // A resting colour that no key writes itself shows which ones flash.
    rig.c(tc.button).setBack(colors::kSysWindow);
    rig.click(ui::kButtonShiftLeft);
    rig.click(ui::kButtonCtrlLeft);
    rig.click(ui::kButtonAltLeft);
    rig.click(tc.button);
    EXPECT_EQ(rig.injector.keys(), tc.sent);
    EXPECT_EQ(rig.c(tc.button).back(), tc.after);
    // Navigation consumes no latch.
    EXPECT_EQ(rig.c(ui::kButtonShiftRight).back(), colors::kGreen);
    EXPECT_EQ(rig.c(ui::kButtonCtrlRight).back(), colors::kGreen);
    EXPECT_EQ(rig.c(ui::kButtonAltLeft).back(), colors::kGreen);
  }
}

TEST(NavigationKeys, ArrowsSendOnceWithoutShift) {
  Rig rig;
  rig.target("Notepad");
  for (KeyboardControl b : {ui::kButtonKeyDown, ui::kButtonKeyLeft, ui::kButtonKeyRight}) rig.click(b);
  EXPECT_EQ(rig.injector.keys(), (std::vector<std::string>{"{DOWN}", "{LEFT}", "{RIGHT}"}));
}

TEST(NavigationKeys, NoTargetDoesNothing) {
  Rig rig;
  for (KeyboardControl b :
       {ui::kButtonTab, ui::kButtonBackspace, ui::kButtonSpacebar, ui::kButtonKeyDown, ui::kButtonEsc}) {
    rig.c(b).setBack(colors::kSysWindow);
    rig.click(b);
    EXPECT_EQ(rig.c(b).back(), colors::kSysWindow) << b.str();
  }
  EXPECT_TRUE(rig.injector.sent.empty());
  EXPECT_TRUE(rig.desktop.activations.empty());
}

TEST(NavigationKeys, CommandLineMode) {
  Rig rig;
  rig.kb.handle(ui::kCommandLineTextbox, Event::Click);
  rig.c(ui::kCommandLineTextbox).setText("dir");
  for (KeyboardControl b : {ui::kButtonTab, ui::kButtonDelete, ui::kButtonReturnKey, ui::kButtonKeyUp,
                            ui::kButtonBackspace, ui::kButtonSpacebar}) {
    rig.c(b).setBack(colors::kSysWindow);
    rig.click(b);
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
  KeyboardControl click;
  std::vector<KeyboardControl> written;
  Color latched;
};

TEST(Latches, ClickTogglesEveryButtonOfTheLatch) {
  const std::vector<LatchCase> cases{
      {ui::kButtonShiftLeft, {ui::kButtonShiftLeft, ui::kButtonShiftRight}, colors::kGreen},
      {ui::kButtonShiftRight, {ui::kButtonShiftLeft, ui::kButtonShiftRight}, colors::kGreen},
      {ui::kButtonCtrlLeft, {ui::kButtonCtrlLeft, ui::kButtonCtrlRight}, colors::kGreen},
      {ui::kButtonAltLeft, {ui::kButtonAltLeft}, colors::kGreen},
      {ui::kShiftLockButton, {ui::kShiftLockButton}, colors::kGreen},
      {ui::kLockTopNumberKeysButton, {ui::kLockTopNumberKeysButton}, colors::kGreen},
      {ui::kShiftArrowHighlightButton,
       {ui::kShiftArrowHighlightButton, ui::kButtonKeyUp, ui::kButtonKeyDown, ui::kButtonKeyLeft,
        ui::kButtonKeyRight},
       colors::kPink},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.click.str());
    Rig rig;
    rig.click(tc.click);
    for (const KeyboardControl n : tc.written) EXPECT_EQ(rig.c(n).back(), tc.latched) << n.str();
    rig.click(tc.click);
    for (const KeyboardControl n : tc.written) EXPECT_EQ(rig.c(n).back(), colors::kWhite) << n.str();
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
