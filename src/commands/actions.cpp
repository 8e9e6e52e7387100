// The action buttons: programs started for the user, fixed shortcuts sent to
// the target, and the context-menu key.
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "app/keyboard.h"
#include "app/settings_keys.h"
#include "commands/command_split.h"
#include "commands/commands.h"
#include "commands/launch.h"
#include "delivery/latches.h"
#include "delivery/send.h"

namespace osk {

namespace {

constexpr std::string_view kCommandLine = "COMMAND_LINE_TEXTBOX";
constexpr std::string_view kContextMenuKey = "BUTTON_RIGHT_CLICK";
// The Start menu has a context menu of its own that every click reopens.
constexpr std::string_view kStartMenuTitle = "Start Menu";

struct ElevatedStart {
  std::string_view button;
  std::string_view file;
  std::string_view parameters;
};

constexpr std::array<ElevatedStart, 2> kFixedStarts{{
    {"BUTTON_CMD", "cmd.exe", ""},
    {"BUTTON_WINDOWS_LOCK", "Rundll32.exe", "User32.dll,LockWorkStation"},
}};

void startElevated(Context& ctx, std::string_view button, std::string file, std::string_view parameters,
                   bool flash) {
  LaunchRequest request;
  request.file = std::move(file);
  request.parameters = std::string(parameters);
  request.elevated = true;
  startProgram(ctx, std::move(request), button, flash);
}

void BUTTON_CALC_Click(Context& ctx) {
  // From the store at every click: the settings dialog saves when it closes.
  startElevated(ctx, "BUTTON_CALC",
                ctx.platform.store.read(kSettingsSection, settings::kCalculatorCommand,
                                        settings::kCalculatorCommandDefault),
                "", true);
}

void BUTTON_RUN_INTERNAL_Click(Context& ctx) {
  const Control& box = ctx.main.control(kCommandLine);
  // A text box's caption is the text it was designed with: the hint that is
  // there until the user types.
  if (trimBlanks(box.text()).empty() || box.text() == box.caption()) return;
  LaunchRequest request;
  request.kind = LaunchRequest::Kind::CommandLine;
  request.file = box.text();
  startProgram(ctx, std::move(request), "BUTTON_RUN_INTERNAL", false);
}

struct Shortcut {
  std::string_view button;
  std::string_view keys;
  bool spendsShift;
};

constexpr std::array<Shortcut, 5> kShortcuts{{
    {"COPY_BUTTON", "^{c}", true},
    {"CUT_BUTTON", "^{x}", true},
    {"PASTE_BUTTON", "^{v}", true},
    {"PRINT_SCREEN_APP_WINDOW", "%{PRTSC}", false},
    {"PRINT_SCREEN_COMPLETE_SCREEN", "{PRTSC}", false},
}};

// The chords are fixed: no latch changes them. Shift is cleared by the
// clipboard keys all the same, latched or not.
void clickShortcut(Context& ctx, const Shortcut& shortcut) {
  if (!sendStep(ctx, shortcut.keys, &ctx.main.control(shortcut.button))) return;
  if (shortcut.spendsShift) clearShift(ctx.main);
}

// Green while the menu it opened is thought to be open: the next click closes
// it again with Escape.
void BUTTON_RIGHT_CLICK_Click(Context& ctx) {
  Control& button = ctx.main.control(kContextMenuKey);
  if (targetTitle(ctx) != kStartMenuTitle && button.back() == colors::kWhite) {
    button.setBack(colors::kGreen);
    // Nothing was opened when the target could not be reached: nothing is
    // left for a next click to close.
    if (!deliver(ctx, "+{F10}")) button.setBack(colors::kWhite);
  } else {
    (void)injectDirect(ctx, "{ESC}");
    button.setBack(colors::kWhite);
  }
  if (targetTitle(ctx) == kStartMenuTitle) {
    button.setBack(colors::kGreen);
    (void)injectDirect(ctx, "+{F10}");
  }
}

// Focus moving to another control of the keyboard means the menu was left.
void BUTTON_RIGHT_CLICK_LostFocus(Context& ctx) { ctx.main.control(kContextMenuKey).setBack(colors::kWhite); }

}  // namespace

void registerCommands(Router& router, Context& ctx) {
  for (int n = 1; n <= kFunctionKeyCount; ++n)
    router.on(functionKeyButton(n), Event::Click, [&ctx, n] { clickFunctionKey(ctx, n); });
  router.on("BUTTON_MY_FKEYS", Event::Click, [&ctx] { BUTTON_MY_FKEYS_Click(ctx); });

  router.on("BUTTON_CALC", Event::Click, [&ctx] { BUTTON_CALC_Click(ctx); });
  for (const ElevatedStart& start : kFixedStarts) {
    router.on(start.button, Event::Click, [&ctx, &start] {
      startElevated(ctx, start.button, std::string(start.file), start.parameters, false);
    });
  }
  router.on("BUTTON_RUN_INTERNAL", Event::Click, [&ctx] { BUTTON_RUN_INTERNAL_Click(ctx); });
  // "RUN" is a button without an action.
  router.on("BUTTON_WINDOWS_RUN_EXTERNAL", Event::Click, [] {});

  for (const Shortcut& shortcut : kShortcuts)
    router.on(shortcut.button, Event::Click, [&ctx, &shortcut] { clickShortcut(ctx, shortcut); });
  router.on(kContextMenuKey, Event::Click, [&ctx] { BUTTON_RIGHT_CLICK_Click(ctx); });
  router.on(kContextMenuKey, Event::LostFocus, [&ctx] { BUTTON_RIGHT_CLICK_LostFocus(ctx); });
}

}  // namespace osk
