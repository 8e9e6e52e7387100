// The action buttons: programs started for the user, fixed shortcuts sent to
// the target, and the context-menu key.
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "commands/command_split.h"
#include "commands/commands.h"
#include "commands/launch.h"
#include "delivery/keyboard_state.h"
#include "delivery/send.h"
#include "layout/main_window.h"
#include "settings/settings_keys.h"

namespace osk {

namespace {

constexpr ControlName kCommandLine = ui::kCommandLineTextbox;
constexpr ControlName kContextMenuKey = ui::kButtonRightClick;
// The Start menu has a context menu of its own that every click reopens.
constexpr std::string_view kStartMenuTitle = "Start Menu";

struct ElevatedStart {
  ControlName button;
  std::string_view file;
  std::string_view parameters;
};

constexpr std::array<ElevatedStart, 2> kFixedStarts{{
    {ui::kButtonCmd, "cmd.exe", ""},
    {ui::kButtonWindowsLock, "Rundll32.exe", "User32.dll,LockWorkStation"},
}};

void startElevated(Context& ctx, ControlName button, std::string file, std::string_view parameters,
                   bool flash) {
  LaunchRequest request;
  request.file = std::move(file);
  request.parameters = std::string(parameters);
  request.elevated = true;
  startProgram(ctx, std::move(request), button, flash);
}

void BUTTON_CALC_Click(Context& ctx) {
  // From the store at every click: the settings dialog saves when it closes.
  startElevated(ctx, ui::kButtonCalc,
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
  startProgram(ctx, std::move(request), ui::kButtonRunInternal, false);
}

struct Shortcut {
  ControlName button;
  std::string_view keys;
  bool spendsShift;
};

constexpr std::array<Shortcut, 5> kShortcuts{{
    {ui::kCopyButton, "^{c}", true},
    {ui::kCutButton, "^{x}", true},
    {ui::kPasteButton, "^{v}", true},
    {ui::kPrintScreenAppWindow, "%{PRTSC}", false},
    {ui::kPrintScreenCompleteScreen, "{PRTSC}", false},
}};

// The chords are fixed: no latch changes them. Shift is cleared by the
// clipboard keys all the same, latched or not.
void clickShortcut(Context& ctx, const Shortcut& shortcut) {
  if (!sendStep(ctx, shortcut.keys, &ctx.main.control(shortcut.button))) return;
  if (shortcut.spendsShift) KeyboardState(ctx.main).release(Latch::Shift);
}

// Green while the menu it opened is thought to be open: the next click closes
// it again with Escape.
void BUTTON_RIGHT_CLICK_Click(Context& ctx) {
  Control& button = ctx.main.control(kContextMenuKey);
  if (targetTitle(ctx) != kStartMenuTitle && button.back() == colors::kWhite) {
    button.setBack(colors::kGreen);
    // With no target recorded yet the key goes to whatever window is
    // active. Nothing was opened when the target could not be reached:
    // nothing is left for a next click to close.
    if (Delivery(ctx).send("+{F10}", Aim::RecordedTargetIfReal) != SendResult::Sent)
      button.setBack(colors::kWhite);
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
  router.on(ui::kButtonMyFkeys, Event::Click, [&ctx] { BUTTON_MY_FKEYS_Click(ctx); });

  router.on(ui::kButtonCalc, Event::Click, [&ctx] { BUTTON_CALC_Click(ctx); });
  for (const ElevatedStart& start : kFixedStarts) {
    router.on(start.button, Event::Click, [&ctx, &start] {
      startElevated(ctx, start.button, std::string(start.file), start.parameters, false);
    });
  }
  router.on(ui::kButtonRunInternal, Event::Click, [&ctx] { BUTTON_RUN_INTERNAL_Click(ctx); });

  for (const Shortcut& shortcut : kShortcuts)
    router.on(shortcut.button, Event::Click, [&ctx, &shortcut] { clickShortcut(ctx, shortcut); });
  router.on(kContextMenuKey, Event::Click, [&ctx] { BUTTON_RIGHT_CLICK_Click(ctx); });
  router.on(kContextMenuKey, Event::LostFocus, [&ctx] { BUTTON_RIGHT_CLICK_LostFocus(ctx); });
}

}  // namespace osk
