// Function keys, the user's F-key commands, the launchers and the action keys.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_split.h"
#include "fakes.h"

namespace osk::testing {
namespace {

using colors::kBlueTint;
using colors::kGreen;
using colors::kSysWindow;
using colors::kWhite;

// Latches as letters: C, A and S latched.
constexpr std::array<std::pair<char, Latch>, 3> kLatchLetters{{
    {'C', Latch::Ctrl},
    {'A', Latch::Alt},
    {'S', Latch::Shift},
}};

void setLatches(Rig& rig, std::string_view latches) {
  for (const auto& [letter, latch] : kLatchLetters)
    rig.latch(latch, latches.find(letter) != std::string_view::npos);
}

std::string latchesOf(Rig& rig) {
  std::string out;
  for (const auto& [letter, latch] : kLatchLetters)
    if (rig.state().latched(latch)) out += letter;
  return out;
}

// An F key's face as the user sees it: its colour.
void setFkeyFace(Rig& rig, int n, Color colour) {
  const FkeyFace face = colour == kWhite      ? FkeyFace::Armed
                        : colour == kGreen    ? FkeyFace::Pressed
                        : colour == kBlueTint ? FkeyFace::Commands
                                              : FkeyFace::Settling;
  rig.state().setFkey(n, face);
}

// F1 is 1.
KeyboardControl fkey(int n) { return ui::kFunctionKeys.at(static_cast<std::size_t>(n - 1)); }

// --- the function-key table ------------------------------------------------

struct FKeyCase {
  const char* what;
  int n;
  Color colour;              // of the F key before the click
  const char* caption;       // nullptr: the standard "F<n>"
  std::string_view latches;  // before the click
  const char* target;
  std::vector<std::string> typed;
  bool starts;  // the user's command n
  Color after;  // the F key's colour after the click
  std::string_view latchesAfter;
};

TEST(FunctionKeys, DecisionTableInBothModes) {
  const char* const real = "Notepad";
  const std::vector<FKeyCase> cases{
      // Standard mode: every listed combination types the key once.
      {"plain", 5, kWhite, nullptr, "", real, {"{F5}"}, false, kGreen, ""},
      {"ctrl", 1, kWhite, nullptr, "C", real, {"^{F1}"}, false, kGreen, ""},
      {"alt", 16, kWhite, nullptr, "A", real, {"%{F16}"}, false, kGreen, ""},
      {"shift", 10, kWhite, nullptr, "S", real, {"+{F10}"}, false, kGreen, ""},
      {"ctrl alt", 2, kWhite, nullptr, "CA", real, {"^%{F2}"}, false, kGreen, ""},
      {"ctrl shift", 12, kWhite, nullptr, "CS", real, {"^+{F12}"}, false, kGreen, ""},
      {"ctrl alt shift", 13, kWhite, nullptr, "CAS", real, {"^%+{F13}"}, false, kGreen, ""},
      // Rows that do nothing, latches untouched.
      {"alt shift has no row", 4, kWhite, nullptr, "AS", real, {}, false, kWhite, "AS"},
      {"still green", 5, kGreen, nullptr, "", real, {}, false, kGreen, ""},
      {"just switched back", 3, kSysWindow, nullptr, "S", real, {}, false, kSysWindow, "S"},
      {"just switched back, no latch", 3, kSysWindow, nullptr, "", real, {}, false, kSysWindow, ""},
      // No target: no activation, but the row still fires.
      {"no target", 7, kWhite, nullptr, "C", "QM-OSK", {"^{F7}"}, false, kGreen, ""},
      {"command-line mode", 8, kWhite, nullptr, "", "QM-OSK-CMD", {"{F8}"}, false, kGreen, ""},
      // User F-key mode.
      {"user key", 3, kBlueTint, "Mail", "", real, {}, true, kGreen, ""},
      {"user key still green", 3, kGreen, "Mail", "", real, {}, true, kGreen, ""},
      {"user key empty caption", 9, kBlueTint, "", "", real, {}, true, kGreen, ""},
      {"user key in command-line mode", 9, kBlueTint, "FK9", "", "QM-OSK-CMD", {}, true, kGreen, ""},
      {"user key with shift", 3, kBlueTint, "Mail", "S", real, {}, false, kBlueTint, "S"},
      {"user key with ctrl alt", 3, kBlueTint, "Mail", "CA", real, {}, false, kBlueTint, "CA"},
      {"user caption equal to the standard one", 7, kBlueTint, "F7", "", real, {}, false, kBlueTint, ""},
  };
  for (const FKeyCase& tc : cases) {
    SCOPED_TRACE(tc.what);
    Rig rig;
    if (std::string_view(tc.target) == "QM-OSK-CMD") {
      rig.target("Notepad");
      rig.kb.handle(ui::kCommandLineTextbox, Event::Click);
    } else if (std::string_view(tc.target) != "QM-OSK") {
      rig.target(tc.target);
    } else {
      rig.desktop.foreground = Rig::kSelf;
    }
    rig.store.write("Settings", "MY-FKEYS-COMMAND-F" + std::to_string(tc.n), "tool.exe");
    Control& key = rig.c(fkey(tc.n));
    setFkeyFace(rig, tc.n, tc.colour);
    if (tc.caption != nullptr) rig.state().setFkeyCaption(tc.n, tc.caption);
    setLatches(rig, tc.latches);

    rig.click(fkey(tc.n));

    EXPECT_EQ(rig.injector.keys(), tc.typed);
    if (tc.starts) {
      ASSERT_EQ(rig.launcher.requests.size(), 1u);
      const LaunchRequest& r = rig.launcher.requests[0];
      EXPECT_EQ(r.kind, LaunchRequest::Kind::Shell);
      EXPECT_EQ(r.file, "tool.exe");
      EXPECT_EQ(r.parameters, "");
      EXPECT_TRUE(r.elevated);
      EXPECT_EQ(r.owner, Rig::kSelf);
    } else {
      EXPECT_TRUE(rig.launcher.requests.empty());
    }
    EXPECT_EQ(key.back(), tc.after);
    EXPECT_EQ(latchesOf(rig), tc.latchesAfter);
    // A real target is brought back on every click but one that starts a
    // program, which leaves the keyboard in front for the consent prompt; a
    // reserved caption never is, and a typed key then goes to whatever is
    // in front.
    const bool realTarget = std::string_view(tc.target) == real;
    EXPECT_EQ(rig.desktop.activations.empty(), !realTarget || tc.starts);
    for (const auto& s : rig.injector.sent) EXPECT_EQ(s.foreground, realTarget ? 42u : Rig::kSelf);
  }
}

TEST(FunctionKeys, ATypedKeyThatNeverArrivedKeepsItsLatchesAndColour) {
  Rig rig;
  rig.target("Notepad");
  setLatches(rig, "CS");
  rig.injector.refuse = true;
  rig.click(fkey(12));
  EXPECT_EQ(rig.c(fkey(12)).back(), kWhite);
  EXPECT_EQ(latchesOf(rig), "CS");
}

// --- user F-key mode -------------------------------------------------------

std::vector<std::string> captions(Rig& rig) {
  std::vector<std::string> out;
  for (int n = 1; n <= 16; ++n) out.push_back(rig.c(fkey(n)).caption());
  return out;
}

std::vector<Color> fkeyColours(Rig& rig) {
  std::vector<Color> out;
  for (int n = 1; n <= 16; ++n) out.push_back(rig.c(fkey(n)).back());
  return out;
}

TEST(UserFKeyMode, SwitchesCaptionsAndTintFromTheStoreAtEachSwitchOn) {
  Rig rig;
  rig.store.write("Settings", "BUTTON_F_NUM_3_CAPTION", "Mail");
  rig.store.write("Settings", "BUTTON_F_NUM_16_CAPTION", "");
  std::vector<std::string> userCaptions;
  std::vector<std::string> standard;
  for (int n = 1; n <= 16; ++n) {
    userCaptions.push_back(n == 3 ? "Mail" : n == 16 ? "" : "FK" + std::to_string(n));
    standard.push_back("F" + std::to_string(n));
  }

  rig.click(ui::kButtonMyFkeys);
  EXPECT_EQ(rig.c(ui::kButtonMyFkeys).back(), kGreen);
  EXPECT_EQ(captions(rig), userCaptions);
  EXPECT_EQ(fkeyColours(rig), std::vector<Color>(16, kBlueTint));
  EXPECT_TRUE(rig.injector.sent.empty());
  EXPECT_TRUE(rig.desktop.activations.empty());

  // A press flashes green; the flash reset brings the tint back once the
  // flash has shown.
  rig.click(fkey(16));
  EXPECT_EQ(rig.c(fkey(16)).back(), kGreen);
  rig.kb.tick(ui::kBackcolorTimer);
  EXPECT_EQ(rig.c(fkey(16)).back(), kGreen);
  rig.time.at += Flashes::kShortestFlash;
  rig.kb.tick(ui::kBackcolorTimer);
  EXPECT_EQ(fkeyColours(rig), std::vector<Color>(16, kBlueTint));

  // Captions saved meanwhile wait for the next switch on.
  rig.store.write("Settings", "BUTTON_F_NUM_3_CAPTION", "Post");
  EXPECT_EQ(captions(rig), userCaptions);

  rig.click(ui::kButtonMyFkeys);
  EXPECT_EQ(rig.c(ui::kButtonMyFkeys).back(), kWhite);
  EXPECT_EQ(captions(rig), standard);
  EXPECT_EQ(fkeyColours(rig), std::vector<Color>(16, kSysWindow));
  rig.kb.tick(ui::kBackcolorTimer);
  EXPECT_EQ(fkeyColours(rig), std::vector<Color>(16, kWhite));

  rig.click(ui::kButtonMyFkeys);
  EXPECT_EQ(rig.c(fkey(3)).caption(), "Post");
}

TEST(UserFKeyMode, EachPressReadsTheCommandAfresh) {
  Rig rig;
  rig.click(ui::kButtonMyFkeys);
  rig.click(fkey(2));  // nothing stored: the default
  rig.store.write("Settings", "MY-FKEYS-COMMAND-F2", "notepad.exe");
  rig.click(fkey(2));
  ASSERT_EQ(rig.launcher.requests.size(), 2u);
  EXPECT_EQ(rig.launcher.requests[0].file, "calc.exe");
  EXPECT_EQ(rig.launcher.requests[1].file, "notepad.exe");
}

// --- starting programs -----------------------------------------------------

struct StartCase {
  KeyboardControl button;
  std::vector<std::pair<std::string, std::string>> stored;
  const char* commandLine;  // nullptr: left as designed
  LaunchRequest want;
  bool flashes;
};

LaunchRequest shell(std::string file, std::string parameters = "", bool elevated = true) {
  LaunchRequest r;
  r.file = std::move(file);
  r.parameters = std::move(parameters);
  r.elevated = elevated;
  r.owner = Rig::kSelf;
  return r;
}

TEST(Launchers, EachButtonAsksForItsStart) {
  LaunchRequest direct;
  direct.kind = LaunchRequest::Kind::CommandLine;
  direct.file = "\"C:\\Tools\\my tool.exe\" --go";
  direct.owner = Rig::kSelf;
  const std::vector<StartCase> cases{
      {ui::kButtonCalc, {}, nullptr, shell("calc.exe"), true},
      {ui::kButtonCalc,
       {{"CALCULATOR_COMMAND_TEXTBOX", "C:\\bin\\calc2.exe"}},
       nullptr,
       shell("C:\\bin\\calc2.exe"),
       true},
      {ui::kButtonCmd, {}, nullptr, shell("cmd.exe"), false},
      {ui::kButtonWindowsLock, {}, nullptr, shell("Rundll32.exe", "User32.dll,LockWorkStation"), false},
      {ui::kButtonRunInternal, {}, "\"C:\\Tools\\my tool.exe\" --go", direct, false},
  };
  for (const StartCase& tc : cases) {
    SCOPED_TRACE(tc.button.str());
    Rig rig;
    rig.target("Notepad");
    setLatches(rig, "CAS");
    for (const auto& [k, v] : tc.stored) rig.store.write("Settings", k, v);
    if (tc.commandLine != nullptr) rig.c(ui::kCommandLineTextbox).setText(tc.commandLine);
    rig.desktop.activations.clear();
    rig.c(tc.button).setBack(kSysWindow);
    rig.click(tc.button);
    ASSERT_EQ(rig.launcher.requests.size(), 1u);
    EXPECT_EQ(rig.launcher.requests[0], tc.want);
    EXPECT_EQ(rig.c(tc.button).back(), tc.flashes ? kGreen : kSysWindow);
    // Launchers neither bring the target back nor spend latches.
    EXPECT_TRUE(rig.desktop.activations.empty());
    EXPECT_TRUE(rig.injector.sent.empty());
    EXPECT_EQ(latchesOf(rig), "CAS");
    EXPECT_TRUE(rig.host.notes.empty());
    if (tc.commandLine != nullptr) {
      EXPECT_EQ(rig.c(ui::kCommandLineTextbox).text(), tc.commandLine);
    }
  }
}

TEST(Launchers, RunButtonsThatStartNothing) {
  for (const char* text : {"", "   ", "Command Line"}) {
    SCOPED_TRACE(text);
    Rig rig;
    rig.c(ui::kCommandLineTextbox).setText(text);
    rig.click(ui::kButtonRunInternal);
    rig.click(ui::kButtonWindowsRunExternal);
    EXPECT_TRUE(rig.launcher.requests.empty());
    EXPECT_TRUE(rig.host.notes.empty());
    EXPECT_EQ(rig.c(ui::kCommandLineTextbox).text(), text);
  }
}

TEST(Launchers, AFailedStartLeavesTheKeyUnflashedAndSaysWhyBesideIt) {
  struct Case {
    KeyboardControl button;
    const char* command;
    LaunchOutcome outcome;
    const char* note;
  };
  const std::vector<Case> cases{
      {ui::kButtonCalc,
       "missing.exe",
       {LaunchOutcome::Status::NotFound, "The system cannot find the file specified."},
       "Could not start \"missing.exe\": The system cannot find the file specified."},
      {ui::kFunctionKeys[3],
       "admin.exe",
       {LaunchOutcome::Status::Failed, "The operation was canceled by the user."},
       "Could not start \"admin.exe\": The operation was canceled by the user."},
      {ui::kButtonCalc, "", {}, "Nothing to start: the command is empty."},
      {ui::kFunctionKeys[3], "  ", {}, "Nothing to start: the command is empty."},
      {ui::kButtonRunInternal,
       "nothere.exe -x",
       {LaunchOutcome::Status::NotFound, "File not found."},
       "Could not start \"nothere.exe -x\": File not found."},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.button.str());
    Rig rig;
    rig.store.write("Settings", "CALCULATOR_COMMAND_TEXTBOX", tc.command);
    rig.store.write("Settings", "MY-FKEYS-COMMAND-F4", tc.command);
    rig.c(ui::kCommandLineTextbox).setText(tc.command);
    rig.launcher.outcomes[tc.command] = tc.outcome;
    rig.click(ui::kButtonMyFkeys);
    const Color before = rig.c(tc.button).back();
    rig.click(tc.button);
    // An empty command is never handed to the system.
    EXPECT_EQ(rig.launcher.requests.size(),
              std::string_view(tc.command).find_first_not_of(' ') == std::string_view::npos ? 0u : 1u);
    EXPECT_EQ(rig.c(tc.button).back(), before);
    ASSERT_EQ(rig.host.notes.size(), 1u);
    EXPECT_EQ(rig.host.notes[0].form, "QM_OSK_MAIN");
    EXPECT_EQ(rig.host.notes[0].control, tc.button.str());
    EXPECT_EQ(rig.host.notes[0].text, tc.note);
    // The keyboard goes on working.
    rig.target("Notepad");
    rig.click(ui::kButtonTab);
    EXPECT_EQ(rig.injector.keys(), std::vector<std::string>{"{TAB}"});
  }
}

TEST(Launchers, TheFlashWaitsForTheSystemsAnswer) {
  Rig rig;
  rig.launcher.holdAnswers = true;
  rig.click(ui::kButtonCalc);
  ASSERT_EQ(rig.launcher.requests.size(), 1u);
  EXPECT_NE(rig.c(ui::kButtonCalc).back(), kGreen);
  rig.launcher.answerAll();
  EXPECT_EQ(rig.c(ui::kButtonCalc).back(), kGreen);
}

TEST(Launchers, ACommandThatNamesNoFileIsStartedAsProgramAndArguments) {
  struct Case {
    const char* command;
    bool wholeFound;
    std::vector<LaunchRequest> want;
    bool started;
  };
  const LaunchOutcome notFound{LaunchOutcome::Status::NotFound, "not found"};
  const std::vector<Case> cases{
      {"notepad.exe C:\\notes.txt",
       false,
       {shell("notepad.exe C:\\notes.txt"), shell("notepad.exe", "C:\\notes.txt")},
       true},
      {"\"C:\\Program Files\\x\\y.exe\" --flag",
       false,
       {shell("\"C:\\Program Files\\x\\y.exe\" --flag"), shell("C:\\Program Files\\x\\y.exe", "--flag")},
       true},
      // A file whose name holds a blank opens whole, as it always did.
      {"C:\\My Notes.txt", true, {shell("C:\\My Notes.txt")}, true},
      // A single word is not tried twice.
      {"nothere.exe", false, {shell("nothere.exe")}, false},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.command);
    Rig rig;
    rig.store.write("Settings", "MY-FKEYS-COMMAND-F1", tc.command);
    if (!tc.wholeFound) rig.launcher.outcomes[tc.command] = notFound;
    rig.launcher.outcomes["nothere.exe"] = notFound;
    rig.click(ui::kButtonMyFkeys);
    rig.click(fkey(1));
    EXPECT_EQ(rig.launcher.requests, tc.want);
    EXPECT_EQ(rig.c(fkey(1)).back(), tc.started ? kGreen : kBlueTint);
    EXPECT_EQ(rig.host.notes.size(), tc.started ? 0u : 1u);
  }
}

TEST(Launchers, OnlyAMissingFileIsRetriedInParts) {
  Rig rig;
  rig.store.write("Settings", "CALCULATOR_COMMAND_TEXTBOX", "calc.exe /x");
  rig.launcher.outcomes["calc.exe /x"] = {LaunchOutcome::Status::Failed, "Access is denied."};
  rig.click(ui::kButtonCalc);
  EXPECT_EQ(rig.launcher.requests, std::vector<LaunchRequest>{shell("calc.exe /x")});
  ASSERT_EQ(rig.host.notes.size(), 1u);
  EXPECT_EQ(rig.host.notes[0].text, "Could not start \"calc.exe /x\": Access is denied.");
}

TEST(CommandSplit, ReadsProgramAndArgumentsAsTheRunBoxDoes) {
  struct Case {
    const char* text;
    std::optional<SplitCommand> want;
  };
  const std::vector<Case> cases{
      {"notepad.exe C:\\notes.txt", SplitCommand{"notepad.exe", "C:\\notes.txt"}},
      {"\"C:\\Program Files\\x\\y.exe\" --flag", SplitCommand{"C:\\Program Files\\x\\y.exe", "--flag"}},
      {"  cmd.exe   /k  echo  hi  ", SplitCommand{"cmd.exe", "/k  echo  hi"}},
      {"prog\targ", SplitCommand{"prog", "arg"}},
      {"calc.exe", SplitCommand{"calc.exe", ""}},
      {"\"C:\\a b\\c.exe\"", SplitCommand{"C:\\a b\\c.exe", ""}},
      {"\"C:\\a b\\c.exe\"\"quoted arg\"", SplitCommand{"C:\\a b\\c.exe", "\"quoted arg\""}},
      {"\"C:\\unterminated x", SplitCommand{"C:\\unterminated x", ""}},
      {"", std::nullopt},
      {"  \t ", std::nullopt},
      {"\"\" arg", std::nullopt},
      {"\"  \"", std::nullopt},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.text);
    EXPECT_EQ(splitCommand(tc.text), tc.want);
  }
}

// --- shortcut keys and the context-menu key ---------------------------------

TEST(ShortcutKeys, SendTheirChordsToARealTargetOnly) {
  struct Case {
    KeyboardControl button;
    const char* keys;
    bool spendsShift;
  };
  const std::vector<Case> cases{
      {ui::kCopyButton, "^{c}", true},
      {ui::kCutButton, "^{x}", true},
      {ui::kPasteButton, "^{v}", true},
      {ui::kPrintScreenAppWindow, "%{PRTSC}", false},
      {ui::kPrintScreenCompleteScreen, "{PRTSC}", false},
  };
  for (const Case& tc : cases) {
    for (const char* target : {"Notepad", "QM-OSK", "QM-OSK-CMD"}) {
      for (std::string_view latches : {"CAS", "C", "S"}) {
        SCOPED_TRACE(std::string(tc.button.str()) + " to " + target + " with " + std::string(latches));
        Rig rig;
        if (std::string_view(target) == "QM-OSK-CMD") {
          rig.target("Notepad");
          rig.kb.handle(ui::kCommandLineTextbox, Event::Click);
        } else if (std::string_view(target) != "QM-OSK") {
          rig.target(target);
        }
        setLatches(rig, latches);
        rig.c(tc.button).setBack(kSysWindow);
        rig.click(tc.button);
        const bool real = std::string_view(target) == "Notepad";
        EXPECT_EQ(rig.injector.keys(), real ? std::vector<std::string>{tc.keys} : std::vector<std::string>{});
        EXPECT_EQ(rig.c(tc.button).back(), real ? kGreen : kSysWindow);
        // Only the clipboard keys clear Shift; Ctrl and Alt stay as they
        // were.
        std::string after(latches);
        if (real && tc.spendsShift) std::erase_if(after, [](char l) { return l == 'S'; });
        EXPECT_EQ(latchesOf(rig), after);
      }
    }
  }
}

TEST(ContextMenuKey, TogglesTheMenuAndForgetsItWhenTheFocusMoves) {
  Rig rig;
  rig.target("Notepad");
  Control& key = rig.c(ui::kButtonRightClick);
  auto activations = [&] { return rig.desktop.activations.size(); };

  rig.click(ui::kButtonRightClick);
  EXPECT_EQ(rig.injector.keys(), std::vector<std::string>{"+{F10}"});
  EXPECT_EQ(rig.injector.sent.back().foreground, 42u);
  EXPECT_EQ(key.back(), kGreen);
  EXPECT_EQ(activations(), 1u);

  rig.desktop.foreground = Rig::kSelf;
  rig.click(ui::kButtonRightClick);
  EXPECT_EQ(rig.injector.keys(), (std::vector<std::string>{"+{F10}", "{ESC}"}));
  EXPECT_EQ(rig.injector.sent.back().foreground, Rig::kSelf);  // Escape is not aimed
  EXPECT_EQ(key.back(), kWhite);
  EXPECT_EQ(activations(), 1u);

  rig.click(ui::kButtonRightClick);
  EXPECT_EQ(key.back(), kGreen);
  // Another control takes the focus: the latch goes, nothing is sent, and
  // the next click opens a menu again.
  rig.kb.handle(ui::kButtonRightClick, Event::LostFocus);
  EXPECT_EQ(key.back(), kWhite);
  EXPECT_EQ(rig.injector.sent.size(), 3u);
  rig.click(ui::kButtonRightClick);
  EXPECT_EQ(rig.injector.keys().back(), "+{F10}");
  EXPECT_EQ(key.back(), kGreen);
  // Part of no latch: the flash reset leaves it be, and it uses no modifier.
  rig.kb.tick(ui::kBackcolorTimer);
  EXPECT_EQ(key.back(), kGreen);
}

TEST(ContextMenuKey, TheStartMenuIsClosedAndReopenedOnEveryClick) {
  Rig rig;
  rig.target("Start Menu");
  for (int click = 0; click < 2; ++click) {
    rig.click(ui::kButtonRightClick);
    EXPECT_EQ(rig.c(ui::kButtonRightClick).back(), kGreen);
  }
  EXPECT_EQ(rig.injector.keys(), (std::vector<std::string>{"{ESC}", "+{F10}", "{ESC}", "+{F10}"}));
  EXPECT_TRUE(rig.desktop.activations.empty());
}

TEST(ContextMenuKey, AnUnreachableTargetLeavesNothingToClose) {
  Rig rig;
  rig.target("Gone");
  rig.desktop.windows.erase(42);
  rig.click(ui::kButtonRightClick);
  EXPECT_TRUE(rig.injector.sent.empty());
  EXPECT_EQ(rig.c(ui::kButtonRightClick).back(), kWhite);
}

// The key does not look at reserved captions: with no target yet, or the
// command line as the target, the menu key goes to whatever is active.
TEST(ContextMenuKey, AReservedTargetStillOpensTheMenuOfWhatIsActive) {
  for (bool commandLine : {false, true}) {
    SCOPED_TRACE(commandLine ? "QM-OSK-CMD" : "QM-OSK");
    Rig rig;
    if (commandLine) rig.kb.handle(ui::kCommandLineTextbox, Event::Click);
    rig.click(ui::kButtonRightClick);
    ASSERT_EQ(rig.injector.sent.size(), 1U);
    EXPECT_EQ(rig.injector.sent[0].keys, "+{F10}");
    EXPECT_TRUE(rig.desktop.activations.empty());
    EXPECT_EQ(rig.c(ui::kButtonRightClick).back(), kGreen);
  }
}

}  // namespace
}  // namespace osk::testing
